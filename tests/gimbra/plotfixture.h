// A small world for the plotter's tests: the library state, the plot state,
// the tables, a recording canvas and host, and the main window's inputs.
#pragma once

#include <string>

#include "gimbra/core/plot.h"
#include "navlib/navlib.h"
#include "platform/recordingcanvas.h"
#include "platform/uihost.h"

namespace gimbratest {

inline std::string TestDataDir() { return std::string(GIMBRA_TEST_DATA_DIR) + "/"; }
inline std::string SourceDir() { return std::string(GIMBRA_SOURCE_DIR) + "/"; }

struct PlotFixture {
  navlib::NavState nav;
  gimbra::PlotState plot;
  gimbra::AttitudeData data;
  platform::RecordingCanvas canvas;
  platform::RecordingUiHost host;
  gimbra::PlotInputs inputs;

  // Satellite MOLNIYA from the test data, zoom 1, 2018-01-22, ALON 210, ALAT -5.
  PlotFixture() {
    navlib::NavInit(nav);
    nav.KepsDir = TestDataDir();
    nav.Host = &host;
    inputs.SatelliteList = {"MOLNIYA", "EQUATOR", "NOSUCH"};
    inputs.SatelliteIndex = 0;
    inputs.CalcDateText = "2018-01-22";
    inputs.AlonText = "210";
    inputs.AlatText = "-5";
    inputs.DataFileName = "none.ang";
  }
  gimbra::PlotContext Context() { return gimbra::PlotContext{nav, plot, data, canvas, host, inputs, {}, {}}; }
};

// Every graph item ticked.
inline gimbra::GraphItems AllItems() {
  gimbra::GraphItems g;
  g.MagPoles = g.CelestialEquator = g.EclipticSun = g.SunSensor = g.EarthMa = g.SquintData = g.CameraEarth =
      g.CameraMoon = g.EarthArcs = true;
  return g;
}

}  // namespace gimbratest
