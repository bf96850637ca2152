// The sky projection: view set-up from the main window's fields, the circle
// table, the orthographic projection and the canvas wrappers.
#include <cmath>

#include "gimbra/core/plot.h"
#include "gimbra/core/plotmath.h"
#include "navlib/textnum.h"

namespace gimbra {

using navlib::Rad;

void BuildCircleTable(PlotState& p, int n) {
  // The table has room for 3000 segments; fewer than 36 would draw circles
  // as coarse polygons whatever a stored setting says.
  if (n > MaxCircleSegments) n = MaxCircleSegments;
  if (n < MinCircleSegments) n = MinCircleSegments;
  p.CircleSegments = n;
  const float pi = navlib::Nc.Pi;
  for (int i = 0; i <= n; ++i) {
    const float angle = static_cast<float>((2.0 * pi * i) / n);
    p.CircleCos[i] = static_cast<float>(std::cos(angle));
    p.CircleSin[i] = static_cast<float>(std::sin(angle));
  }
}

void ProjectToView(PlotState& p) {
  const double x = p.WorkVec.x, y = p.WorkVec.y, z = p.WorkVec.z;
  const float v = static_cast<float>(x * p.ViewCosRa - y * p.ViewNegSinRa);
  p.LastEast = static_cast<float>(p.MirrorSign * x * p.ViewNegSinRa + p.MirrorSign * y * p.ViewCosRa);
  p.LastDepth = static_cast<float>(static_cast<double>(v) * p.ViewCosDec - z * p.ViewNegSinDec);
  p.LastNorth = static_cast<float>(static_cast<double>(v) * p.ViewNegSinDec + z * p.ViewCosDec);
}

bool ViewPixel(const PlotState& p, int& x, int& y) {
  const double px = static_cast<double>(p.PlotWidth) - (static_cast<double>(p.CenterX) - p.LastEast);
  const double py = static_cast<double>(p.CenterY) - p.LastNorth;
  // A point that is not finite, or far beyond any image, is never handed to
  // the canvas (a zero zoom or radius, an absurd zoom key sequence).
  if (!(std::fabs(px) <= MaxPixel) || !(std::fabs(py) <= MaxPixel)) return false;
  x = static_cast<int>(px);
  y = static_cast<int>(py);
  return true;
}

void DrawSkyCircle(PlotState& p, platform::Canvas& c, float radiusDeg, float latDeg, float lonDeg) {
  const double r = p.PlotRadius;
  const float cb = std::cos(Rad(latDeg)), sb = std::sin(Rad(latDeg));
  const float cc = std::cos(Rad(lonDeg)), sc = std::sin(Rad(lonDeg));
  const float rs = static_cast<float>(std::sin(Rad(radiusDeg)) * r);
  const float rc = static_cast<float>(std::cos(Rad(radiusDeg)) * r);
  bool penPlaced = false;  // false until a point has been handed to the canvas
  for (int i = 0; i <= p.CircleSegments; ++i) {
    const float a = rs * p.CircleCos[i];
    const float b = rs * p.CircleSin[i];
    const float t = static_cast<float>(static_cast<double>(rc) * cb - static_cast<double>(b) * sb);
    p.WorkVec.z = static_cast<float>(static_cast<double>(rc) * sb + static_cast<double>(b) * cb);
    p.WorkVec.x = static_cast<float>(static_cast<double>(t) * cc - static_cast<double>(a) * sc);
    p.WorkVec.y = static_cast<float>(static_cast<double>(t) * sc + static_cast<double>(a) * cc);
    ProjectToView(p);
    if (!ViewPixel(p, p.LastX, p.LastY)) {
      penPlaced = false;  // the pen stays where it was; the next point starts afresh
      continue;
    }
    if (p.LastDepth >= 0 && i != 0 && penPlaced) {
      PlotLineTo(c, p.LastX, p.LastY);
    } else {
      PlotMoveTo(c, p.LastX, p.LastY);
    }
    penPlaced = true;
  }
}

void DrawGreatCircle(PlotState& p, platform::Canvas& c, float inclinationDeg, float nodeDeg) {
  DrawSkyCircle(p, c, 90, 90 - inclinationDeg, nodeDeg - 90);
}

void DrawSkyMarker(PlotState& p, platform::Canvas& c, float latDeg, float lonDeg) {
  if (p.Zoom == 0 || !std::isfinite(1 / p.Zoom)) {
    // No zoom yet (a Draw without a zoom selection before any other): there
    // is no marker size; only the direction itself is projected, so the
    // labels placed after a marker still have a pixel.
    const navlib::Vec3 u = navlib::LatLonToVector(Rad(latDeg), Rad(lonDeg));
    p.WorkVec = {u.x * p.PlotRadius, u.y * p.PlotRadius, u.z * p.PlotRadius};
    ProjectToView(p);
    ViewPixel(p, p.LastX, p.LastY);
    return;
  }
  DrawSkyCircle(p, c, 1 / p.Zoom, latDeg, lonDeg);
}

void FrameMoveTo(const PlotState& p, platform::Canvas& c, float x, float y) {
  c.moveTo(TruncToInt(x * p.ScreenScale), TruncToInt(y * p.ScreenScale));
}

void FrameLineTo(const PlotState& p, platform::Canvas& c, float x, float y) {
  c.lineTo(TruncToInt(x * p.ScreenScale), TruncToInt(y * p.ScreenScale));
}

void FrameTextOut(const PlotState& p, platform::Canvas& c, float x, float y, const std::string& text) {
  c.textOut(TruncToInt(x * p.ScreenScale), TruncToInt(y * p.ScreenScale), text);
}

void PlotMoveTo(platform::Canvas& c, int x, int y) { c.moveTo(x, y); }
void PlotLineTo(platform::Canvas& c, int x, int y) { c.lineTo(x, y); }
void PlotTextOut(platform::Canvas& c, int x, int y, const std::string& text) { c.textOut(x, y, text); }

void SetUpView(PlotContext& ctx) {
  PlotState& p = ctx.Plot;
  navlib::NavState& nav = ctx.Nav;
  const PlotInputs& in = ctx.Inputs;

  p.PlotWidth = TruncToInt(800 * p.ScreenScale);
  p.PlotHeight = TruncToInt(600 * p.ScreenScale);
  p.TextColumns = 88;
  p.TextRows = 65;

  if (in.SatelliteIndex < 0 || in.SatelliteIndex >= static_cast<int>(in.SatelliteList.size())) {
    p.DrawAborted = true;
    return;
  }
  nav.SatName = in.SatelliteList[static_cast<std::size_t>(in.SatelliteIndex)];

  // Without a zoom selection every later value stays as the last Draw left it.
  if (in.ZoomIndex < 0 || in.ZoomIndex >= static_cast<int>(in.ZoomList.size())) return;
  p.Zoom = static_cast<float>(navlib::StrToFloat(in.ZoomList[static_cast<std::size_t>(in.ZoomIndex)]));

  p.UpperGamma = static_cast<float>(navlib::StrToFloat(in.UpperGammaText));
  p.LowerGamma = static_cast<float>(navlib::StrToFloat(in.LowerGammaText));

  // Kept within the circle table's room whatever the fields or stored settings hold.
  p.MapSegments = ClampInt(navlib::StrToInt(in.MapSegmentsText), MinCircleSegments, MaxCircleSegments);
  p.SatSegments = ClampInt(navlib::StrToInt(in.SatSegmentsText), MinCircleSegments, MaxCircleSegments);

  p.EslFudge = static_cast<float>(navlib::StrToFloat(in.EslFudgeText));
  p.EsuFudge = static_cast<float>(navlib::StrToFloat(in.EsuFudgeText));
  p.SunFudge = static_cast<float>(navlib::StrToFloat(in.SunFudgeText));

  // The view is computed for 0 h UTC of the calculation date.
  nav.DayFrac = 0;
  nav.DayNum = static_cast<float>(navlib::ParseDate(in.CalcDateText));

  p.Alon = static_cast<float>(navlib::StrToFloat(in.AlonText));
  p.Alat = static_cast<float>(navlib::StrToFloat(in.AlatText));

  navlib::OrbitOrientation(nav);
  float decRad = 0, raRad = 0;
  navlib::AttitudeToCelestial(nav, Rad(p.Alat), Rad(p.Alon), decRad, raRad);

  BuildCircleTable(p, p.MapSegments);

  p.PlotRadius = TruncToInt(static_cast<double>(p.PlotHeight) * p.Zoom * 0.5);

  // Whole degrees, rounded by adding 0.5 and truncating toward zero:
  // -3.7 becomes -3, -0.6 becomes 0.
  p.CenterDec = static_cast<float>(TruncToInt(navlib::Deg(decRad) + 0.5));
  p.CenterRa = static_cast<float>(TruncToInt(navlib::Deg(raRad) + 0.5));

  p.ViewCosDec = std::cos(Rad(p.CenterDec));
  p.ViewNegSinDec = -std::sin(Rad(p.CenterDec));
  p.ViewCosRa = std::cos(Rad(p.CenterRa));
  p.ViewNegSinRa = -std::sin(Rad(p.CenterRa));
}

}  // namespace gimbra
