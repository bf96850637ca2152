// The ALON/ALAT grid and the five measurement layers: for every record the
// circle on the sky on which the spin axis must lie.
#include <cmath>

#include "gimbra/core/plot.h"
#include "gimbra/core/plotmath.h"

namespace gimbra {

using navlib::Deg;
using navlib::Rad;

namespace {

// Earth radius of the plotter's sensor geometry, km.
constexpr float PlotEarthRadiusKm = 6378.14f;

// The library's current time, saved as a whole day number and a fraction
// and put back when a layer is done.
struct SavedTime {
  explicit SavedTime(const navlib::NavState& nav)
      : Day(static_cast<float>(TruncToInt(nav.DayNum))), Frac(nav.DayFrac) {}
  void Restore(navlib::NavState& nav) const {
    nav.DayNum = Day;
    nav.DayFrac = Frac;
  }
  float Day, Frac;
};

// Day 0 of January of a record's year: the record's day of the year is added to it.
float YearStart(float year) { return static_cast<float>(navlib::DayNumber(RecordYear(year), 1, 0)); }

// Fraction of a day from clock values.
double DayFraction(double hour, double minute, double second) {
  return ((second / 60 + minute) / 60 + hour) / 24;
}

}  // namespace

void ComputeEarthView(PlotContext& ctx) {
  navlib::NavState& nav = ctx.Nav;
  PlotState& p = ctx.Plot;
  navlib::SatState(nav);
  p.EarthDir = {-nav.SatDir.x, -nav.SatDir.y, -nav.SatDir.z};
  float latRad = 0, lonRad = 0;
  navlib::VectorToLatLon(p.EarthDir, latRad, lonRad);
  p.EarthDec = Deg(latRad);
  p.EarthRa = Deg(lonRad);
  // Below the Earth's surface (or at the centre) the Earth fills half the sky.
  const double ratio = nav.Radius > PlotEarthRadiusKm ? PlotEarthRadiusKm / nav.Radius : 1.0;
  p.EarthAngularRadius = Deg(navlib::Asin(static_cast<float>(ratio)));
}

void DrawOrbitGrid(PlotContext& ctx) {
  navlib::NavState& nav = ctx.Nav;
  PlotState& p = ctx.Plot;
  platform::Canvas& c = ctx.Canvas;
  const SavedTime saved(nav);
  c.setPenColor(platform::clGray);
  nav.DayFrac = 0;
  nav.DayNum = static_cast<float>(navlib::ParseDate(ctx.Inputs.CalcDateText));
  navlib::OrbitOrientation(nav);
  // Meridians: the great circles through the orbit poles at orbit longitudes
  // k and k + 180.
  for (int k = 0; k <= 170; k += 10) {
    float decRad = 0, raRad = 0;
    navlib::AttitudeToCelestial(nav, 0, Rad(static_cast<float>(k - 90)), decRad, raRad);
    DrawSkyCircle(p, c, 90, Deg(decRad), Deg(raRad));
    ctx.Host.processEvents();
  }
  // Parallels: circles of orbit latitude a about the orbit's north pole.
  for (int a = -80; a <= 80; a += 10) {
    DrawSkyCircle(p, c, static_cast<float>(90 - a), 90 - Deg(nav.Elements.Inclination), Deg(nav.RaanNow) - 90);
    ctx.Host.processEvents();
  }
  saved.Restore(nav);
  c.setPenColor(platform::clBlack);
}

void DrawSunSensorLayer(PlotContext& ctx) {
  navlib::NavState& nav = ctx.Nav;
  PlotState& p = ctx.Plot;
  platform::Canvas& c = ctx.Canvas;
  c.setPenColor(platform::clMaroon);
  const SavedTime saved(nav);
  const auto& table = ctx.Data.SunSensorRecords;
  for (int i = 0; i < table.Count; ++i) {
    const SunSensorRecord& r = table.Items[static_cast<std::size_t>(i)];
    const float sunAngle = Deg(navlib::SensorAngleFromMa(nav, r.SensorMa)) + p.SunFudge;
    nav.DayFrac = r.DayOfYear;
    nav.DayNum = YearStart(r.Year);
    navlib::NormalizeTime(nav);
    navlib::SunPosition(nav);
    // The spin axis lies 90 deg - sun angle from the Sun.
    DrawSkyCircle(p, c, 90 - sunAngle, Deg(nav.SunDec), Deg(nav.SunRa));
    ctx.Host.processEvents();
  }
  saved.Restore(nav);
  navlib::SunPosition(nav);
  c.setPenColor(platform::clBlack);
}

void DrawEarthMaLayer(PlotContext& ctx) {
  navlib::NavState& nav = ctx.Nav;
  PlotState& p = ctx.Plot;
  platform::Canvas& c = ctx.Canvas;
  c.setPenColor(platform::clOlive);
  const SavedTime saved(nav);

  // Pass 1: crossings given by orbit and MA. The crossing is timed half an
  // MA unit before the recorded count.
  const auto& es = ctx.Data.EarthSensorRecords;
  for (int i = 0; i < es.Count; ++i) {
    const EarthSensorRecord& r = es.Items[static_cast<std::size_t>(i)];
    const int orbit = RecordOrbit(r.Orbit);
    navlib::TimeFromOrbitMa(nav, orbit, r.MaLower - 0.5f);
    const float lowerDay = nav.DayNum, lowerFrac = nav.DayFrac;
    navlib::TimeFromOrbitMa(nav, orbit, r.MaUpper - 0.5f);
    const float upperDay = nav.DayNum, upperFrac = nav.DayFrac;
    if (r.MaLower != 0) {
      nav.DayNum = lowerDay;
      nav.DayFrac = lowerFrac;
      ComputeEarthView(ctx);
      DrawSkyCircle(p, c, r.LimbFactor * p.EarthAngularRadius + p.LowerGamma, p.EarthDec, p.EarthRa);
    }
    if (r.MaUpper != 0) {
      nav.DayNum = upperDay;
      nav.DayFrac = upperFrac;
      ComputeEarthView(ctx);
      DrawSkyCircle(p, c, r.LimbFactor * p.EarthAngularRadius + p.UpperGamma, p.EarthDec, p.EarthRa);
    }
    nav.DayNum = upperDay;
    nav.DayFrac = upperFrac;
  }

  // Pass 2: crossings given as fractions of the day the library holds now
  // (the last upper crossing of pass 1, or the calculation date).
  const auto& em = ctx.Data.EarthMaRecords;
  for (int i = 0; i < em.Count; ++i) {
    const EarthMaRecord& r = em.Items[static_cast<std::size_t>(i)];
    if (r.TimeLower != 0) {
      nav.DayFrac = r.TimeLower;
      ComputeEarthView(ctx);
      DrawSkyCircle(p, c, r.LimbFactor * p.EarthAngularRadius + p.LowerGamma, p.EarthDec, p.EarthRa);
    }
    if (r.TimeUpper != 0) {
      nav.DayFrac = r.TimeUpper;
      ComputeEarthView(ctx);
      DrawSkyCircle(p, c, r.LimbFactor * p.EarthAngularRadius + p.UpperGamma, p.EarthDec, p.EarthRa);
    }
    ctx.Host.processEvents();
  }

  saved.Restore(nav);
  navlib::SatState(nav);
  c.setPenColor(platform::clBlack);
}

void DrawSquintLayer(PlotContext& ctx) {
  navlib::NavState& nav = ctx.Nav;
  PlotState& p = ctx.Plot;
  platform::Canvas& c = ctx.Canvas;
  c.setPenColor(platform::clTeal);
  const SavedTime saved(nav);
  const auto& table = ctx.Data.SquintRecords;
  for (int i = 0; i < table.Count; ++i) {
    const SquintRecord& r = table.Items[static_cast<std::size_t>(i)];
    nav.DayNum = YearStart(r.Year);
    nav.DayFrac = static_cast<float>(DayFraction(r.Hour, r.Minute, 0) + r.DayOfYear);
    navlib::NormalizeTime(nav);
    navlib::SatState(nav);
    // Satellite position in Earth radii; the closing SatState restores SatDir.
    nav.SatDir = Scaled(nav.SatDir, static_cast<double>(nav.Radius) / PlotEarthRadiusKm);
    const float gha = navlib::EarthRotation(nav);
    // The station on a spherical Earth of radius 1, longitude counted east.
    const navlib::Vec3 station = navlib::LatLonToVector(
        Rad(r.StationLat), static_cast<float>(static_cast<double>(Rad(r.StationLon)) + gha));
    const navlib::Vec3 toStation = Minus(station, nav.SatDir);
    float latRad = 0, lonRad = 0;
    navlib::VectorToLatLon(toStation, latRad, lonRad);
    DrawSkyMarker(p, c, Deg(latRad), Deg(lonRad));
    DrawSkyCircle(p, c, r.SquintAngle, Deg(latRad), Deg(lonRad));
    ctx.Host.processEvents();
  }
  saved.Restore(nav);
  navlib::SatState(nav);
  c.setPenColor(platform::clBlack);
}

void DrawCameraEarthLayer(PlotContext& ctx) {
  navlib::NavState& nav = ctx.Nav;
  PlotState& p = ctx.Plot;
  platform::Canvas& c = ctx.Canvas;
  c.setPenColor(ctx.Data.CameraEarthColor);
  const SavedTime saved(nav);
  const auto& table = ctx.Data.CameraEarthRecords;
  for (int i = 0; i < table.Count; ++i) {
    const CameraRecord& r = table.Items[static_cast<std::size_t>(i)];
    nav.DayFrac = static_cast<float>(DayFraction(r.Hour, r.Minute, r.Second) + r.DayOfYear);
    nav.DayNum = YearStart(r.Year);
    ComputeEarthView(ctx);
    // Angle is the axis's elevation above the Earth's limb in the picture.
    DrawSkyCircle(p, c, p.EarthAngularRadius - r.Angle, p.EarthDec, p.EarthRa);
    ctx.Host.processEvents();
  }
  saved.Restore(nav);
  navlib::SatState(nav);
  c.setPenColor(platform::clBlack);
}

void DrawCameraMoonLayer(PlotContext& ctx) {
  navlib::NavState& nav = ctx.Nav;
  PlotState& p = ctx.Plot;
  platform::Canvas& c = ctx.Canvas;
  c.setPenColor(ctx.Data.CameraMoonColor);
  const SavedTime saved(nav);
  const auto& table = ctx.Data.CameraMoonRecords;
  for (int i = 0; i < table.Count; ++i) {
    const CameraRecord& r = table.Items[static_cast<std::size_t>(i)];
    nav.DayNum = YearStart(r.Year);
    nav.DayFrac = static_cast<float>(DayFraction(r.Hour, r.Minute, r.Second) + r.DayOfYear);
    navlib::SunMoon(nav);
    // Geocentric Moon, km, ecliptic frame turned into the celestial frame
    // with the rotation the frame set up.
    const navlib::Vec3 moonEcl = Scaled(navlib::LatLonToVector(nav.MoonLat, nav.MoonLon), nav.MoonDist);
    const navlib::Vec3 moonCel = navlib::MatVec(nav.EclMatrix, moonEcl);
    ComputeEarthView(ctx);
    p.EarthDir = Scaled(p.EarthDir, nav.Radius);  // satellite -> Earth centre, km
    const navlib::Vec3 moonFromSat = Plus(moonCel, p.EarthDir);
    float latRad = 0, lonRad = 0;
    navlib::VectorToLatLon(moonFromSat, latRad, lonRad);
    DrawSkyCircle(p, c, r.Angle, Deg(latRad), Deg(lonRad));
  }
  saved.Restore(nav);
  navlib::SatState(nav);
  c.setPenColor(platform::clBlack);
}

}  // namespace gimbra
