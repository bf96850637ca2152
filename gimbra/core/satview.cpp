// The satellite view: the sky map's orthographic projection turned to a look
// direction chosen in the orbit frame, with the satellite as the observer,
// and the Earth drawings (disc, day/night boundary, grid, coastlines,
// observers' homes) projected as seen from the satellite.
#include "gimbra/core/satview.h"

#include <cmath>

#include "gimbra/core/fieldtext.h"
#include "gimbra/core/plotmath.h"
#include "navlib/textnum.h"

namespace gimbra {

using navlib::Deg;
using navlib::Rad;
using navlib::Vec3;

namespace {

// Obliquity of the ecliptic, rad (23.4399 deg): the ecliptic's great circle.
constexpr float ObliquityRad = 0.409103423f;
// Angular radii of the fixed sensor circles about the attitude, deg.
constexpr float SensorCircleWideDeg = 10.37f;
constexpr float SensorCircleNarrowDeg = 1.35f;
// Label offsets from the last point of a circle, pixels.
constexpr int LabelOffset = 9;
constexpr int AxisLabelOffset = -12;

// The label of the circle or marker just drawn, when its last point is in
// front of the viewer.
void Label(PlotState& p, platform::Canvas& c, int dx, int dy, const char* text) {
  if (p.LastDepth > 0) PlotTextOut(c, p.LastX + dx, p.LastY + dy, text);
}

// A point of the Earth's surface in the Earth-fixed frame, degrees in.
Vec3 EarthFixedPoint(float latDeg, float lonDeg) {
  const double lat = Rad(latDeg), lon = Rad(lonDeg);
  return {static_cast<float>(std::cos(lat) * std::cos(lon)), static_cast<float>(std::cos(lat) * std::sin(lon)),
          static_cast<float>(std::sin(lat))};
}

}  // namespace

// ---- Earth points ----

void EarthPointToView(SatViewContext& v, const Vec3& point) {
  PlotState& p = v.Plot.Plot;
  PlotWindowState& w = v.Window;
  const Vec3 d = Minus(w.SatEarthRadii, point);  // from the point to the satellite
  w.EarthPointDistance = navlib::Length(d);
  // A satellite on the point itself has no direction to it: the divisor is then 1.
  const double dist = w.EarthPointDistance != 0 ? w.EarthPointDistance : 1.0;
  // The direction from the satellite to the point, at the length of the 90 deg circle.
  p.WorkVec = Scaled(d, -static_cast<double>(p.PlotRadius) / dist);
  ProjectToView(p);
}

bool EarthPointFacing(const SatViewContext& v) {
  // The point faces the satellite exactly when the line of sight to it is
  // shorter than the tangent to the Earth: R^2 - 1 > distance^2.
  const double r = v.Window.SatRadiusEarthRadii;
  const double d = v.Window.EarthPointDistance;
  return r * r - 1 > d * d;
}

void PlotEarthPoint(SatViewContext& v, int i) {
  PlotState& p = v.Plot.Plot;
  platform::Canvas& c = v.Plot.Canvas;
  if (!ViewPixel(p, p.LastX, p.LastY)) {
    v.Window.EarthPenPlaced = false;  // nothing handed to the canvas; the next point starts afresh
    return;
  }
  if (EarthPointFacing(v) && p.LastDepth > 0 && i != 0 && v.Window.EarthPenPlaced) {
    PlotLineTo(c, p.LastX, p.LastY);
  } else {
    PlotMoveTo(c, p.LastX, p.LastY);
  }
  v.Window.EarthPenPlaced = true;
}

void DrawObserverMark(SatViewContext& v, float latDeg, float lonDeg, const std::string& label) {
  PlotState& p = v.Plot.Plot;
  const Vec3 home = navlib::EarthToCelestial(v.Plot.Nav, EarthFixedPoint(latDeg, lonDeg));
  EarthPointToView(v, home);
  int x = 0, y = 0;
  if (!ViewPixel(p, x, y)) return;
  // Only the text marks the home; none on the far side or behind the viewer.
  if (EarthPointFacing(v) && p.LastDepth > 0) PlotTextOut(v.Plot.Canvas, x - LabelOffset, y, label);
}

void DrawEarthGrid(SatViewContext& v) {
  navlib::NavState& nav = v.Plot.Nav;
  PlotState& p = v.Plot.Plot;
  platform::Canvas& c = v.Plot.Canvas;
  const double g = navlib::EarthRotation(nav);  // Greenwich hour angle, rad; sets the Earth matrix
  c.setPenColor(platform::clGray);
  const double cg = std::cos(-g), sg = std::sin(-g);
  // Parallels every 15 deg from -75 to 75: point i at Earth longitude 2 pi i / n.
  for (int latDeg = -75; latDeg <= 75; latDeg += 15) {
    const double cphi = std::cos(Rad(static_cast<float>(latDeg)));
    const double sphi = std::sin(Rad(static_cast<float>(latDeg)));
    for (int i = 0; i <= p.CircleSegments; ++i) {
      const double ci = p.CircleCos[i], si = p.CircleSin[i];
      const Vec3 point{static_cast<float>(cphi * (ci * cg + si * sg)), static_cast<float>(cphi * (si * cg - ci * sg)),
                       static_cast<float>(sphi)};
      EarthPointToView(v, point);
      PlotEarthPoint(v, i);
    }
  }
  // Meridians every 15 deg: each the whole great circle through both poles
  // at Earth longitudes lambda and lambda + 180.
  for (int lonDeg = 0; lonDeg <= 180; lonDeg += 15) {
    const double ra = static_cast<double>(Rad(static_cast<float>(lonDeg))) + g;
    const double cra = std::cos(ra), sra = std::sin(ra);
    for (int i = 0; i <= p.CircleSegments; ++i) {
      const double ci = p.CircleCos[i], si = p.CircleSin[i];
      const Vec3 point{static_cast<float>(ci * cra), static_cast<float>(ci * sra), static_cast<float>(si)};
      EarthPointToView(v, point);
      PlotEarthPoint(v, i);
    }
  }
  c.setPenColor(platform::clBlack);
  const int count = ClampInt(v.Observers.ObserverCount, 0, MaxObservers);
  for (int k = 0; k < count; ++k) {
    const ObserverEntry& o = v.Observers.Entries[static_cast<std::size_t>(k)];
    DrawObserverMark(v, o.Lat, o.Lon, o.Label);
  }
}

void DrawWorldMap(SatViewContext& v) {
  PlotState& p = v.Plot.Plot;
  platform::Canvas& c = v.Plot.Canvas;
  const WorldMap& m = v.Map;
  c.setPenColor(platform::clTeal);
  // True while the pen stands on the previous entry's pixel, so a line may
  // continue from it. A point behind the viewer (or beyond any image) breaks
  // the line: drawing on from the point before it would cut a chord across
  // the hidden part.
  bool penOnPrevious = false;
  for (int k = 1; k < WorldMapSize; ++k) {
    if (EndsPolyline(m, k)) {
      penOnPrevious = false;
      continue;
    }
    const Vec3 point = navlib::EarthToCelestial(v.Plot.Nav, EarthFixedPoint(m.WorldMapLat[k], m.WorldMapLon[k]));
    EarthPointToView(v, point);
    if (p.LastDepth <= 0 || !ViewPixel(p, p.LastX, p.LastY)) {
      penOnPrevious = false;
      continue;
    }
    if (EarthPointFacing(v) && k >= 2 && !EndsPolyline(m, k - 1) && penOnPrevious) {
      PlotLineTo(c, p.LastX, p.LastY);
    } else {
      PlotMoveTo(c, p.LastX, p.LastY);
    }
    penOnPrevious = true;
  }
  c.setPenColor(platform::clBlack);
}

// ---- Status panel ----

void DrawStatusPanel(PlotContext& ctx, const PlotWindowState& w) {
  const PlotState& p = ctx.Plot;
  const navlib::NavState& nav = ctx.Nav;
  platform::Canvas& c = ctx.Canvas;
  auto F = [](double x) { return FormatFixed(x, 4, 1); };
  auto row = [&](double k, const std::string& text) {
    FrameTextOut(p, c, 1, static_cast<float>(TruncToInt(9 * k)), text);
  };
  const std::string blanks = "   ";
  FrameTextOut(p, c, 1, 1, navlib::DateText(TruncToInt(nav.DayNum)) + " , " + navlib::TimeText(nav.DayFrac));
  row(2, "Alon l/r: " + F(p.Alon) + blanks);
  row(3.5, "Alat u/d: " + F(p.Alat) + blanks);
  row(5, "Sun Angle " + FormatFixed(w.SunAngleDeg, 3, 1) + blanks);
  row(6.5, "Orbit  O  " + std::to_string(w.ViewOrbit) + blanks);
  row(8, "MA     MK " + std::to_string(TruncToInt(w.ViewMa)) + blanks);
  row(9.5, std::string("CLS    C  ") + (w.ClearScreen ? "ON " : "OFF"));
  row(11, std::string("Earth  G  ") + (w.EarthOverlay ? "ON " : "OFF"));
  row(12.5, "Zoom   Z  " + F(p.Zoom) + blanks);
  row(14, "Cr.lon <> " + F(w.ViewLon) + blanks);
  row(15.5, "Cr.lat SX " + F(w.ViewLat) + blanks);
  row(17, "View   V  F<>B");
  row(18.5, "View   F  L<>R");
  row(20, "|  ||");
  row(21.5, "A   M");
}

// ---- The view ----

void DrawSatelliteView(SatViewContext& v) {
  navlib::NavState& nav = v.Plot.Nav;
  PlotState& p = v.Plot.Plot;
  PlotWindowState& w = v.Window;
  platform::Canvas& c = v.Plot.Canvas;

  // 1. A clean image.
  if (w.ClearScreen) {
    c.setBrushColor(platform::clSilver);
    c.fillRect(0, 0, p.PlotWidth, p.PlotHeight);
  }

  // 2. The moment: satellite, Earth as seen from it, Sun and Moon.
  navlib::TimeFromOrbitMa(nav, w.ViewOrbit, w.ViewMa);
  navlib::NormalizeTime(nav);
  ComputeEarthView(v.Plot);
  navlib::SunMoon(nav);
  navlib::EclipticMatrix(nav);
  // The Sun direction of this moment, used by the Sun angle and the Sun's
  // great circle as well as by the Sun's disc (the previous view's Sun
  // would put them where the Sun was at another moment).
  nav.SunDir = navlib::MatVec(nav.EclMatrix, Vec3{std::cos(nav.SunLon), std::sin(nav.SunLon), 0});

  // 3. The view centre: the look direction, not rounded.
  float viewDec = 0, viewRa = 0;
  navlib::AttitudeToCelestial(nav, Rad(w.ViewLat), Rad(w.ViewLon), viewDec, viewRa);
  p.ViewCosDec = std::cos(viewDec);
  p.ViewNegSinDec = -std::sin(viewDec);
  p.ViewCosRa = std::cos(viewRa);
  p.ViewNegSinRa = -std::sin(viewRa);

  // 4. The 90 deg circle.
  c.setPenColor(platform::clGray);
  c.setPenWidth(2);
  if (w.ClearScreen) {
    c.setBrushColor(platform::clSilver);
    c.ellipse(p.CenterX - p.PlotRadius, p.CenterY - p.PlotRadius, p.CenterX + p.PlotRadius, p.CenterY + p.PlotRadius);
  }

  // 5. Perigee and apogee.
  float perLat = 0, perLon = 0;
  navlib::AttitudeToCelestial(nav, 0, 0, perLat, perLon);
  const float perLatDeg = Deg(perLat), perLonDeg = Deg(perLon);
  DrawSkyMarker(p, c, perLatDeg, perLonDeg);
  Label(p, c, LabelOffset, LabelOffset, "Per");
  DrawSkyMarker(p, c, -perLatDeg, perLonDeg + 180);
  Label(p, c, LabelOffset, LabelOffset, "Apo");

  // 6. The orbit plane.
  DrawGreatCircle(p, c, Deg(nav.Elements.Inclination), Deg(nav.RaanNow));

  // 7. The attitude at this moment and its Sun angle.
  float attLat = 0, attLon = 0;
  navlib::AttitudeToCelestial(nav, Rad(p.Alat), Rad(p.Alon), attLat, attLon);
  nav.Elements.Attitude = navlib::LatLonToVector(attLat, attLon);
  w.ViewAttitude = nav.Elements.Attitude;
  w.SunAngleDeg = Deg(navlib::SunAngle(nav));

  // 8. The great circle through the attitude and the Sun (none when the two
  // are parallel: there is no such single circle).
  c.setPenColor(platform::clRed);
  c.setPenWidth(1);
  Vec3 normal;
  if (navlib::CrossUnit(nav.Elements.Attitude, nav.SunDir, normal) != 0) {
    float g1 = 0, g2 = 0;
    navlib::VectorToLatLon(normal, g1, g2);
    DrawSkyCircle(p, c, 90, Deg(g1), Deg(g2));
  }

  // 9. The Earth-sensor cones, the sensor circles, the spin plane, the
  // Earth's disc, the attitude and its opposite, the celestial poles.
  c.setPenColor(platform::clTeal);
  const float aDeg = Deg(attLat), bDeg = Deg(attLon);
  DrawSkyCircle(p, c, p.UpperGamma, aDeg, bDeg);
  DrawSkyCircle(p, c, p.LowerGamma, aDeg, bDeg);
  DrawSkyCircle(p, c, p.LowerGamma - 0.5f, aDeg, bDeg);
  DrawSkyCircle(p, c, SensorCircleWideDeg, aDeg, bDeg);
  DrawSkyCircle(p, c, 90, aDeg, bDeg);
  DrawSkyCircle(p, c, p.EarthAngularRadius, p.EarthDec, p.EarthRa);
  DrawSkyCircle(p, c, SensorCircleNarrowDeg, aDeg, bDeg);
  Label(p, c, AxisLabelOffset, AxisLabelOffset, "A");
  DrawSkyMarker(p, c, -aDeg, bDeg + 180);
  Label(p, c, AxisLabelOffset, AxisLabelOffset, "-a");
  DrawSkyMarker(p, c, 90, 0);
  Label(p, c, LabelOffset, LabelOffset, "N");
  DrawSkyMarker(p, c, -90, 0);
  Label(p, c, LabelOffset, LabelOffset, "S");

  // 10. Celestial equator and ecliptic.
  c.setPenColor(platform::clGreen);
  DrawGreatCircle(p, c, 0, 0);
  c.setPenColor(platform::clBlue);
  DrawGreatCircle(p, c, Deg(ObliquityRad), 0);

  // 11. The Moon, geocentric, km, celestial frame (the Sun was set in step 2).
  const Vec3 moonEcl = Scaled(navlib::LatLonToVector(nav.MoonLat, nav.MoonLon), nav.MoonDist);
  const Vec3 moonPos = navlib::MatVec(nav.EclMatrix, moonEcl);

  // 12. The Sun's disc.
  c.setPenColor(platform::clYellow);
  c.setPenWidth(2);
  float s1 = 0, s2 = 0;
  navlib::VectorToLatLon(nav.SunDir, s1, s2);
  s1 = Deg(s1);
  s2 = Deg(s2);
  DrawSkyCircle(p, c, Deg(nav.SunSemiDiam), s1, s2);
  Label(p, c, LabelOffset, LabelOffset, "Sun");

  // 13. The anti-Sun.
  c.setPenColor(platform::clBlue);
  c.setPenWidth(1);
  DrawSkyMarker(p, c, -s1, s2 + 180);
  Label(p, c, LabelOffset, LabelOffset, "-sun");

  // 14. The Moon as seen from the satellite.
  const Vec3 satKm = Scaled(nav.SatDir, nav.Radius);
  float m1 = 0, m2 = 0;
  navlib::VectorToLatLon(Minus(moonPos, satKm), m1, m2);
  c.setPenColor(platform::clWhite);
  c.setPenWidth(2);
  DrawSkyCircle(p, c, Deg(nav.MoonSemiDiam), Deg(m1), Deg(m2));
  Label(p, c, LabelOffset, LabelOffset, "Moon");

  // 15. The day/night boundary: the great circle of the Earth perpendicular
  // to the Sun. From here on Earth points use the satellite in Earth radii.
  c.setPenColor(platform::clBlue);
  c.setPenWidth(1);
  w.SatEarthRadii = Scaled(satKm, 1.0 / SatViewEarthRadiusKm);
  w.SatRadiusEarthRadii = static_cast<float>(nav.Radius / static_cast<double>(SatViewEarthRadiusKm));
  {
    const double cL = std::cos(Rad(s2)), sL = std::sin(Rad(s2));
    const double cB = std::cos(Rad(s1)), sB = std::sin(Rad(s1));
    for (int i = 0; i <= p.CircleSegments; ++i) {
      const double ci = p.CircleCos[i], si = p.CircleSin[i];
      const Vec3 point{static_cast<float>(-ci * sL - si * sB * cL), static_cast<float>(ci * cL - si * sB * sL),
                       static_cast<float>(si * cB)};
      EarthPointToView(v, point);
      PlotEarthPoint(v, i);
    }
  }

  // 16. The status panel.
  DrawStatusPanel(v.Plot, w);

  // 17. The Earth overlay (key G).
  if (w.EarthOverlay) {
    DrawEarthGrid(v);
    DrawWorldMap(v);
  }
}

void BeginSatelliteView(SatViewContext& v, int orbit, float ma256) {
  PlotWindowState& w = v.Window;
  w.ClearScreen = true;
  w.EarthOverlay = false;
  w.SunAngleDeg = 0;
  w.ViewOrbit = orbit;
  w.ViewMa = ma256;
  navlib::TimeFromOrbitMa(v.Plot.Nav, orbit, ma256);
  // The first view looks along the orbit frame's equator, 90 deg east of the attitude.
  w.ViewLon = v.Plot.Plot.Alon + 90;
  w.ViewLat = v.Plot.Plot.Alat;
  DrawSatelliteView(v);
  v.Plot.Plot.DrawAborted = false;
}

// ---- Observer list ----

namespace {


// The text before the first comma; empty when there is none.
std::string BeforeComma(const std::string& t) {
  const std::size_t comma = t.find(',');
  return comma == std::string::npos ? std::string() : t.substr(0, comma);
}

}  // namespace

std::string ParseObserverList(const std::vector<std::string>& lines, ObserverList& out) {
  out = ObserverList{};
  std::string firstError;
  for (const std::string& raw : lines) {
    if (out.ObserverCount >= MaxObservers) break;  // the table holds twelve
    std::string line = navlib::TrimBlanks(raw);
    ObserverEntry entry;
    entry.Label = line.substr(0, 2);
    const std::size_t comma = line.find(',');
    std::string rest = navlib::TrimBlanks(comma == std::string::npos ? line : line.substr(comma + 1));
    if (rest.find(',') == std::string::npos) continue;
    try {
      entry.Lat = static_cast<float>(navlib::StrToFloat(navlib::TrimBlanks(BeforeComma(rest))));
      rest = navlib::TrimBlanks(rest.substr(rest.find(',') + 1));
      // Without a further comma the longitude text is empty and does not convert.
      entry.Lon = static_cast<float>(navlib::StrToFloat(navlib::TrimBlanks(BeforeComma(rest))));
    } catch (const navlib::ConvertError& e) {
      if (firstError.empty()) firstError = e.what();
      continue;
    }
    out.Entries[static_cast<std::size_t>(out.ObserverCount)] = entry;
    ++out.ObserverCount;
  }
  return firstError;
}

}  // namespace gimbra
