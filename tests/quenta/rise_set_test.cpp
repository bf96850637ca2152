// The rise/set table and the pass finder: row layouts, the header, the merge
// of later satellites' rows in AOS order, and the pass finder's edge cases.
#include <gtest/gtest.h>

#include <random>

#include "navlib/textnum.h"
#include "quenta_test_support.h"

using quenta_test::FixtureDir;
using quenta_test::MatchesGolden;
using quenta_test::PlannerRig;

namespace {

const std::string Dashes = std::string(100, '-') + "\r\n";
const std::string RiseSetEnd = "\r\n" + std::string(41, ' ') + "******END******";

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t p = 0;
  while (p < text.size()) {
    std::size_t nl = text.find("\r\n", p);
    if (nl == std::string::npos) nl = text.size();
    lines.push_back(text.substr(p, nl - p));
    p = nl + 2;
  }
  return lines;
}

// The table rows: the lines between the dash line and the end line.
std::vector<std::string> TableRows(const std::string& text) {
  std::vector<std::string> rows;
  bool in = false;
  for (const std::string& l : Lines(text)) {
    if (l == std::string(100, '-')) {
      in = true;
      continue;
    }
    if (!in) continue;
    if (l.empty() || l.find("******END******") != std::string::npos) break;
    rows.push_back(l);
  }
  return rows;
}

// AOS of a row as day number plus fraction, read where the date pattern is.
double AosKey(const std::string& row) {
  for (std::size_t i = 0; i + 27 <= row.size(); ++i) {
    if (row[i + 12] == '[' && row[i + 16] == ']' && row[i + 21] == ':' && std::isdigit(static_cast<unsigned char>(row[i])))
      return navlib::ParseDate(row.substr(i, 11)) + static_cast<double>(navlib::ParseTime(row.substr(i + 19, 8)));
  }
  return -1;
}

// A planner with one pass record set by hand, for the row printer.
struct PassRig : PlannerRig {
  quenta::PlanInputs in;
  PassRig() : PlannerRig(FixtureDir("basic")) {
    in = Inputs("EAST", {"ISS"}, "UTC", "R/S-T", "2018-01-16", "00:00", "2018-01-16", "23:59");
    quenta::Planner& p = planner;
    p.SatLabel = "ISS  ";
    p.ObserverName = "EAST";
    nav.ZoneText = "UTC";
    p.AosDay = 736725;  // 2018 Jan 16
    p.LosDay = 736725;
    p.AosTimeText = "03:44:15";
    p.LosTimeText = "03:55:01";
    p.AosMa = 5;
    p.LosMa = 35;
    p.AosOrbit = 10011;
    p.LosOrbit = 10011;
    p.AosRangeRate = -6.905f;
    p.MaxElText = "71";
  }
  void Print(const std::string& interval = "R/S-T") {
    const auto& items = quenta::IntervalItems();
    for (std::size_t i = 0; i < items.size(); ++i)
      if (items[i] == interval) in.IntervalIndex = static_cast<int>(i);
    // The row printer reads the layout from the interval list through a run.
    planner.Run_Plan(Empty(in));
    planner.AosDay = 736725;
  }
  // Inputs for a Run_Plan that prints nothing itself (finish before start).
  static quenta::PlanInputs Empty(quenta::PlanInputs in) {
    in.StartTime = "12:00";
    in.FinishTime = "11:00";
    return in;
  }
};

}  // namespace

