// quenta-cli plan: argument parsing, and the built program's stdout, stderr
// and exit codes.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "quenta/cli/plan_command.h"
#include "quenta_test_support.h"

namespace fs = std::filesystem;
using quenta_test::FixtureDir;
using quenta_test::MatchesGolden;

namespace {

struct CliResult {
  int code = -1;
  std::string out, err;
};

std::string Quote(const std::string& s) {
  std::string q = "'";
  for (char c : s) {
    if (c == '\'') q += "'\\''";
    else q += c;
  }
  return q + "'";
}

// Runs the built quenta-cli with these arguments.
CliResult RunCli(const std::vector<std::string>& args) {
  const std::string dir = (fs::temp_directory_path() / ("quenta-cli-test-" + std::to_string(::getpid()))).string();
  fs::create_directories(dir);
  std::string cmd = Quote(QUENTA_CLI_PATH);
  for (const auto& a : args) cmd += " " + Quote(a);
  cmd += " > " + Quote(dir + "/out") + " 2> " + Quote(dir + "/err") + " < /dev/null";
  CliResult r;
  int status = std::system(cmd.c_str());
  r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  platform::ReadWholeFile(dir + "/out", &r.out);
  platform::ReadWholeFile(dir + "/err", &r.err);
  fs::remove_all(dir);
  return r;
}

std::vector<std::string> Plan(std::initializer_list<std::string> extra) {
  std::vector<std::string> a = {"plan", "--keps-dir", FixtureDir("basic")};
  a.insert(a.end(), extra);
  return a;
}

}  // namespace

TEST(PlanArguments, ParsesEveryOptionAndItsDefaults) {
  quenta::PlanArguments a;
  std::string error;
  ASSERT_TRUE(quenta::ParsePlanArguments({"--keps-dir", "/k", "--observer", "EAST", "--satellite", "ISS",
                                          "--satellite=AO-07", "--zone", "EST", "--interval", "R/S-T", "--start",
                                          "2018-01-16", "--finish", "2018-01-17"},
                                         &a, &error))
      << error;
  EXPECT_EQ(a.KepsDir, "/k");
  EXPECT_EQ(a.Satellites, (std::vector<std::string>{"ISS", "AO-07"}));
  EXPECT_EQ(a.StartTime, "00:00");
  EXPECT_EQ(a.FinishTime, "23:59");
  EXPECT_EQ(a.Horizon, "earth");
  EXPECT_EQ(a.MaxSquint, "180");
}

TEST(PlanArguments, RefusesBadArguments) {
  const std::vector<std::string> good = {"--keps-dir", "/k", "--observer", "EAST", "--satellite", "ISS", "--zone",
                                         "UTC", "--interval", "10", "--start", "2018-01-16", "--finish", "2018-01-17"};
  struct Case {
    const char* name;
    std::vector<std::string> extra;
    const char* reason;
  } cases[] = {
      {"unknown option", {"--colour", "red"}, "unknown option"},
      {"value missing", {"--horizon"}, "needs a value"},
      {"unknown zone", {"--zone", "CET"}, "unknown zone"},
      {"unknown interval", {"--interval", "3"}, "unknown interval"},
      {"unknown horizon", {"--horizon", "sky"}, "unknown horizon"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto args = good;
    args.insert(args.end(), c.extra.begin(), c.extra.end());
    quenta::PlanArguments a;
    std::string error;
    EXPECT_FALSE(quenta::ParsePlanArguments(args, &a, &error));
    EXPECT_NE(error.find(c.reason), std::string::npos) << error;
  }
  quenta::PlanArguments a;
  std::string error;
  EXPECT_FALSE(quenta::ParsePlanArguments({"--keps-dir", "/k"}, &a, &error));
  EXPECT_NE(error.find("missing --observer"), std::string::npos) << error;
}

TEST(PlanArguments, InputsFollowTheListsNotTheCommandLineOrder) {
  quenta::PlannerLists lists;
  lists.Satellites = {"AO-07", "ISS", "HEO"};
  lists.Observers = {"EAST          , 52.2170,  0.1100,   30", " WEST , 41.7, -72.7, 60"};
  quenta::PlanArguments a;
  a.Observer = "WEST";
  a.Satellites = {"HEO", "AO-07"};
  a.Zone = "PDT";
  a.Interval = "R/S-O";
  a.Horizon = "radio";
  quenta::PlanInputs in;
  std::string error;
  ASSERT_TRUE(quenta::BuildPlanInputs(a, lists, &in, &error)) << error;
  EXPECT_EQ(in.ObserverIndex, 1);
  EXPECT_EQ(in.SatelliteSelected, (std::vector<bool>{true, false, true}));
  EXPECT_EQ(in.SatelliteIndex, 0);
  EXPECT_EQ(in.ZoneIndex, 10);
  EXPECT_EQ(in.IntervalIndex, 1);
  EXPECT_TRUE(in.AboveRadioHorizon);

  a.Interval = "5";
  EXPECT_FALSE(quenta::BuildPlanInputs(a, lists, &in, &error));  // several satellites, step table
  a.Satellites = {"AO-10"};
  EXPECT_FALSE(quenta::BuildPlanInputs(a, lists, &in, &error));
  EXPECT_NE(error.find("not in the satellite list"), std::string::npos);
  a.Satellites = {"ISS"};
  a.Observer = "NOBODY";
  ASSERT_TRUE(quenta::BuildPlanInputs(a, lists, &in, &error));
  EXPECT_EQ(in.ObserverIndex, -1);  // the run reports "Select Observer!"
}

TEST(PlanCli, StdoutIsTheOutputTextByteForByte) {
  auto r = RunCli(Plan({"--observer", "EAST", "--satellite", "AO-07", "--satellite", "ISS", "--satellite", "HEO",
                        "--zone", "UTC", "--interval", "R/S-T", "--start", "2018-01-16", "--finish", "2018-01-17"}));
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.err, "");
  // The same text as the core test's run of these satellites (list order).
  EXPECT_TRUE(MatchesGolden("riseset_three_fixture.txt", r.out));
}

