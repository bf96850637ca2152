#include "gimbra/core/plotwindow.h"

#include <cmath>

#include "gimbra/core/fieldtext.h"
#include "gimbra/core/kepswriter.h"
#include "gimbra/core/plotmath.h"
#include "navlib/textnum.h"

namespace gimbra {

const char* const PlotWindowCaption = "  Satellite Attitude Plotter / VELM";
const char* const PlotImageHint =
    "Place pointer over best data intersection.\n"
    "Shft-L-Click to save keps with Att[]\n"
    "Alt-L-Click to save keps with Att[]=0\n"
    "R-Click to switch between satellite view.";
const char* const OrbitMaCaption = "Input Box";
const char* const OrbitMaPrompt = "Enter Start Orbit and MA [e.g. 1234,10]";

namespace {

// One decimal, the value first rounded to four (three) significant digits.
std::string F(double v) { return FormatFixed(v, 4, 1); }

std::string Trim(const std::string& t) {
  std::size_t b = 0, e = t.size();
  while (b < e && (t[b] == ' ' || t[b] == '\t')) ++b;
  while (e > b && (t[e - 1] == ' ' || t[e - 1] == '\t')) --e;
  return t.substr(b, e - b);
}

// Rows of the read-out, counted from the bottom of the 65-row text grid.
constexpr int AlonAlatRow = 9;
constexpr int DecRaRow = 7;
constexpr int SunAngleRow = 5;

void ReadoutTextOut(PlotContext& ctx, int row, const std::string& text) {
  const PlotState& p = ctx.Plot;
  FrameTextOut(p, ctx.Canvas, 4, static_cast<float>((p.TextRows - row) * p.CharPitch), text);
}

// Alon and ViewLon: one turn off above 360, one turn on below 0.
float WrapTurn(double v) {
  if (v > 360) v -= 360;
  if (v < 0) v += 360;
  return static_cast<float>(v);
}

void StepMa(PlotWindowState& w, double step) {
  double ma = static_cast<double>(w.ViewMa) + step;
  if (step > 0 && ma >= 256) {
    ma -= 256;
    ++w.ViewOrbit;
  }
  if (step < 0 && ma < 0) {
    ma += 256;
    --w.ViewOrbit;
  }
  w.ViewMa = static_cast<float>(ma);
}

bool DrawRunning(const PlotState& p) { return p.DrawRunning || p.DrawInProgress; }

void SaveKeps(PlotWindowContext& c, const navlib::Vec3& attitude) {
  PlotContext& ctx = c.View.Plot;
  c.View.Window.SavedAttitude = attitude;
  WriteKepsWithAttitude(ctx.Nav, c.View.Window.SavedAttitude, ctx.Host);
}

}  // namespace

bool PointerDirection(const PlotState& p, int x, int y, navlib::Vec3& dir) {
  if (p.PlotRadius <= 0) return false;  // no view drawn yet: nothing under the pointer
  const double east = static_cast<double>(p.MirrorSign) * (x - p.CenterX) / p.PlotRadius;
  const double north = static_cast<double>(p.CenterY - y) / p.PlotRadius;
  const double h = 1 - north * north - east * east;
  if (h < 0) return false;  // outside the 90 deg circle
  // Back from the view frame (east, north, depth) to the celestial frame:
  // ProjectToView's rotation transposed.
  const float depth = static_cast<float>(std::sqrt(h));
  const float n = static_cast<float>(north), e = static_cast<float>(east);
  const float t = static_cast<float>(static_cast<double>(depth) * p.ViewCosDec +
                                     static_cast<double>(n) * p.ViewNegSinDec);
  dir.z = static_cast<float>(static_cast<double>(n) * p.ViewCosDec - static_cast<double>(depth) * p.ViewNegSinDec);
  dir.x = static_cast<float>(static_cast<double>(t) * p.ViewCosRa + static_cast<double>(e) * p.ViewNegSinRa);
  dir.y = static_cast<float>(static_cast<double>(e) * p.ViewCosRa - static_cast<double>(t) * p.ViewNegSinRa);
  return true;
}

ReadoutRows CursorReadoutTexts(navlib::NavState& nav, const PlotWindowState& w) {
  ReadoutRows rows;
  const float sunRad = navlib::SunAngle(nav);
  const float sunDeg = navlib::Deg(sunRad);
  const float count = navlib::MaFromSensorAngle(nav, sunDeg);
  // Spin angle from the Sun to the pointed direction about the satellite
  // view's attitude, in 256ths of a turn.
  const float turn = navlib::TurnAngle(w.ViewAttitude, nav.SunDir, nav.Elements.Attitude);
  const int phase = TruncToInt(static_cast<double>(turn) * 128 / navlib::Nc.Pi);
  rows.AlonAlat = "alon/alat :" + F(w.CursorAlon) + "/" + F(w.CursorAlat);
  rows.DecRa = "Dec/Ra   :" + F(navlib::Deg(w.CursorDec)) + "/" + F(navlib::Deg(w.CursorRa));
  rows.SunAngle = "Sun Angle :" + F(sunDeg) + "/" + F(count) + "/" + std::to_string(phase);
  while (rows.SunAngle.size() < 27) rows.SunAngle += ' ';
  return rows;
}

void ShowCursorReadout(PlotContext& ctx, PlotWindowState& w) {
  ReadoutTextOut(ctx, AlonAlatRow, std::string(22, ' '));
  ReadoutTextOut(ctx, DecRaRow, std::string(23, ' '));
  ReadoutTextOut(ctx, SunAngleRow, std::string(27, ' '));
  navlib::Vec3 dir;
  if (!PointerDirection(ctx.Plot, w.MouseX, w.MouseY, dir)) return;
  navlib::NavState& nav = ctx.Nav;
  nav.Elements.Attitude = dir;
  navlib::VectorToLatLon(dir, w.CursorDec, w.CursorRa);
  float alatRad = 0, alonRad = 0;
  navlib::VectorToLatLon(navlib::CelestialToPlane(nav, dir), alatRad, alonRad);
  w.CursorAlat = navlib::Deg(alatRad);
  w.CursorAlon = navlib::Deg(alonRad);
  const ReadoutRows rows = CursorReadoutTexts(nav, w);
  ReadoutTextOut(ctx, AlonAlatRow, rows.AlonAlat);
  ReadoutTextOut(ctx, SunAngleRow, rows.SunAngle);
  ReadoutTextOut(ctx, DecRaRow, rows.DecRa);
}

bool ZoomView(PlotState& p, bool zoomIn) {
  const double factor = zoomIn ? 1.2 : 0.8333333333333334;
  const double radius = std::trunc(static_cast<double>(p.PlotRadius) * factor);
  if (!(radius >= MinPlotRadius && radius <= MaxPlotRadius)) return false;
  p.PlotRadius = static_cast<int>(radius);
  p.Zoom = static_cast<float>(static_cast<double>(p.Zoom) * factor);
  return true;
}

bool ApplyViewKey(PlotState& p, PlotWindowState& w, ViewKey key, bool shift) {
  switch (key) {
    case ViewKey::Right: p.Alon = WrapTurn(static_cast<double>(p.Alon) + 1); return true;
    case ViewKey::Left: p.Alon = WrapTurn(static_cast<double>(p.Alon) - 1); return true;
    case ViewKey::Pad6: p.Alon = WrapTurn(static_cast<double>(p.Alon) + 0.1); return true;
    case ViewKey::Pad4: p.Alon = WrapTurn(static_cast<double>(p.Alon) - 0.1); return true;
    case ViewKey::Up: p.Alat = static_cast<float>(static_cast<double>(p.Alat) + 1); return true;
    case ViewKey::Down: p.Alat = static_cast<float>(static_cast<double>(p.Alat) - 1); return true;
    case ViewKey::Pad8: p.Alat = static_cast<float>(static_cast<double>(p.Alat) + 0.1); return true;
    case ViewKey::Pad2: p.Alat = static_cast<float>(static_cast<double>(p.Alat) - 0.1); return true;
    case ViewKey::Period: w.ViewLon = WrapTurn(static_cast<double>(w.ViewLon) + 1); return true;
    case ViewKey::Comma: w.ViewLon = WrapTurn(static_cast<double>(w.ViewLon) - 1); return true;
    case ViewKey::S: w.ViewLat = static_cast<float>(static_cast<double>(w.ViewLat) + 1); return true;
    case ViewKey::X: w.ViewLat = static_cast<float>(static_cast<double>(w.ViewLat) - 1); return true;
    case ViewKey::Z: ZoomView(p, shift); return true;
    case ViewKey::O: w.ViewOrbit += shift ? 1 : -1; return true;
    case ViewKey::M: StepMa(w, shift ? 0.25 : -0.25); return true;
    case ViewKey::K: StepMa(w, shift ? 10 : -10); return true;
    case ViewKey::C: w.ClearScreen = !w.ClearScreen; return true;
    case ViewKey::G: w.EarthOverlay = !w.EarthOverlay; return true;
    case ViewKey::V:
      // Whole degrees: the remainder keeps the sign of the dividend and the
      // fraction of ViewLon is lost.
      w.ViewLon = static_cast<float>(TruncToInt(static_cast<double>(w.ViewLon) + 180) % 360);
      w.ViewLat = -w.ViewLat;
      return true;
    case ViewKey::F:
    case ViewKey::Shift:
    case ViewKey::Other:
      return false;
  }
  return false;
}

std::string OrbitMaDefaultText(const navlib::NavState& nav) {
  return std::to_string(TruncToInt(nav.Elements.EpochOrbit)) + ",128";
}

void ParseOrbitMa(const std::string& answer, int& orbit, float& ma256) {
  const std::string text = Trim(answer);
  const std::size_t comma = text.find(',');
  // Without a comma the orbit text is empty, which is no whole number.
  const std::string orbitText = comma == std::string::npos ? std::string() : text.substr(0, comma);
  const std::string maText = comma == std::string::npos ? std::string() : text.substr(comma + 1);
  const int o = navlib::StrToInt(orbitText);
  const double m = navlib::StrToFloat(maText);
  orbit = o;
  ma256 = static_cast<float>(m);
}

void StartSatelliteView(PlotWindowContext& c) {
  PlotContext& ctx = c.View.Plot;
  PlotWindowState& w = c.View.Window;
  w.ClearScreen = true;
  w.EarthOverlay = false;
  w.SunAngleDeg = 0;
  const std::string answer = ctx.Host.inputBox(OrbitMaCaption, OrbitMaPrompt, OrbitMaDefaultText(ctx.Nav));
  int orbit = 0;
  float ma = 0;
  ParseOrbitMa(answer, orbit, ma);
  BeginSatelliteView(c.View, orbit, ma);
  ctx.Plot.DrawAborted = false;
}

void SatelliteViewClick(PlotWindowContext& c) {
  PlotContext& ctx = c.View.Plot;
  PlotWindowState& w = c.View.Window;
  ShowCursorReadout(ctx, w);
  navlib::Vec3 dir;
  if (PointerDirection(ctx.Plot, w.MouseX, w.MouseY, dir)) {
    w.ViewLon = w.CursorAlon;
    w.ViewLat = w.CursorAlat;
  }
  DrawSatelliteView(c.View);
}

void PlotImageMouseMove(PlotWindowContext& c, int x, int y) {
  PlotWindowState& w = c.View.Window;
  w.MouseX = x;
  w.MouseY = y;
  // While any Draw runs the read-out would change the element attitude and
  // the projection scratch values under it.
  if (DrawRunning(c.View.Plot.Plot)) return;
  ShowCursorReadout(c.View.Plot, w);
}

void PlotWindowMouseDown(PlotWindowContext& c, MouseButton button, bool shift, bool alt) {
  PlotContext& ctx = c.View.Plot;
  PlotWindowState& w = c.View.Window;
  if (DrawRunning(ctx.Plot)) return;
  if (button == MouseButton::Right) {
    w.SatelliteViewMode = !w.SatelliteViewMode;
    if (w.SatelliteViewMode) {
      if (c.SetHint) c.SetHint(false);
      BuildCircleTable(ctx.Plot, ctx.Plot.SatSegments);
      try {
        StartSatelliteView(c);
      } catch (...) {
        // The answer did not convert: the view was not entered and the sky
        // map stays, so the state says so too.
        w.SatelliteViewMode = false;
        w.ClearScreen = false;
        if (c.SetHint) c.SetHint(true);
        throw;
      }
    } else {
      w.ClearScreen = false;
      if (c.SetHint) c.SetHint(true);
      if (c.Redraw) c.Redraw(false);
    }
  }
  if (button != MouseButton::Left) return;
  if (w.SatelliteViewMode) SatelliteViewClick(c);
  if (shift) SaveKeps(c, ctx.Nav.Elements.Attitude);
  if (alt) SaveKeps(c, navlib::Vec3{0, 0, 0});
}

void PlotWindowKeyDown(PlotWindowContext& c, ViewKey key, bool shift) {
  PlotContext& ctx = c.View.Plot;
  PlotWindowState& w = c.View.Window;
  if (DrawRunning(ctx.Plot)) return;
  if (w.SatelliteViewMode) {
    ApplyViewKey(ctx.Plot, w, key, shift);
    DrawStatusPanel(ctx, w);
    DrawSatelliteView(c.View);
  }
  if (key == ViewKey::F) {
    ctx.Plot.MirrorSign = -ctx.Plot.MirrorSign;
    if (w.SatelliteViewMode) {
      DrawStatusPanel(ctx, w);
      DrawSatelliteView(c.View);
    } else if (c.Redraw) {
      c.Redraw(true);
    }
  }
}

WindowPosition ReadWindowPosition(platform::SettingsStore& store, const std::string& formName) {
  WindowPosition pos;
  pos.Top = store.readInt(PositionKey, formName + " Top", 20);
  pos.Left = store.readInt(PositionKey, formName + " Left", 20);
  return pos;
}

void WriteWindowPosition(platform::SettingsStore& store, const std::string& formName, const WindowPosition& pos) {
  store.write(PositionKey, formName + " Top", std::to_string(pos.Top));
  store.write(PositionKey, formName + " Left", std::to_string(pos.Left));
}

}  // namespace gimbra