TEST(RiseSetTable, RowLayoutsAreOneHundredCharacters) {
  PlannerRig rig(FixtureDir("basic"));
  auto in = rig.Inputs("EAST", {"ISS"}, "UTC", "R/S-T", "2018-01-16", "03:00", "2018-01-16", "04:30");
  rig.planner.Calculate(in);
  const std::string text = rig.out.Text();
  auto rows = TableRows(text);
  ASSERT_EQ(rows.size(), 1u) << text;
  // The ISS pass of 03:44 to 03:55 UTC; AOS and LOS agree with the step table
  // (elevation 3 deg at 03:45, 0 deg at 03:55) and with the maximum of 71 deg.
  // (Seconds depend on the coarse grid: a run from 00:00 finds 03:44:15.)
  EXPECT_EQ(rows[0], "  ISS     2018 Jan 16 [Tue]  03:44:14    5  -6.905   71   2018 Jan 16 [Tue]  03:55:01   35  00:10:47");
  EXPECT_EQ(rows[0].size(), 100u);
  EXPECT_EQ(text.rfind(RiseSetEnd), text.size() - RiseSetEnd.size());

  const std::vector<std::string> header = {
      "",
      std::string(31, ' ') + "RISE/SET TIMES   VELM   QUENTA    SOFTWARE",
      std::string(36, ' ') + "Observer: EAST    Horizon = True ",
      "",
      std::string(30, ' ') + "(UTC)    AOS    AOS   Max.                      (UTC)    LOS",
      " Satellite    Rise Date        Time     MA     RR   Elev.     Set Date         Time     MA  Interval",
      std::string(100, '-')};
  auto lines = Lines(text);
  ASSERT_GE(lines.size(), header.size());
  for (std::size_t i = 0; i < header.size(); ++i) EXPECT_EQ(lines[i], header[i]) << "line " << i;
  // Titles above their columns.
  EXPECT_EQ(header[5].find("Time"), 31u);
  EXPECT_EQ(header[5].find("Interval"), 92u);
  EXPECT_EQ(header[4].find("AOS"), 39u);
  EXPECT_EQ(header[4].rfind("LOS"), 87u);

  auto orbit = rig.Inputs("EAST", {"ISS"}, "UTC", "R/S-O", "2018-01-16", "03:00", "2018-01-16", "04:30");
  orbit.AboveEarthHorizon = false;
  orbit.AboveRadioHorizon = true;
  rig.planner.Calculate(orbit);
  const std::string t2 = rig.out.Text();
  EXPECT_NE(t2.find("Observer: EAST    Horizon = Radio\r\n"), std::string::npos);
  EXPECT_NE(t2.find(" Satellite    Rise Orbit       Time     MA     RR   Elev.     Set Orbit        Time     MA  Interval"),
            std::string::npos);
  auto orows = TableRows(t2);
  ASSERT_EQ(orows.size(), 1u);
  EXPECT_EQ(orows[0].size(), 100u);
  EXPECT_EQ(orows[0].substr(15, 5), "10011");
  EXPECT_EQ(orows[0].substr(29, 8), "03:44:14");
  EXPECT_TRUE(rig.planner.ByOrbit);
}

TEST(RiseSetTable, NumberFieldsOfARow) {
  struct Case {
    const char* name;
    float rate;
    const char* aosTime;
    const char* losTime;
    double losDayOffset;
    const char* expected;
  } cases[] = {
      {"range rate 0", 0.0f, "03:44:15", "03:55:01", 0,
       "  ISS     2018 Jan 16 [Tue]  03:44:15    5   0.000   71   2018 Jan 16 [Tue]  03:55:01   35  00:10:46"},
      {"positive rate gets a blank", 2.5f, "03:44:15", "03:55:01", 0,
       "  ISS     2018 Jan 16 [Tue]  03:44:15    5   2.500   71   2018 Jan 16 [Tue]  03:55:01   35  00:10:46"},
      {"LOS after local midnight", -6.905f, "23:55:00", "00:05:30", 1,
       "  ISS     2018 Jan 16 [Tue]  23:55:00    5  -6.905   71   2018 Jan 17 [Wed]  00:05:30   35  00:10:30"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    PassRig rig;
    rig.Print();  // a run that leaves just its end line
    rig.out.SetText("");
    rig.planner.AosRangeRate = c.rate;
    rig.planner.AosTimeText = c.aosTime;
    rig.planner.LosTimeText = c.losTime;
    rig.planner.LosDay = 736725 + c.losDayOffset;
    rig.planner.MaxElText = "71";
    rig.planner.AosMa = 5;
    rig.planner.LosMa = 35;
    rig.planner.PrintRiseSetRow();
    auto rows = TableRows(rig.out.Text());
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0], c.expected);
    EXPECT_EQ(rig.planner.AosTimeText, "");  // emptied after printing
    EXPECT_EQ(rig.planner.LosTimeText, "");
  }
}

