// The plan run driver: checks and their messages, dates, conversion errors,
// the time loop, Stop, the busy guard, a missing keps file.
#include <gtest/gtest.h>

#include <cmath>

#include "navlib/textnum.h"
#include "quenta_test_support.h"

using quenta_test::FixtureDir;
using quenta_test::PlannerRig;

namespace {

const std::string StepEnd = "\r\n" + std::string(35, ' ') + "******END******";
const std::string RiseSetEnd = "\r\n" + std::string(41, ' ') + "******END******";

int CountOf(const std::string& text, const std::string& what) {
  int n = 0;
  for (std::size_t p = text.find(what); p != std::string::npos; p = text.find(what, p + 1)) ++n;
  return n;
}

}  // namespace

TEST(PlanRun, OnlyTheFirstMissingSelectionIsReportedInTheirOrder) {
  struct Case {
    const char* name;
    bool observer, zone, satellite, interval;
    const char* message;
  } cases[] = {
      {"nothing selected", false, false, false, false, "Select Observer!"},
      {"observer missing", false, true, true, true, "Select Observer!"},
      {"zone missing", true, false, false, false, "Select Time Zone!"},
      {"satellite missing", true, true, false, false, "Select Satellite!"},
      {"interval missing", true, true, true, false, "Select Time Interval!"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    PlannerRig rig(FixtureDir("basic"));
    auto in = rig.Inputs("EAST", {"ISS"}, "UTC", "10", "2018-01-16", "00:00", "2018-01-16", "01:00");
    if (!c.observer) in.ObserverIndex = -1;
    if (!c.zone) in.ZoneIndex = -1;
    if (!c.satellite) in.SatelliteIndex = -1;
    if (!c.interval) in.IntervalIndex = -1;
    auto r = rig.planner.Calculate(in);
    EXPECT_TRUE(r.EndedByMessage);
    EXPECT_EQ(rig.host.messages, std::vector<std::string>{c.message});
    EXPECT_EQ(rig.out.Text(), "");  // no run: output empty and white
    EXPECT_EQ(rig.out.Background(), quenta::RunningBackground);
  }
}

TEST(PlanRun, RiseSetWithNoSatelliteSelectedStillReportsTheFirstMissingSelection) {
  PlannerRig rig(FixtureDir("basic"));
  auto in = rig.Inputs("EAST", {}, "UTC", "R/S-T", "2018-01-16", "00:00", "2018-01-16", "01:00");
  EXPECT_TRUE(rig.planner.Calculate(in).EndedByMessage);
  EXPECT_EQ(rig.host.messages, std::vector<std::string>{"Select Satellite!"});
  in.ObserverIndex = -1;
  rig.host.messages.clear();
  rig.planner.Calculate(in);
  EXPECT_EQ(rig.host.messages, std::vector<std::string>{"Select Observer!"});
}

TEST(PlanRun, ImproperDatesEndTheRunAndRepeatOncePerSatellite) {
  struct Case {
    const char* name;
    const char* start;
    const char* finish;
  } cases[] = {
      {"year before 1950", "1949-12-31", "2018-01-16"}, {"year after 2050", "2051-01-01", "2018-01-16"},
      {"month 13", "2018-13-01", "2018-01-16"},         {"day 0", "2018-01-00", "2018-01-16"},
      {"day 32", "2018-01-32", "2018-01-16"},           {"finish month 0", "2018-01-16", "2018-00-10"},
      {"commas dropped by the key filter", "20020814", "2018-01-16"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    PlannerRig rig(FixtureDir("basic"));
    auto in = rig.Inputs("EAST", {"ISS", "AO-07"}, "UTC", "R/S-T", c.start, "00:00", c.finish, "01:00");
    auto r = rig.planner.Calculate(in);
    EXPECT_TRUE(r.EndedByMessage);
    EXPECT_EQ(rig.host.messages,
              (std::vector<std::string>{"Improper Start/Stop Date!", "Improper Start/Stop Date!"}));
    EXPECT_EQ(rig.out.Text(), "");
  }
}

TEST(PlanRun, TextsThatAreNoNumbersEndTheCommandWithAConversionError) {
  struct Case {
    const char* name;
    void (*spoil)(quenta::PlanInputs&);
  } cases[] = {
      {"squint", [](quenta::PlanInputs& in) { in.MaxSquint = "1-2"; }},
      {"start date", [](quenta::PlanInputs& in) { in.StartDate = "2018-Jan-16"; }},
      {"start time", [](quenta::PlanInputs& in) { in.StartTime = "ab:00"; }},
      {"finish time too short", [](quenta::PlanInputs& in) { in.FinishTime = "1"; }},
      {"observer latitude", [](quenta::PlanInputs& in) { in.ObserverLines[0] = "EAST, 52.2x, 0.11, 30"; }},
      {"observer without height", [](quenta::PlanInputs& in) { in.ObserverLines[0] = "EAST, 52.2, 0.11"; }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    PlannerRig rig(FixtureDir("basic"));
    rig.out.SetText("earlier output");
    auto in = rig.Inputs("EAST", {"ISS"}, "UTC", "10", "2018-01-16", "00:00", "2018-01-16", "02:00");
    c.spoil(in);
    EXPECT_THROW(rig.planner.Calculate(in), navlib::ConvertError);
    EXPECT_EQ(rig.out.Text(), "");  // left as it was cleared
    EXPECT_FALSE(rig.planner.Busy());
    // The next Calculate runs normally.
    auto good = rig.Inputs("EAST", {"ISS"}, "UTC", "10", "2018-01-16", "00:00", "2018-01-16", "02:00");
    EXPECT_FALSE(rig.planner.Calculate(good).Refused);
    EXPECT_NE(rig.out.Text().find("******END******"), std::string::npos);
  }
}

TEST(PlanRun, FinishBeforeStartGivesJustTheEndLine) {
  struct Case {
    const char* interval;
    std::string end;
  } cases[] = {{"10", StepEnd}, {"R/S-T", RiseSetEnd}, {"R/S-O", RiseSetEnd}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.interval);
    PlannerRig rig(FixtureDir("basic"));
    auto in = rig.Inputs("EAST", {"ISS"}, "UTC", c.interval, "2018-01-16", "12:00", "2018-01-16", "11:59");
    auto r = rig.planner.Calculate(in);
    EXPECT_FALSE(r.EndedByMessage);
    EXPECT_EQ(rig.out.Text(), c.end);
    EXPECT_EQ(rig.out.Background(), quenta::FinishedBackground);
    EXPECT_EQ(rig.host.processEventsCalls, 0);
  }
}

TEST(PlanRun, YieldsOncePerStepAndSetsTheWindow) {
  PlannerRig rig(FixtureDir("basic"));
  // 00:00 to 01:00 in 10-minute steps: six steps. The step is held as a
  // 32-bit float, 10/1440 rounded up, so six steps overshoot 01:00 by a
  // fraction of a millisecond and the loop ends before it.
  auto in = rig.Inputs("EAST", {"ISS"}, "UTC", "10", "2018-01-16", "00:00", "2018-01-16", "01:00");
  in.AboveEarthHorizon = false;
  in.AllValues = true;
  rig.planner.Calculate(in);
  EXPECT_EQ(rig.host.processEventsCalls, 6);
  EXPECT_EQ(rig.out.Width(), 685);
  EXPECT_EQ(rig.out.Caption(), " Output" + std::string(54, ' ') + "Quenta / VELM");
  EXPECT_EQ(CountOf(rig.out.Text(), "\r\n 00:"), 6);  // 00:00 ... 00:50
  EXPECT_EQ(CountOf(rig.out.Text(), "\r\n 01:00"), 0);

  auto rs = rig.Inputs("EAST", {"ISS"}, "UTC", "R/S-T", "2018-01-16", "00:00", "2018-01-16", "00:09");
  rig.planner.Calculate(rs);
  EXPECT_EQ(rig.out.Width(), 855);
  EXPECT_EQ(rig.out.Caption(), " Output" + std::string(67, ' ') + "Quenta / VELM");
}

TEST(PlanRun, StopEndsTheLoopAfterTheCurrentStepAndStillWritesTheEndLine) {
  PlannerRig rig(FixtureDir("basic"));
  auto in = rig.Inputs("EAST", {"ISS"}, "UTC", "1", "2018-01-16", "00:00", "2018-01-16", "23:59");
  in.AboveEarthHorizon = false;
  in.AllValues = true;
  // Stop is pressed while the run yields before its third step.
  rig.host.onProcessEvents = [&](int call) {
    if (call == 3) rig.planner.Stop();
  };
  auto r = rig.planner.Calculate(in);
  EXPECT_TRUE(r.Stopped);
  EXPECT_EQ(rig.host.processEventsCalls, 3);
  const std::string text = rig.out.Text();
  EXPECT_EQ(CountOf(text, "\r\n 00:0"), 3);  // the third step is still printed
  EXPECT_EQ(text.substr(text.size() - StepEnd.size()), StepEnd);
  EXPECT_EQ(rig.out.Background(), quenta::FinishedBackground);
}

TEST(PlanRun, ASecondCalculateDuringARunIsRefused) {
  PlannerRig rig(FixtureDir("basic"));
  auto in = rig.Inputs("EAST", {"ISS"}, "UTC", "10", "2018-01-16", "00:00", "2018-01-16", "01:00");
  quenta::CalculateResult inner;
  rig.host.onProcessEvents = [&](int call) {
    if (call == 2) inner = rig.planner.Calculate(in);
  };
  EXPECT_TRUE(rig.planner.Busy() == false);
  auto outer = rig.planner.Calculate(in);
  EXPECT_TRUE(inner.Refused);
  EXPECT_FALSE(outer.Refused);
  EXPECT_EQ(rig.host.processEventsCalls, 6);  // one run only
  EXPECT_EQ(CountOf(rig.out.Text(), "******END******"), 1);
  EXPECT_FALSE(rig.planner.Busy());
}

TEST(PlanRun, AMissingKepsFileEndsThatSatellitesRunWithNothingPrinted) {
  PlannerRig rig(FixtureDir("basic"));
  // "AO-10" is no satellite of this directory's list: use an input list with it.
  auto in = rig.Inputs("EAST", {"ISS"}, "UTC", "10", "2018-01-16", "00:00", "2018-01-16", "06:00");
  in.SatelliteNames.push_back("NOKEP");
  in.SatelliteSelected.assign(in.SatelliteNames.size(), false);
  in.SatelliteSelected.back() = true;
  in.SatelliteIndex = static_cast<int>(in.SatelliteNames.size()) - 1;
  // A satellite read before: its elements must not be reused for NOKEP.
  rig.planner.Calculate(rig.Inputs("EAST", {"ISS"}, "UTC", "10", "2018-01-16", "00:00", "2018-01-16", "06:00"));
  auto r = rig.planner.Calculate(in);
  EXPECT_TRUE(r.EndedByMessage);
  EXPECT_EQ(rig.host.messages, std::vector<std::string>{navlib::KepsNotFoundText});
  EXPECT_EQ(rig.out.Text(), "");
  EXPECT_EQ(rig.out.Background(), quenta::RunningBackground);
}

TEST(PlanRun, AMissingKepsFileInARiseSetRunLeavesTheOtherSatellitesRows) {
  PlannerRig rig(FixtureDir("basic"));
  auto in = rig.Inputs("EAST", {"ISS", "AO-07"}, "UTC", "R/S-T", "2018-01-16", "00:00", "2018-01-16", "12:00");
  in.SatelliteNames[0] = "NOKEP";  // the first selected satellite has no keps file
  auto r = rig.planner.Calculate(in);
  EXPECT_TRUE(r.EndedByMessage);
  EXPECT_EQ(rig.host.messages, std::vector<std::string>{navlib::KepsNotFoundText});
  const std::string text = rig.out.Text();
  EXPECT_EQ(CountOf(text, "  NOKEP "), 0);
  EXPECT_GT(CountOf(text, "  AO-07 "), 3);
  EXPECT_EQ(CountOf(text, "******END******"), 1);
}

TEST(PlanRun, TimeHelpersSplitAndShiftTheRunTime) {
  PlannerRig rig(FixtureDir("basic"));
  quenta::Planner& p = rig.planner;
  p.CurrentTime = 736725.75;
  p.SplitTime();
  EXPECT_EQ(rig.nav.DayNum, 736725.0f);
  EXPECT_EQ(rig.nav.DayFrac, 0.75f);
  p.ZoneHours = -5;
  p.CurrentTime = 736725.1;  // 02:24 UTC is 21:24 local on the day before
  p.ComputeLocalTime();
  EXPECT_EQ(p.LocalDay, 736724);
  EXPECT_NEAR(p.LocalFrac, 0.1 - 5.0 / 24 + 1, 1e-6);
}

TEST(PlanRun, HorizonThresholdUsesTheSectorOfTheAzimuth) {
  PlannerRig rig(FixtureDir("basic"));
  quenta::Planner& p = rig.planner;
  p.HorizonMask.fill(0);
  p.HorizonMask[0] = 15;
  p.HorizonMask[1] = 3;
  p.HorizonMask[71] = 7;
  struct Case {
    float azDeg;
    bool radio;
    int expectDeg;
  } cases[] = {
      {358, true, 15},  // 357.5 .. 360 belongs to the 0 deg sector
      {357.4f, true, 7}, {2.4f, true, 15}, {2.6f, true, 3}, {0, true, 15}, {358, false, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.azDeg);
    p.RadioHorizon = c.radio;
    rig.nav.Azimuth = navlib::Rad(c.azDeg);
    EXPECT_NEAR(navlib::Deg(p.HorizonThreshold()), c.expectDeg, 1e-4);
  }
}

TEST(PlanRun, NoRadioButtonCheckedKeepsThePreviousMode) {
  PlannerRig rig(FixtureDir("basic"));
  auto in = rig.Inputs("EAST", {"ISS"}, "UTC", "20", "2018-01-16", "00:00", "2018-01-16", "02:00");
  in.AboveEarthHorizon = false;
  in.AllValues = true;
  rig.planner.Calculate(in);
  const std::string allValues = rig.out.Text();
  in.AllValues = false;  // none checked
  rig.planner.Calculate(in);
  EXPECT_EQ(rig.out.Text(), allValues);
  EXPECT_TRUE(rig.planner.AllValuesMode);
}
