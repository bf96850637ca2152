// The keps writer: the file the reader reads, every stored value kept as the
// same float, the attitude rounded to four decimals, atomic replacement, no
// write without a successful read, a failed write reported.
#include <gtest/gtest.h>

#include <clocale>
#include <cstring>
#include <filesystem>
#include <string>

#include "extras_fixture.h"
#include "gimbra/core/kepswriter.h"
#include "navlib/navlib.h"
#include "platform/atomicfile.h"
#include "platform/uihost.h"

namespace {

namespace fs = std::filesystem;
using gimbra::KepsWriteStatus;
using gimbra::WriteKepsWithAttitude;

// The fixture file's line, as committed.
const char* const kFixtureLine =
    "2002,245.12345678,64.0955,328.6419,0.7,271.653,337.4037,2.05868456,24247,26535.37,0.1,0.2,0.3,1.5e-07,"
    "-5.9564598e-05";

struct WriterWorld {
  extrastest::TempDir dir;
  navlib::NavState nav;
  platform::RecordingUiHost host;
  explicit WriterWorld(const std::string& satName = "KEPSW", const std::string& fileFive = "KEPSW",
                       const std::string& line = kFixtureLine) {
    navlib::NavInit(nav);
    nav.KepsDir = dir.WithSeparator();
    nav.SatName = satName;
    extrastest::WriteText(dir.Path() + "/EL-" + fileFive + ".kep", line);
  }
  std::string File(const std::string& five) const { return dir.Path() + "/EL-" + five + ".kep"; }
};

bool SameFloat(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// Source of the expected texts: tools/reference/keps_field_texts.py (the
// float32 nearest each value, and the shortest text that reads back as it).
TEST(KepsWriter, LineKeepsEveryValueWithTheFewestDigits) {
  WriterWorld w;
  const auto r = WriteKepsWithAttitude(w.nav, navlib::Vec3{0.123456f, -0.00004f, -0.00006f}, w.host);
  ASSERT_EQ(r.Status, KepsWriteStatus::Written) << r.Message;
  EXPECT_EQ(r.Text,
            "2002,245.12346,64.0955,328.6419,0.7,271.653,337.4037,2.0586846,24247,26535.37,0.1235,0,-0.0001,1.5e-07,"
            "-5.9564598e-05");
  std::string onDisk;
  ASSERT_TRUE(platform::ReadWholeFile(w.File("KEPSW"), &onDisk));
  EXPECT_EQ(onDisk, r.Text);  // one line, no line break at the end
  EXPECT_TRUE(w.host.messages.empty());
}

TEST(KepsWriter, ReadBackGivesTheSameFloatsAndTheRoundedAttitude) {
  WriterWorld w;
  navlib::ElementSet before;
  ASSERT_TRUE(navlib::ReadKepsFileUnits(w.nav, before));
  struct Case {
    const char* name;
    navlib::Vec3 attitude;
    navlib::Vec3 expected;  // RoundTo(x, 4) by hand: floor(x * 10^4 + 0.5) / 10^4
  } cases[] = {
      {"unit axis", {-0.2105441f, 0.65599734f, 0.7248025f}, {-0.2105f, 0.656f, 0.7248f}},
      {"tiny components", {0.123456f, -0.00004f, -0.00006f}, {0.1235f, 0.0f, -0.0001f}},
      {"zero: no attitude", {0, 0, 0}, {0, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(WriteKepsWithAttitude(w.nav, c.attitude, w.host).Status, KepsWriteStatus::Written);
    navlib::ElementSet after;
    ASSERT_TRUE(navlib::ReadKepsFileUnits(w.nav, after));
    for (int i = 0; i < 15; ++i) {
      if (i >= 10 && i <= 12) continue;
      EXPECT_TRUE(SameFloat(after.Field(i), before.Field(i))) << "field " << i << ": " << after.Field(i)
                                                               << " != " << before.Field(i);
    }
    EXPECT_FLOAT_EQ(after.Attitude.x, c.expected.x);
    EXPECT_FLOAT_EQ(after.Attitude.y, c.expected.y);
    EXPECT_FLOAT_EQ(after.Attitude.z, c.expected.z);
    // The reader of both programs: HasAttitude follows the three components.
    ASSERT_TRUE(navlib::ReadKeps(w.nav));
    EXPECT_EQ(w.nav.HasAttitude, c.expected.x != 0 || c.expected.y != 0 || c.expected.z != 0);
  }
}

TEST(KepsWriter, SecondSaveWritesAnIdenticalFile) {
  WriterWorld w;
  const navlib::Vec3 axis{0.3f, -0.4f, 0.866025f};
  ASSERT_EQ(WriteKepsWithAttitude(w.nav, axis, w.host).Status, KepsWriteStatus::Written);
  std::string first, second;
  ASSERT_TRUE(platform::ReadWholeFile(w.File("KEPSW"), &first));
  ASSERT_EQ(WriteKepsWithAttitude(w.nav, axis, w.host).Status, KepsWriteStatus::Written);
  ASSERT_TRUE(platform::ReadWholeFile(w.File("KEPSW"), &second));
  EXPECT_EQ(first, second);
}

TEST(KepsWriter, TheLibraryElementSetStaysUntouched) {
  WriterWorld w;
  ASSERT_TRUE(navlib::SetupElements(w.nav));
  const navlib::ElementSet held = w.nav.Elements;
  const float epochDay = w.nav.EpochDay;
  ASSERT_EQ(WriteKepsWithAttitude(w.nav, navlib::Vec3{1, 0, 0}, w.host).Status, KepsWriteStatus::Written);
  EXPECT_EQ(std::memcmp(&held, &w.nav.Elements, sizeof held), 0);
  EXPECT_EQ(w.nav.EpochDay, epochDay);  // still the fraction of the day set-up left
}

TEST(KepsWriter, LongNameWritesTheFileTheReaderReads) {
  // "EL-" + the first five characters, as the reader builds it.
  WriterWorld w("KEPSWRITER-7", "KEPSW");
  ASSERT_EQ(WriteKepsWithAttitude(w.nav, navlib::Vec3{0, 0.6f, 0.8f}, w.host).Status, KepsWriteStatus::Written);
  EXPECT_FALSE(fs::exists(w.dir.Path() + "/El-KEPSWRITER-7.kep"));
  EXPECT_FALSE(fs::exists(w.dir.Path() + "/EL-KEPSWRITER-7.kep"));
  ASSERT_TRUE(navlib::ReadKeps(w.nav));
  EXPECT_TRUE(w.nav.HasAttitude);
  EXPECT_FLOAT_EQ(w.nav.Elements.Attitude.y, 0.6f);
  EXPECT_FLOAT_EQ(w.nav.Elements.Attitude.z, 0.8f);
}

TEST(KepsWriter, MirBecomesMir1) {
  WriterWorld w("MIR", "MIR");
  const auto r = WriteKepsWithAttitude(w.nav, navlib::Vec3{0, 0, 1}, w.host);
  ASSERT_EQ(r.Status, KepsWriteStatus::Written);
  EXPECT_EQ(w.nav.SatName, "MIR-1");
  EXPECT_EQ(fs::path(r.Path).filename().string(), "EL-MIR-1.kep");
  std::string old;
  ASSERT_TRUE(platform::ReadWholeFile(w.File("MIR"), &old));
  EXPECT_EQ(old, kFixtureLine);  // read, not written
  // Until the next Draw the reader uses the new name too.
  ASSERT_TRUE(navlib::ReadKeps(w.nav));
  EXPECT_FLOAT_EQ(w.nav.Elements.Attitude.z, 1.0f);
}

TEST(KepsWriter, NoWriteWhenTheFileCouldNotBeRead) {
  WriterWorld w("NOSUCH", "KEPSW");
  const auto r = WriteKepsWithAttitude(w.nav, navlib::Vec3{0, 0, 1}, w.host);
  EXPECT_EQ(r.Status, KepsWriteStatus::NotRead);
  ASSERT_EQ(w.host.messages.size(), 1u);
  EXPECT_EQ(w.host.messages[0], navlib::KepsNotFoundText);
  EXPECT_FALSE(fs::exists(w.File("NOSUC")));
  EXPECT_EQ(std::distance(fs::directory_iterator(w.dir.Path()), fs::directory_iterator()), 1);
}

TEST(KepsWriter, FailedWriteIsReportedAndTheOldFileStays) {
  // A directory so deep that the keps file itself can still be opened but
  // the temporary file beside it (12 characters longer) cannot be named:
  // the replacement fails even for the superuser.
  extrastest::TempDir top;
  std::string dir = top.Path();
  const std::string part(200, 'd');
  const std::size_t fileName = std::strlen("/EL-KEPSW.kep");
  while (dir.size() + 1 + part.size() + fileName < 4080) dir += "/" + part;
  dir += "/" + std::string(4088 - 1 - dir.size() - fileName, 'e');
  std::error_code ec;
  fs::create_directories(dir, ec);
  const std::string file = dir + "/EL-KEPSW.kep";
  ASSERT_EQ(file.size(), 4088u);
  std::string probe;
  if (ec || !extrastest::WriteText(file, kFixtureLine) || !platform::ReadWholeFile(file, &probe))
    GTEST_SKIP() << "no file this deep on this system";

  navlib::NavState nav;
  navlib::NavInit(nav);
  nav.KepsDir = dir + "/";
  nav.SatName = "KEPSW";
  platform::RecordingUiHost host;
  const auto r = WriteKepsWithAttitude(nav, navlib::Vec3{0, 0, 1}, host);
  EXPECT_EQ(r.Status, KepsWriteStatus::WriteFailed);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].rfind(gimbra::KepsNotWrittenText, 0), 0u) << host.messages[0];
  std::string after;
  ASSERT_TRUE(platform::ReadWholeFile(file, &after));
  EXPECT_EQ(after, kFixtureLine);
}

TEST(KepsWriter, DecimalCommaLocaleWritesPoints) {
  const std::string saved = std::setlocale(LC_ALL, nullptr);
  const bool haveComma = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
  WriterWorld w;
  const auto r = WriteKepsWithAttitude(w.nav, navlib::Vec3{0.5f, 0.5f, 0.7071f}, w.host);
  std::setlocale(LC_ALL, saved.c_str());
  ASSERT_EQ(r.Status, KepsWriteStatus::Written);
  EXPECT_EQ(r.Text.rfind("2002,245.12346,64.0955,", 0), 0u) << r.Text;
  EXPECT_NE(r.Text.find(",0.5,0.5,0.7071,"), std::string::npos) << r.Text;
  if (!haveComma) GTEST_LOG_(INFO) << "de_DE.UTF-8 not installed; checked in the C locale only";
}

}  // namespace