TEST(RiseSetTable, FindInsertPositionWalksTheRows) {
  PassRig rig;
  rig.Print();
  const std::string head = "\r\nheader\r\n" + Dashes;
  auto row = [](const std::string& name, const std::string& date, const std::string& time) {
    std::string label = name;
    while (label.size() < 5) label += ' ';
    return "  " + label + "   " + date + "  " + time + "    5  -6.905   71   " + date + "  " + time +
           "   35  00:10:46\r\n";
  };
  const std::string r1 = row("AO-07", "2018 Jan 16 [Tue]", "03:22:38");
  const std::string r2 = row("ISS", "2018 Jan 16 [Tue]", "03:44:15");
  const std::string r3 = row("LONGNAME1", "2018 Jan 16 [Tue]", "05:14:17");  // wider than 100
  const std::string typed = "a note the operator typed: 2018 Jan 16\r\n";
  const std::string r4 = row("AO-07", "2018 Jan 17 [Wed]", "01:00:00");
  const std::string text = head + r1 + r2 + typed + r3 + r4 + RiseSetEnd;
  struct Case {
    const char* name;
    const char* date;
    const char* time;
    std::size_t expected;
  } cases[] = {
      {"earlier than every row: first under the dash line", "2018 Jan 16 [Tue]", "00:10:00", head.size()},
      {"equal AOS: after the earlier row", "2018 Jan 16 [Tue]", "03:22:38", head.size() + r1.size()},
      {"between rows, past a typed line", "2018 Jan 16 [Tue]", "04:00:00", head.size() + r1.size() + r2.size() + typed.size()},
      {"after a row wider than 100", "2018 Jan 16 [Tue]", "06:00:00",
       head.size() + r1.size() + r2.size() + typed.size() + r3.size()},
      {"later than every row: in front of the end line", "2018 Jan 18 [Thu]", "00:00:00", text.size() - RiseSetEnd.size()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    rig.out.SetText(text);
    EXPECT_EQ(rig.planner.FindInsertPosition(c.date, c.time), c.expected);
  }
}

TEST(RiseSetTable, MergeAgreesWithTheFixedColumnWalkOverManyRows) {
  // Rows of several "satellites", each in time order, merged the way later
  // satellites' rows are; every position must be the one the fixed-column
  // walk (rows of 102 characters read at columns 10 and 29) finds.
  PassRig rig;
  rig.Print();
  rig.out.SetText("");
  std::mt19937 rng(7);
  auto fixedWalk = [](const std::string& text, double key) {
    std::size_t m = text.find(std::string(100, '-') + "\r\n");
    std::size_t n = text.size();
    for (std::size_t k = 0;; ++k) {
      std::size_t r = m + 102 * (k + 1);
      if (r + 59 >= n) return r;
      double rowKey = navlib::ParseDate(text.substr(r + 10, 11)) + static_cast<double>(navlib::ParseTime(text.substr(r + 29, 8)));
      if (rowKey > key) return r;
    }
  };
  for (int sat = 0; sat < 4; ++sat) {
    rig.planner.AppendMode = sat > 0;
    rig.planner.SatLabel = "S-" + std::to_string(sat) + "  ";
    int minute = static_cast<int>(rng() % 60);
    for (int k = 0; k < 60; ++k) {
      minute += 30 + static_cast<int>(rng() % 400);
      if (k == 5 && sat == 2) minute -= 0;  // keeps equal stamps possible
      const int day = 736725 + minute / 1440;
      const int m = minute % 1440;
      char t[16];
      std::snprintf(t, sizeof t, "%02d:%02d:%02d", m / 60, m % 60, (k * 7) % 60);
      rig.planner.AosDay = rig.planner.LosDay = day;
      rig.planner.AosTimeText = t;
      rig.planner.LosTimeText = t;
      std::string before = rig.out.Text();
      std::size_t expected = 0;
      if (rig.planner.AppendMode) {
        double key = navlib::ParseDate(navlib::DateText(day).substr(0, 5) + navlib::DateText(day).substr(6, 4) +
                                       navlib::DateText(day).substr(11, 2)) +
                     static_cast<double>(navlib::ParseTime(t));
        expected = fixedWalk(before, key);
      }
      const std::string row = std::string("  ") + rig.planner.SatLabel.substr(0, 5);
      rig.planner.PrintRiseSetRow();
      if (rig.planner.AppendMode) {
        ASSERT_EQ(rig.out.Text().substr(expected, row.size()), row) << "satellite " << sat << " row " << k;
      }
    }
    if (sat == 0) rig.out.AppendText(RiseSetEnd);
  }
  auto rows = TableRows(rig.out.Text());
  ASSERT_EQ(rows.size(), 240u);
  for (std::size_t i = 1; i < rows.size(); ++i) EXPECT_LE(AosKey(rows[i - 1]), AosKey(rows[i])) << i;
}

TEST(RiseSetRun, ThreeSatellitesMergedInAosOrder) {
  PlannerRig rig(FixtureDir("basic"));
  auto in = rig.Inputs("EAST", {"HEO", "ISS", "AO-07"}, "UTC", "R/S-T", "2018-01-16", "00:00", "2018-01-17", "23:59");
  auto r = rig.planner.Calculate(in);
  EXPECT_FALSE(r.EndedByMessage);
  const std::string text = rig.out.Text();
  auto rows = TableRows(text);
  ASSERT_GT(rows.size(), 30u);
  for (std::size_t i = 1; i < rows.size(); ++i) EXPECT_LE(AosKey(rows[i - 1]), AosKey(rows[i])) << rows[i];
  int ends = 0;
  for (std::size_t p = text.find("******END******"); p != std::string::npos; p = text.find("******END******", p + 1)) ++ends;
  EXPECT_EQ(ends, 1);
  EXPECT_EQ(rig.out.Background(), quenta::FinishedBackground);
  EXPECT_TRUE(MatchesGolden("riseset_three_fixture.txt", text));
}

TEST(RiseSetRun, ALaterSatellitesEarlierPassBecomesTheFirstRow) {
  PlannerRig rig(FixtureDir("basic"));
  // ISS (first in the list) passes at 03:44; AO-07 already at 03:22.
  auto in = rig.Inputs("EAST", {"ISS", "AO-07"}, "UTC", "R/S-T", "2018-01-16", "03:30", "2018-01-16", "04:00");
  in.StartTime = "03:00";
  rig.planner.Calculate(in);
  auto rows = TableRows(rig.out.Text());
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].substr(0, 7), "  AO-07");
  EXPECT_EQ(rows[1].substr(0, 7), "  ISS  ");
}

