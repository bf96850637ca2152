// The satellite view: the sky and the Earth as seen from the spacecraft at
// one moment of its orbit, looking in a chosen direction, drawn with the sky
// map's orthographic projection about the look direction. It shows the
// attitude with the Earth-sensor cones, the orbit plane, perigee and apogee,
// the celestial poles, equator and ecliptic, the Sun, the Moon, the Earth's
// disc with its day/night boundary and, on request (key G), a latitude /
// longitude grid on the Earth, the coastlines and the observers' homes.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "gimbra/core/plot.h"
#include "gimbra/core/worldmap.h"
#include "navlib/navlib.h"

namespace gimbra {

// Earth radius of the plotter's sensor geometry, km (not the library's 6378.137).
inline constexpr float SatViewEarthRadiusKm = 6378.14f;

// ---- Observer list ("ObsList.ini", read at start-up) ----

inline constexpr int MaxObservers = 12;

struct ObserverEntry {
  std::string Label;  // the first two characters of the line
  float Lat = 0;      // deg, north
  float Lon = 0;      // deg, east
};

struct ObserverList {
  std::array<ObserverEntry, MaxObservers> Entries;
  int ObserverCount = 0;
};

// ---- The plot window's state (one record for the whole run, all zero at start) ----

struct PlotWindowState {
  bool SatelliteViewMode = false;  // flipped by every right click; the keys act only while true
  bool ClearScreen = false;        // "CLS": the satellite view clears the image before drawing
  bool EarthOverlay = false;       // "Earth": grid, world map and observer marks in the view
  int ViewOrbit = 0;               // orbit number of the view's moment
  float ViewMa = 0;                // mean anomaly of that moment, 256ths of a revolution
  float ViewLon = 0;               // deg, look direction in the orbit frame ("Cr.lon")
  float ViewLat = 0;               // deg, look direction in the orbit frame ("Cr.lat")
  float SunAngleDeg = 0;           // deg, Sun angle of the attitude, shown in the status panel
  int MouseX = 0, MouseY = 0;      // image pixel of the last pointer position
  float CursorDec = 0, CursorRa = 0;     // rad, direction under the pointer
  float CursorAlat = 0, CursorAlon = 0;  // deg, that direction in the orbit frame; alon in [0, 360)
  navlib::Vec3 SavedAttitude;      // unit (or zero), celestial: the attitude handed to the keps writer
  navlib::Vec3 ViewAttitude;       // unit, celestial: the attitude at the last view's moment
  // Working values of the Earth drawings of one view.
  float EarthPointDistance = 0;    // Earth radii, satellite -> the last Earth point projected
  navlib::Vec3 SatEarthRadii;      // Earth radii, celestial: the satellite's position
  float SatRadiusEarthRadii = 0;   // Earth radii: the satellite's distance from the Earth's centre
  bool EarthPenPlaced = false;     // the last Earth point was handed to the canvas
};

// Everything a satellite view reads and writes: the plot's context (library
// state, plot state, canvas, host), the window state and the start-up tables.
struct SatViewContext {
  PlotContext& Plot;
  PlotWindowState& Window;
  const ObserverList& Observers;
  const WorldMap& Map;
};

// The whole view for the current window state (ViewOrbit, ViewMa, ViewLon,
// ViewLat, ClearScreen, EarthOverlay), with the current circle table.
// Leaves the library at the view's moment with this view's Sun direction,
// ViewAttitude, SunAngleDeg and the view rotation for the read-out.
void DrawSatelliteView(SatViewContext& v);

// The first satellite view of a right click for the moment (orbit, ma256):
// CLS on, Earth off, Sun angle 0, the look direction 90 deg east of the
// attitude along the orbit frame's equator; then the view. The caller has
// asked for the moment and built the circle table for SatSegments.
void BeginSatelliteView(SatViewContext& v, int orbit, float ma256);

// The text panel at the top left of the satellite view: time, attitude, Sun
// angle, orbit, MA, CLS, Earth, zoom, look direction and the key legend.
void DrawStatusPanel(PlotContext& ctx, const PlotWindowState& w);

// ---- The Earth drawings (use the satellite position of the view) ----

// Projects the direction from the satellite to the Earth-surface point p
// (unit vector, celestial frame, Earth radius 1); sets EarthPointDistance
// and the Last* view coordinates.
void EarthPointToView(SatViewContext& v, const navlib::Vec3& p);
// True when the point just projected is on the Earth's side facing the satellite.
bool EarthPointFacing(const SatViewContext& v);
// Moves or draws to the point just projected, i being its index along its circle.
void PlotEarthPoint(SatViewContext& v, int i);
// 11 parallels, 13 meridian circles and the observers' labels.
void DrawEarthGrid(SatViewContext& v);
// An observer's label at its home (degrees), when that home faces the satellite.
void DrawObserverMark(SatViewContext& v, float latDeg, float lonDeg, const std::string& label);
// The coastline polylines of the world-map table.
void DrawWorldMap(SatViewContext& v);

// ---- Observer list file ----

// Fills the list from the lines of "ObsList.ini" (split as the planner's
// list reader splits them): label = the first two characters of the trimmed
// line, latitude and longitude from the second and third fields; a line
// without a comma after the first field is skipped, lines beyond the twelfth
// observer are ignored. A line whose latitude or longitude does not convert
// is skipped too; the first such conversion error's text is returned (empty
// when every line converted), so that the caller reports it and goes on.
std::string ParseObserverList(const std::vector<std::string>& lines, ObserverList& out);

}  // namespace gimbra
