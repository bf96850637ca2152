// Small helpers of the satellite-view, keps-writer and report tests: a
// temporary directory, the fixture directory and a plot world on a
// recording canvas.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "gimbra/core/plot.h"
#include "gimbra/core/satview.h"
#include "navlib/navlib.h"
#include "platform/recordingcanvas.h"
#include "platform/uihost.h"

namespace extrastest {

inline std::string DataDir() { return std::string(EXTRAS_TEST_DATA_DIR) + "/"; }
inline std::string GoldenDir() { return std::string(EXTRAS_GOLDEN_DIR) + "/"; }

// A fresh directory under the system's temporary directory, removed at the end.
class TempDir {
 public:
  TempDir() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "gimbra-extras-XXXXXX").string();
    if (mkdtemp(tmpl.data())) path_ = tmpl;
  }
  ~TempDir() {
    std::error_code ec;
    if (!path_.empty()) std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& Path() const { return path_; }
  std::string WithSeparator() const { return path_ + "/"; }

 private:
  std::string path_;
};

// Writes the bytes as they are (no line-end translation).
inline bool WriteText(const std::string& path, const std::string& bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

// The plotter's state for one satellite of the fixture directory, a Draw's
// worth of inputs, a recording canvas and host; the satellite-view tables.
struct ViewWorld {
  navlib::NavState nav;
  gimbra::PlotState plot;
  gimbra::AttitudeData data;
  platform::RecordingCanvas canvas;
  platform::RecordingUiHost host;
  gimbra::PlotInputs inputs;
  gimbra::PlotWindowState window;
  gimbra::ObserverList observers;
  gimbra::WorldMap map;

  explicit ViewWorld(const std::string& satellite = "MOLNI") {
    navlib::NavInit(nav);
    nav.KepsDir = DataDir();
    nav.Host = &host;
    inputs.SatelliteList = {satellite};
    inputs.SatelliteIndex = 0;
    inputs.CalcDateText = "2018-01-22";
    inputs.AlonText = "210";
    inputs.AlatText = "-5";
    inputs.DataFileName = "none.ang";
  }
  gimbra::PlotContext Context() {
    return gimbra::PlotContext{nav, plot, data, canvas, host, inputs, {}, [this] { gimbra::FillWorldMap(map); }};
  }
};

}  // namespace extrastest
