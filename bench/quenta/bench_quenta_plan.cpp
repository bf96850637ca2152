// Whole `quenta-cli plan` commands on the demo data, through the same code
// the command runs (argument parsing, list files, Calculate, the output text
// written to a stream):
//   - a step table for one satellite, 1-minute steps, All Values, 365 days
//     (525,600 rows);
//   - rise/set tables ("R/S-T") for 12 satellites over 30 and over 365 days,
//     whose later satellites' rows are merged into the table one by one.
// The demo directory has 8 satellites; 4 more are made from them with the
// node turned by 90 degrees, in a scratch copy of the directory.
#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "navlib/navlib.h"
#include "platform/atomicfile.h"
#include "platform/outputbuffer.h"
#include "quenta/cli/plan_command.h"

namespace fs = std::filesystem;

namespace {

// A keps directory with the demo's 8 satellites and 4 variants, 12 in all.
const std::string& TwelveSatelliteDir() {
  static const std::string dir = [] {
    const fs::path target = fs::temp_directory_path() / "quenta-bench-keps";
    fs::remove_all(target);
    fs::create_directories(target);
    for (const auto& e : fs::directory_iterator(QUENTA_DEMO_DIR)) {
      if (e.is_regular_file()) fs::copy_file(e.path(), target / e.path().filename());
    }
    std::string sats;
    platform::ReadWholeFile((target / "SatList.ini").string(), &sats);
    const char* base[] = {"ISS", "AO-07", "SO-50", "NO-19"};
    for (int i = 0; i < 4; ++i) {
      std::string kep;
      platform::ReadWholeFile((target / ("EL-" + std::string(base[i]) + ".kep")).string(), &kep);
      // Field 3 is the node: turn it by 90 degrees.
      std::vector<std::string> fields;
      std::stringstream ss(kep);
      for (std::string f; std::getline(ss, f, ',');) fields.push_back(f);
      fields[3] = std::to_string(std::fmod(std::stod(fields[3]) + 90.0, 360.0));
      std::string out;
      for (std::size_t k = 0; k < fields.size(); ++k) out += (k ? "," : "") + fields[k];
      const std::string name = "X" + std::to_string(i + 1) + "-" + std::string(base[i]).substr(0, 2);
      std::string error;
      platform::WriteFileAtomically((target / ("EL-" + name + ".kep")).string(), out, &error);
      sats += name + "\n";
    }
    std::string error;
    platform::WriteFileAtomically((target / "SatList.ini").string(), sats, &error);
    return target.string();
  }();
  return dir;
}

std::vector<std::string> RiseSetArgs(const std::string& finish) {
  std::vector<std::string> args = {"--keps-dir", TwelveSatelliteDir(), "--observer", "Home", "--zone", "UTC",
                                   "--interval", "R/S-T", "--start", "2018-01-21", "--finish", finish};
  for (const char* s : {"ISS", "AO-07", "AO-27", "SO-50", "AO-73", "NO-18", "NO-19", "M1-63", "X1-IS", "X2-AO",
                        "X3-SO", "X4-NO"}) {
    args.push_back("--satellite");
    args.push_back(s);
  }
  return args;
}

void RunPlan(benchmark::State& state, const std::vector<std::string>& args) {
  std::size_t bytes = 0, rows = 0;
  for (auto _ : state) {
    std::ostringstream out, err;
    int code = quenta::RunPlanCommand(args, out, err);
    if (code != 0) state.SkipWithError(err.str().c_str());
    const std::string text = out.str();
    bytes = text.size();
    rows = 0;
    for (char c : text) rows += c == '\n';
    benchmark::DoNotOptimize(text.data());
  }
  state.counters["output_bytes"] = static_cast<double>(bytes);
  state.counters["lines"] = static_cast<double>(rows);
}

void BM_StepTable_OneSatellite_1min_AllValues_365days(benchmark::State& state) {
  RunPlan(state, {"--keps-dir", QUENTA_DEMO_DIR, "--observer", "Home", "--satellite", "ISS", "--zone", "UTC",
                  "--interval", "1", "--horizon", "all", "--start", "2018-01-21", "--finish", "2019-01-20"});
}
BENCHMARK(BM_StepTable_OneSatellite_1min_AllValues_365days)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_RiseSet_12Satellites_30days(benchmark::State& state) { RunPlan(state, RiseSetArgs("2018-02-19")); }
BENCHMARK(BM_RiseSet_12Satellites_30days)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_RiseSet_12Satellites_365days(benchmark::State& state) { RunPlan(state, RiseSetArgs("2019-01-20")); }
BENCHMARK(BM_RiseSet_12Satellites_365days)->Unit(benchmark::kMillisecond)->Iterations(1);

// The merge's share: 20,000 rows of 102 characters inserted one by one at
// spread-out places of a growing table (about a year of 12 satellites), in
// the output buffer and, for comparison, in one plain string.
template <typename Insert>
void InsertRows(benchmark::State& state, Insert insert) {
  const std::string row = std::string(100, 'r') + "\r\n";
  for (auto _ : state) {
    std::size_t length = 0;
    std::uint64_t seed = 12345;
    for (int k = 0; k < 20000; ++k) {
      seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
      const std::size_t rows = length / row.size();
      const std::size_t at = rows == 0 ? 0 : ((seed >> 33) % (rows + 1)) * row.size();
      insert(at, row);
      length += row.size();
    }
  }
}

void BM_Merge_20000Rows_OutputBuffer(benchmark::State& state) {
  platform::OutputBuffer buffer;
  InsertRows(state, [&](std::size_t at, const std::string& row) {
    buffer.SetCaret(at);
    buffer.InsertAtCaret(row);
  });
}
BENCHMARK(BM_Merge_20000Rows_OutputBuffer)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_Merge_20000Rows_PlainString(benchmark::State& state) {
  std::string text;
  InsertRows(state, [&](std::size_t at, const std::string& row) { text.insert(at, row); });
  benchmark::DoNotOptimize(text.data());
}
BENCHMARK(BM_Merge_20000Rows_PlainString)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
