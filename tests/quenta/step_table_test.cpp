// The step table: row fields and widths, the header block and when it is
// built, the squint limit; whole step runs against golden texts.
#include <gtest/gtest.h>

#include <cmath>

#include "navlib/textnum.h"
#include "quenta_test_support.h"

using quenta_test::FixtureDir;
using quenta_test::MatchesGolden;
using quenta_test::PlannerRig;

namespace {

// Local time of day hh:mm:ss as a fraction of a day.
float Clock(int h, int m, int s) { return static_cast<float>((h * 3600 + m * 60 + s) / 86400.0); }

// A planner whose NavState holds one step's results, set field by field.
struct RowRig : PlannerRig {
  RowRig() : PlannerRig(FixtureDir("basic")) {
    quenta::Planner& p = planner;
    nav.Ma256 = 64.4f;
    nav.Range = 1234.4f;
    nav.Elevation = navlib::Rad(10.6f);
    nav.Azimuth = navlib::Rad(200.2f);
    nav.Squint = navlib::Rad(30.2f);
    nav.RangeRate = 2.34f;
    nav.IllumText = "vis";
    nav.Radius = 6378.137f + 800.4f;
    nav.SubLat = navlib::Rad(45.26f);
    nav.SubLon = navlib::Rad(200.0f);
    nav.OrbitNumber = 1234;
    nav.DayNum = 736725;  // 2018 Jan 16
    nav.HasAttitude = true;
    nav.ZoneText = "UTC";
    nav.ArgPerigeeNow = navlib::Rad(52.4f);
    nav.RaanNow = navlib::Rad(97.0f);
    nav.SunSidePercent = 87.6f;
    p.AttitudeLon = navlib::Rad(180.0f);
    p.AttitudeLat = navlib::Rad(-2.7f);
    p.SunLonOrbit = navlib::Rad(157.2f);
    p.SunLatOrbit = navlib::Rad(2.4f);
    p.SatIndex = 1;
    p.ModeTexts[1] = "B     ";
    p.SatLabel = "AO-07";
    p.ObserverName = "EAST";
    p.MaxSquint = 180;
    p.LocalDay = 736725;
    p.LocalFrac = Clock(12, 34, 10);
    p.LastHeaderOrbit = 1234;
    p.LastHeaderDay = 736725;
  }
  // The row the last PrintStepRow wrote, without its line break.
  std::string LastRow() {
    std::string t = out.Text();
    if (t.size() < 2) return std::string();
    t.resize(t.size() - 2);
    return t.substr(t.rfind('\n') + 1);
  }
};

}  // namespace

TEST(StepTable, OneRowFieldByField) {
  RowRig rig;
  rig.planner.PrintStepRow();
  // By hand: 64.4 -> 64; 1234.4 -> 1234; 10.6 -> trunc(11.1) = 11; 200.2 -> 200;
  // 30.2 -> 30; 2.34 km/s -> RoundToInt(23.4) * 0.1 = 2.3; 800.4 km -> 800;
  // 45.26 -> "45.3 N"; 200 deg east is 160 deg west.
  const std::string expected = " 12:34   64   B      1234   11  200    30   2.3   vis    800   45.3 N   160.0 W";
  EXPECT_EQ(rig.LastRow(), expected);
  EXPECT_EQ(expected.size(), 79u);
  EXPECT_TRUE(rig.out.Visible());
  EXPECT_EQ(rig.out.Text(), expected + "\r\n");  // no header: same orbit, same day
}

TEST(StepTable, RangeRateColumn) {
  struct Case {
    float kmPerS;
    const char* text;
  } cases[] = {
      {-1.25f, "-1.2"},  // -12.5 + 0.5 truncates to -12
      {0.04f, "   0"}, {-0.04f, "   0"}, {2.96f, "   3"}, {12.34f, "12.3"},
      {-7.0f, "-6.9"},  // RoundToInt(-70) = trunc(-69.5) = -69: toward zero, as the model rounds

  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    RowRig rig;
    rig.nav.RangeRate = c.kmPerS;
    rig.planner.PrintStepRow();
    EXPECT_EQ(rig.LastRow().substr(43, 4), c.text);
  }
}

