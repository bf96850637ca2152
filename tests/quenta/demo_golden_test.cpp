// Whole outputs for the shipped demo keps directory (real element sets of
// January 2018): a three-satellite rise/set merge and step tables.
#include <gtest/gtest.h>

#include "quenta_test_support.h"

using quenta_test::MatchesGolden;
using quenta_test::PlannerRig;

TEST(DemoData, OutputsMatchTheirGoldenTexts) {
  struct Case {
    const char* golden;
    const char* observer;
    std::vector<std::string> sats;
    const char* zone;
    const char* interval;
    const char* start;
    const char* finish;
    const char* horizon;  // earth radio visible all
  } cases[] = {
      // ISS, SO-50 and AO-73 merged in AOS order over two days from the home station.
      {"demo_riseset_three.txt", "Home", {"ISS", "SO-50", "AO-73"}, "UTC", "R/S-T", "2018-01-21", "2018-01-22", "earth"},
      // The same satellites by orbit, above the home station's radio horizon.
      {"demo_riseset_byorbit_radio.txt", "Home", {"ISS", "SO-50", "AO-73"}, "UTC", "R/S-O", "2018-01-21", "2018-01-21", "radio"},
      // The Molniya with an attitude: squint, ALON/ALAT, every 20 minutes.
      {"demo_step_m163_all.txt", "Southern", {"M1-63"}, "UTC", "20", "2018-01-21", "2018-01-21", "all"},
      // NOAA 19 from the home station, local time on the US east coast.
      {"demo_step_no19_est.txt", "Home", {"NO-19"}, "EST", "5", "2018-01-21", "2018-01-21", "earth"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.golden);
    PlannerRig rig(QUENTA_DEMO_DIR);
    auto in = rig.Inputs(c.observer, {}, c.zone, c.interval, c.start, "00:00", c.finish, "23:59");
    for (const std::string& s : c.sats) {
      for (std::size_t i = 0; i < in.SatelliteNames.size(); ++i) {
        if (in.SatelliteNames[i] == s) {
          in.SatelliteSelected[i] = true;
          if (in.SatelliteIndex < 0) in.SatelliteIndex = static_cast<int>(i);
        }
      }
    }
    in.AboveEarthHorizon = std::string(c.horizon) == "earth";
    in.AboveRadioHorizon = std::string(c.horizon) == "radio";
    in.VisibleOnly = std::string(c.horizon) == "visible";
    in.AllValues = std::string(c.horizon) == "all";
    auto r = rig.planner.Calculate(in);
    EXPECT_FALSE(r.EndedByMessage);
    EXPECT_TRUE(rig.host.messages.empty());
    EXPECT_TRUE(MatchesGolden(c.golden, rig.out.Text()));
  }
}
