// The planner window's window-free rules: stored settings, the key filter,
// the time toggle, the enabled horizon modes and the printout's pages.
#include <gtest/gtest.h>

#include "platform/settingsstore.h"
#include "quenta/ui/outputmirror.h"
#include "quenta/ui/planner_form.h"

namespace quenta {
namespace {

// The first start reads every default of the Startup and Position keys.
TEST(QuentaSettings, EmptyStoreGivesTheDefaults) {
  platform::MemorySettingsStore store;
  const StartupSettings s = ReadStartupSettings(store);
  EXPECT_EQ(s.KepsDirectory, "");
  EXPECT_EQ(s.Observer, 0);
  EXPECT_EQ(s.Satellite, 0);
  EXPECT_EQ(s.TimeZone, 0);
  EXPECT_EQ(s.TimeInterval, 0);
  EXPECT_EQ(s.MaximumSquint, 180);
  EXPECT_EQ(s.ListType, 0);
  const WindowPosition p = ReadWindowPosition(store, Form1TopValue, Form1LeftValue);
  EXPECT_EQ(p.Top, 20);
  EXPECT_EQ(p.Left, 20);
}

// "String to integer with a default": what a stored text reads back as.
TEST(QuentaSettings, StoredNumbersReadAsIntegersWithDefaults) {
  struct Case {
    const char* name;
    const char* stored;
    int expected;
  } cases[] = {
      {"negative squint is kept", "-5", -5},
      {"1-2 is not an integer", "1-2", 180},
      {"empty text", "", 180},
      {"decimal fraction is not an integer", "12.5", 180},
      {"plain number", "45", 45},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    platform::MemorySettingsStore store;
    store.write(StartupKey, MaximumSquintValue, c.stored);
    EXPECT_EQ(ReadStartupSettings(store).MaximumSquint, c.expected);
  }
}

TEST(QuentaSettings, CloseWritesEveryValueAsText) {
  platform::MemorySettingsStore store;
  ClosingControls c;
  c.KepsDirectory = "  /home/op/keps \t";
  c.Observer = -1;
  c.Satellite = 3;
  c.TimeZone = 4;
  c.TimeInterval = 7;
  c.MaximumSquint = "045";
  c.CheckedHorizonButton = 2;
  WriteStartupSettings(store, c);
  auto v = [&](const char* name) { return store.values.at({StartupKey, name}); };
  EXPECT_EQ(v(KepsDirectoryValue), "/home/op/keps");
  EXPECT_EQ(v(ObserverValue), "-1");
  EXPECT_EQ(v(SatelliteValue), "3");
  EXPECT_EQ(v(TimeZoneValue), "4");
  EXPECT_EQ(v(TimeIntervalValue), "7");
  EXPECT_EQ(v(MaximumSquintValue), "045");  // the edit's text, unchanged
  EXPECT_EQ(v(ListTypeValue), "2");
  c.CheckedHorizonButton = 0;
  WriteStartupSettings(store, c);
  EXPECT_EQ(v(ListTypeValue), "");  // none checked: empty text
  EXPECT_EQ(std::string(StartupKey), "Software\\VELM Programs\\Quenta\\Startup");
  EXPECT_EQ(std::string(PositionKey), "Software\\VELM Programs\\Quenta\\Position");
}

TEST(QuentaSettings, StoredIndexBeyondTheListSelectsNothing) {
  struct Case {
    const char* name;
    int stored, count, expected;
  } cases[] = {
      {"first entry", 0, 8, 0},
      {"last entry", 7, 8, 7},
      {"list got shorter", 8, 8, -1},
      {"far beyond", 25, 8, -1},
      {"stored -1", -1, 8, -1},
      {"other negative", -7, 8, -1},
      {"empty list", 0, 0, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(SelectableIndex(c.stored, c.count), c.expected);
  }
}

TEST(QuentaControls, KeyFilterKeepsDigitsDashColonAndBackspace) {
  struct Case {
    char32_t typed;
    bool kept;
  } cases[] = {{U'0', true}, {U'9', true},  {U'-', true},  {U':', true},  {U'\b', true},
               {U',', false}, {U'.', false}, {U'a', false}, {U' ', false}, {U'+', false}, {U'\u00e9', false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.typed));
    EXPECT_EQ(KeptByKeyFilter(c.typed), c.kept);
  }
}

TEST(QuentaControls, StartTimeTogglesBetweenMidnightAndNow) {
  EXPECT_EQ(ToggledStartTime("00:00", "14:07"), "14:07");
  EXPECT_EQ(ToggledStartTime("14:07", "14:08"), "00:00");
  EXPECT_EQ(ToggledStartTime("", "14:08"), "00:00");
  EXPECT_EQ(DateEditText(2018, 1, 5), "2018-01-05");
  EXPECT_EQ(TimeEditText(7, 3), "07:03");
}

TEST(QuentaControls, HorizonModesOffered) {
  EXPECT_TRUE(RadioHorizonEnabled(0));
  EXPECT_FALSE(RadioHorizonEnabled(1));
  EXPECT_FALSE(RadioHorizonEnabled(-1));
  EXPECT_FALSE(VisibleAndAllValuesEnabled(0));  // "R/S-T"
  EXPECT_TRUE(VisibleAndAllValuesEnabled(1));   // "R/S-O"
  EXPECT_TRUE(VisibleAndAllValuesEnabled(5));
  EXPECT_TRUE(VisibleAndAllValuesEnabled(-1));  // no selection
}

TEST(QuentaControls, AboutNamesVersionAndDate) {
  const std::string t = AboutText();
  EXPECT_NE(t.find("3.5c"), std::string::npos);
  EXPECT_NE(t.find("Last updated: 2002-08-10"), std::string::npos);
}

TEST(QuentaPrinting, LinesAndPages) {
  EXPECT_EQ(PrintLines("\r\nA\r\nB\r\n"), (std::vector<std::string>{"", "A", "B"}));
  EXPECT_EQ(PrintLines("A\nB"), (std::vector<std::string>{"A", "B"}));
  EXPECT_TRUE(PrintLines("").empty());
  const std::vector<std::string> seven = {"1", "2", "3", "4", "5", "6", "7"};
  const auto pages = Paginate(seven, 3);
  ASSERT_EQ(pages.size(), 3u);
  EXPECT_EQ(pages[2], (std::vector<std::string>{"7"}));
  // An empty output still prints one (empty) page.
  ASSERT_EQ(Paginate({}, 50).size(), 1u);
  EXPECT_TRUE(Paginate({}, 50)[0].empty());
}

TEST(QuentaOutputMirror, LineEndsBetweenBufferAndView) {
  EXPECT_EQ(ViewTextFor("a\r\nb\r\n"), "a\nb\n");
  EXPECT_EQ(ViewTextFor("a\rb"), "a\nb");
  EXPECT_EQ(BufferTextFor("a\nb\n"), "a\r\nb\r\n");
}

}  // namespace
}  // namespace quenta

namespace quenta {
namespace {

TEST(QuentaSetup, StoresTheKepsDirectoryOnlyWhereNoneIsStored) {
  struct Case {
    const char* name;
    const char* stored;  // nullptr: absent
    bool onlyIfUnset;
    bool expectStored;
  } cases[] = {
      {"absent", nullptr, true, true},
      {"empty text written by a start without a directory", "", true, true},
      {"blanks only", "  ", true, true},
      {"already set", "/home/op/keps", true, false},
      {"already set, forced", "/home/op/keps", false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    platform::MemorySettingsStore store;
    if (c.stored) store.write(StartupKey, KepsDirectoryValue, c.stored);
    EXPECT_EQ(StoreKepsDirectory(store, "/opt/demo-keps/", c.onlyIfUnset), c.expectStored);
    EXPECT_EQ(store.readText(StartupKey, KepsDirectoryValue, "<absent>"),
              c.expectStored ? std::string("/opt/demo-keps/") : std::string(c.stored));
  }
}

}  // namespace
}  // namespace quenta
