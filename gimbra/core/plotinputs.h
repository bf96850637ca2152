// What the plotter's main window holds, as plain values: the window copies its
// controls into this record and hands it to the core; the command-line twin
// fills the same record from its arguments. Texts stay exactly as typed; the
// core converts them when a Draw starts.
#pragma once

#include <string>
#include <vector>

namespace gimbra {

// The entries of the zoom list, top to bottom.
inline const std::vector<std::string>& DefaultZoomList() {
  static const std::vector<std::string> zooms = {"0.5", "0.8", "1", "1.2", "1.5",
                                                 "2",   "2.5", "3", "6",   "12"};
  return zooms;
}

// The nine check boxes of the "Graph Items" group.
struct GraphItems {
  bool MagPoles = false;          // "Mag. Poles": the ecliptic poles with their 30 deg circles
  bool CelestialEquator = false;  // "Celest. Equat."
  bool EclipticSun = false;       // "Ecliptic / Sun": the ecliptic, the Sun and the anti-Sun
  bool SunSensor = false;         // "Sun Sensor"
  bool EarthMa = false;           // "Earth MA"
  bool SquintData = false;        // "Squint Data"
  bool CameraEarth = false;       // "Camera Earth"
  bool CameraMoon = false;        // "Camera Moon"
  bool EarthArcs = false;         // "Earth Arcs"
};

struct PlotInputs {
  std::vector<std::string> SatelliteList;  // ListBox1 entries, the lines of "SatList.ini"
  int SatelliteIndex = -1;                 // selected entry, -1 when none
  std::vector<std::string> ZoomList = DefaultZoomList();  // ListBox2 entries
  int ZoomIndex = 2;                       // selected entry ("1"), -1 when none
  std::string MapSegmentsText = "600";     // Edit4, "Map" segments
  std::string SatSegmentsText = "100";     // Edit8, "Sat" segments
  std::string CalcDateText;                // Edit1, calculation date "yyyy-mm-dd"
  std::string AlonText = "180";            // Edit2, ALON (deg)
  std::string AlatText = "0";              // Edit3, ALAT (deg)
  std::string DataFileName = "AO-10.ang";  // Edit5, attitude data file in the keps directory
  std::string UpperGammaText = "95.0";     // Edit6, "U-gamma" (deg)
  std::string LowerGammaText = "85.0";     // Edit7, "L-gamma" (deg)
  std::string EslFudgeText = "0";          // Edit9, ESL (n)
  std::string EsuFudgeText = "0";          // Edit10, ESU (n)
  std::string SunFudgeText = "0";          // Edit11, Sun (deg)
  GraphItems Items;                        // GroupBox1 "Graph Items"
};

}  // namespace gimbra
