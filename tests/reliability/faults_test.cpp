// Faults of the file system: a keps file, an imported element set and the
// settings written into a directory without write permission or onto a full
// file system give a clear message and leave the previous file intact; a
// keps directory that does not exist, list files that are directories and
// element-set files that are binary or directories are met with clear
// behaviour and no crash.
//
// Root writes into any directory whatever its permissions, so the writes run
// in a child process that first becomes the user "nobody"; a full file system
// is a cap on the size of the files the child may write (RLIMIT_FSIZE), which
// makes the write fail half-way exactly as a full disk does.
#include <gtest/gtest.h>

#include <sstream>

#include "gimbra/core/kepswriter.h"
#include "gimbra/core/plot.h"
#include "navlib/navlib.h"
#include "platform/atomicfile.h"
#include "platform/recordingcanvas.h"
#include "platform/uihost.h"
#include "quenta/cli/plan_command.h"
#include "quenta/core/planner_lists.h"
#include "quenta/import/import_command.h"
#include "reliability_fixtures.h"
#if VELM_TEST_QT_SETTINGS
#include "platform/qt/qtsettingsstore.h"
#endif

namespace {

using reltest::TempDir;

const char* const kOldKeps = "2018,20.89809,51.6424,32.9776,0.0003646,28.7227,39.5332,15.5419,9561,6780,0,0,0,0,0";

const char* const kIssTle =
    "ISS (ZARYA)\n"
    "1 25544U 98067A   18015.54791667  .00001883  00000-0  35616-4 0  9995\n"
    "2 25544  51.6424 289.0314 0003597 326.1541  96.3236 15.54314981 95236\n";

// Exit codes the children report with.
constexpr int kRefusedCleanly = 0;   // the write failed and said so
constexpr int kWrittenAnyway = 10;   // the write claimed success
constexpr int kNoMessage = 11;       // failed without a readable message

// How the write is kept from succeeding.
enum class Fault { ReadOnlyDirectory, FullFileSystem };

struct FaultCase {
  const char* label;
  Fault fault;
};

const FaultCase kFaults[] = {{"ReadOnlyDirectory", Fault::ReadOnlyDirectory},
                             {"FullFileSystem", Fault::FullFileSystem}};

class WriteFaults : public ::testing::TestWithParam<FaultCase> {
 protected:
  // The directory with its previous files, then made unwritable (or left
  // writable for the file-size cap: the cap is what fails there).
  void Prepare(TempDir& dir) {
    if (GetParam().fault == Fault::ReadOnlyDirectory) {
      reltest::MakeReadOnlyDir(dir.str());
    } else {
      reltest::fs::permissions(dir.str(), reltest::fs::perms::all);
    }
    if (!reltest::OrdinaryUserCanEnter(dir.str())) GTEST_SKIP() << "the user nobody cannot reach " << dir.str();
  }
  int Run(const std::function<int()>& body) {
    // 20 bytes: less than any keps file or settings file written here.
    return reltest::RunAsOrdinaryUser(body, GetParam().fault == Fault::FullFileSystem ? 20 : 0);
  }
};

TEST_P(WriteFaults, AtomicReplaceFailsWithAReasonAndKeepsTheOldFile) {
  TempDir dir("atomic");
  reltest::WriteText(dir / "file.txt", "previous contents\n");
  Prepare(dir);
  const int code = Run([&] {
    std::string reason;
    if (platform::WriteFileAtomically(dir / "file.txt", std::string(4096, 'x'), &reason)) return kWrittenAnyway;
    return reason.find("Cannot write") != std::string::npos ? kRefusedCleanly : kNoMessage;
  });
  EXPECT_EQ(code, kRefusedCleanly);
  EXPECT_EQ(reltest::ReadText(dir / "file.txt"), "previous contents\n");
  // No temporary file is left behind.
  int files = 0;
  for (const auto& e : reltest::fs::directory_iterator(dir.str())) files += e.is_regular_file() ? 1 : 0;
  EXPECT_EQ(files, 1);
}

TEST_P(WriteFaults, PlotterKepsWriterReportsAndKeepsTheOldFile) {
  TempDir dir("writer");
  reltest::WriteText(dir / "EL-ABS.kep", kOldKeps);
  Prepare(dir);
  const int code = Run([&] {
    navlib::NavState nav;
    navlib::NavInit(nav);
    nav.KepsDir = dir.slash();
    nav.SatName = "ABS";
    platform::RecordingUiHost host;
    const gimbra::KepsWriteResult r = gimbra::WriteKepsWithAttitude(nav, navlib::Vec3{0.6f, 0, 0.8f}, host);
    if (r.Status == gimbra::KepsWriteStatus::Written) return kWrittenAnyway;
    const bool told = r.Status == gimbra::KepsWriteStatus::WriteFailed && host.messages.size() == 1 &&
                      host.messages[0].rfind(gimbra::KepsNotWrittenText, 0) == 0;
    return told ? kRefusedCleanly : kNoMessage;
  });
  EXPECT_EQ(code, kRefusedCleanly);
  EXPECT_EQ(reltest::ReadText(dir / "EL-ABS.kep"), kOldKeps);
}

TEST_P(WriteFaults, ImportReportsTheFileAndKeepsTheOldKepsFile) {
  TempDir source("import-src");
  reltest::WriteText(source / "iss.tle", kIssTle);
  TempDir dir("import");
  reltest::WriteText(dir / "EL-ISS.kep", kOldKeps);
  Prepare(dir);
  const int code = Run([&] {
    std::ostringstream out, err;
    const int exit = quenta::RunImportCommandAt({"--keps-dir", dir.str(), source / "iss.tle"}, out, err, 1.52e9);
    if (exit == 0) return kWrittenAnyway;
    return exit == 2 && err.str().find("EL-ISS.kep") != std::string::npos ? kRefusedCleanly : kNoMessage;
  });
  EXPECT_EQ(code, kRefusedCleanly);
  EXPECT_EQ(reltest::ReadText(dir / "EL-ISS.kep"), kOldKeps);
}

TEST_P(WriteFaults, ImportWithSatListKeepsTheOldList) {
  TempDir source("import-src");
  reltest::WriteText(source / "iss.tle", kIssTle);
  TempDir dir("import");
  reltest::WriteText(dir / "SatList.ini", "AO-10\r\n");
  Prepare(dir);
  const int code = Run([&] {
    std::ostringstream out, err;
    const int exit =
        quenta::RunImportCommandAt({"--keps-dir", dir.str(), source / "iss.tle", "--satlist"}, out, err, 1.52e9);
    if (exit == 0) return kWrittenAnyway;
    return exit == 2 && !err.str().empty() ? kRefusedCleanly : kNoMessage;
  });
  EXPECT_EQ(code, kRefusedCleanly);
  EXPECT_EQ(reltest::ReadText(dir / "SatList.ini"), "AO-10\r\n");
}

#if VELM_TEST_QT_SETTINGS
TEST_P(WriteFaults, SettingsStoreReportsAndKeepsTheOldSettings) {
  TempDir dir("settings");
  const std::string old = "[Software]\nVELM%20Programs\\Quenta\\Startup\\Keps%20Directory=/old\n";
  reltest::WriteText(dir / "VELM.ini", old);
  Prepare(dir);
  const int code = Run([&] {
    platform::QtSettingsStore store(dir / "VELM.ini");
    store.write("Software\\VELM Programs\\Quenta\\Startup", "Keps Directory", std::string(300, 'n'));
    std::string error;
    if (store.flush(&error)) return kWrittenAnyway;
    return error.find("could not be saved") != std::string::npos ? kRefusedCleanly : kNoMessage;
  });
  EXPECT_EQ(code, kRefusedCleanly);
  EXPECT_EQ(reltest::ReadText(dir / "VELM.ini"), old);
}
#endif

INSTANTIATE_TEST_SUITE_P(Faults, WriteFaults, ::testing::ValuesIn(kFaults),
                         [](const auto& info) { return std::string(info.param.label); });

// ---- Missing and odd files ----

// The name of the first built-in observer line (used when there is no "ObsList.ini").
std::string FirstBuiltInObserver() {
  const std::string& line = quenta::BuiltInObservers().front();
  std::string name = line.substr(0, line.find(','));
  while (!name.empty() && name.back() == ' ') name.pop_back();
  return name;
}

std::vector<std::string> PlanArgs(const std::string& dir, const std::string& satellite) {
  return {"--keps-dir", dir,           "--observer", FirstBuiltInObserver(),      "--satellite", satellite, "--zone",
          "UTC",        "--interval", "10",         "--start",    "2018-01-21",  "--finish", "2018-01-21"};
}

TEST(MissingKepsDirectory, PlanRunEndsWithTheKepsMessage) {
  TempDir parent("missing");
  std::ostringstream out, err;
  // No SatList.ini either: the built-in list, which holds ISS.
  const int code = quenta::RunPlanCommand(PlanArgs(parent / "no-such-dir", "ISS"), out, err);
  EXPECT_EQ(code, 2);
  EXPECT_EQ(err.str(), std::string(navlib::KepsNotFoundText) + "\n");
}

TEST(MissingKepsDirectory, DrawStopsWithTheKepsMessageAndDrawsNothing) {
  TempDir parent("missing");
  navlib::NavState nav;
  navlib::NavInit(nav);
  platform::RecordingUiHost host;
  nav.KepsDir = parent / "no-such-dir/";
  nav.Host = &host;
  gimbra::PlotState plot;
  gimbra::AttitudeData data;
  platform::RecordingCanvas canvas;
  gimbra::PlotInputs inputs;
  inputs.SatelliteList = {"ISS"};
  inputs.SatelliteIndex = 0;
  inputs.CalcDateText = "2018-01-22";
  gimbra::PlotContext ctx{nav, plot, data, canvas, host, inputs, {}, {}};
  EXPECT_EQ(gimbra::DrawPlot(ctx), gimbra::DrawResult::KepsNotRead);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0], navlib::KepsNotFoundText);
}

