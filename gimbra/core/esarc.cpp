// The Earth-sensor arc simulation report: for each 256th of one orbit, the
// spin phases (from the Sun, in 256ths of a turn) at which the two Earth
// sensors' cones about the spin axis cross the Earth's limb.
#include "gimbra/core/esarc.h"

#include <cmath>

#include "gimbra/core/fieldtext.h"
#include "gimbra/core/plotmath.h"
#include "navlib/textnum.h"

namespace gimbra {

using navlib::Rad;
using navlib::Vec3;

const char* const EsArcCaption = " ES Arc Simulation";
const char* const EsArcOrbitCaption = "Input Box";
const char* const EsArcOrbitPrompt = "Enter Orbit Number";

namespace {

// Earth radius of the sensor geometry, km (the plotter's own, not the library's).
constexpr double SensorEarthRadiusKm = 6378.14;
// Rows per orbit: mean anomaly 0 ... 256 in 256ths of a revolution.
constexpr int RowsPerOrbit = 256;

// The report's number format: one decimal after rounding to four significant digits.
std::string Fixed(double v) { return FormatFixed(v, 4, 1); }

std::string PadLeft(std::string s, std::size_t width) {
  if (s.size() < width) s.insert(0, width - s.size(), ' ');
  return s;
}

// One crossing's column: the phase in 256ths, at least 5 characters.
std::string Column(float angleRad) { return PadLeft(Fixed(TurnTo256(angleRad)), 5); }

}  // namespace

float TurnTo256(float angleRad) {
  if (angleRad == -1) return -1;
  const double pi = navlib::Nc.Pi;
  return static_cast<float>(TruncToInt(static_cast<double>(angleRad) * 128 / pi * 10 + 0.5) * 0.1);
}

EsArcResult EsArcReport(PlotContext& ctx, PlotWindowState& w) {
  navlib::NavState& nav = ctx.Nav;
  const PlotInputs& in = ctx.Inputs;
  navlib::HostLoan loan(nav, ctx.Host);
  EsArcResult result;

  // 1. View and elements. Without a selected satellite the report goes on
  // with the name the library holds; without its keps file it is abandoned
  // (the elements held would be another satellite's).
  SetUpView(ctx);
  if (!navlib::SetupElements(nav)) return result;
  SetUpView(ctx);

  // 2. The orbit; Cancel gives the epoch orbit.
  const std::string epochOrbit = std::to_string(TruncToInt(nav.Elements.EpochOrbit));
  const int orbit = navlib::StrToInt(ctx.Host.inputBox(EsArcOrbitCaption, EsArcOrbitPrompt, epochOrbit));

  // 3. Satellite and Sun at mean anomaly 0 of that orbit.
  navlib::TimeFromOrbitMa(nav, orbit, 0);
  navlib::SatState(nav);
  navlib::SunPosition(nav);

  // 4 - 6. The spin axis from ALON / ALAT, in the celestial frame of mean
  // anomaly 0, kept for the whole orbit.
  const float alonDeg = static_cast<float>(navlib::StrToFloat(in.AlonText));
  const float alatDeg = static_cast<float>(navlib::StrToFloat(in.AlatText));
  const Vec3 axisPlane = navlib::LatLonToVector(Rad(alatDeg), Rad(alonDeg));
  nav.Elements.Attitude = navlib::PlaneToCelestial(nav, axisPlane);
  const Vec3 axis = nav.Elements.Attitude;

  // 7. The Sun angle.
  w.SunAngleDeg = navlib::Deg(navlib::SunAngle(nav));

  // 8. The two sensors' half-angles, rad, kept here: the plot's gammas stay in degrees.
  const float g1 = Rad(static_cast<float>(navlib::StrToFloat(in.UpperGammaText)));
  const float g2 = Rad(static_cast<float>(navlib::StrToFloat(in.LowerGammaText)));
  const float cosG1 = std::cos(g1), cosG2 = std::cos(g2);

  // 9. The sun sensor's reading (-999 at 60 deg and beyond).
  const float ss2 = navlib::MaFromSensorAngle(nav, w.SunAngleDeg);

  // 10. Header.
  std::string text;
  text += "  AO-40 Earth Arc Sensor Simulation Data\r\n ----------------------------------------\r\n Orbit  ";
  text += std::to_string(orbit);
  text += "\r\n Alon   " + Fixed(alonDeg);
  text += "\r\n Alat   " + Fixed(alatDeg);
  text += "\r\n Sun A  " + Fixed(w.SunAngleDeg);
  text += "\r\n SS2    " + Fixed(ss2);
  text += "\r\n\r\n";
  text += "        Horizon-IN (+1) |   Horizon-OUT (-1)\r\n";
  text += "        ES2      ES1    |   ES2      ES1    \r\n";
  text += "       #19D     #19B    |  #19D     #19B   \r\n";
  text += "  MA   Lower    Upper   |  Lower    Upper   Eclipse   \r\n ";
  text += "-----------------------+--------------------------\r\n ";

  // 11. One row per 256th of the orbit; the last is mean anomaly 0 of the next.
  for (int m = 0; m <= RowsPerOrbit; ++m) {
    navlib::TimeFromOrbitMa(nav, orbit, static_cast<float>(m));
    navlib::SatState(nav);
    const Vec3 earth{-nav.SatDir.x, -nav.SatDir.y, -nav.SatDir.z};
    // Below the surface (or at the centre) the Earth fills half the sky.
    const double ratio = nav.Radius > SensorEarthRadiusKm ? SensorEarthRadiusKm / nav.Radius : 1.0;
    const float rho = navlib::Asin(static_cast<float>(ratio));
    const float cosRho = std::cos(rho);
    Vec3 u1, u2, u3, u4;
    const bool okA = navlib::ConeIntersect(axis, earth, cosG2, cosRho, u1, u2);
    const bool okB = navlib::ConeIntersect(axis, earth, cosG1, cosRho, u3, u4);
    navlib::SunPosition(nav);
    navlib::Illumination(nav);

    // A crossing on the side of the Earth's disc away from the Sun is a terminator pass.
    auto marker = [&](const Vec3& u) { return navlib::Dot(nav.SunDir, Minus(u, earth)) < 0 ? "*" : " "; };
    float a1 = -1, a2 = -1, a3 = -1, a4 = -1;
    const char *k1 = " ", *k2 = " ", *k3 = " ", *k4 = " ";
    if (okA) {
      a1 = navlib::TurnAngle(axis, nav.SunDir, u1);
      a2 = navlib::TurnAngle(axis, nav.SunDir, u2);
      k1 = marker(u1);
      k2 = marker(u2);
    }
    if (okB) {
      a3 = navlib::TurnAngle(axis, nav.SunDir, u3);
      a4 = navlib::TurnAngle(axis, nav.SunDir, u4);
      k3 = marker(u3);
      k4 = marker(u4);
    }
    text += PadLeft(std::to_string(m), 3);
    text += "   " + Column(a4) + k4 + "  " + Column(a2) + k2;
    text += "   | " + Column(a3) + k3 + "   " + Column(a1) + k1;
    text += "     " + nav.IllumText + "\r\n ";
  }

  // 12. The legend.
  text += "\r\n    * = terminator pass ";
  result.Made = true;
  result.Text = std::move(text);
  return result;
}

}  // namespace gimbra
