// The attitude data file reader: record lines, directives, what is ignored,
// what raises the conversion error, and the room of the tables.
#include <gtest/gtest.h>

#include "gimbra/core/attitudedata.h"
#include "gimbra/core/plot.h"
#include "navlib/textnum.h"
#include "plotfixture.h"

namespace {

using gimbra::AttitudeData;
using gimbra::ReadAttitudeText;

AttitudeData Read(const std::string& text, float esl = 0, float esu = 0, std::string* notice = nullptr) {
  AttitudeData d;
  ReadAttitudeText(text, esl, esu, d, notice);
  return d;
}

TEST(AttitudeData, SeparatorsAndAGluedKeywordGiveTheSameValues) {
  const char* lines[] = {
      "SS 2002, 245.625, 73",
      "SS 2002,245.625,73",
      "SS 2002 ,245.625 ,73",
      "SS2002,245.625,73",
      "   SS   2002 ,  245.625,   73   ",
      "SS 2.002e3, 2.45625E2, 73",
      "\tSS 2002,\t245.625,\t73\t",
  };
  for (const char* line : lines) {
    SCOPED_TRACE(line);
    const AttitudeData d = Read(line);
    ASSERT_EQ(d.SunSensorRecords.Count, 1);
    EXPECT_FLOAT_EQ(d.SunSensorRecords.Items[0].Year, 2002);
    EXPECT_FLOAT_EQ(d.SunSensorRecords.Items[0].DayOfYear, 245.625f);
    EXPECT_FLOAT_EQ(d.SunSensorRecords.Items[0].SensorMa, 73);
  }
}

TEST(AttitudeData, EveryRecordKindStoresItsFieldsInFileOrder) {
  const AttitudeData d = Read(
      "SS 2002, 245.625, 73\n"
      "ES 1234, 40.5, 112.25, 1\r\n"
      "EM 7, 0.25, 0.5, -1\r"
      "SQ 52.4, 13.1, 2002, 245, 14, 30, 61.5\n"
      "CM 2002, 245, 14, 30, 5, 1.5\n"
      "CL 2003, 12, 1, 2, 3, 4.5\n"
      "EA 1234, 100.5, 60.25, 70.75, 1\n");
  ASSERT_EQ(d.EarthSensorRecords.Count, 1);
  EXPECT_FLOAT_EQ(d.EarthSensorRecords.Items[0].Orbit, 1234);
  EXPECT_FLOAT_EQ(d.EarthSensorRecords.Items[0].MaLower, 40.5f);
  EXPECT_FLOAT_EQ(d.EarthSensorRecords.Items[0].MaUpper, 112.25f);
  EXPECT_FLOAT_EQ(d.EarthSensorRecords.Items[0].LimbFactor, 1);
  ASSERT_EQ(d.EarthMaRecords.Count, 1);
  EXPECT_FLOAT_EQ(d.EarthMaRecords.Items[0].FirstValue, 7);
  EXPECT_FLOAT_EQ(d.EarthMaRecords.Items[0].TimeLower, 0.25f);
  EXPECT_FLOAT_EQ(d.EarthMaRecords.Items[0].TimeUpper, 0.5f);
  EXPECT_FLOAT_EQ(d.EarthMaRecords.Items[0].LimbFactor, -1);
  ASSERT_EQ(d.SquintRecords.Count, 1);
  EXPECT_FLOAT_EQ(d.SquintRecords.Items[0].StationLat, 52.4f);
  EXPECT_FLOAT_EQ(d.SquintRecords.Items[0].StationLon, 13.1f);
  EXPECT_FLOAT_EQ(d.SquintRecords.Items[0].Minute, 30);
  EXPECT_FLOAT_EQ(d.SquintRecords.Items[0].SquintAngle, 61.5f);
  ASSERT_EQ(d.CameraEarthRecords.Count, 1);
  EXPECT_FLOAT_EQ(d.CameraEarthRecords.Items[0].Second, 5);
  EXPECT_FLOAT_EQ(d.CameraEarthRecords.Items[0].Angle, 1.5f);
  ASSERT_EQ(d.CameraMoonRecords.Count, 1);
  EXPECT_FLOAT_EQ(d.CameraMoonRecords.Items[0].Year, 2003);
  EXPECT_FLOAT_EQ(d.CameraMoonRecords.Items[0].Angle, 4.5f);
  ASSERT_EQ(d.EarthArcRecords.Count, 1);
  EXPECT_FLOAT_EQ(d.EarthArcRecords.Items[0].Ma, 100.5f);
  EXPECT_FLOAT_EQ(d.EarthArcRecords.Items[0].Arc1, 60.25f);
  EXPECT_FLOAT_EQ(d.EarthArcRecords.Items[0].Arc2, 70.75f);
  EXPECT_FLOAT_EQ(d.EarthArcRecords.Items[0].EdgeFlag, 1);
}

TEST(AttitudeData, CameraRemarkAfterTheSixthValueIsIgnored) {
  for (const char* kind : {"CM", "CL"}) {
    SCOPED_TRACE(kind);
    const AttitudeData with = Read(std::string(kind) + " 2002, 245, 14, 30, 5, 1.5, picture 17, more");
    const AttitudeData without = Read(std::string(kind) + " 2002, 245, 14, 30, 5, 1.5");
    const auto& a = std::string(kind) == "CM" ? with.CameraEarthRecords : with.CameraMoonRecords;
    const auto& b = std::string(kind) == "CM" ? without.CameraEarthRecords : without.CameraMoonRecords;
    ASSERT_EQ(a.Count, 1);
    ASSERT_EQ(b.Count, 1);
    EXPECT_FLOAT_EQ(a.Items[0].Angle, b.Items[0].Angle);
    EXPECT_FLOAT_EQ(a.Items[0].Minute, 30);
  }
}

TEST(AttitudeData, LinesThatAreNoRecordAreIgnored) {
  const AttitudeData d = Read(
      "REM sun sensor and Earth-sensor data of one pass\n"
      "REMARK: a comment too, SS 1,2,3\n"
      "ss 2002, 245.625, 73\n"
      "\n"
      "   \n"
      "Sx 1, 2, 3\n"
      "COLOR_XX Red\n"
      "SS 2002, 1, 2\n");
  EXPECT_EQ(d.SunSensorRecords.Count, 1);
  EXPECT_EQ(d.EarthArcRecords.Count, 0);
  EXPECT_EQ(Read("").SunSensorRecords.Count, 0);
  EXPECT_EQ(Read("REM only\r\nREM comments\r\n").SunSensorRecords.Count, 0);
}

TEST(AttitudeData, BadRecordsRaiseTheConversionErrorAndKeepEarlierRecords) {
  struct Case {
    const char* name;
    const char* line;
    const char* message;
  } cases[] = {
      {"one field too few: the field before the missing one finds no comma", "ES 1234, 40.5, 1",
       "'' is not a valid floating point value"},
      {"a comma after the last number of a non-camera record", "SS 2002, 245.625, 73,",
       "'73,' is not a valid floating point value"},
      {"a field that is no number", "SQ 52.4, 13.1, 2002, x245, 14, 30, 61.5",
       "'x245' is not a valid floating point value"},
      {"an empty field", "EA 1, , 3, 4, 0", "'' is not a valid floating point value"},
      {"surplus after the last field", "EM 1, 2, 3, 4, 5", "'4, 5' is not a valid floating point value"},
      {"a lone minus sign", "CL 2002, 1, 2, 3, 4, -", "'-' is not a valid floating point value"},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.name);
    AttitudeData d;
    const std::string text = std::string("SS 1, 2, 3\nES 5, 6, 7, 1\n") + k.line + "\nSS 4, 5, 6\n";
    try {
      ReadAttitudeText(text, 0, 0, d, nullptr);
      ADD_FAILURE() << "no conversion error";
    } catch (const navlib::ConvertError& e) {
      EXPECT_STREQ(e.what(), k.message);
    }
    EXPECT_EQ(d.SunSensorRecords.Count, 1);  // the one before; the one after is never read
    EXPECT_EQ(d.EarthSensorRecords.Count, 1);
  }
}

