// Synthetic attitude measurements for the demo: given a known spin-axis
// attitude, the records every measurement layer of the plotter would draw
// through it (sun sensor, Earth sensor by MA and by time, squint, camera
// Earth, camera Moon, Earth arcs). The generator and the plotter's
// consistency tests share this code.
#pragma once

#include <string>

#include "navlib/navlib.h"

namespace attitudedemo {

struct DemoAttitudeCase {
  float AlonDeg = 210;               // attitude in the orbit frame
  float AlatDeg = -5;
  std::string CalcDate = "2018-01-22";  // the orbit frame is taken at 0 h UTC of this date
  float UpperGammaDeg = 95;          // Earth-sensor mounting angles the records are made for
  float LowerGammaDeg = 85;
};

// The attitude's unit vector in the celestial frame, as the plot's view
// set-up derives it (0 h UTC of the calculation date). Needs SetupElements.
navlib::Vec3 DemoAttitude(navlib::NavState& nav, const DemoAttitudeCase& demo);

// The whole attitude data file text (CR LF line ends). nav must hold the
// satellite's element set (SetupElements). The library's time and results
// are left changed.
std::string MakeDemoAttitudeText(navlib::NavState& nav, const DemoAttitudeCase& demo);

}  // namespace attitudedemo
