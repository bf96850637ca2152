// quenta-cli import: the element-set parsers, the keps writer and the command.
//
// Fixtures (tests/import/fixtures/, written by tools/reference/import-fixtures.py):
//   titled.tle    ISS, AO-27 with a bad line-2 checksum, SO-50 renumbered to the
//                 Alpha-5 number A0001, MOLNIYA 1-63; title lines, CR LF ends
//   untitled.tle  NOAA 18 and FUNCUBE-1 without title lines
//   omm.csv       ISS, AO-73, and SO-50 with an eccentricity of 1.2
//   omm.json      ISS with numbers, a six-digit catalogue number with texts,
//                 AO-73 without MEAN_ANOMALY
//   omm.xml       AO-27, and SO-50 with the epoch 30 February
// All element sets are real ones of January 2018. Expected values not read
// off the sets themselves come from that script (Python's datetime and
// struct-packed 32-bit floats), said so at each test.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <charconv>
#include <cmath>
#include <clocale>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <sstream>

#include "navlib/navlib.h"
#include "navlib/textnum.h"
#include "platform/atomicfile.h"
#include "platform/uihost.h"
#include "quenta/core/planner_lists.h"
#include "quenta/import/elementsets.h"
#include "quenta/import/import_command.h"
#include "quenta/import/kepswriter.h"

namespace fs = std::filesystem;
using namespace quenta;

namespace {

std::string Fixture(const std::string& name) { return std::string(IMPORT_FIXTURE_DIR) + "/" + name; }

std::string ReadFixture(const std::string& name) {
  std::string bytes;
  EXPECT_TRUE(platform::ReadWholeFile(Fixture(name), &bytes)) << name;
  return bytes;
}

// The float nearest a decimal text, by the standard library's correctly
// rounded conversion (not through the code under test).
float NearestFloat(const char* text) {
  float f = 0;
  auto r = std::from_chars(text, text + std::strlen(text), f);
  EXPECT_EQ(r.ec, std::errc()) << text;
  return f;
}

// 2018-01-31 0 h UTC, the clock of the command tests: 1517356800 s
// (date -u -d 2018-01-31 +%s).
constexpr double kNow = 1517356800.0;

struct CommandRun {
  int code = 0;
  std::string out, err;
};

CommandRun Import(const std::vector<std::string>& args, double now = kNow) {
  std::ostringstream out, err;
  CommandRun r;
  r.code = RunImportCommandAt(args, out, err, now);
  r.out = out.str();
  r.err = err.str();
  return r;
}

// A fresh keps directory per test.
class ImportDir : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("velm_import_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "_" +
            std::to_string(getpid()));  // several build trees may run the tests at once
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string Dir() const { return dir_.string(); }
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  std::string Read(const std::string& name) const {
    std::string bytes;
    platform::ReadWholeFile(Path(name), &bytes);
    return bytes;
  }
  void Write(const std::string& name, const std::string& bytes) const {
    std::string error;
    ASSERT_TRUE(platform::WriteFileAtomically(Path(name), bytes, &error)) << error;
  }
  // The keps file read by the library's keps reader.
  bool ReadBack(const std::string& satName, navlib::NavState& s) const {
    s.KepsDir = Dir() + "/";
    s.SatName = satName;
    return navlib::ReadKeps(s);
  }
  fs::path dir_;
};

const ElementSetRecord* FindSet(const ParseResult& r, std::int64_t catalog) {
  for (const auto& s : r.sets)
    if (s.catalogNumber == catalog) return &s;
  return nullptr;
}

}  // namespace

// ---- two-line sets ----