TEST(AttitudeData, ColourDirectives) {
  using platform::Color;
  struct Case {
    const char* name;
    const char* text;
    Color ea1, ea2;
  } cases[] = {
      {"two names", "COLOR_EA Lime, Yellow", platform::clLime, platform::clYellow},
      {"a single name sets the second colour", "COLOR_EA Lime", platform::clBlack, platform::clLime},
      {"Gray is not a name: only the second changes", "COLOR_EA Gray, Aqua", platform::clBlack, platform::clAqua},
      {"names are case-sensitive", "COLOR_EA red, RED", platform::clBlack, platform::clBlack},
      {"directives apply to the whole file: the last wins", "COLOR_EA Red, Red\nCOLOR_EA Blue, Navy",
       platform::clBlue, platform::clNavy},
      {"no directive: black", "SS 1, 2, 3", platform::clBlack, platform::clBlack},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.name);
    AttitudeData d;
    d.EarthArcColor1 = platform::clWhite;  // from an earlier Draw: reset at every read
    ReadAttitudeText(k.text, 0, 0, d, nullptr);
    EXPECT_EQ(d.EarthArcColor1, k.ea1);
    EXPECT_EQ(d.EarthArcColor2, k.ea2);
  }
}

TEST(AttitudeData, CameraColoursPersistAcrossDraws) {
  AttitudeData d;
  EXPECT_EQ(d.CameraEarthColor, platform::clNavy);
  EXPECT_EQ(d.CameraMoonColor, platform::clPurple);
  ReadAttitudeText("COLOR_CM Red\nCOLOR_CL Lime\nCOLOR_CL Teal\n", 0, 0, d, nullptr);
  EXPECT_EQ(d.CameraEarthColor, platform::clRed);
  EXPECT_EQ(d.CameraMoonColor, platform::clTeal);  // the later line wins
  ReadAttitudeText("SS 1, 2, 3\nCOLOR_CM Grey\n", 0, 0, d, nullptr);  // no known name: unchanged
  EXPECT_EQ(d.CameraEarthColor, platform::clRed);
  EXPECT_EQ(d.CameraMoonColor, platform::clTeal);
  EXPECT_EQ(gimbra::AttitudeColorNames.size(), 15u);
}