TEST(RiseSetRun, FirstSatelliteWithoutPassStillGetsTheTableHeader) {
  PlannerRig rig(FixtureDir("basic"));
  // 03:00 to 03:40: no ISS pass, one AO-07 pass.
  auto in = rig.Inputs("EAST", {"ISS", "AO-07"}, "UTC", "R/S-T", "2018-01-16", "03:00", "2018-01-16", "03:40");
  rig.planner.Calculate(in);
  const std::string text = rig.out.Text();
  EXPECT_EQ(text.find("\r\n" + std::string(31, ' ') + "RISE/SET TIMES"), 0u) << text;
  auto rows = TableRows(text);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].substr(0, 7), "  AO-07");
  EXPECT_EQ(text.substr(text.size() - RiseSetEnd.size()), RiseSetEnd);
  EXPECT_EQ(text.find("******END******"), text.rfind("******END******"));
}

TEST(RiseSetRun, ByOrbitKeepsEverySatellitesTable) {
  PlannerRig rig(FixtureDir("basic"));
  auto in = rig.Inputs("EAST", {"ISS", "AO-07"}, "UTC", "R/S-O", "2018-01-16", "00:00", "2018-01-16", "12:00");
  rig.planner.Calculate(in);
  const std::string text = rig.out.Text();
  std::size_t firstHeader = text.find("RISE/SET TIMES"), secondHeader = text.rfind("RISE/SET TIMES");
  ASSERT_NE(firstHeader, secondHeader);
  EXPECT_LT(text.find("  ISS  "), secondHeader);
  EXPECT_GT(text.find("  AO-07"), secondHeader);
  int ends = 0;
  for (std::size_t p = text.find("******END******"); p != std::string::npos; p = text.find("******END******", p + 1)) ++ends;
  EXPECT_EQ(ends, 2);
  // A following R/S-T command starts a new output and merges again.
  auto t = rig.Inputs("EAST", {"ISS", "AO-07"}, "UTC", "R/S-T", "2018-01-16", "00:00", "2018-01-16", "12:00");
  rig.planner.Calculate(t);
  EXPECT_EQ(rig.out.Text().find("RISE/SET TIMES"), rig.out.Text().rfind("RISE/SET TIMES"));
  EXPECT_FALSE(rig.planner.ByOrbit);
}

