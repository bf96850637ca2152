// The plotter-wide view and drawing state: one record for the whole run,
// kept from one Draw to the next. Angles are degrees unless a field says
// otherwise; every floating field is a 32-bit float.
#pragma once

#include <cstdint>

#include "navlib/navlib.h"

namespace gimbra {

// Room of the circle table: at most this many segments, entries 0 ... n.
inline constexpr int MaxCircleSegments = 3000;
// Fewest segments a circle is sampled with, whatever a field or a stored setting says.
inline constexpr int MinCircleSegments = 36;

struct PlotState {
  float ScreenScale = 1;     // 1 at 96 pixels per inch, else (ppi - 1) / 96; set at start-up
  int PlotWidth = 0;         // image pixels, trunc(800 x ScreenScale)
  int PlotHeight = 0;        // image pixels, trunc(600 x ScreenScale)
  int TextColumns = 0;       // 88: columns of the plot's text grid
  int TextRows = 0;          // 65: rows of the plot's text grid
  int CharPitch = 9;         // design pixels per text-grid cell
  float Zoom = 0;            // the zoom list's number; the plot window's zoom key scales it by 1.2
  int PlotRadius = 0;        // pixels from the centre to the circle 90 deg from the attitude
  int CenterX = 0;           // image pixel of the plot centre, PlotWidth / 2 (set by DrawFrame)
  int CenterY = 0;           // image pixel of the plot centre, PlotHeight / 2 (set by DrawFrame)
  int MirrorSign = 1;        // +1, or -1 when the plot is mirrored east-west (F key)
  float Alon = 0;            // deg, attitude longitude in the orbit frame (from perigee)
  float Alat = 0;            // deg, attitude latitude in the orbit frame
  float CenterDec = 0;       // deg, whole degrees: declination of the plot centre
  float CenterRa = 0;        // deg, whole degrees: right ascension of the plot centre
  float ViewCosDec = 0;      // cos(CenterDec)
  float ViewNegSinDec = 0;   // -sin(CenterDec)
  float ViewCosRa = 0;       // cos(CenterRa)
  float ViewNegSinRa = 0;    // -sin(CenterRa)
  int MapSegments = 0;       // segments of the sky circles ("Map" field), 36 ... 3000
  int SatSegments = 0;       // segments of the satellite view's circles ("Sat" field), 36 ... 3000
  int CircleSegments = 0;    // n of the current circle table
  float CircleCos[MaxCircleSegments + 1] = {};  // cos(2 pi i / n), i = 0 ... n
  float CircleSin[MaxCircleSegments + 1] = {};  // sin(2 pi i / n), i = 0 ... n
  float UpperGamma = 0;      // deg, upper Earth-sensor mounting angle from the spin axis ("U-gamma")
  float LowerGamma = 0;      // deg, lower Earth-sensor mounting angle ("L-gamma")
  float EslFudge = 0;        // 256ths of a turn, added to the first Earth-arc value when read
  float EsuFudge = 0;        // 256ths of a turn, added to the second Earth-arc value when read
  float SunFudge = 0;        // deg, added to every sun-sensor angle
  bool DrawAborted = false;  // set by SetUpView when no satellite is selected
  bool DrawInProgress = false;  // set around the Draws of the Draw button and the F key
  bool DrawRunning = false;  // set while any DrawPlot runs: a second Draw started meanwhile is refused
  navlib::Vec3 WorkVec;      // pixel units, celestial frame: the input of ProjectToView
  float LastEast = 0;        // pixels, view frame: east part of the last projected vector
  float LastNorth = 0;       // pixels, view frame: north part
  float LastDepth = 0;       // pixels, view frame: part toward the viewer (>= 0 is visible)
  int LastX = 0;             // image pixel of the last projected point
  int LastY = 0;
  navlib::Vec3 EarthDir;     // unit, celestial frame: satellite -> Earth centre (km after the Moon layer)
  float EarthDec = 0;        // deg, declination of EarthDir
  float EarthRa = 0;         // deg, right ascension of EarthDir, [0, 360)
  float EarthAngularRadius = 0;  // deg, angular radius of the Earth seen from the satellite
};

}  // namespace gimbra