TEST(TwoLineSets, Checksums) {
  // Checksums of the real sets are their last characters; the Alpha-5 lines'
  // were computed by tools/reference/import-fixtures.py (letters count 0).
  struct Case { const char* line; int sum; } cases[] = {
      {"1 25544U 98067A   18020.89808844  .00002078  00000-0  38550-4 0  9992", 2},
      {"2 25544  51.6424  32.9776 0003646  28.7227  39.5332 15.54190080 95614", 4},
      {"1 22825U 93061C   18021.14707643 -.00000004  00000-0  16043-4 0  9995", 5},
      {"2 15429  64.0955 328.6419 6921717 271.6530 337.4037  2.00846852242473", 3},
      {"1 A0001U 02058C   18020.85805703 -.00000024  00000-0  17191-4 0  9993", 3},
      {"2 A0001  64.5541 180.3486 0047321   5.0119 355.1447 14.75413283811222", 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(TwoLineChecksum(c.line), c.sum);
  }
}

TEST(TwoLineSets, CatalogueNumbers) {
  // Alpha-5: the letter stands for 10..33 skipping I and O; E8493 = 148493 is
  // the example of the catalogue's own announcement of the scheme.
  struct Case { const char* field; std::int64_t number; } cases[] = {
      {"25544", 25544}, {"07530", 7530}, {" 7530", 7530}, {"00001", 1},     {"A0000", 100000},
      {"A0001", 100001}, {"E8493", 148493}, {"H9999", 179999}, {"J0000", 180000}, {"N0000", 220000},
      {"P0000", 230000}, {"Z9999", 339999}, {"I0000", -1},   {"O1234", -1},    {"a0000", -1},
      {"1234x", -1},    {"     ", -1},      {"AB123", -1},   {"1234", -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.field);
    EXPECT_EQ(DecodeCatalogNumber(c.field), c.number);
  }
  EXPECT_EQ(ParseCatalogArgument("7530"), 7530);
  EXPECT_EQ(ParseCatalogArgument("270015"), 270015);
  EXPECT_EQ(ParseCatalogArgument("A0001"), 100001);
  EXPECT_EQ(ParseCatalogArgument("ISS"), -1);
  EXPECT_EQ(ParseCatalogArgument(""), -1);
}

TEST(TwoLineSets, TitledFileWithBadChecksumAndAlpha5) {
  ParseResult r = ParseTwoLineSets(ReadFixture("titled.tle"));
  EXPECT_EQ(r.format, SourceFormat::TwoLine);
  ASSERT_EQ(r.sets.size(), 3u);
  ASSERT_EQ(r.problems.size(), 1u);
  // AO-27's line 2 is line 6 of the file; it sums to 4 but ends in 7.
  EXPECT_EQ(r.problems[0].where, "line 6");
  EXPECT_NE(r.problems[0].reason.find("bad checksum"), std::string::npos) << r.problems[0].reason;
  EXPECT_NE(r.problems[0].reason.find("EYESAT-1 (AO-27)"), std::string::npos);

  const ElementSetRecord& iss = r.sets[0];
  EXPECT_EQ(iss.objectName, "ISS (ZARYA)");
  EXPECT_EQ(iss.catalogNumber, 25544);
  EXPECT_EQ(iss.where, "line 1");
  EXPECT_EQ(iss.epochYear, 2018);
  EXPECT_DOUBLE_EQ(iss.epochDay, 20.89808844);
  EXPECT_DOUBLE_EQ(iss.inclinationDeg, 51.6424);
  EXPECT_DOUBLE_EQ(iss.raanDeg, 32.9776);
  EXPECT_DOUBLE_EQ(iss.eccentricity, 0.0003646);
  EXPECT_DOUBLE_EQ(iss.argPerigeeDeg, 28.7227);
  EXPECT_DOUBLE_EQ(iss.meanAnomalyDeg, 39.5332);
  EXPECT_DOUBLE_EQ(iss.meanMotionRevDay, 15.5419008);
  EXPECT_DOUBLE_EQ(iss.meanMotionDot, 0.00002078);
  EXPECT_DOUBLE_EQ(iss.meanMotionDdot, 0.0);
  EXPECT_DOUBLE_EQ(iss.revAtEpoch, 9561);  // " 9561" then the checksum 4

  const ElementSetRecord& alpha = r.sets[1];
  EXPECT_EQ(alpha.objectName, "ALPHA TEST (AT-01)");
  EXPECT_EQ(alpha.catalogNumber, 100001);
  EXPECT_EQ(alpha.catalogText, "A0001");
  EXPECT_DOUBLE_EQ(alpha.meanMotionDot, -0.00000024);

  const ElementSetRecord& molniya = r.sets[2];
  EXPECT_EQ(molniya.catalogNumber, 15429);
  EXPECT_DOUBLE_EQ(molniya.eccentricity, 0.6921717);
  EXPECT_DOUBLE_EQ(molniya.meanMotionRevDay, 2.00846852);
  EXPECT_DOUBLE_EQ(molniya.revAtEpoch, 24247);
}

TEST(TwoLineSets, UntitledFile) {
  ParseResult r = ParseTwoLineSets(ReadFixture("untitled.tle"));
  ASSERT_EQ(r.sets.size(), 2u);
  EXPECT_TRUE(r.problems.empty());
  EXPECT_EQ(r.sets[0].objectName, "");
  EXPECT_EQ(r.sets[0].catalogNumber, 28654);
  EXPECT_EQ(r.sets[1].catalogNumber, 39444);
  EXPECT_EQ(r.sets[1].where, "line 3");
}

TEST(TwoLineSets, SecondDerivativeExponentField) {
  // " 12345-5" is 0.12345e-5 (assumed decimal point); the sign goes in front.
  const std::string l1 = "1 00005U 58002B   18020.50000000  .00000023  12345-5  13844-3 0  999";
  const std::string l2 = "2 00005  34.2502 128.3734 1846482 136.5393 238.8131 10.8479904311205";
  const std::string l1n = "1 00005U 58002B   18020.50000000  .00000023 -12345-5  13844-3 0  999";
  auto withSum = [](std::string l) { return l + std::to_string(TwoLineChecksum(l)); };
  ParseResult r = ParseTwoLineSets(withSum(l1) + "\n" + withSum(l2) + "\n" + withSum(l1n) + "\n" + withSum(l2) + "\n");
  ASSERT_EQ(r.sets.size(), 2u) << (r.problems.empty() ? "" : r.problems[0].reason);
  EXPECT_DOUBLE_EQ(r.sets[0].meanMotionDdot, 0.12345e-5);
  EXPECT_DOUBLE_EQ(r.sets[1].meanMotionDdot, -0.12345e-5);
  EXPECT_EQ(r.sets[0].epochYear, 2018);
}

TEST(TwoLineSets, BadSetsAreReportedWithLineAndReason) {
  const std::string iss1 = "1 25544U 98067A   18020.89808844  .00002078  00000-0  38550-4 0  9992";
  const std::string iss2 = "2 25544  51.6424  32.9776 0003646  28.7227  39.5332 15.54190080 95614";
  const std::string ao27_2 = "2 22825  98.8440 354.7505 0009344  59.1556 301.0544 14.30019694268554";
  // ISS line 2 with an eccentricity field that is no number (checksum recomputed).
  std::string badEcc = iss2;
  badEcc.replace(26, 7, "00x3646");
  badEcc[68] = static_cast<char>('0' + TwoLineChecksum(badEcc));
  std::string shortLine = iss1.substr(0, 60);
  struct Case { const char* name; std::string text; size_t sets; const char* where; const char* reason; } cases[] = {
      {"line 1 alone", iss1 + "\n", 0, "line 1", "without its line 2"},
      {"line 2 alone", "TITLE\n" + iss2 + "\n", 0, "line 2", "without its line 1"},
      {"stray title", "FIRST\nISS\n" + iss1 + "\n" + iss2 + "\n", 1, "line 1", "without a set"},
      {"catalogue numbers differ", iss1 + "\n" + ao27_2 + "\n", 0, "line 2", "differs"},
      {"short line", shortLine + "\n" + iss2 + "\n", 0, "line 1", "not 69"},
      {"eccentricity not a number", iss1 + "\n" + badEcc + "\n", 0, "line 2", "eccentricity"},
      {"trailing title", iss1 + "\n" + iss2 + "\nLAST\n", 1, "line 3", "without a set"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ParseResult r = ParseTwoLineSets(c.text);
    EXPECT_EQ(r.sets.size(), c.sets);
    ASSERT_EQ(r.problems.size(), 1u);
    EXPECT_EQ(r.problems[0].where, c.where);
    EXPECT_NE(r.problems[0].reason.find(c.reason), std::string::npos) << r.problems[0].reason;
  }
}

TEST(TwoLineSets, ThreeLineTitlesWithZeroPrefix) {
  ParseResult r = ParseTwoLineSets(
      "0 ISS (ZARYA)\n"
      "1 25544U 98067A   18020.89808844  .00002078  00000-0  38550-4 0  9992\n"
      "2 25544  51.6424  32.9776 0003646  28.7227  39.5332 15.54190080 95614\n");
  ASSERT_EQ(r.sets.size(), 1u);
  EXPECT_EQ(r.sets[0].objectName, "ISS (ZARYA)");
}

// ---- OMM ----

TEST(Omm, Epochs) {
  // Day numbers by hand: 20 January is day 20; 2016 is a leap year, so
  // 31 December 12 h is day 366.5; 21:33:14.841216 is 77594.841216 s.
  struct Case { const char* text; bool ok; int year; double day; } cases[] = {
      {"2018-01-20T21:33:14.841216", true, 2018, 20 + 77594.841216 / 86400},
      {"2018-01-20T00:00:00Z", true, 2018, 20.0},
      {"2016-12-31T12:00:00", true, 2016, 366.5},
      {"2018-020T06:00:00", true, 2018, 20.25},
      {"2018-03-01T00:00:00", true, 2018, 60.0},
      {"2018-02-30T01:02:03", false, 0, 0},
      {"2018-13-01T00:00:00", false, 0, 0},
      {"2018-01-01", false, 0, 0},
      {"2018-01-01T25:00:00", false, 0, 0},
      {"2018-01-01T10:00:0x", false, 0, 0},
      {"yesterday", false, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    int year = 0;
    double day = 0;
    ASSERT_EQ(ParseOmmEpoch(c.text, &year, &day), c.ok);
    if (!c.ok) continue;
    EXPECT_EQ(year, c.year);
    EXPECT_NEAR(day, c.day, 1e-9);
  }
}

TEST(Omm, Csv) {
  ParseResult r = ParseOmmCsv(ReadFixture("omm.csv"));
  ASSERT_EQ(r.sets.size(), 2u);
  ASSERT_EQ(r.problems.size(), 1u);
  EXPECT_EQ(r.problems[0].where, "line 4");
  EXPECT_NE(r.problems[0].reason.find("eccentricity 1.2"), std::string::npos) << r.problems[0].reason;
  EXPECT_EQ(r.sets[0].objectName, "ISS (ZARYA)");
  EXPECT_EQ(r.sets[0].where, "line 2");
  EXPECT_DOUBLE_EQ(r.sets[0].meanMotionRevDay, 15.5419008);
  EXPECT_DOUBLE_EQ(r.sets[0].revAtEpoch, 9561);
  EXPECT_EQ(r.sets[1].catalogNumber, 39444);
}

TEST(Omm, Json) {
  ParseResult r = ParseOmmJson(ReadFixture("omm.json"));
  ASSERT_EQ(r.sets.size(), 2u);
  ASSERT_EQ(r.problems.size(), 1u);
  EXPECT_EQ(r.problems[0].where, "record 3");
  EXPECT_NE(r.problems[0].reason.find("MEAN_ANOMALY is missing"), std::string::npos);
  EXPECT_EQ(r.sets[0].catalogNumber, 25544);
  EXPECT_DOUBLE_EQ(r.sets[0].inclinationDeg, 51.6424);
  EXPECT_EQ(r.sets[1].catalogNumber, 270015);  // six digits: beyond what a two-line set can hold
  EXPECT_EQ(r.sets[1].objectName, "BIGNUM SAT (BN-1)");
  EXPECT_DOUBLE_EQ(r.sets[1].eccentricity, 0.6921717);
}

TEST(Omm, Xml) {
  ParseResult r = ParseOmmXml(ReadFixture("omm.xml"));
  ASSERT_EQ(r.sets.size(), 1u);
  ASSERT_EQ(r.problems.size(), 1u);
  EXPECT_EQ(r.problems[0].where.rfind("record 2", 0), 0u) << r.problems[0].where;
  EXPECT_NE(r.problems[0].reason.find("EPOCH"), std::string::npos);
  EXPECT_EQ(r.sets[0].objectName, "EYESAT-1 (AO-27)");
  EXPECT_EQ(r.sets[0].catalogNumber, 22825);
  EXPECT_DOUBLE_EQ(r.sets[0].argPerigeeDeg, 59.1556);
}

TEST(Omm, MalformedDocumentsAreProblemsNotCrashes) {
  struct Case { const char* name; std::string text; } cases[] = {
      {"json syntax", "[{\"NORAD_CAT_ID\": 1,"},
      {"json not objects", "[1, 2]"},
      {"xml unclosed", "<ndm><omm><body><EPOCH>2018"},
      {"csv without catalogue column", "OBJECT_NAME,EPOCH\nISS,2018-01-01T00:00:00\n"},
      {"csv row too short", "OBJECT_NAME,NORAD_CAT_ID,EPOCH\nISS,25544\n"},
      {"csv open quote", "OBJECT_NAME,NORAD_CAT_ID\n\"ISS,25544\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ParseResult r = ParseElementSets(c.text);
    EXPECT_TRUE(r.sets.empty());
    EXPECT_FALSE(r.problems.empty());
  }
}

TEST(Formats, DetectedFromContent) {
  EXPECT_EQ(ParseElementSets(ReadFixture("titled.tle")).format, SourceFormat::TwoLine);
  EXPECT_EQ(ParseElementSets(ReadFixture("untitled.tle")).format, SourceFormat::TwoLine);
  EXPECT_EQ(ParseElementSets(ReadFixture("omm.csv")).format, SourceFormat::OmmCsv);
  EXPECT_EQ(ParseElementSets(ReadFixture("omm.json")).format, SourceFormat::OmmJson);
  EXPECT_EQ(ParseElementSets(ReadFixture("omm.xml")).format, SourceFormat::OmmXml);
}

TEST(Formats, EveryPrefixOfEveryFixtureParsesWithoutCrashing) {
  // The parsers take untrusted bytes: cut files, half lines, open quotes.
  for (const char* name : {"titled.tle", "untitled.tle", "omm.csv", "omm.json", "omm.xml"}) {
    SCOPED_TRACE(name);
    std::string bytes = ReadFixture(name);
    for (size_t n = 0; n <= bytes.size(); n += 7) {
      ParseResult r = ParseElementSets(std::string_view(bytes).substr(0, n));
      for (const auto& s : r.sets) EXPECT_TRUE(ElementSetFault(s).empty());
    }
  }
}

TEST(Formats, MutatedFixturesParseWithoutCrashing) {
  // Deterministic byte mutations (a fixed linear congruential sequence):
  // flipped digits, blanks, commas, quotes, brackets and line breaks.
  const char kBytes[] = "0123456789 .,-+\"<>[]{}:\n\r\tAEZ";
  std::uint32_t state = 12345;
  auto next = [&]() { return state = state * 1664525u + 1013904223u; };
  for (const char* name : {"titled.tle", "untitled.tle", "omm.csv", "omm.json", "omm.xml"}) {
    SCOPED_TRACE(name);
    const std::string original = ReadFixture(name);
    for (int round = 0; round < 300; ++round) {
      std::string bytes = original;
      for (int k = 0; k < 1 + round % 5; ++k)
        bytes[next() % bytes.size()] = kBytes[next() % (sizeof kBytes - 1)];
      ParseResult r = ParseElementSets(bytes);
      for (const auto& s : r.sets) EXPECT_TRUE(ElementSetFault(s).empty());
    }
  }
}

TEST(Formats, OneSatelliteReadsTheSameFromEveryFormat) {
  // ISS from a two-line set, OMM CSV and OMM JSON give the same keps text.
  ParseResult two = ParseTwoLineSets(ReadFixture("titled.tle"));
  const ElementSetRecord* tle = FindSet(two, 25544);
  ParseResult csv = ParseOmmCsv(ReadFixture("omm.csv"));
  ParseResult json = ParseOmmJson(ReadFixture("omm.json"));
  ASSERT_TRUE(tle && FindSet(csv, 25544) && FindSet(json, 25544));
  const std::string expected = KepsFileText(KepsValues(*tle, navlib::Vec3()));
  EXPECT_EQ(KepsFileText(KepsValues(*FindSet(csv, 25544), navlib::Vec3())), expected);
  EXPECT_EQ(KepsFileText(KepsValues(*FindSet(json, 25544), navlib::Vec3())), expected);
}

// ---- names ----

TEST(Names, FromObjectNameOrGivenName) {
  struct Case { const char* object; std::int64_t catalog; const char* name; } cases[] = {
      {"EYESAT-1 (AO-27)", 22825, "AO-27"},   // designation in the last parentheses
      {"ISS (ZARYA)", 25544, "ISS"},           // no hyphen: the name before the parenthesis
      {"OSCAR 7 (AO-7)", 7530, "AO-7"},
      {"SAUDISAT 1C (SO-50)", 27607, "SO-50"},
      {"NOAA 18", 28654, "NOAA 18"},           // no parenthesis: the whole name
      {"  MOLNIYA 1-63  ", 15429, "MOLNIYA 1-63"},
      {"CUBESAT (XW-2A) (CAS-3H)", 40903, "CUBESAT"},  // last parentheses hold 6 characters
      {"DIWATA-1 (PH-1) (X)", 41463, "DIWATA-1"},      // last parentheses have no hyphen
      {"", 25544, "25544"},                    // untitled set: its catalogue number
      {"(AO-7)", 7530, "AO-7"},
      {"FUNCUBE-1 (AO-73)", 39444, "FC-1"},    // --name wins
  };
  std::map<std::int64_t, std::string> given = {{39444, "FC-1"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.object);
    ElementSetRecord set;
    set.objectName = c.object;
    set.catalogNumber = c.catalog;
    set.catalogText = std::to_string(c.catalog);
    EXPECT_EQ(SatelliteNameFor(set, given), c.name);
  }
  EXPECT_EQ(SatelliteNameFault("AO-27"), "");
  EXPECT_NE(SatelliteNameFault("a/b"), "");
  EXPECT_NE(SatelliteNameFault(".."), "");
  EXPECT_NE(SatelliteNameFault("   "), "");
  EXPECT_NE(SatelliteNameFault("AO\n27"), "");
}

// ---- keps values and their text ----

TEST(KepsText, ShortestTextThatReadsBackAsTheNearestFloat) {
  // Expected texts: tools/reference/import-fixtures.py (shortest %g that
  // struct-packs to the same 32-bit float).
  struct Case { double value; size_t max; const char* text; } cases[] = {
      {2018, 5, "2018"},       {20.89808844, 24, "20.898088"}, {0.0003646, 24, "0.0003646"},
      {15.5419008, 24, "15.541901"}, {0, 24, "0"},             {1.5e-7, 24, "1.5e-07"},
      {-5.95645984e-05, 24, "-5.9564598e-05"}, {26535.3699, 24, "26535.37"},
      {0.7, 24, "0.7"},        {-0.0001, 24, "-0.0001"},      {24247, 24, "24247"},
      {22320, 24, "22320"},    {123456789, 24, "123456792"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(KepsValueText(c.value, c.max), c.text);
  }
}

TEST(KepsText, ReaderFloatIsTheNearestFloatForManyValues) {
  // A sweep over magnitudes and digit patterns, each value checked through
  // the reader's own conversion and against the length limit.
  double value = 1.0e-12;
  for (int i = 0; i < 4000; ++i) {
    value *= 1.0137;
    for (double v : {value, -value, value * 3.3333333333, 359.99999 - std::fmod(value, 359.0)}) {
      std::string text = KepsValueText(v, kKepsFieldBytes);
      ASSERT_LE(text.size(), kKepsFieldBytes) << text;
      ASSERT_EQ(static_cast<float>(navlib::LeadingDouble(text.c_str())), static_cast<float>(v)) << text;
    }
  }
}

TEST(KepsText, IssLaidOutAsThePlotterWritesKeps) {
  // One line, fifteen values, single commas, no blanks, no line break.
  // Expected line: tools/reference/import-fixtures.py, keps_line(ISS): the
  // semi-major axis from n = 15.5419008 rev/day with GM 398600.44 km^3/s^2,
  // MaTerm2 = 2 * 3.14159274 * 0.00002078 rad/day^2.
  ParseResult r = ParseTwoLineSets(ReadFixture("titled.tle"));
  ASSERT_FALSE(r.sets.empty());
  EXPECT_EQ(KepsFileText(KepsValues(r.sets[0], navlib::Vec3())),
            "2018,20.898088,51.6424,32.9776,0.0003646,28.7227,39.5332,15.541901,9561,6782.645,0,0,0,"
            "0.0001305646,0");
  // MOLNIYA 1-63, the eccentric orbit, from the same script.
  EXPECT_EQ(KepsFileText(KepsValues(r.sets[2], navlib::Vec3())),
            "2018,20.284828,64.0955,328.6419,0.6921717,271.653,337.4037,2.0084686,24247,26535.37,0,0,0,"
            "-5.9564598e-05,0");
}

TEST(KepsText, DecimalCommaLocaleChangesNothing) {
  // Qt sets the C library's locale from the desktop's: a German desktop must
  // neither read "51,6424" nor write "6782,645".
  const std::string before = KepsFileText(KepsValues(ParseTwoLineSets(ReadFixture("titled.tle")).sets.at(0), {}));
  const char* old = std::setlocale(LC_ALL, nullptr);
  const std::string saved = old ? old : "C";
  const bool comma = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
  ParseResult tle = ParseTwoLineSets(ReadFixture("titled.tle"));
  ParseResult csv = ParseOmmCsv(ReadFixture("omm.csv"));
  std::setlocale(LC_ALL, saved.c_str());
  ASSERT_FALSE(tle.sets.empty());
  ASSERT_FALSE(csv.sets.empty());
  EXPECT_EQ(KepsFileText(KepsValues(tle.sets[0], {})), before);
  EXPECT_EQ(csv.sets[0].inclinationDeg, 51.6424);
  if (!comma) GTEST_LOG_(INFO) << "de_DE.UTF-8 not installed; checked in the C locale only";
}

TEST(KepsText, EpochAndAge) {
  // By hand: day 20.89808844 of 2018 is 20 January 21:33:14.84 -> :15 rounded;
  // 1 January 0 h of 2018 is 1514764800 s (date -u -d 2018-01-01 +%s).
  EXPECT_EQ(EpochText(2018, 20.89808844), "2018-01-20 21:33:15");
  EXPECT_EQ(EpochText(2016, 366.5), "2016-12-31 12:00:00");
  EXPECT_EQ(EpochText(2000, 60.0), "2000-02-29 00:00:00");
  EXPECT_EQ(EpochText(1999, 365.9999999), "2000-01-01 00:00:00");
  EXPECT_DOUBLE_EQ(EpochUnixSeconds(2018, 1.0), 1514764800.0);
  EXPECT_DOUBLE_EQ(EpochUnixSeconds(1970, 1.0), 0.0);
}

// ---- the command ----

TEST_F(ImportDir, ImportsAndTheReaderGetsTheNearestFloats) {
  CommandRun run = Import({"--keps-dir", Dir(), Fixture("titled.tle")});
  EXPECT_EQ(run.code, 2) << run.err;  // AO-27's bad checksum
  EXPECT_NE(run.err.find("titled.tle: line 6: bad checksum"), std::string::npos) << run.err;
  EXPECT_TRUE(fs::exists(Path("EL-ISS.kep")));
  EXPECT_TRUE(fs::exists(Path("EL-AT-01.kep")));
  EXPECT_TRUE(fs::exists(Path("EL-MOLNI.kep")));  // "MOLNIYA 1-63" has no parentheses
  EXPECT_FALSE(fs::exists(Path("EL-AO-27.kep")));

  // The value written -> the library's reader -> the float nearest the source value.
  navlib::NavState s;
  ASSERT_TRUE(ReadBack("ISS", s));
  const navlib::ElementSet& e = s.Elements;
  EXPECT_EQ(e.EpochYear, 2018.0f);
  EXPECT_EQ(e.EpochDay, NearestFloat("20.89808844"));
  EXPECT_EQ(e.Eccentricity, NearestFloat("0.0003646"));
  EXPECT_EQ(e.EpochOrbit, 9561.0f);
  EXPECT_EQ(e.SemiMajorAxis, NearestFloat("6782.64485"));  // python: (GM / n^2)^(1/3)
  EXPECT_EQ(e.MaTerm2, static_cast<float>(2.0 * static_cast<double>(3.14159274f) * 0.00002078));
  EXPECT_EQ(e.MaTerm3, 0.0f);
  EXPECT_FALSE(s.HasAttitude);
  // The angles come back in radians and the mean motion in rad/day: the
  // reader's own conversion of the nearest floats.
  EXPECT_EQ(e.Inclination, navlib::Rad(NearestFloat("51.6424")));
  EXPECT_EQ(e.Raan, navlib::Rad(NearestFloat("32.9776")));
  EXPECT_EQ(e.ArgPerigee, navlib::Rad(NearestFloat("28.7227")));
  EXPECT_EQ(e.MeanAnomaly, navlib::Rad(NearestFloat("39.5332")));
  EXPECT_EQ(e.MeanMotion,
            static_cast<float>(NearestFloat("15.54190080") * (2.0 * static_cast<double>(navlib::Nc.Pi))));

  // Field sizes: at most 5 bytes for the year, 24 for the others; no blanks.
  std::string text = Read("EL-MOLNI.kep");
  ASSERT_FALSE(text.empty());
  EXPECT_EQ(text.find_first_of(" \r\n"), std::string::npos);
  size_t start = 0;
  for (int field = 0; field < 15; ++field) {
    size_t comma = text.find(',', start);
    if (field == 14) {
      EXPECT_EQ(comma, std::string::npos);
    } else {
      ASSERT_NE(comma, std::string::npos);
    }
    size_t len = (comma == std::string::npos ? text.size() : comma) - start;
    EXPECT_LE(len, field == 0 ? 5u : 24u) << "field " << field;
    start = comma + 1;
  }
  navlib::NavState m;
  ASSERT_TRUE(ReadBack("MOLNIYA 1-63", m));
  EXPECT_EQ(m.Elements.Eccentricity, NearestFloat("0.6921717"));
  EXPECT_EQ(m.Elements.MaTerm2, static_cast<float>(2.0 * static_cast<double>(3.14159274f) * -0.00000948));
}

TEST_F(ImportDir, StdoutLinePerSatelliteWithEpochAgeAndWarning) {
  // kNow is 2018-01-31 0 h: ISS's epoch 20.89808844 is 10.10 days before it.
  CommandRun fresh = Import({"--keps-dir", Dir(), Fixture("omm.csv")}, kNow);
  EXPECT_EQ(fresh.code, 2);  // the SO-50 row with eccentricity 1.2
  EXPECT_NE(fresh.err.find("omm.csv: line 4: eccentricity 1.2"), std::string::npos) << fresh.err;
  EXPECT_EQ(fresh.out,
            "ISS    EL-ISS.kep    epoch 2018-01-20 21:33:15 UTC  age 10.1 days\n"
            "AO-73  EL-AO-73.kep  epoch 2018-01-20 13:09:56 UTC  age 10.5 days\n");
  // Twenty days later both are older than 14 days.
  CommandRun stale = Import({"--keps-dir", Dir(), Fixture("omm.csv")}, kNow + 20 * 86400.0);
  EXPECT_NE(stale.out.find("age 30.1 days  WARNING: older than 14 days"), std::string::npos) << stale.out;
  EXPECT_NE(stale.out.find("age 30.5 days  WARNING: older than 14 days"), std::string::npos) << stale.out;
}

TEST_F(ImportDir, ExistingAttitudeIsKept) {
  // An attitude the plotter stored (four decimals) in an older keps file of ISS.
  Write("EL-ISS.kep", "2017,300.5,51.6,10,0.0004,20,30,15.5,9000,6780,0.1235,-0.5,0.857,0,0");
  CommandRun run = Import({"--keps-dir", Dir(), Fixture("omm.json")});
  EXPECT_EQ(run.code, 2);  // record 3 without MEAN_ANOMALY
  EXPECT_NE(run.err.find("omm.json: record 3: MEAN_ANOMALY is missing"), std::string::npos) << run.err;
  EXPECT_NE(run.out.find("EL-ISS.kep    epoch 2018-01-20 21:33:15 UTC  age 10.1 days  attitude kept"),
            std::string::npos) << run.out;
  navlib::NavState s;
  ASSERT_TRUE(ReadBack("ISS", s));
  EXPECT_TRUE(s.HasAttitude);
  EXPECT_EQ(s.Elements.Attitude.x, NearestFloat("0.1235"));
  EXPECT_EQ(s.Elements.Attitude.y, -0.5f);
  EXPECT_EQ(s.Elements.Attitude.z, NearestFloat("0.857"));
  EXPECT_EQ(s.Elements.EpochYear, 2018.0f);  // the elements themselves are new
  EXPECT_EQ(s.Elements.EpochDay, NearestFloat("20.89808844"));
  // The six-digit catalogue number's set is named by its designation.
  EXPECT_TRUE(fs::exists(Path("EL-BN-1.kep")));
}

TEST_F(ImportDir, FileClashIsRefusedWithBothNames) {
  // NOAA 18 and NOAA 19 both give "EL-NOAA .kep" (first five characters).
  const std::string noaa =
      "NOAA 18\n"
      "1 28654U 05018A   18020.89662949 -.00000024  00000-0  12332-4 0  9995\n"
      "2 28654  99.1634  53.2197 0014486 177.6703 182.4537 14.12364350652899\n"
      "NOAA 19\n"
      "1 33591U 09005A   18020.91958580  .00000107  00000-0  83477-4 0  9992\n"
      "2 33591  99.1238 356.1693 0014450  24.0615 336.1228 14.12247534461122\n";
  Write("noaa.tle", noaa);
  CommandRun run = Import({"--keps-dir", Dir(), Path("noaa.tle")});
  EXPECT_EQ(run.code, 2);
  EXPECT_NE(run.err.find("NOAA 19 (catalogue 33591) and NOAA 18 (catalogue 28654"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("EL-NOAA .kep"), std::string::npos);
  EXPECT_NE(run.err.find("--name"), std::string::npos);
  navlib::NavState s;
  ASSERT_TRUE(ReadBack("NOAA 18", s));
  EXPECT_EQ(s.Elements.EpochDay, NearestFloat("20.89662949"));  // NOAA 18's, not written over

  // With names for both, both are written.
  CommandRun named = Import({"--keps-dir", Dir(), Path("noaa.tle"), "--name", "NO-18=28654", "--name=NO-19=33591"});
  EXPECT_EQ(named.code, 0) << named.err;
  EXPECT_TRUE(fs::exists(Path("EL-NO-18.kep")));
  EXPECT_TRUE(fs::exists(Path("EL-NO-19.kep")));
}

TEST_F(ImportDir, SameSatelliteTwiceKeepsTheNewerSet) {
  // ISS in omm.csv (epoch day 20.898) and an older ISS set written here.
  const std::string old1 = "1 25544U 98067A   18010.50000000  .00002078  00000-0  38550-4 0  999";
  const std::string old2 = "2 25544  51.6424  82.9776 0003646  28.7227  39.5332 15.54190080 9500";
  Write("old.tle", old1 + std::to_string(TwoLineChecksum(old1)) + "\n" + old2 +
                       std::to_string(TwoLineChecksum(old2)) + "\n");
  CommandRun run = Import({"--keps-dir", Dir(), Fixture("omm.csv"), Path("old.tle")});
  EXPECT_NE(run.err.find("the older element set (epoch 2018-01-10 12:00:00 UTC) is not used"), std::string::npos)
      << run.err;
  navlib::NavState s;
  ASSERT_TRUE(ReadBack("ISS", s));
  EXPECT_EQ(s.Elements.EpochDay, NearestFloat("20.89808844"));
}

TEST_F(ImportDir, AtomicReplaceLeavesTheOldFileWhenWritingFails) {
  const std::string old = "2017,300.5,51.6,10,0.0004,20,30,15.5,9000,6780,0.1235,-0.5,0.857,0,0";
  Write("EL-ISS.kep", old);
  // A file-size limit below one keps line makes every write fail (root
  // ignores directory permissions, the limit binds it too).
  struct rlimit saved;
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = saved;
  small.rlim_cur = 16;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  CommandRun run = Import({"--keps-dir", Dir(), Fixture("omm.csv")});
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_EQ(run.code, 2);
  EXPECT_NE(run.err.find("ISS: Cannot write"), std::string::npos) << run.err;
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(Read("EL-ISS.kep"), old);
  EXPECT_FALSE(fs::exists(Path("EL-AO-73.kep")));
  for (const auto& entry : fs::directory_iterator(dir_))  // no temporary left behind
    EXPECT_EQ(entry.path().filename().string().find(".tmp"), std::string::npos) << entry.path();
}

TEST_F(ImportDir, SatListGetsTheMissingNames) {
  // Absent: made from the built-in list of 22, then the new names.
  CommandRun run = Import({"--keps-dir", Dir(), Fixture("omm.xml"), Fixture("omm.csv"), "--satlist"});
  std::string list = Read("SatList.ini");
  EXPECT_EQ(list.rfind("AO-10\nRS-10\n", 0), 0u);
  // AO-27 is built in; ISS too; AO-73 is new.
  EXPECT_EQ(list.substr(list.size() - 10), "ISS\nAO-73\n") << list;
  EXPECT_NE(run.out.find("SatList.ini: made from the built-in list with AO-73"), std::string::npos) << run.out;

  // Existing with CR LF and no final line break: CR LF kept, no duplicates.
  Write("SatList.ini", "ISS\r\nAO-07");
  run = Import({"--keps-dir", Dir(), Fixture("omm.csv"), Fixture("omm.xml"), "--satlist"});
  EXPECT_EQ(Read("SatList.ini"), "ISS\r\nAO-07\r\nAO-73\r\nAO-27\r\n");
  run = Import({"--keps-dir", Dir(), Fixture("omm.csv"), "--satlist"});
  EXPECT_EQ(Read("SatList.ini"), "ISS\r\nAO-07\r\nAO-73\r\nAO-27\r\n");
  EXPECT_NE(run.out.find("SatList.ini: every name already listed"), std::string::npos);
}

TEST_F(ImportDir, UsageAndFileErrors) {
  struct Case { const char* name; std::vector<std::string> args; int code; const char* err; } cases[] = {
      {"no keps dir", {Fixture("omm.csv")}, 64, "--keps-dir is missing"},
      {"no file", {"--keps-dir", Dir()}, 64, "no element-set file"},
      {"unknown option", {"--keps-dir", Dir(), Fixture("omm.csv"), "--force"}, 64, "unknown option --force"},
      {"name without number", {"--keps-dir", Dir(), Fixture("omm.csv"), "--name", "ISS"}, 64, "NAME=CATNR"},
      {"name with bad number", {"--keps-dir", Dir(), Fixture("omm.csv"), "--name", "ISS=x1"}, 64,
       "not a catalogue number"},
      {"name with separator", {"--keps-dir", Dir(), Fixture("omm.csv"), "--name", "a/b=25544"}, 64,
       "path separator"},
      {"two names for one number",
       {"--keps-dir", Dir(), Fixture("omm.csv"), "--name", "A=1", "--name", "B=1"}, 64, "two names"},
      {"missing directory", {"--keps-dir", Dir() + "/nowhere", Fixture("omm.csv")}, 2, "Keps directory not found"},
      {"missing file", {"--keps-dir", Dir(), Dir() + "/none.tle"}, 2, "none.tle: cannot be read"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CommandRun run = Import(c.args);
    EXPECT_EQ(run.code, c.code);
    EXPECT_NE(run.err.find(c.err), std::string::npos) << run.err;
    if (c.code == 64) {
      EXPECT_NE(run.err.find("usage: quenta-cli import"), std::string::npos);
    }
  }
  Write("empty.tle", "\n\n");
  CommandRun empty = Import({"--keps-dir", Dir(), Path("empty.tle")});
  EXPECT_EQ(empty.code, 2);
  EXPECT_NE(empty.err.find("empty.tle: no element set found"), std::string::npos);
}

TEST_F(ImportDir, NoElementSetFileGivesAFewProblemsAndACount) {
  std::string text;
  for (int i = 0; i < 30; ++i) text += "not a set " + std::to_string(i) + "\n";
  Write("notes.txt", text);
  CommandRun run = Import({"--keps-dir", Dir(), Path("notes.txt")});
  EXPECT_EQ(run.code, 2);
  size_t shown = 0;
  for (size_t at = run.err.find("set skipped"); at != std::string::npos; at = run.err.find("set skipped", at + 1))
    ++shown;
  EXPECT_EQ(shown, 10u);
  EXPECT_NE(run.err.find("notes.txt: 20 more problems not shown"), std::string::npos) << run.err;
}

TEST_F(ImportDir, LongNameIsWrittenWithAWarning) {
  CommandRun run = Import({"--keps-dir", Dir(), Fixture("titled.tle")});
  EXPECT_NE(run.err.find("titled.tle: line 10: satellite name \"MOLNIYA 1-63\" is longer than 5 characters"),
            std::string::npos) << run.err;
  EXPECT_NE(run.out.find("MOLNIYA 1-63  EL-MOLNI.kep"), std::string::npos) << run.out;
  EXPECT_EQ(Import({"--keps-dir", Dir(), Fixture("titled.tle"), "--name", "M1-63=15429"}).err.find("longer"),
            std::string::npos);
}

TEST_F(ImportDir, AllGoodGivesExitZero) {
  CommandRun run = Import({"--keps-dir", Dir(), Fixture("untitled.tle"), "--name", "FC-1=39444"});
  EXPECT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(run.err, "");
  // NOAA 18 without a title line is named by its catalogue number.
  EXPECT_TRUE(fs::exists(Path("EL-28654.kep")));
  EXPECT_TRUE(fs::exists(Path("EL-FC-1.kep")));
}

// ---- the shipped demo data ----

namespace {
const std::string kDemo = std::string(DEMO_KEPS_DIR);
const char* const kDemoNames[] = {"ISS", "AO-07", "AO-27", "SO-50", "AO-73", "NO-18", "NO-19", "M1-63"};
}  // namespace

TEST_F(ImportDir, DemoKepsAreWhatTheImportMakesOfTheDemoSource) {
  // Re-import data/demo-keps/source/demo.tle as tools/demo-keps/make-demo-keps
  // does, with M1-63's attitude seeded: every keps file comes out byte for byte.
  std::string m163;
  ASSERT_TRUE(platform::ReadWholeFile(kDemo + "/EL-M1-63.kep", &m163));
  Write("EL-M1-63.kep", m163);
  CommandRun run = Import({"--keps-dir", Dir(), kDemo + "/source/demo.tle", "--name", "AO-07=7530", "--name",
                           "NO-18=28654", "--name", "NO-19=33591", "--name", "M1-63=15429"});
  EXPECT_EQ(run.code, 0) << run.err;
  for (const char* name : kDemoNames) {
    SCOPED_TRACE(name);
    std::string shipped;
    ASSERT_TRUE(platform::ReadWholeFile(kDemo + "/EL-" + name + ".kep", &shipped));
    EXPECT_EQ(Read(std::string("EL-") + name + ".kep"), shipped);
  }
}

TEST(DemoData, ThePlannerLoadsTheListFilesWithoutAMessage) {
  platform::RecordingUiHost host;
  quenta::PlannerLists lists = quenta::LoadPlannerLists(kDemo, host);
  EXPECT_TRUE(host.messages.empty());
  ASSERT_EQ(lists.Satellites.size(), 8u);
  EXPECT_EQ(lists.Satellites[7], "M1-63");
  ASSERT_EQ(lists.Observers.size(), 3u);
  EXPECT_EQ(lists.Observers[0], "Home          , 48.1500, 11.5800,  520");
  EXPECT_EQ(lists.ModeTexts[0], "FM    ");
  EXPECT_EQ(lists.ModeTexts[4], "U/V   ");
  EXPECT_EQ(lists.ModeTexts[7], "TLM   ");
  // The raised sectors: 60 to 80 degrees (indices 12 to 16), 200 to 215 (40 to 43).
  const int raised[][2] = {{12, 10}, {13, 15}, {14, 18}, {15, 15}, {16, 10}, {40, 5}, {41, 7}, {42, 7}, {43, 5}};
  int count = 0;
  for (int k = 0; k < quenta::HorizonSectors; ++k) count += lists.HorizonMask[k] != 0;
  EXPECT_EQ(count, 9);
  for (const auto& r : raised) EXPECT_EQ(lists.HorizonMask[r[0]], r[1]) << "sector " << r[0];
}

TEST(DemoData, ListsAndTheSyntheticAttitude) {
  std::string satList;
  ASSERT_TRUE(platform::ReadWholeFile(kDemo + "/SatList.ini", &satList));
  EXPECT_EQ(satList, "ISS\nAO-07\nAO-27\nSO-50\nAO-73\nNO-18\nNO-19\nM1-63\n");
  for (const char* name : kDemoNames) {
    SCOPED_TRACE(name);
    navlib::NavState s;
    s.KepsDir = kDemo + "/";
    s.SatName = name;
    ASSERT_TRUE(navlib::SetupElements(s));
    EXPECT_EQ(s.HasAttitude, std::string(name) == "M1-63");
    EXPECT_EQ(s.Elements.EpochYear, 2018.0f);
  }
  // M1-63's attitude is ALON 210, ALAT -5 at 2018-01-22 0 h UTC, as the
  // plotter's Draw converts it (cross-checked independently by
  // tools/reference/m1-63-attitude.py to 1e-6).
  navlib::NavState s;
  s.KepsDir = kDemo + "/";
  s.SatName = "M1-63";
  ASSERT_TRUE(navlib::SetupElements(s));
  const navlib::Vec3 stored = s.Elements.Attitude;
  s.DayFrac = 0;
  s.DayNum = static_cast<float>(navlib::DayNumber(2018, 1, 22));
  navlib::OrbitOrientation(s);
  float decRad = 0, raRad = 0;
  navlib::AttitudeToCelestial(s, navlib::Rad(-5), navlib::Rad(210), decRad, raRad);
  navlib::Vec3 expected = navlib::LatLonToVector(decRad, raRad);
  EXPECT_NEAR(stored.x, expected.x, 1e-6);
  EXPECT_NEAR(stored.y, expected.y, 1e-6);
  EXPECT_NEAR(stored.z, expected.z, 1e-6);
  EXPECT_NEAR(navlib::Length(stored), 1.0f, 1e-6);
}