TEST(StepTable, SubSatellitePointColumns) {
  struct Case {
    float latDeg, lonDeg;
    const char* slat;
    const char* slon;
  } cases[] = {
      {45.26f, 200.0f, "45.3 N", "160.0 W"}, {-12.34f, 180.0f, "12.3 S", "180.0 E"},
      {0.0f, 0.0f, " 0.0 N", "  0.0 E"},     {-0.04f, 359.0f, " 0.0 S", "  1.0 W"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.slon);
    RowRig rig;
    rig.nav.SubLat = navlib::Rad(c.latDeg);
    rig.nav.SubLon = navlib::Rad(c.lonDeg);
    rig.planner.PrintStepRow();
    const std::string row = rig.LastRow();
    EXPECT_EQ(row.substr(63, 6), c.slat);
    EXPECT_EQ(row.substr(72), c.slon);
  }
}

TEST(StepTable, SecondsAboveFiftyRoundUpToTheNextMinute) {
  struct Case {
    int h, m, s;
    const char* time;
  } cases[] = {
      {10, 20, 55, "10:21"}, {10, 20, 50, "10:20"}, {10, 20, 0, "10:20"}, {23, 59, 55, "24:00"}, {0, 0, 52, "00:01"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.time);
    RowRig rig;
    rig.planner.LocalFrac = Clock(c.h, c.m, c.s);
    rig.planner.PrintStepRow();
    EXPECT_EQ(rig.LastRow().substr(1, 5), c.time);
  }
}

TEST(StepTable, ModeTextAndItsAbsence) {
  RowRig rig;
  rig.planner.SatIndex = 3;  // no beacon-list entry: "---", three characters narrower
  rig.planner.PrintStepRow();
  EXPECT_EQ(rig.LastRow(), " 12:34   64   --- 1234   11  200    30   2.3   vis    800   45.3 N   160.0 W");
  RowRig far;
  far.planner.SatIndex = 30;  // list index 30 and beyond: no entry either
  far.planner.PrintStepRow();
  EXPECT_EQ(far.nav.ModeText, "---");
}

