// Helpers shared by the planner tests: fixture paths, a planner on a fixture
// keps directory, and golden-text comparison byte for byte with a line-numbered
// report of the first difference.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include "navlib/navlib.h"
#include "platform/atomicfile.h"
#include "platform/outputbuffer.h"
#include "platform/uihost.h"
#include "quenta/core/planner.h"

namespace quenta_test {

inline std::string FixtureDir(const std::string& name) { return std::string(QUENTA_FIXTURE_DIR) + "/" + name; }

// A host whose processEvents can run a test's action (press Stop, type into
// the output, press Calculate again) at a chosen call.
class ScriptedHost : public platform::RecordingUiHost {
 public:
  std::function<void(int call)> onProcessEvents;
  void processEvents() override {
    platform::RecordingUiHost::processEvents();
    if (onProcessEvents) onProcessEvents(processEventsCalls);
  }
};

// One program's worth of planner: state record, output, host, lists.
struct PlannerRig {
  navlib::NavState nav;
  platform::OutputBuffer out;
  ScriptedHost host;
  quenta::PlannerLists lists;
  quenta::Planner planner{nav, out, host};

  explicit PlannerRig(const std::string& kepsDir) {
    navlib::NavInit(nav);
    nav.Host = &host;
    nav.KepsDir = quenta::KepsDirWithSeparator(kepsDir);
    lists = quenta::LoadPlannerLists(kepsDir, host);
    planner.SetLists(lists);
  }

  // Inputs as the window holds them after choosing these items.
  quenta::PlanInputs Inputs(const std::string& observer, std::initializer_list<std::string> satellites,
                            const std::string& zone, const std::string& interval, const std::string& start,
                            const std::string& startTime, const std::string& finish,
                            const std::string& finishTime) const {
    quenta::PlanInputs in;
    in.ObserverLines = lists.Observers;
    for (std::size_t i = 0; i < lists.Observers.size(); ++i)
      if (lists.Observers[i].rfind(observer, 0) == 0) in.ObserverIndex = static_cast<int>(i);
    in.SatelliteNames = lists.Satellites;
    in.SatelliteSelected.assign(lists.Satellites.size(), false);
    for (const std::string& s : satellites) {
      for (std::size_t i = 0; i < lists.Satellites.size(); ++i) {
        if (lists.Satellites[i] == s) {
          in.SatelliteSelected[i] = true;
          if (in.SatelliteIndex < 0) in.SatelliteIndex = static_cast<int>(i);
        }
      }
    }
    const auto& zones = quenta::TimeZoneItems();
    for (std::size_t i = 0; i < zones.size(); ++i)
      if (zones[i] == zone) in.ZoneIndex = static_cast<int>(i);
    const auto& items = quenta::IntervalItems();
    for (std::size_t i = 0; i < items.size(); ++i)
      if (items[i] == interval) in.IntervalIndex = static_cast<int>(i);
    in.StartDate = start;
    in.StartTime = startTime;
    in.FinishDate = finish;
    in.FinishTime = finishTime;
    in.MaxSquint = "180";
    in.AboveEarthHorizon = true;
    return in;
  }
};

inline std::string ShowLine(const std::string& s) {
  std::string r;
  for (char c : s) {
    if (c == '\r') r += "\\r";
    else r += c;
  }
  return r;
}

// Splits at "\n", keeping each line's "\r".
inline std::vector<std::string> GoldenLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t p = 0;
  while (p <= text.size()) {
    std::size_t nl = text.find('\n', p);
    if (nl == std::string::npos) {
      lines.push_back(text.substr(p));
      break;
    }
    lines.push_back(text.substr(p, nl - p));
    p = nl + 1;
  }
  return lines;
}

// Compares got with tests/golden/<name> byte for byte. With
// VELM_UPDATE_GOLDEN=1 in the environment the golden file is written instead
// (then inspect it by eye before committing).
inline ::testing::AssertionResult MatchesGolden(const std::string& name, const std::string& got) {
  const std::string path = std::string(QUENTA_GOLDEN_DIR) + "/" + name;
  const char* update = std::getenv("VELM_UPDATE_GOLDEN");
  if (update && std::string(update) == "1") {
    std::string error;
    if (!platform::WriteFileAtomically(path, got, &error)) return ::testing::AssertionFailure() << error;
    return ::testing::AssertionSuccess();
  }
  std::string expected;
  if (!platform::ReadWholeFile(path, &expected))
    return ::testing::AssertionFailure() << "golden file " << path << " cannot be read";
  if (expected == got) return ::testing::AssertionSuccess();
  const auto e = GoldenLines(expected), g = GoldenLines(got);
  for (std::size_t i = 0; i < std::max(e.size(), g.size()); ++i) {
    const std::string el = i < e.size() ? e[i] : "(no line)";
    const std::string gl = i < g.size() ? g[i] : "(no line)";
    if (el != gl)
      return ::testing::AssertionFailure() << name << " differs at line " << (i + 1) << "\nExpected: "
                                           << ShowLine(el) << "\nGot back: " << ShowLine(gl);
  }
  return ::testing::AssertionFailure() << name << " differs (line ends)";
}

}  // namespace quenta_test
