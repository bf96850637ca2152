// One full planner evaluation per time step, as a plan run makes it: the
// satellite, the Sun, the Sun's angle to the spin axis, the Sun's place in the
// orbit frame, the attitude in the orbit frame, illumination and the look
// angles from the observer. Target: under 1 microsecond per evaluation.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "navlib/navlib.h"

namespace {

using namespace navlib;

// A sun-synchronous satellite with a spin axis, read through the keps reader
// from a private directory, and an observer at 52 N 5 E.
class PlannerStep {
 public:
  PlannerStep() {
    dir_ = std::filesystem::temp_directory_path() / ("bench-navlib-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir_);
    std::ofstream(dir_ / "EL-SSO-1.kep", std::ios::binary)
        << "2024,100.25,98.6,45.5,0.00123,270.25,89.75,14.25,51234,0,0.6,0,0.8,1e-07,-2e-10";
    NavInit(s_);
    s_.SatName = "SSO-1";
    s_.KepsDir = (dir_ / "").string();
    ok_ = SetupElements(s_);
    SetObserver(s_, 52, 5, 10);
    s_.AttDir = s_.Elements.Attitude;
    s_.DayNum = s_.EpochDayNumber + 3;
    s_.DayFrac = 0;
  }
  ~PlannerStep() {
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }
  bool ok() const { return ok_; }

  // One evaluation at the next minute.
  float Evaluate() {
    s_.DayFrac += 1.0f / 1440.0f;
    if (s_.DayFrac >= 1) NormalizeTime(s_);
    SatState(s_);
    SunPosition(s_);
    const float sunAngle = SunAngle(s_);
    float sunLat = 0, sunLon = 0;
    CelestialToOrbitLatLon(s_, s_.SunDec, s_.SunRa, sunLat, sunLon);
    const Vec3 attPlane = CelestialToPlane(s_, s_.AttDir);
    float alat = 0, alon = 0;
    VectorToLatLon(attPlane, alat, alon);
    Illumination(s_);
    ObserverView(s_);
    return sunAngle + sunLat + sunLon + alat + alon + s_.Elevation + s_.Azimuth + s_.RangeRate;
  }

 private:
  std::filesystem::path dir_;
  NavState s_;
  bool ok_ = false;
};

void BM_PlannerEvaluation(benchmark::State& state) {
  PlannerStep step;
  if (!step.ok()) {
    state.SkipWithError("keps file could not be read");
    return;
  }
  for (auto _ : state) {
    benchmark::DoNotOptimize(step.Evaluate());
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_PlannerEvaluation);

}  // namespace

BENCHMARK_MAIN();
