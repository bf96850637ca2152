// The plot window's behaviour without the window: the pointer read-out (the
// inverse of the sky projection), the mouse buttons, the key table of the
// satellite view, the orbit/MA answer and the window-position memory. The
// window only turns its events into these calls.
#pragma once

#include <functional>
#include <string>

#include "gimbra/core/plot.h"
#include "gimbra/core/satview.h"
#include "navlib/navlib.h"
#include "platform/settingsstore.h"

namespace gimbra {

// ---- Texts of the plot window ----
extern const char* const PlotWindowCaption;  // "  Satellite Attitude Plotter / VELM"
// The image's hint, four lines.
extern const char* const PlotImageHint;
extern const char* const OrbitMaCaption;     // "Input Box"
extern const char* const OrbitMaPrompt;      // "Enter Start Orbit and MA [e.g. 1234,10]"

// Zoom keys keep the 90 deg circle's radius within these pixels.
inline constexpr int MinPlotRadius = 1;
inline constexpr int MaxPlotRadius = 1000000;

// ---- Pointer read-out ----

// The unit celestial direction under image pixel (x, y) for the view in
// effect: the inverse of ProjectToView. False when the pixel lies outside
// the 90 deg circle (or the view has no radius yet); dir is then unchanged.
bool PointerDirection(const PlotState& p, int x, int y, navlib::Vec3& dir);

// The three read-out rows for w.MouseX, w.MouseY: they are blanked, and when
// the pointer is inside the 90 deg circle the library's element attitude
// becomes the direction under it, w.Cursor* are set and the rows written
// ("alon/alat :", "Dec/Ra   :", "Sun Angle :").
void ShowCursorReadout(PlotContext& ctx, PlotWindowState& w);

// The texts of the three rows for the current w.Cursor* and the library's
// Sun: [0] row 9 (alon/alat), [1] row 7 (Dec/Ra), [2] row 5 (Sun angle).
struct ReadoutRows {
  std::string AlonAlat, DecRa, SunAngle;
};
ReadoutRows CursorReadoutTexts(navlib::NavState& nav, const PlotWindowState& w);

// ---- Keys of the satellite view ----

enum class ViewKey {
  Right, Left,        // Alon +1 / -1
  Pad6, Pad4,         // Alon +0.1 / -0.1 (keypad, Num Lock on)
  Up, Down,           // Alat +1 / -1
  Pad8, Pad2,         // Alat +0.1 / -0.1
  Period, Comma,      // ViewLon +1 / -1 (the keys also marked > and <)
  S, X,               // ViewLat +1 / -1
  Z,                  // zoom: in with Shift, out without
  O,                  // ViewOrbit: +1 with Shift, -1 without
  M,                  // ViewMa: +0.25 / -0.25
  K,                  // ViewMa: +10 / -10
  C,                  // CLS on/off
  G,                  // Earth overlay on/off
  V,                  // look backward
  F,                  // mirror east-west (both views)
  Shift,              // Shift alone
  Other,              // any other key
};

// Applies one key of the table to the state; false for keys outside it
// (F, Shift, Other). Alon and ViewLon wrap into (0, 360] / [0, 360], ViewMa
// wraps at 0 and 256 with the orbit.
bool ApplyViewKey(PlotState& p, PlotWindowState& w, ViewKey key, bool shift);

// Zoom in (factor 1.2) or out (1 / 1.2): PlotRadius = trunc(PlotRadius x f)
// and Zoom x f together. A step that would take the radius below 1 or above
// 10^6 pixels changes nothing and returns false.
bool ZoomView(PlotState& p, bool zoomIn);

// ---- The orbit/MA input box ----

// The pre-filled answer: the epoch orbit, a comma and 128.
std::string OrbitMaDefaultText(const navlib::NavState& nav);
// "orbit,MA": blanks trimmed at both ends; the orbit before the first comma
// a whole number, the MA after it a decimal number. Raises
// navlib::ConvertError otherwise (no comma: the empty orbit text).
void ParseOrbitMa(const std::string& answer, int& orbit, float& ma256);

// ---- The window's handlers ----

enum class MouseButton { Left, Right, Middle };

// What the plot window's handlers need besides the view's context.
struct PlotWindowContext {
  SatViewContext& View;
  // A full Draw of the main window's fields (back to the sky map);
  // setInProgress: DrawInProgress is set around it (the F key).
  std::function<void(bool setInProgress)> Redraw;
  // Switches the image's hint on or off.
  std::function<void(bool on)> SetHint;
};

// Pointer moved over the image: MouseX, MouseY; the read-out unless a Draw runs.
void PlotImageMouseMove(PlotWindowContext& c, int x, int y);

// A mouse button pressed on the image or the form. The right button switches
// between the sky map and the satellite view (following SatelliteViewMode,
// so that the keys always act on the view shown); the left button re-centres
// the satellite view, and with Shift (Alt) writes the keps file with the
// attitude (with zero). Does nothing while a Draw runs.
void PlotWindowMouseDown(PlotWindowContext& c, MouseButton button, bool shift, bool alt);

// A key pressed on the plot window: the key table in the satellite view and
// F in both views. Does nothing while a Draw runs.
void PlotWindowKeyDown(PlotWindowContext& c, ViewKey key, bool shift);

// Right click into the satellite view: asks orbit and MA, then the first view.
// A conversion error of the answer propagates (the view is not entered).
void StartSatelliteView(PlotWindowContext& c);
// Left click in the satellite view: looks toward the pointer's direction.
void SatelliteViewClick(PlotWindowContext& c);

// ---- Window positions ----

inline constexpr const char* PositionKey = "Software\\VELM Programs\\Gimbra\\Position";

struct WindowPosition {
  int Top = 20;
  int Left = 20;
};

// "<name> Top" and "<name> Left" ("Gimbra1", "Gimbra2"): missing or not a
// whole number gives 20.
WindowPosition ReadWindowPosition(platform::SettingsStore& store, const std::string& formName);
void WriteWindowPosition(platform::SettingsStore& store, const std::string& formName, const WindowPosition& pos);

}  // namespace gimbra
