#include "tools/attitude-demo/demogen.h"

#include <cmath>
#include <functional>
#include <vector>

#include "navlib/textnum.h"

namespace attitudedemo {

using navlib::NavState;
using navlib::Vec3;

namespace {

constexpr float kEarthRadiusKm = 6378.14f;  // the plotter's sensor geometry

double AngleDeg(const Vec3& a, const Vec3& b) {
  const double la = std::sqrt(double(a.x) * a.x + double(a.y) * a.y + double(a.z) * a.z);
  const double lb = std::sqrt(double(b.x) * b.x + double(b.y) * b.y + double(b.z) * b.z);
  double c = (double(a.x) * b.x + double(a.y) * b.y + double(a.z) * b.z) / (la * lb);
  c = c > 1 ? 1 : (c < -1 ? -1 : c);
  return std::acos(c) * 180.0 / M_PI;
}

// A value written with `decimals` decimals; returns the 32-bit float the
// data-file reader gets back from that text, so the records are checked
// against exactly what the plotter will read.
float Emit(double value, int decimals, std::string& text) {
  text = navlib::Format("%.*f", decimals, value);
  return static_cast<float>(navlib::StrToFloat(text));
}

// The Earth as the plotter sees it from the satellite at the current time.
struct EarthSeen {
  Vec3 Dir;          // unit, satellite -> Earth
  float RadiusDeg;   // angular radius, deg
};

EarthSeen SeeEarth(NavState& nav) {
  navlib::SatState(nav);
  EarthSeen e;
  e.Dir = {-nav.SatDir.x, -nav.SatDir.y, -nav.SatDir.z};
  const double ratio = nav.Radius > kEarthRadiusKm ? kEarthRadiusKm / nav.Radius : 1.0;
  e.RadiusDeg = navlib::Deg(navlib::Asin(static_cast<float>(ratio)));
  return e;
}

// Roots of f on [lo, hi], found by a scan in steps of `step` and bisection.
std::vector<double> Roots(const std::function<double(double)>& f, double lo, double hi, double step) {
  std::vector<double> roots;
  double a = lo, fa = f(a);
  for (double b = lo + step; b <= hi; b += step) {
    const double fb = f(b);
    if (std::isfinite(fa) && std::isfinite(fb) && (fa < 0) != (fb < 0) && std::fabs(fa - fb) < 30) {
      double x0 = a, x1 = b, f0 = fa;
      for (int k = 0; k < 60; ++k) {
        const double m = 0.5 * (x0 + x1);
        const double fm = f(m);
        if ((fm < 0) == (f0 < 0)) {
          x0 = m;
          f0 = fm;
        } else {
          x1 = m;
        }
      }
      roots.push_back(0.5 * (x0 + x1));
    }
    a = b;
    fa = fb;
  }
  return roots;
}

std::string Line(const std::string& s) { return s + "\r\n"; }

}  // namespace

Vec3 DemoAttitude(NavState& nav, const DemoAttitudeCase& demo) {
  nav.DayFrac = 0;
  nav.DayNum = static_cast<float>(navlib::ParseDate(demo.CalcDate));
  navlib::OrbitOrientation(nav);
  float dec = 0, ra = 0;
  navlib::AttitudeToCelestial(nav, navlib::Rad(demo.AlatDeg), navlib::Rad(demo.AlonDeg), dec, ra);
  return navlib::LatLonToVector(dec, ra);
}

std::string MakeDemoAttitudeText(NavState& nav, const DemoAttitudeCase& demo) {
  const Vec3 axis = DemoAttitude(nav, demo);
  const int calcDay = navlib::ParseDate(demo.CalcDate);
  const int year = std::stoi(demo.CalcDate.substr(0, 4));
  const int yearStart = navlib::DayNumber(year, 1, 0);
  const double calcDoy = calcDay - yearStart;  // day of the year at 0 h UTC of the date

  std::string out;
  out += Line("REM Synthetic attitude data for the demo, not measurements: made by tools/attitude-demo");
  out += Line(navlib::Format("REM from the attitude ALON %g, ALAT %g at %s, gammas %g and %g.",
                             demo.AlonDeg, demo.AlatDeg, demo.CalcDate.c_str(), demo.UpperGammaDeg,
                             demo.LowerGammaDeg));
  out += Line("REM Every circle and Earth arc passes through that attitude.");
  out += Line("COLOR_EA Fuchsia, Red");
  out += Line("COLOR_CM Navy");
  out += Line("COLOR_CL Purple");

  // Sun sensor: the axis lies 90 deg - sun angle from the Sun.
  out += Line("REM sun sensor: year, day of year, sensor count");
  for (double offset : {-2.6, -1.7, -1.1, -0.45, 0.0, 0.6, 1.25, 1.9, 2.55, 3.2}) {
    std::string doyText, maText;
    const float doy = Emit(calcDoy + offset, 4, doyText);
    nav.DayNum = static_cast<float>(yearStart);
    nav.DayFrac = doy;
    navlib::NormalizeTime(nav);
    navlib::SunPosition(nav);
    const double sunAngle = 90.0 - AngleDeg(axis, nav.SunDir);
    if (std::fabs(sunAngle) >= 59.5) continue;  // beyond the sensor's field
    const float ma = navlib::MaFromSensorAngle(nav, static_cast<float>(sunAngle)) - 0.5f;
    Emit(ma, 4, maText);
    out += Line(navlib::Format("SS %d, %s, %s", year, doyText.c_str(), maText.c_str()));
  }

  // Earth sensor by orbit and MA: the axis lies gamma + limb x the Earth's
  // radius from the Earth's centre at the crossing.
  nav.DayNum = static_cast<float>(calcDay);
  nav.DayFrac = 0;
  navlib::SatState(nav);
  const int firstOrbit = static_cast<int>(nav.OrbitNumber);
  auto esResidual = [&](int orbit, double x, double gamma, double limb) {
    navlib::TimeFromOrbitMa(nav, orbit, static_cast<float>(x));
    const EarthSeen e = SeeEarth(nav);
    return AngleDeg(axis, e.Dir) - (limb * e.RadiusDeg + gamma);
  };
  out += Line("REM Earth sensor: orbit, MA of the lower and of the upper crossing, limb factor");
  int lastOrbit = firstOrbit;
  float lastUpper = 0;
  bool anyEs = false;
  for (int orbit = firstOrbit; orbit < firstOrbit + 3; ++orbit) {
    for (double limb : {1.0, -1.0}) {
      std::string text[2] = {"0", "0"};
      float values[2] = {0, 0};
      const double gammas[2] = {demo.LowerGammaDeg, demo.UpperGammaDeg};
      for (int g = 0; g < 2; ++g) {
        const auto roots =
            Roots([&](double x) { return esResidual(orbit, x, gammas[g], limb); }, 0.5, 255.0, 0.25);
        // The layer times a count half a unit before it.
        if (!roots.empty()) values[g] = Emit(roots.front() + 0.5, 3, text[g]);
      }
      if (values[0] == 0 && values[1] == 0) continue;
      out += Line(navlib::Format("ES %d, %s, %s, %d", orbit, text[0].c_str(), text[1].c_str(),
                                 static_cast<int>(limb)));
      lastOrbit = orbit;
      lastUpper = values[1];
      anyEs = true;
    }
  }

  // Earth sensor by time of day: fractions of the day the ES pass leaves
  // the library at (the last upper crossing's day).
  float emDay = static_cast<float>(calcDay);
  if (anyEs) {
    navlib::TimeFromOrbitMa(nav, lastOrbit, lastUpper - 0.5f);
    emDay = nav.DayNum;
  }
  out += Line("REM Earth sensor by time: unused value, day fraction of the lower and upper crossing, limb");
  for (double limb : {1.0, -1.0}) {
    std::string text[2] = {"0", "0"};
    float values[2] = {0, 0};
    const double gammas[2] = {demo.LowerGammaDeg, demo.UpperGammaDeg};
    for (int g = 0; g < 2; ++g) {
      const auto roots = Roots(
          [&](double f) {
            nav.DayNum = emDay;
            nav.DayFrac = static_cast<float>(f);
            const EarthSeen e = SeeEarth(nav);
            return AngleDeg(axis, e.Dir) - (limb * e.RadiusDeg + gammas[g]);
          },
          0.002, 0.998, 0.0005);
      if (!roots.empty()) values[g] = Emit(roots.back(), 7, text[g]);
    }
    if (values[0] == 0 && values[1] == 0) continue;
    out += Line(navlib::Format("EM 0, %s, %s, %d", text[0].c_str(), text[1].c_str(), static_cast<int>(limb)));
  }

  // Squint: the angle between the axis and a ground station seen from the
  // satellite, at times the station sees the satellite well above its horizon.
  out += Line("REM squint: station latitude, east longitude, year, day, hour, minute, squint angle");
  struct Station {
    float Lat, Lon;
  };
  const Station stations[] = {{52.40f, 13.10f}, {40.00f, -105.25f}, {-33.87f, 151.21f}, {35.68f, 139.69f}};
  for (const Station& st : stations) {
    bool found = false;
    for (int step = 0; step < 6 * 48 && !found; step += 7) {
      const int dayOfYear = static_cast<int>(calcDoy) - 1 + step / (6 * 24);
      const int minutes = (step % (6 * 24)) * 10;
      const int hour = minutes / 60, minute = minutes % 60;
      nav.DayNum = static_cast<float>(yearStart);
      nav.DayFrac = static_cast<float>((static_cast<double>(minute) / 60 + hour) / 24 + dayOfYear);
      navlib::NormalizeTime(nav);
      navlib::SatState(nav);
      const double scale = static_cast<double>(nav.Radius) / kEarthRadiusKm;
      const Vec3 sat = {static_cast<float>(nav.SatDir.x * scale), static_cast<float>(nav.SatDir.y * scale),
                        static_cast<float>(nav.SatDir.z * scale)};
      const float gha = navlib::EarthRotation(nav);
      const Vec3 station = navlib::LatLonToVector(
          navlib::Rad(st.Lat), static_cast<float>(static_cast<double>(navlib::Rad(st.Lon)) + gha));
      const Vec3 toStation = {station.x - sat.x, station.y - sat.y, station.z - sat.z};
      // Elevation of the satellite above the station's horizon.
      if (90.0 - AngleDeg(station, Vec3{-toStation.x, -toStation.y, -toStation.z}) < 15.0) continue;
      std::string squintText;
      Emit(AngleDeg(axis, toStation), 4, squintText);
      out += Line(navlib::Format("SQ %.2f, %.2f, %d, %d, %d, %d, %s", st.Lat, st.Lon, year, dayOfYear, hour,
                                 minute, squintText.c_str()));
      found = true;
    }
  }

  // Camera Earth: the axis seen Angle degrees inside the Earth's limb.
  struct Clock {
    double DayOffset;
    int Hour, Minute, Second;
  };
  const Clock earthShots[] = {{-1, 18, 5, 45}, {0, 2, 15, 30}, {0, 7, 40, 0}, {1, 3, 12, 10}};
  out += Line("REM camera Earth: year, day, hour, minute, second, angle from the limb, remark");
  int shot = 1;
  for (const Clock& k : earthShots) {
    const int dayOfYear = static_cast<int>(calcDoy + k.DayOffset);
    nav.DayNum = static_cast<float>(yearStart);
    nav.DayFrac = static_cast<float>(((static_cast<double>(k.Second) / 60 + k.Minute) / 60 + k.Hour) / 24 + dayOfYear);
    const EarthSeen e = SeeEarth(nav);
    std::string angleText;
    Emit(e.RadiusDeg - AngleDeg(axis, e.Dir), 4, angleText);
    out += Line(navlib::Format("CM %d, %d, %d, %d, %d, %s, picture %d", year, dayOfYear, k.Hour, k.Minute,
                               k.Second, angleText.c_str(), shot++));
  }

  // Camera Moon: the axis lies Angle degrees from the Moon seen from the satellite.
  navlib::EclipticMatrix(nav);
  const Clock moonShots[] = {{-1, 21, 30, 0}, {0, 11, 2, 20}, {1, 6, 45, 5}};
  out += Line("REM camera Moon: year, day, hour, minute, second, angle from the Moon");
  for (const Clock& k : moonShots) {
    const int dayOfYear = static_cast<int>(calcDoy + k.DayOffset);
    nav.DayNum = static_cast<float>(yearStart);
    nav.DayFrac = static_cast<float>(((static_cast<double>(k.Second) / 60 + k.Minute) / 60 + k.Hour) / 24 + dayOfYear);
    navlib::SunMoon(nav);
    const Vec3 m = navlib::LatLonToVector(nav.MoonLat, nav.MoonLon);
    const Vec3 moonEcl = {m.x * nav.MoonDist, m.y * nav.MoonDist, m.z * nav.MoonDist};
    const Vec3 moonCel = navlib::MatVec(nav.EclMatrix, moonEcl);
    const EarthSeen e = SeeEarth(nav);
    const Vec3 toMoon = {moonCel.x + e.Dir.x * nav.Radius, moonCel.y + e.Dir.y * nav.Radius,
                         moonCel.z + e.Dir.z * nav.Radius};
    std::string angleText;
    Emit(AngleDeg(axis, toMoon), 4, angleText);
    out += Line(navlib::Format("CL %d, %d, %d, %d, %d, %s", year, dayOfYear, k.Hour, k.Minute, k.Second,
                               angleText.c_str()));
  }

  // Earth arcs: where each sensor's cone around the axis meets the sunlit
  // limb, and the spin angle from the sun pulse to that crossing.
  out += Line("REM Earth arcs: orbit, MA, arc of the upper and of the lower sensor (256ths), edge");
  int arcs = 0;
  int edge = 0;
  for (int orbit = firstOrbit; orbit < firstOrbit + 4 && arcs < 6; ++orbit) {
    for (double ma = 3 + 2 * (orbit - firstOrbit); ma < 256 && arcs < 6; ma += 6) {
      std::string maText;
      const float maValue = Emit(ma, 1, maText);
      navlib::TimeFromOrbitMa(nav, orbit, maValue);
      const EarthSeen e = SeeEarth(nav);
      navlib::SunPosition(nav);
      const float rho = navlib::Rad(e.RadiusDeg);
      std::string arcText[2];
      bool have[2] = {false, false};
      const double gammas[2] = {demo.UpperGammaDeg, demo.LowerGammaDeg};
      for (int g = 0; g < 2; ++g) {
        Vec3 y1, y2;
        arcText[g] = "-1";
        if (!navlib::ConeIntersect(axis, e.Dir, std::cos(navlib::Rad(static_cast<float>(gammas[g]))),
                                   std::cos(rho), y1, y2)) {
          continue;
        }
        const Vec3& y = edge == 1 ? y2 : y1;
        const Vec3 fromCentre = {y.x - e.Dir.x, y.y - e.Dir.y, y.z - e.Dir.z};
        if (!(navlib::Dot(nav.SunDir, fromCentre) > 0)) continue;  // the limb in shadow gives no arc
        const double turn = navlib::TurnAngle(axis, nav.SunDir, y);
        Emit(turn * 128.0 / navlib::Nc.Pi, 4, arcText[g]);
        have[g] = true;
      }
      if (!have[0] || !have[1]) continue;
      out += Line(navlib::Format("EA %d, %s, %s, %s, %d", orbit, maText.c_str(), arcText[0].c_str(),
                                 arcText[1].c_str(), edge));
      ++arcs;
      edge = 1 - edge;
    }
  }
  return out;
}

}  // namespace attitudedemo