TEST(MissingKepsDirectory, PlotterKepsWriterWritesNothing) {
  TempDir parent("missing");
  navlib::NavState nav;
  navlib::NavInit(nav);
  nav.KepsDir = parent / "no-such-dir/";
  nav.SatName = "ISS";
  platform::RecordingUiHost host;
  const gimbra::KepsWriteResult r = gimbra::WriteKepsWithAttitude(nav, navlib::Vec3{0, 0, 1}, host);
  EXPECT_EQ(r.Status, gimbra::KepsWriteStatus::NotRead);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0], navlib::KepsNotFoundText);
  EXPECT_FALSE(reltest::fs::exists(parent / "no-such-dir"));
}

TEST(MissingKepsDirectory, ImportSaysSoAndExitsWithFailure) {
  TempDir parent("missing");
  reltest::WriteText(parent / "iss.tle", kIssTle);
  std::ostringstream out, err;
  const int code = quenta::RunImportCommandAt({"--keps-dir", parent / "no-such-dir", parent / "iss.tle"}, out, err,
                                              1.52e9);
  // Either the directory is made and the set written, or the failure is told.
  if (code == 0) {
    EXPECT_TRUE(reltest::fs::is_regular_file(parent / "no-such-dir/EL-ISS.kep"));
  } else {
    EXPECT_EQ(code, 2);
    EXPECT_NE(err.str().find("no-such-dir"), std::string::npos) << err.str();
  }
}

