// Text-number conversions, the atomic file writer and the settings store double.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "navlib/textnum.h"
#include "platform/atomicfile.h"
#include "platform/settingsstore.h"

namespace fs = std::filesystem;
using navlib::ConvertError;

TEST(TextNum, StrictIntegers) {
  struct Case { const char* text; bool ok; int value; } cases[] = {
      {"12", true, 12}, {"  -7 ", true, -7}, {"+3", true, 3}, {"2147483647", true, 2147483647},
      {"-2147483648", true, -2147483647 - 1}, {"2147483648", false, 0}, {"", false, 0},
      {"-", false, 0}, {"1.5", false, 0}, {"12a", false, 0}, {"1 2", false, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    if (c.ok) EXPECT_EQ(navlib::StrToInt(c.text), c.value);
    else EXPECT_THROW(navlib::StrToInt(c.text), ConvertError);
  }
  EXPECT_EQ(navlib::StrToIntDef("x", 42), 42);
}

TEST(TextNum, StrictFloatsIgnoreTheDecimalCommaLocale) {
  // A German desktop must not turn "1.5" into 1 or accept "1,5".
  const char* old = std::setlocale(LC_ALL, nullptr);
  std::string saved = old ? old : "C";
  bool haveComma = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
  EXPECT_DOUBLE_EQ(navlib::StrToFloat(" 1.5 "), 1.5);
  EXPECT_DOUBLE_EQ(navlib::StrToFloat("-2e3"), -2000.0);
  EXPECT_DOUBLE_EQ(navlib::StrToFloat(".5"), 0.5);
  for (const char* bad : {"1,5", "1.2.3", "-", "", "e5", "inf", "nan", "0x10", "5e"}) {
    SCOPED_TRACE(bad);
    EXPECT_THROW(navlib::StrToFloat(bad), ConvertError);
  }
  EXPECT_DOUBLE_EQ(navlib::LeadingDouble("  12.25abc"), 12.25);
  EXPECT_DOUBLE_EQ(navlib::LeadingDouble("abc"), 0.0);
  EXPECT_EQ(navlib::Format("%.2f|%5.1f", 1.5, -2.25), "1.50| -2.2");
  std::setlocale(LC_ALL, saved.c_str());
  if (!haveComma) GTEST_LOG_(INFO) << "de_DE.UTF-8 not installed; checked in the C locale only";
}

TEST(AtomicFile, ReplacesAndKeepsOldOnFailure) {
  fs::path dir = fs::temp_directory_path() / "velm_atomic_test";
  fs::remove_all(dir);
  fs::create_directories(dir);
  std::string path = (dir / "EL-TEST.kep").string();
  std::string err;
  ASSERT_TRUE(platform::WriteFileAtomically(path, "first", &err)) << err;
  ASSERT_TRUE(platform::WriteFileAtomically(path, "second", &err)) << err;
  std::string got;
  ASSERT_TRUE(platform::ReadWholeFile(path, &got));
  EXPECT_EQ(got, "second");
  // A directory that does not exist: a message, nothing written.
  EXPECT_FALSE(platform::WriteFileAtomically((dir / "missing" / "x").string(), "x", &err));
  EXPECT_NE(err.find("Cannot write"), std::string::npos);
  // A directory is not a readable file.
  EXPECT_FALSE(platform::ReadWholeFile(dir.string(), &got));
  // No temporary files left behind.
  int count = 0;
  for (auto& e : fs::directory_iterator(dir)) { (void)e; ++count; }
  EXPECT_EQ(count, 1);
  fs::remove_all(dir);
}

TEST(SettingsStore, IntegerReadsFallBackToTheDefault) {
  platform::MemorySettingsStore s;
  const std::string key = "Software\\VELM Programs\\Quenta\\Position";
  EXPECT_EQ(s.readInt(key, "Top", 33), 33);
  s.write(key, "Top", "120");
  s.write(key, "Left", "abc");
  EXPECT_EQ(s.readInt(key, "Top", 33), 120);
  EXPECT_EQ(s.readInt(key, "Left", 7), 7);
  EXPECT_EQ(s.readText(key, "None", "d"), "d");
  s.failFlush = true;
  std::string err;
  EXPECT_FALSE(s.flush(&err));
  EXPECT_FALSE(err.empty());
}