TEST(PlanCli, DemoDataThroughTheCli) {
  auto r = RunCli({"plan", "--keps-dir", QUENTA_DEMO_DIR, "--observer", "Home", "--satellite", "AO-73", "--satellite",
                   "SO-50", "--satellite", "ISS", "--zone", "UTC", "--interval", "R/S-T", "--start", "2018-01-21",
                   "--finish", "2018-01-22"});
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.err, "");
  EXPECT_TRUE(MatchesGolden("demo_riseset_three.txt", r.out));
  auto step = RunCli({"plan", "--keps-dir", QUENTA_DEMO_DIR, "--observer", "Home", "--satellite", "NO-19", "--zone",
                      "EST", "--interval", "5", "--start", "2018-01-21", "--finish", "2018-01-21"});
  EXPECT_EQ(step.code, 0);
  EXPECT_TRUE(MatchesGolden("demo_step_no19_est.txt", step.out));
}

TEST(PlanCli, HelpPrintsTheUsage) {
  auto r = RunCli({"plan", "--help"});
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.out.rfind("usage: quenta-cli plan", 0), 0u);
}

TEST(PlanCli, StepTableThroughTheCli) {
  auto r = RunCli(Plan({"--observer", "EAST", "--satellite", "ISS", "--zone", "UTC", "--interval", "1", "--start",
                        "2018-01-16", "--start-time", "03:40", "--finish", "2018-01-16", "--finish-time", "04:00",
                        "--horizon", "radio"}));
  EXPECT_EQ(r.code, 0);
  EXPECT_TRUE(MatchesGolden("step_iss_radio_1min.txt", r.out));
}

TEST(PlanCli, ExitCodesAndMessages) {
  const std::string keps = std::string(navlib::KepsNotFoundText) + "\n";
  struct Case {
    const char* name;
    std::vector<std::string> args;
    int code;
    std::string err;  // exact, or the start of it for usage errors
    bool outEmpty;
  } cases[] = {
      {"observer that names no line",
       Plan({"--observer", "NOBODY", "--satellite", "ISS", "--zone", "UTC", "--interval", "10", "--start", "2018-01-16",
             "--finish", "2018-01-16"}),
       2, "Select Observer!\n", true},
      {"date out of range, once per satellite",
       Plan({"--observer", "EAST", "--satellite", "ISS", "--satellite", "AO-07", "--zone", "UTC", "--interval",
             "R/S-T", "--start", "2018-13-01", "--finish", "2018-01-16"}),
       2, "Improper Start/Stop Date!\nImproper Start/Stop Date!\n", true},
      {"date that is no number",
       Plan({"--observer", "EAST", "--satellite", "ISS", "--zone", "UTC", "--interval", "10", "--start", "2018-ab-01",
             "--finish", "2018-01-16"}),
       2, "'ab' is not a valid integer value\n", true},
      {"squint that is no number",
       Plan({"--observer", "EAST", "--satellite", "ISS", "--zone", "UTC", "--interval", "10", "--start", "2018-01-16",
             "--finish", "2018-01-16", "--max-squint", "x"}),
       2, "'x' is not a valid floating point value\n", true},
      {"missing keps file: the other satellite's rows stay",
       Plan({"--observer", "EAST", "--satellite", "NOKEP", "--satellite", "AO-07", "--zone", "UTC", "--interval",
             "R/S-T", "--start", "2018-01-16", "--finish", "2018-01-16"}),
       2, keps, false},
      {"unknown option", Plan({"--foo"}), 64, "quenta-cli plan: unknown option '--foo'\nusage:", true},
      {"unknown zone",
       Plan({"--observer", "EAST", "--satellite", "ISS", "--zone", "CET", "--interval", "10", "--start", "2018-01-16",
             "--finish", "2018-01-16"}),
       64, "quenta-cli plan: unknown zone 'CET'\nusage:", true},
      {"satellite not in the list",
       Plan({"--observer", "EAST", "--satellite", "AO-10", "--zone", "UTC", "--interval", "10", "--start",
             "2018-01-16", "--finish", "2018-01-16"}),
       64, "quenta-cli plan: satellite 'AO-10' is not in the satellite list\nusage:", true},
      {"several satellites with a step interval",
       Plan({"--observer", "EAST", "--satellite", "ISS", "--satellite", "AO-07", "--zone", "UTC", "--interval", "10",
             "--start", "2018-01-16", "--finish", "2018-01-16"}),
       64, "quenta-cli plan: a step table is for one satellite", true},
      {"no command", {}, 64, "usage: quenta-cli", true},
      {"unknown command", {"draw"}, 64, "quenta-cli: unknown command 'draw'\n", true},
      {"import reaches the import command", {"import"}, 64, "quenta-cli import:", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto r = RunCli(c.args);
    EXPECT_EQ(r.code, c.code);
    if (c.code == 64) {
      EXPECT_EQ(r.err.substr(0, c.err.size()), c.err);
    } else {
      EXPECT_EQ(r.err, c.err);
    }
    EXPECT_EQ(r.out.empty(), c.outEmpty) << r.out;
  }
  auto r = RunCli(Plan({"--observer", "EAST", "--satellite", "NOKEP", "--satellite", "AO-07", "--zone", "UTC",
                        "--interval", "R/S-T", "--start", "2018-01-16", "--finish", "2018-01-16"}));
  EXPECT_NE(r.out.find("  AO-07   2018 Jan 16 [Tue]"), std::string::npos);
}