TEST(StepTable, SquintLimit) {
  struct Case {
    const char* name;
    bool attitude;
    float squintDeg, limit;
    bool printed;
  } cases[] = {
      {"below the default limit", true, 179.4f, 180, true},
      {"reaching the limit", true, 180.0f, 180, false},
      {"limit 0 drops every row with attitude", true, 0.0f, 0, false},
      {"no attitude: no limit", false, 90.0f, 0, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    RowRig rig;
    rig.nav.HasAttitude = c.attitude;
    rig.nav.Squint = navlib::Rad(c.squintDeg);
    rig.planner.MaxSquint = c.limit;
    rig.planner.PrintStepRow();
    EXPECT_EQ(!rig.out.Text().empty(), c.printed);
    EXPECT_TRUE(rig.out.Visible());  // shown even when the row is dropped
    if (c.printed && !c.attitude) {
      EXPECT_EQ(rig.LastRow().substr(38, 3), "---");
    }
  }
}

TEST(StepTable, HeaderBlockText) {
  RowRig rig;
  rig.planner.LastHeaderOrbit = 0;
  rig.planner.PrintStepRow();
  // AMSAT day: 736725 - 722100; AP 52.4 -> 52, ALAT -2.7 -> -2 (toward zero),
  // ILL 87.6 -> 88.
  const std::string header = "\r\n\r\n            AO-07 - EAST      AMSAT DAY 14625      2018  Jan  16 [Tue] UTC\r\n"
                             "  ORBIT# 1234   AP/RAAN: 52/97  ALON/ALAT: 180/-2  SAZ/SEL: 157/2  ILL: 88%\r\n\r\n"
                             "  UTC    MA   MODE  RANGE   EL   AZ    SQ    RR   ECL?   HGT    SLAT     SLON\r\n" +
                             std::string(78, '-') + "\r\n";
  EXPECT_EQ(rig.out.Text().substr(0, header.size()), header);
  const std::string titles = "  UTC    MA   MODE  RANGE   EL   AZ    SQ    RR   ECL?   HGT    SLAT     SLON";
  EXPECT_EQ(titles.find("MA"), 9u);
  EXPECT_EQ(titles.find("SLON"), 73u);

  RowRig noAtt;
  noAtt.nav.HasAttitude = false;
  noAtt.planner.LastHeaderOrbit = 0;
  noAtt.planner.PrintStepRow();
  EXPECT_NE(noAtt.out.Text().find("ALON/ALAT: ---/--  SAZ/SEL: 157/2  ILL: --%\r\n"), std::string::npos);
}

TEST(StepTable, WhenHeadersAreBuilt) {
  // First row of a run: a header.
  {
    RowRig rig;
    rig.planner.LastHeaderOrbit = 0;
    rig.planner.PrintStepRow();
    EXPECT_EQ(rig.out.Text().rfind("\r\n\r\n", 0), 0u);
  }
  // Orbit number 0 on the start date: no header until orbit or day change.
  {
    RowRig rig;
    rig.nav.OrbitNumber = 0;
    rig.planner.LastHeaderOrbit = 0;
    rig.planner.PrintStepRow();
    EXPECT_EQ(rig.out.Text().find("ORBIT#"), std::string::npos);
    rig.nav.OrbitNumber = 1;
    rig.planner.PrintStepRow();
    EXPECT_NE(rig.out.Text().find("ORBIT# 1 "), std::string::npos);
  }
  // Local midnight inside one orbit: a second header, same orbit, new date.
  {
    RowRig rig;
    rig.planner.LastHeaderOrbit = 0;
    rig.planner.PrintStepRow();
    rig.planner.LocalDay += 1;
    rig.planner.LocalFrac = Clock(0, 0, 30);
    rig.planner.PrintStepRow();
    const std::string t = rig.out.Text();
    EXPECT_NE(t.find("2018  Jan  16 [Tue]"), std::string::npos);
    EXPECT_NE(t.find("2018  Jan  17 [Wed]"), std::string::npos);
    int headers = 0;
    for (std::size_t p = t.find("ORBIT# 1234 "); p != std::string::npos; p = t.find("ORBIT# 1234 ", p + 1)) ++headers;
    EXPECT_EQ(headers, 2);
  }
  // A header built for a row the squint limit drops waits for the next row;
  // a second header then stands right behind it.
  {
    RowRig rig;
    rig.planner.LastHeaderOrbit = 0;
    rig.nav.Squint = navlib::Rad(180.0f);
    rig.planner.PrintStepRow();
    EXPECT_EQ(rig.out.Text(), "");
    EXPECT_NE(rig.planner.PendingText.find("ORBIT# 1234 "), std::string::npos);
    rig.nav.Squint = navlib::Rad(20.0f);
    rig.nav.OrbitNumber = 1235;
    rig.planner.PrintStepRow();
    const std::string t = rig.out.Text();
    const std::size_t first = t.find("ORBIT# 1234 "), second = t.find("ORBIT# 1235 ");
    ASSERT_NE(first, std::string::npos);
    ASSERT_NE(second, std::string::npos);
    EXPECT_LT(first, second);
    EXPECT_EQ(t.find(" 12:34 "), t.rfind(" 12:34 "));  // one row, after both headers
    EXPECT_GT(t.find(" 12:34 "), second);
    EXPECT_EQ(rig.planner.PendingText, "");
  }
}

TEST(StepTable, HandDerivedRowOfAnEquatorialOrbit) {
  // Satellite "EQ": circular equatorial orbit, 12 rev/day, mean anomaly 90 deg
  // at its epoch 2018 Jan 15 12:00 UTC. Observer on the equator 20 deg of
  // longitude west of the sub-satellite point. Values derived by hand with the
  // model's own constants (tools/reference/planner_equator_row.py):
  //   a = (GM / n^2)^(1/3) = 8058.997 km, height 1680.86 km -> 1681
  //   Greenwich hour angle 295.0055 deg, so the sub-satellite longitude is
  //   90 - 295.0055 = 154.9945 deg east -> "155.0 E"
  //   range sqrt(R^2 + a^2 - 2 R a cos 20) = 3004.17 km -> 3004
  //   elevation atan2(a cos 20 - R, a sin 20) = 23.44 deg -> 23, azimuth 90
  //   mean anomaly 90 deg = 64 of 256
  //   range rate (satellite velocity minus the observer's, along the line of sight) 4.68 km/s -> 4.7
  PlannerRig rig(FixtureDir("equator"));
  auto in = rig.Inputs("EQOBS", {"EQ"}, "UTC", "1", "2018-01-15", "12:00", "2018-01-15", "12:00");
  in.AboveEarthHorizon = false;
  in.AllValues = true;
  rig.planner.Calculate(in);
  const std::string t = rig.out.Text();
  const std::size_t row = t.find("\r\n 12:00 ");
  ASSERT_NE(row, std::string::npos) << t;
  EXPECT_EQ(t.substr(row + 2, 76), " 12:00   64   --- 3004   23   90   ---   4.7   ecl   1681    0.0 N   155.0 E");
}

TEST(StepTable, WholeRunsMatchTheirGoldenTexts) {
  struct Case {
    const char* golden;
    const char* observer;
    const char* sat;
    const char* zone;
    const char* interval;
    const char* start;
    const char* startTime;
    const char* finish;
    const char* finishTime;
    const char* horizon;  // earth radio visible all
    const char* squint;
  } cases[] = {
      // ISS over a day in 10-minute steps; local midnight in EST falls inside the run.
      {"step_iss_10min_est.txt", "EAST", "ISS", "EST", "10", "2018-01-16", "00:00", "2018-01-16", "23:59", "earth", "180"},
      // Satellite with an attitude: squint and ALON/ALAT shown; every step printed.
      {"step_heo_all_20min.txt", "WEST", "HEO", "UTC", "20", "2018-01-16", "00:00", "2018-01-16", "12:00", "all", "180"},
      // Squint limit 0: only headers and the end line.
      {"step_heo_squint0.txt", "WEST", "HEO", "UTC", "20", "2018-01-16", "00:00", "2018-01-16", "06:00", "all", "0"},
      // Visible passes only (dark sky at the observer, satellite in sunlight).
      {"step_ao07_visible_2min.txt", "EAST", "AO-07", "UTC", "2", "2018-01-16", "00:00", "2018-01-17", "23:59", "visible", "180"},
      // Above the radio horizon with the raised sector to the east.
      {"step_iss_radio_1min.txt", "EAST", "ISS", "UTC", "1", "2018-01-16", "03:40", "2018-01-16", "04:00", "radio", "180"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.golden);
    PlannerRig rig(FixtureDir("basic"));
    auto in = rig.Inputs(c.observer, {c.sat}, c.zone, c.interval, c.start, c.startTime, c.finish, c.finishTime);
    in.AboveEarthHorizon = std::string(c.horizon) == "earth";
    in.AboveRadioHorizon = std::string(c.horizon) == "radio";
    in.VisibleOnly = std::string(c.horizon) == "visible";
    in.AllValues = std::string(c.horizon) == "all";
    in.MaxSquint = c.squint;
    auto r = rig.planner.Calculate(in);
    EXPECT_FALSE(r.EndedByMessage);
    EXPECT_TRUE(MatchesGolden(c.golden, rig.out.Text()));
  }
}