TEST(ListFilesThatAreDirectories, BuiltInListsAndAFlatHorizon) {
  TempDir dir("listdirs");
  for (const char* name : {"SatList.ini", "ObsList.ini", "BeacList.ini", "Horizon.ini"})
    reltest::fs::create_directories(dir / name);
  platform::RecordingUiHost host;
  const quenta::PlannerLists lists = quenta::LoadPlannerLists(dir.str(), host);
  EXPECT_EQ(lists.Satellites, quenta::BuiltInSatellites());
  EXPECT_EQ(lists.Observers, quenta::BuiltInObservers());
  for (const std::string& m : lists.ModeTexts) EXPECT_EQ(m, "");
  for (int h : lists.HorizonMask) EXPECT_EQ(h, 0);
}

TEST(ListFilesThatAreDirectories, KepsFileThatIsADirectoryIsNotFound) {
  TempDir dir("kepsdir");
  reltest::fs::create_directories(dir / "EL-ISS.kep");
  std::ostringstream out, err;
  EXPECT_EQ(quenta::RunPlanCommand(PlanArgs(dir.str(), "ISS"), out, err), 2);
  EXPECT_EQ(err.str(), std::string(navlib::KepsNotFoundText) + "\n");
}

TEST(BinaryListFiles, StartUpReadsThemWithoutCrashing) {
  TempDir dir("binary");
  std::string bytes;
  for (int i = 0; i < 3000; ++i) bytes += static_cast<char>((i * 131 + 7) & 0xff);
  for (const char* name : {"SatList.ini", "ObsList.ini", "BeacList.ini", "Horizon.ini"})
    reltest::WriteText(dir / name, bytes);
  platform::RecordingUiHost host;
  const quenta::PlannerLists lists = quenta::LoadPlannerLists(dir.str(), host);
  EXPECT_FALSE(lists.Satellites.empty());
  // A plan with such an observer list: a message, a conversion error or the
  // observer not found, never a crash.
  std::ostringstream out, err;
  const int code = quenta::RunPlanCommand(PlanArgs(dir.str(), lists.Satellites.front()), out, err);
  EXPECT_TRUE(code == 2 || code == 64) << code;
}

TEST(OddElementSetFiles, BinaryDirectoryAndMissingFilesAreReportedBySomeReason) {
  TempDir dir("oddsets");
  std::string bytes;
  for (int i = 0; i < 5000; ++i) bytes += static_cast<char>((i * 97 + 3) & 0xff);
  reltest::WriteText(dir / "binary.tle", bytes);
  reltest::fs::create_directories(dir / "adir.tle");
  reltest::fs::create_directories(dir / "keps");
  for (const std::string& file : {dir / "binary.tle", dir / "adir.tle", dir / "missing.tle"}) {
    SCOPED_TRACE(file);
    std::ostringstream out, err;
    const int code = quenta::RunImportCommandAt({"--keps-dir", dir / "keps", file}, out, err, 1.52e9);
    EXPECT_EQ(code, 2);
    EXPECT_NE(err.str().find(file), std::string::npos) << err.str();
  }
  EXPECT_TRUE(reltest::fs::is_empty(dir / "keps"));
}

}  // namespace