TEST(RiseSetRun, TextTypedIntoTheTableDuringTheMergeIsPassedOver) {
  PlannerRig rig(FixtureDir("basic"));
  auto in = rig.Inputs("EAST", {"ISS", "AO-07"}, "UTC", "R/S-T", "2018-01-16", "00:00", "2018-01-17", "23:59");
  // While AO-07's rows are merged, the operator types short notes (and a
  // line of 120 characters) right under the dash line every few pauses.
  const std::string dash = std::string(100, '-') + "\r\n";
  int typed = 0;
  rig.host.onProcessEvents = [&](int call) {
    if (rig.planner.Nav().SatName != "AO-07" || call % 97 != 0) return;
    const std::size_t at = rig.out.Find(dash);
    if (at == platform::OutputBuffer::npos) return;
    rig.out.Replace(at + dash.size(), 0, (typed % 2 ? std::string(120, '*') : "note 2018 Jan 16 12:00") + "\r\n");
    ++typed;
  };
  auto r = rig.planner.Calculate(in);
  EXPECT_FALSE(r.EndedByMessage);
  EXPECT_GT(typed, 3);
  std::vector<std::string> rows;
  for (const std::string& row : TableRows(rig.out.Text()))
    if (row.rfind("  ISS", 0) == 0 || row.rfind("  AO-07", 0) == 0) rows.push_back(row);
  EXPECT_GT(rows.size(), 20u);
  for (std::size_t i = 1; i < rows.size(); ++i) EXPECT_LE(AosKey(rows[i - 1]), AosKey(rows[i])) << rows[i];
}

TEST(RiseSetRun, LongNamesKeepTheirLayoutAndTheirPlace) {
  PlannerRig rig(FixtureDir("basic"));
  auto in = rig.Inputs("EAST", {"AO-07", "LONGNAME1"}, "UTC", "R/S-T", "2018-01-16", "00:00", "2018-01-16", "23:59");
  rig.planner.Calculate(in);
  auto rows = TableRows(rig.out.Text());
  int longRows = 0;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (rows[i].rfind("  LONGNAME1   ", 0) == 0) {
      ++longRows;
      EXPECT_EQ(rows[i].size(), 104u);
    }
    if (i > 0) {
      EXPECT_LE(AosKey(rows[i - 1]), AosKey(rows[i])) << rows[i];
    }
  }
  EXPECT_GT(longRows, 3);
}

TEST(PassFinder, AlreadyAboveAtTheStart) {
  PlannerRig rig(FixtureDir("basic"));
  // The ISS is up from 03:44:15; a run starting at 03:50 refines AOS from
  // one minute back, where it is already up: AOS 03:49:00.
  auto in = rig.Inputs("EAST", {"ISS"}, "UTC", "R/S-T", "2018-01-16", "03:50", "2018-01-16", "04:30");
  rig.planner.Calculate(in);
  auto rows = TableRows(rig.out.Text());
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].substr(29, 8), "03:49:00");
  EXPECT_EQ(rows[0].substr(77, 8), "03:55:01");
}

TEST(PassFinder, APassStillInProgressAtTheFinishGivesNoRow) {
  PlannerRig rig(FixtureDir("basic"));
  auto in = rig.Inputs("EAST", {"ISS"}, "UTC", "R/S-T", "2018-01-16", "03:30", "2018-01-16", "03:50");
  rig.planner.Calculate(in);
  EXPECT_EQ(rig.out.Text(), RiseSetEnd);
}

