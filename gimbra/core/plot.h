// The plot: one Draw paints the celestial sphere as seen along the spin axis
// on the 800 x 600 canvas, the frame and reference circles first, then the
// ALON/ALAT grid and the ticked measurement layers. Every sky item is a circle
// on the sphere drawn by DrawSkyCircle in an orthographic projection.
#pragma once

#include <array>
#include <functional>
#include <string>

#include "gimbra/core/attitudedata.h"
#include "gimbra/core/plotinputs.h"
#include "gimbra/core/plotstate.h"
#include "navlib/navlib.h"
#include "platform/canvas.h"
#include "platform/uihost.h"

namespace gimbra {

// Everything one Draw reads and writes. The program owns each part for the
// whole run; the context only refers to them.
struct PlotContext {
  navlib::NavState& Nav;        // the orbit library's state: SatName, KepsDir, time, results
  PlotState& Plot;
  AttitudeData& Data;           // measurement tables and their colours
  platform::Canvas& Canvas;     // the plot image
  platform::UiHost& Host;       // messages and "let pending window messages run"
  const PlotInputs& Inputs;     // the main window's controls
  // Step 6 of the Draw: show the plot window (the windows set it; empty elsewhere).
  std::function<void()> ShowPlotWindow;
  // Step 7 of the Draw: fill the world-map outline table (empty until the
  // satellite view provides it).
  std::function<void()> FillWorldMap;
};

enum class DrawResult {
  Drawn,         // the whole Draw ran
  NoSatellite,   // no satellite selected: nothing drawn, no message
  KepsNotRead,   // the keps file could not be read: message shown, picture unchanged
  Refused,       // another Draw was still running
};

// The whole Draw sequence. A field or a data-file record that does not
// convert raises navlib::ConvertError, which ends the Draw where it stands;
// the caller shows what() as a message.
DrawResult DrawPlot(PlotContext& ctx);

// Reads the main window's fields into the plot state and sets the library's
// time to 0 h UTC of the calculation date; may set DrawAborted.
void SetUpView(PlotContext& ctx);

// cos and sin of 2 pi i / n for i = 0 ... n; n is kept within 36 ... 3000.
void BuildCircleTable(PlotState& p, int n);

// Rotates WorkVec into the view frame: LastEast, LastNorth, LastDepth.
void ProjectToView(PlotState& p);

// Circle of angular radius radiusDeg about the celestial direction
// (latDeg, lonDeg), drawn with the current pen from the circle table; the
// hidden half only moves the pen. Leaves Last* at the final point.
void DrawSkyCircle(PlotState& p, platform::Canvas& c, float radiusDeg, float latDeg, float lonDeg);
// Great circle of the given inclination to the equator and ascending node.
void DrawGreatCircle(PlotState& p, platform::Canvas& c, float inclinationDeg, float nodeDeg);
// A small circle of about 5 pixels radius at every zoom.
void DrawSkyMarker(PlotState& p, platform::Canvas& c, float latDeg, float lonDeg);

// Image pixel of the last projected vector. False (pixel left unchanged) when
// the position is not finite or lies more than a million pixels away.
bool ViewPixel(const PlotState& p, int& x, int& y);

// Canvas calls in design coordinates of the 800 x 600 layout (scaled by
// ScreenScale and truncated) ...
void FrameMoveTo(const PlotState& p, platform::Canvas& c, float x, float y);
void FrameLineTo(const PlotState& p, platform::Canvas& c, float x, float y);
void FrameTextOut(const PlotState& p, platform::Canvas& c, float x, float y, const std::string& text);
// ... and in image pixels, passed through.
void PlotMoveTo(platform::Canvas& c, int x, int y);
void PlotLineTo(platform::Canvas& c, int x, int y);
void PlotTextOut(platform::Canvas& c, int x, int y, const std::string& text);

// Background, border, texts, horizon circle, ecliptic and Sun, orbit plane,
// equator, ecliptic poles and the orbit-longitude labels.
void DrawFrame(PlotContext& ctx);

// The first of the five orbit longitudes DrawFrame labels for an attitude
// longitude (degrees): a multiple of 30 some 40 to 70 degrees below it.
int FirstOrbitLabel(float alonDeg);
// The text of the five orbit-longitude labels, in drawing order.
std::array<std::string, 5> OrbitLabelTexts(float alonDeg);

// Reads the attitude data file (keps directory + "Data File Name:") into
// ctx.Data; a missing file leaves the tables empty. A surplus record is
// reported once through ctx.Host.
void LoadAttitudeData(PlotContext& ctx);

// The Earth seen from the satellite at the library's current time:
// EarthDir, EarthDec, EarthRa, EarthAngularRadius.
void ComputeEarthView(PlotContext& ctx);

// The ALON/ALAT grid: 18 meridians and 17 parallels of the orbit frame.
void DrawOrbitGrid(PlotContext& ctx);
void DrawSunSensorLayer(PlotContext& ctx);
void DrawEarthMaLayer(PlotContext& ctx);
void DrawSquintLayer(PlotContext& ctx);
void DrawCameraEarthLayer(PlotContext& ctx);
void DrawCameraMoonLayer(PlotContext& ctx);

// ---- Earth-arc attitude locus ----

// Per-record values of the Earth-arc solution: the Earth and Sun directions,
// the current limb point and its Sun product, the chosen limb crossing.
struct EarthArcWork {
  navlib::Vec3 Earth;       // E, unit, celestial
  float CosRho = 0;         // cos of the Earth's angular radius
  navlib::Vec3 Sun;         // S, unit, celestial
  navlib::Vec3 Limb;        // P, unit, the current limb point
  float SunLimb = 0;        // sp = S . P
  int Edge = 0;             // 1: second limb crossing, else the first
  float CosGamma = 0;       // cg of the sensor being solved
  float SinGamma = 0;       // sg
  // The turn of the last arc solved and its cosine: the same for every limb
  // point of a record, so worked out once.
  float MemoArc = -1;       // 256ths; negative: none yet
  float MemoTurn = 0;       // rad
  float MemoCosTurn = 1;
};

void DrawEarthArcLayer(PlotContext& ctx);
// Sine and cosine of the declination and right ascension of the Earth's
// direction, the frame the limb points are built in. False at a celestial
// pole, where there is no east: the record is then passed over.
bool EarthLimbFrame(const navlib::Vec3& earth, float& sinDec, float& cosDec, float& cosRa, float& sinRa);
// Solves one sensor (gamma in degrees, arc in 256ths of a turn) at the current
// limb point and plots the consistent axes with the current brush.
void EarthArcSolve(PlotContext& ctx, EarthArcWork& w, float gammaDeg, float arc);
// Of the two axes Z with Z . S = t and Z . P = cos gamma, the one whose turn
// from the Sun to P about it is A (radians). False when the cones do not meet.
bool SelectArcAxis(const EarthArcWork& w, float t, float turnRad, navlib::Vec3& axis);
// Plots Z as one pixel if its sensor cone crosses the limb at P on the chosen edge.
// True when a pixel was filled.
bool PlotArcAxis(PlotContext& ctx, const EarthArcWork& w, const navlib::Vec3& axis);

}  // namespace gimbra