TEST(AttitudeData, FudgeIsAddedToTheEarthArcsWhileReading) {
  // 2 + 0.5 and 3 - 0.5.
  const AttitudeData d = Read("EA 1, 2, 2, 3, 0", 0.5f, -0.5f);
  ASSERT_EQ(d.EarthArcRecords.Count, 1);
  EXPECT_FLOAT_EQ(d.EarthArcRecords.Items[0].Arc1, 2.5f);
  EXPECT_FLOAT_EQ(d.EarthArcRecords.Items[0].Arc2, 2.5f);
  EXPECT_FLOAT_EQ(d.EarthArcRecords.Items[0].Ma, 2);
}

TEST(AttitudeData, TablesAreNeverOverrunAndTheFirstSurplusIsReportedOnce) {
  struct Case {
    const char* kind;
    const char* fields;
    int room;
  } cases[] = {{"SS", "1, 2, 3", 100}, {"CM", "1, 2, 3, 4, 5, 6", 50},
               {"CL", "1, 2, 3, 4, 5, 6", 50}, {"EA", "1, 2, 3, 4, 0", 100}};
  for (const auto& k : cases) {
    SCOPED_TRACE(k.kind);
    std::string text;
    for (int i = 0; i < k.room + 7; ++i) text += std::string(k.kind) + " " + k.fields + "\n";
    text += "ES 1, 2, 3, 1\n";
    std::string notice;
    const AttitudeData d = Read(text, 0, 0, &notice);
    int count = 0;
    if (std::string(k.kind) == "SS") count = d.SunSensorRecords.Count;
    if (std::string(k.kind) == "CM") count = d.CameraEarthRecords.Count;
    if (std::string(k.kind) == "CL") count = d.CameraMoonRecords.Count;
    if (std::string(k.kind) == "EA") count = d.EarthArcRecords.Count;
    EXPECT_EQ(count, k.room);
    EXPECT_EQ(d.EarthSensorRecords.Count, 1);  // reading went on
    EXPECT_NE(notice.find("line " + std::to_string(k.room + 1) + " "), std::string::npos) << notice;
    EXPECT_NE(notice.find(k.kind), std::string::npos);
  }
}

TEST(AttitudeData, OverlongLinesAreCutAndReadingMovesOn) {
  // The record fits in the first 89 characters; the rest of the line,
  // which would be a bad field, is cut away.
  std::string longLine = "SS 2002, 245.625, 73";
  longLine += std::string(89 - longLine.size(), ' ');
  longLine += "junk that is never read, , ,\n";
  std::string text = longLine + std::string(5000, 'x') + "\nSS 1, 2, 3\n";
  const AttitudeData d = Read(text);
  ASSERT_EQ(d.SunSensorRecords.Count, 2);
  EXPECT_FLOAT_EQ(d.SunSensorRecords.Items[0].SensorMa, 73);
  EXPECT_FLOAT_EQ(d.SunSensorRecords.Items[1].Year, 1);
}

TEST(AttitudeData, LoadReadsTheFileOfTheKepsDirectoryAndAMissingFileGivesEmptyTables) {
  gimbratest::PlotFixture f;
  f.data.SunSensorRecords.Count = 5;
  f.data.EarthArcColor1 = platform::clRed;
  f.inputs.DataFileName = "no such file.ang";
  auto ctx = f.Context();
  gimbra::LoadAttitudeData(ctx);
  EXPECT_EQ(f.data.SunSensorRecords.Count, 0);
  EXPECT_EQ(f.data.EarthArcColor1, platform::clBlack);
  EXPECT_TRUE(f.host.messages.empty());

  f.inputs.DataFileName = "sample.ang";
  gimbra::LoadAttitudeData(ctx);
  EXPECT_EQ(f.data.SunSensorRecords.Count, 1);
  EXPECT_EQ(f.data.EarthSensorRecords.Count, 1);
  EXPECT_EQ(f.data.CameraEarthRecords.Count, 1);
  EXPECT_EQ(f.data.CameraEarthColor, platform::clRed);
  EXPECT_EQ(f.data.EarthArcColor1, platform::clLime);
  EXPECT_EQ(f.data.EarthArcColor2, platform::clYellow);
}

}  // namespace
