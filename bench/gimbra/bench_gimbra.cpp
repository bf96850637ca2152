// A full Draw at "Map" 3000 with every graph item ticked and every table
// full (100 records of each kind, 50 camera records of each, 100 Earth
// arcs), painted on the offscreen 800 x 600 image as the plot window's.
// The records are the demo's M1-63 records, repeated to fill the tables.
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include <QGuiApplication>
#include <QImage>

#include <benchmark/benchmark.h>

#include "gimbra/core/plot.h"
#include "navlib/navlib.h"
#include "platform/qt/qtcanvas.h"
#include "platform/uihost.h"

namespace {

std::string ReadText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// The demo file with each record kind repeated up to its table's room.
std::string FullTables(const std::string& demo) {
  std::map<std::string, std::vector<std::string>> byKind;
  std::istringstream in(demo);
  std::string line, out;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::string kind = line.substr(0, 2);
    if (kind == "SS" || kind == "ES" || kind == "EM" || kind == "SQ" || kind == "CM" || kind == "CL" ||
        kind == "EA") {
      byKind[kind].push_back(line);
    } else {
      out += line + "\r\n";
    }
  }
  for (const auto& [kind, lines] : byKind) {
    const std::size_t room = kind == "CM" || kind == "CL" ? 50 : 100;
    for (std::size_t i = 0; i < room; ++i) out += lines[i % lines.size()] + "\r\n";
  }
  return out;
}


void FullDraw(benchmark::State& state, bool paint) {
  const std::filesystem::path source = std::filesystem::path(GIMBRA_SOURCE_DIR) / "data" / "demo-keps";
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / "bench_gimbra_keps";
  std::filesystem::create_directories(dir);
  std::filesystem::copy_file(source / "EL-M1-63.kep", dir / "EL-M1-63.kep",
                             std::filesystem::copy_options::overwrite_existing);
  std::ofstream(dir / "M1-63.ang", std::ios::binary) << FullTables(ReadText(source / "M1-63.ang"));

  static navlib::NavState nav;
  navlib::NavInit(nav);
  nav.KepsDir = (dir / "").string();
  gimbra::PlotState plot;
  gimbra::AttitudeData data;
  platform::RecordingUiHost host;
  nav.Host = &host;
  gimbra::PlotInputs inputs;
  inputs.SatelliteList = {"M1-63"};
  inputs.SatelliteIndex = 0;
  inputs.CalcDateText = "2018-01-22";
  inputs.AlonText = "210";
  inputs.AlatText = "-5";
  inputs.MapSegmentsText = "3000";
  inputs.DataFileName = "M1-63.ang";
  auto& g = inputs.Items;
  g.MagPoles = g.CelestialEquator = g.EclipticSun = g.SunSensor = g.EarthMa = g.SquintData = g.CameraEarth =
      g.CameraMoon = g.EarthArcs = true;

  QImage image = platform::NewPlotImage();
  platform::QtCanvas qtCanvas(&image, 800, 600);
  platform::NullCanvas nullCanvas;
  platform::Canvas& canvas = paint ? static_cast<platform::Canvas&>(qtCanvas) : nullCanvas;
  gimbra::PlotContext ctx{nav, plot, data, canvas, host, inputs, {}, {}};
  for (auto _ : state) {
    if (gimbra::DrawPlot(ctx) != gimbra::DrawResult::Drawn) state.SkipWithError("the Draw did not run");
  }
  qtCanvas.finish();
  state.counters["EA"] = data.EarthArcRecords.Count;
  state.counters["SS"] = data.SunSensorRecords.Count;
  state.counters["CM"] = data.CameraEarthRecords.Count;
}
void BM_FullDrawMap3000(benchmark::State& state) { FullDraw(state, true); }
void BM_FullDrawMap3000_GeometryOnly(benchmark::State& state) { FullDraw(state, false); }
BENCHMARK(BM_FullDrawMap3000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FullDrawMap3000_GeometryOnly)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