TEST(PassFinder, APassFoundInTheLastStepIsFlushedWithItsMaximum) {
  PlannerRig rig(FixtureDir("basic"));
  // LOS 03:55:01 is found at the coarse step of 03:55:15; the loop ends before
  // the next step could print it.
  auto in = rig.Inputs("EAST", {"ISS"}, "UTC", "R/S-T", "2018-01-16", "03:30", "2018-01-16", "03:55");
  in.FinishTime = "03:56";
  rig.planner.Calculate(in);
  auto rows = TableRows(rig.out.Text());
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].substr(53, 2), "71");
  EXPECT_EQ(rows[0].substr(77, 8), "03:55:01");
}

TEST(PassFinder, StopLeavesAFoundPassUnprintedEndsTheCommandAndWritesTheEndLine) {
  PlannerRig rig(FixtureDir("basic"));
  rig.planner.HorizonMask.fill(10);
  auto in = rig.Inputs("EAST", {"ISS", "AO-07"}, "UTC", "R/S-T", "2018-01-16", "03:30", "2018-01-16", "06:00");
  in.AboveEarthHorizon = false;
  in.AboveRadioHorizon = true;
  // Stop as soon as a pass has its LOS (at 10 deg) but waits for the
  // satellite to set below 0 deg before it is printed.
  rig.host.onProcessEvents = [&](int) {
    if (!rig.planner.AosTimeText.empty() && !rig.planner.LosTimeText.empty()) rig.planner.Stop();
  };
  auto r = rig.planner.Calculate(in);
  EXPECT_TRUE(r.Stopped);
  EXPECT_EQ(rig.out.Text(), RiseSetEnd);  // nothing printed, AO-07 not run
  EXPECT_EQ(rig.planner.Nav().SatName, "ISS");
}

TEST(PassFinder, APassLeftByStopNeverReachesTheNextSatellitesTable) {
  PlannerRig rig(FixtureDir("basic"));
  rig.planner.HorizonMask.fill(10);
  auto in = rig.Inputs("EAST", {"ISS"}, "UTC", "R/S-T", "2018-01-16", "03:30", "2018-01-16", "06:00");
  in.AboveEarthHorizon = false;
  in.AboveRadioHorizon = true;
  rig.host.onProcessEvents = [&](int) {
    if (!rig.planner.AosTimeText.empty() && !rig.planner.LosTimeText.empty()) rig.planner.Stop();
  };
  EXPECT_TRUE(rig.planner.Calculate(in).Stopped);
  rig.host.onProcessEvents = nullptr;
  // AO-07 over no time at all: its run ends at once and flushes what it holds.
  auto next = rig.Inputs("EAST", {"AO-07"}, "UTC", "R/S-T", "2018-01-16", "12:00", "2018-01-16", "11:00");
  rig.planner.Calculate(next);
  EXPECT_EQ(rig.out.Text(), RiseSetEnd);
}

TEST(PassFinder, ResetForgetsAPassFoundButNotPrinted) {
  PlannerRig rig(FixtureDir("basic"));
  rig.planner.AosTimeText = "01:02:03";
  rig.planner.LosTimeText = "01:12:03";
  rig.planner.ResetPassFinder();
  EXPECT_EQ(rig.planner.AosTimeText, "");
  EXPECT_EQ(rig.planner.LosTimeText, "");
  EXPECT_TRUE(rig.planner.Finder.armed);
  EXPECT_FALSE(rig.planner.Finder.up);
}

TEST(PassFinder, ANewPassStartsItsMaximumAfresh) {
  PlannerRig rig(FixtureDir("basic"));
  auto in = rig.Inputs("EAST", {"ISS"}, "UTC", "R/S-T", "2018-01-16", "03:30", "2018-01-16", "03:29");
  rig.planner.Calculate(in);  // sets up observer, satellite and zone
  quenta::Planner& p = rig.planner;
  p.ResetPassFinder();
  // An earlier stretch at 25 deg behind a raised sector left its maximum.
  p.Finder.maxEl = navlib::Rad(25);
  p.Finder.maxTime = 736725.0;
  p.CurrentTime = 736725.0 + (3 * 60 + 48) / 1440.0;  // 03:48 UTC, the ISS at 27 deg
  p.SplitTime();
  p.EvaluateState();
  const double begun = p.CurrentTime;
  const float el = rig.nav.Elevation;
  p.PassFinderStep();
  EXPECT_TRUE(p.Finder.aosFound);
  ASSERT_TRUE(p.Finder.maxTime.has_value());
  EXPECT_EQ(*p.Finder.maxTime, begun);
  EXPECT_EQ(p.Finder.maxEl, el);
}

