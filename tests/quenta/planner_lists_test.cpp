// The list files: satellite and observer lists, mode texts, horizon mask.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

#include "platform/atomicfile.h"
#include "platform/uihost.h"
#include "quenta/core/planner_lists.h"
#include "quenta_test_support.h"

namespace fs = std::filesystem;
using quenta::ModeTextTable;

namespace {

// A scratch keps directory holding the given files.
struct ScratchDir {
  std::string path;
  explicit ScratchDir(const std::string& name) {
    path = (fs::temp_directory_path() / ("quenta-lists-" + name + "-" + std::to_string(::getpid()))).string();
    fs::remove_all(path);
    fs::create_directories(path);
  }
  ~ScratchDir() { fs::remove_all(path); }
  void Write(const std::string& file, const std::string& bytes) const {
    std::string error;
    ASSERT_TRUE(platform::WriteFileAtomically(path + "/" + file, bytes, &error)) << error;
  }
};

}  // namespace

TEST(PlannerLists, ModeTextsFromTheLastFiveCharacters) {
  const std::vector<std::string> sats = {"AO-10", "UO-11", "AO-27", "ISS", "FO-29"};
  struct Case {
    const char* name;
    const char* line;
    int index;
    const char* mode;  // nullptr: no entry
  } cases[] = {
      {"name, comma, U/S", "AO-10,U/S", 0, "U/S   "},
      {"a frequency keeps only its last five characters", "UO-11,145.825", 1, "5.825 "},
      {"blanks around the line and the name", "  AO-27 , JA/JD  ", 2, "JA/JD "},
      {"line shorter than five characters takes its whole text", "ISS,", 3, "      "},
      {"line without a comma is ignored", "FO-29 JA", 4, nullptr},
      {"name in another letter case is ignored", "iss,FM", 3, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ModeTextTable table;
    quenta::ReadBeaconList(std::string(c.line) + "\r\n", sats, table);
    EXPECT_EQ(table[static_cast<std::size_t>(c.index)], c.mode ? c.mode : "");
  }
}

TEST(PlannerLists, LaterBeaconLineForTheSameSatelliteWinsAndIndex30HasNoEntry) {
  std::vector<std::string> sats;
  for (int i = 0; i < 32; ++i) sats.push_back("S" + std::to_string(i));
  ModeTextTable table;
  quenta::ReadBeaconList("S1,B\nS1,U/V\n\nS31,L\n", sats, table);
  EXPECT_EQ(table[1], "U/V   ");
  for (std::size_t i = 0; i < table.size(); ++i) {
    if (i != 1) {
      EXPECT_EQ(table[i], "") << i;
    }
  }
}

TEST(PlannerLists, ListLinesKeepTheirTextButLoseTheirLineEnds) {
  struct Case {
    const char* name;
    const char* bytes;
    std::vector<std::string> lines;
  } cases[] = {
      {"Windows line ends", "AO-10\r\nISS\r\n", {"AO-10", "ISS"}},
      {"Unix line ends", "AO-10\nISS\n", {"AO-10", "ISS"}},
      {"no break at the end", "AO-10\nISS", {"AO-10", "ISS"}},
      {"blank lines and blanks kept", "AO-10\n\n ISS \n", {"AO-10", "", " ISS "}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(quenta::ParseListFile(c.bytes), c.lines);
  }
}

TEST(PlannerLists, HorizonMaskLinesCommentsAndBadLines) {
  platform::RecordingUiHost host;
  quenta::HorizonMaskTable mask{};
  quenta::ReadHorizonMask(
      "REM home station\r\n0:15\r\n7:3\r\n\r\n90 : 12 extra\r\nno colon here\r\n400:5\r\n355:x\r\n180:20\r\n", "Horizon.ini",
      mask, host);
  EXPECT_EQ(mask[0], 15);
  EXPECT_EQ(mask[1], 3);    // 7 deg belongs to the 5 deg sector
  EXPECT_EQ(mask[18], 12);  // only four characters after the colon are read
  EXPECT_EQ(mask[36], 20);  // lines after the bad ones still load
  EXPECT_EQ(mask[71], 0);
  ASSERT_EQ(host.messages.size(), 3u);
  EXPECT_NE(host.messages[0].find("Horizon.ini, line 6"), std::string::npos) << host.messages[0];
  EXPECT_NE(host.messages[1].find("Horizon.ini, line 7"), std::string::npos) << host.messages[1];
  EXPECT_NE(host.messages[1].find("outside 0 to 359"), std::string::npos) << host.messages[1];
  EXPECT_NE(host.messages[2].find("line 8"), std::string::npos) << host.messages[2];
}

TEST(PlannerLists, MissingFilesLeaveTheBuiltInLists) {
  ScratchDir dir("empty");
  platform::RecordingUiHost host;
  quenta::PlannerLists lists = quenta::LoadPlannerLists(dir.path, host);
  ASSERT_EQ(lists.Satellites.size(), 22u);
  EXPECT_EQ(lists.Satellites.front(), "AO-10");
  EXPECT_EQ(lists.Satellites.back(), "ISS");
  ASSERT_EQ(lists.Observers.size(), 6u);
  for (const std::string& line : lists.Observers) {
    SCOPED_TRACE(line);
    EXPECT_EQ(line.find(','), 14u);  // call sign padded to 14 characters
  }
  for (const auto& m : lists.ModeTexts) EXPECT_EQ(m, "");
  for (int h : lists.HorizonMask) EXPECT_EQ(h, 0);
  EXPECT_TRUE(host.messages.empty());
}

TEST(PlannerLists, LoadsAllFourFilesAndGoesOnAfterABadHorizonLine) {
  ScratchDir dir("full");
  std::string sats;
  for (int i = 0; i < 25; ++i) sats += "S-" + std::to_string(i) + "\r\n";
  dir.Write("SatList.ini", sats);
  dir.Write("ObsList.ini", "HOME          , 52.0000,  4.0000,   10\r\n");
  dir.Write("BeacList.ini", "S-3,B\r\nS-24,U/V\r\n");
  dir.Write("Horizon.ini", "bad line\r\n45:8\r\n");
  platform::RecordingUiHost host;
  quenta::PlannerLists lists = quenta::LoadPlannerLists(dir.path, host);
  EXPECT_EQ(lists.Satellites.size(), 25u);
  EXPECT_EQ(lists.Observers, std::vector<std::string>{"HOME          , 52.0000,  4.0000,   10"});
  EXPECT_EQ(lists.ModeTexts[3], "B     ");
  EXPECT_EQ(lists.ModeTexts[24], "U/V   ");
  EXPECT_EQ(lists.HorizonMask[9], 8);
  EXPECT_EQ(host.messages.size(), 1u);
}

TEST(PlannerLists, KepsDirGetsThePlatformSeparator) {
  EXPECT_EQ(quenta::KepsDirWithSeparator("/data/keps"),
            "/data/keps" + std::string(1, static_cast<char>(fs::path::preferred_separator)));
}

TEST(PlannerLists, OddLinesNeverBreakTheStartUp) {
  ScratchDir dir("odd");
  const std::string odd = std::string("\0\xff\r\r\n,,,,\n:\n:::\n", 17) + std::string(5000, 'x') + "\n" +
                          std::string(200, ',') + "\n   \n\r\n-5:3\n1000000000000:1\n0:99999999999\nREM\n";
  for (const char* f : {"SatList.ini", "ObsList.ini", "BeacList.ini", "Horizon.ini"}) dir.Write(f, odd);
  platform::RecordingUiHost host;
  quenta::PlannerLists lists = quenta::LoadPlannerLists(dir.path, host);
  EXPECT_FALSE(lists.Satellites.empty());
  EXPECT_FALSE(lists.Observers.empty());
  EXPECT_EQ(lists.HorizonMask[0], 9999);  // only four characters after the colon are read
  for (std::size_t i = 1; i < lists.HorizonMask.size(); ++i) EXPECT_EQ(lists.HorizonMask[i], 0) << i;
  EXPECT_GE(host.messages.size(), 5u);  // the bad horizon lines, reported one by one
}