TEST(PassFinder, TenDegreeMaskEverywhere) {
  PlannerRig earth(FixtureDir("basic"));
  auto in = earth.Inputs("EAST", {"ISS"}, "UTC", "R/S-T", "2018-01-16", "03:30", "2018-01-16", "04:30");
  earth.planner.Calculate(in);
  PlannerRig radio(FixtureDir("basic"));
  radio.planner.HorizonMask.fill(10);
  in.AboveEarthHorizon = false;
  in.AboveRadioHorizon = true;
  radio.planner.Calculate(in);
  auto e = TableRows(earth.out.Text()), r = TableRows(radio.out.Text());
  ASSERT_EQ(e.size(), 1u);
  ASSERT_EQ(r.size(), 1u);
  EXPECT_GT(r[0].substr(29, 8), e[0].substr(29, 8));  // AOS later
  EXPECT_LT(r[0].substr(77, 8), e[0].substr(77, 8));  // LOS earlier
  EXPECT_EQ(r[0].substr(53, 2), e[0].substr(53, 2));  // same maximum
  // AOS and LOS are the 10 deg crossings, to the second.
  quenta::Planner& p = radio.planner;
  auto elevationAt = [&](const std::string& clock, int seconds) {
    p.CurrentTime = 736725.0 + navlib::ParseTime(clock) + seconds / 86400.0;
    p.SplitTime();
    p.EvaluateState();
    return navlib::Deg(radio.nav.Elevation);
  };
  EXPECT_LE(elevationAt(r[0].substr(29, 8), -1), 10.0f);
  EXPECT_GT(elevationAt(r[0].substr(29, 8), 1), 10.0f);
  EXPECT_GT(elevationAt(r[0].substr(77, 8), -1), 10.0f);
  EXPECT_LE(elevationAt(r[0].substr(77, 8), 1), 10.0f);
}

TEST(PassFinder, ADipBelowTheMaskAndBackGivesOneRow) {
  PlannerRig earth(FixtureDir("basic"));
  auto in = earth.Inputs("EAST", {"ISS"}, "UTC", "R/S-T", "2018-01-16", "03:30", "2018-01-16", "04:30");
  earth.planner.Calculate(in);
  PlannerRig radio(FixtureDir("basic"));
  // 40 deg at 90 deg azimuth: the ISS, at 32 deg there around 03:51, dips
  // below it in the middle of its pass and comes back at 87 deg azimuth.
  radio.planner.HorizonMask.fill(0);
  radio.planner.HorizonMask[18] = 40;
  in.AboveEarthHorizon = false;
  in.AboveRadioHorizon = true;
  radio.planner.Calculate(in);
  auto e = TableRows(earth.out.Text()), r = TableRows(radio.out.Text());
  ASSERT_EQ(r.size(), 1u) << radio.out.Text();
  EXPECT_EQ(r[0].substr(29, 8), e[0].substr(29, 8));  // first crossing
  EXPECT_EQ(r[0].substr(77, 8), e[0].substr(77, 8));  // last crossing
}

TEST(PassFinder, ASatelliteThatNeverSetsGetsAtMostOneRow) {
  PlannerRig rig(FixtureDir("equator"));
  auto in = rig.Inputs("EQOBS", {"GEO"}, "UTC", "R/S-T", "2018-01-15", "00:00", "2018-01-17", "23:59");
  rig.planner.Calculate(in);
  EXPECT_LE(TableRows(rig.out.Text()).size(), 1u) << rig.out.Text();
  // Up already at the start: the AOS refinement moves the scan one minute
  // back, so the three days take one coarse step more.
  EXPECT_EQ(rig.host.processEventsCalls, 3 * 1440 + 1);
}
