// Absurd values: keps files and attitude data files holding inf, nan, 1e300,
// huge day numbers, an eccentricity of 1 or more, a mean motion of 0 or below,
// and the number fields of both programs at their extremes. A step run, a
// rise/set run, a Draw, a satellite view and the Earth-sensor arc report on
// them end (no hang), without a crash or undefined behaviour (the sanitizer
// build runs these same tests), with a clear message or a picture that is
// merely empty. No value here is checked for being right: only for the
// program staying sound.
#include <gtest/gtest.h>

#include <climits>
#include <sstream>

#include "gimbra/core/esarc.h"
#include "gimbra/core/fieldtext.h"
#include "gimbra/core/plot.h"
#include "gimbra/core/satview.h"
#include "gimbra/core/worldmap.h"
#include "navlib/navlib.h"
#include "navlib/textnum.h"
#include "platform/recordingcanvas.h"
#include "platform/uihost.h"
#include "quenta/cli/plan_command.h"
#include "reliability_fixtures.h"

namespace {

using reltest::TempDir;

// A sound element set (ISS, January 2018) to put one absurd value into.
const char* const kSoundKeps =
    "2018,20.89809,51.6424,32.9776,0.0003646,28.7227,39.5332,15.5419,9561,6780,0.6,0,0.8,0.00013,0";

struct KepsCase {
  const char* label;
  const char* text;
};

// Every field absurd in turn, and whole files of absurd values.
const KepsCase kAbsurdKeps[] = {
    {"all inf", "inf,inf,inf,inf,inf,inf,inf,inf,inf,inf,inf,inf,inf,inf,inf"},
    {"all -inf", "-inf,-inf,-inf,-inf,-inf,-inf,-inf,-inf,-inf,-inf,-inf,-inf,-inf,-inf,-inf"},
    {"all nan", "nan,nan,nan,nan,nan,nan,nan,nan,nan,nan,nan,nan,nan,nan,nan"},
    {"all 1e300", "1e300,1e300,1e300,1e300,1e300,1e300,1e300,1e300,1e300,1e300,1e300,1e300,1e300,1e300,1e300"},
    {"all 3e38", "3e38,3e38,3e38,3e38,3e38,3e38,3e38,3e38,3e38,3e38,3e38,3e38,3e38,3e38,3e38"},
    {"all zero", "0,0,0,0,0,0,0,0,0,0,0,0,0,0,0"},
    {"year 1e9", "1e+09,20.9,51.6,33,0.0004,28.7,39.5,15.54,9561,6780,0,0,0,0,0"},
    {"year -9999", "-9999,20.9,51.6,33,0.0004,28.7,39.5,15.54,9561,6780,0,0,0,0,0"},
    {"day 1e30", "2018,1e30,51.6,33,0.0004,28.7,39.5,15.54,9561,6780,0,0,0,0,0"},
    {"day -1e30", "2018,-1e30,51.6,33,0.0004,28.7,39.5,15.54,9561,6780,0,0,0,0,0"},
    {"day 16777217.5", "2018,16777217.5,51.6,33,0.0004,28.7,39.5,15.54,9561,6780,0,0,0,0,0"},
    {"day nan", "2018,nan,51.6,33,0.0004,28.7,39.5,15.54,9561,6780,0,0,0,0,0"},
    {"eccentricity 1", "2018,20.9,51.6,33,1,28.7,39.5,15.54,9561,6780,0,0,0,0,0"},
    {"eccentricity 1.5", "2018,20.9,51.6,33,1.5,28.7,39.5,15.54,9561,6780,0,0,0,0,0"},
    {"eccentricity 1e30", "2018,20.9,51.6,33,1e30,28.7,39.5,15.54,9561,6780,0,0,0,0,0"},
    {"eccentricity -0.5", "2018,20.9,51.6,33,-0.5,28.7,39.5,15.54,9561,6780,0,0,0,0,0"},
    {"eccentricity 0.9999999", "2018,20.9,51.6,33,0.9999999,28.7,39.5,15.54,9561,6780,0,0,0,0,0"},
    {"mean motion 0", "2018,20.9,51.6,33,0.0004,28.7,39.5,0,9561,6780,0,0,0,0,0"},
    {"mean motion -15.5", "2018,20.9,51.6,33,0.0004,28.7,39.5,-15.5,9561,6780,0,0,0,0,0"},
    {"mean motion 1e-30", "2018,20.9,51.6,33,0.0004,28.7,39.5,1e-30,9561,6780,0,0,0,0,0"},
    {"mean motion 1e30", "2018,20.9,51.6,33,0.0004,28.7,39.5,1e30,9561,6780,0,0,0,0,0"},
    {"mean motion nan", "2018,20.9,51.6,33,0.0004,28.7,39.5,nan,9561,6780,0,0,0,0,0"},
    {"angles 1e30", "2018,20.9,1e30,-1e30,0.0004,1e30,-1e30,15.54,1e30,6780,0,0,0,0,0"},
    {"orbit number 1e30", "2018,20.9,51.6,33,0.0004,28.7,39.5,15.54,1e30,6780,0,0,0,0,0"},
    {"attitude inf", "2018,20.9,51.6,33,0.0004,28.7,39.5,15.54,9561,6780,inf,-inf,nan,0,0"},
    {"attitude 1e30", "2018,20.9,51.6,33,0.0004,28.7,39.5,15.54,9561,6780,1e30,1e30,1e30,0,0"},
    {"mean anomaly terms 1e30", "2018,20.9,51.6,33,0.0004,28.7,39.5,15.54,9561,6780,0.6,0,0.8,1e30,-1e30"},
    {"mean anomaly terms nan", "2018,20.9,51.6,33,0.0004,28.7,39.5,15.54,9561,6780,0.6,0,0.8,nan,inf"},
    {"nine fields", "2018,20.9,51.6,33,0.0004,28.7,39.5,15.54,9561"},
    {"one field", "2018"},
    {"only commas", ",,,,,,,,,,,,,,,,,,,,"},
    {"binary", "\x01\xff\xfe,\x80\x81,\x7f"},
};

// A keps directory holding one satellite "ABS" with the given keps text, its
// satellite list and an attitude data file.
struct AbsurdDir {
  TempDir dir{"absurd"};
  explicit AbsurdDir(const std::string& keps, const std::string& attitudeData = std::string()) {
    reltest::WriteText(dir / "EL-ABS.kep", keps);
    reltest::WriteText(dir / "SatList.ini", "ABS\r\nISS\r\n");
    reltest::WriteText(dir / "ObsList.ini", "Home          , 52.2170,  0.1100,   30\r\n");
    // A raised horizon to the east, so that the radio horizon has sectors to look up.
    reltest::WriteText(dir / "Horizon.ini", "REM test mask\r\n90:10\r\n95:12\r\n100:8\r\n");
    reltest::WriteText(dir / "ABS.ang", attitudeData);
  }
};

struct PlanRun {
  int code = 0;
  std::string out, err;
};

PlanRun Plan(const std::string& dir, const std::string& interval, const std::string& start,
             const std::string& finish, const std::vector<std::string>& extra = {}) {
  std::vector<std::string> args = {"--keps-dir", dir,    "--observer", "Home",  "--satellite", "ABS",
                                   "--zone",     "UTC",  "--interval", interval, "--start",     start,
                                   "--finish",   finish, "--horizon",  "all"};
  args.insert(args.end(), extra.begin(), extra.end());
  std::ostringstream out, err;
  PlanRun r;
  r.code = quenta::RunPlanCommand(args, out, err);
  r.out = out.str();
  r.err = err.str();
  // Every selection is made: a run that ends early ends for its values.
  EXPECT_EQ(r.err.find("Select "), std::string::npos) << r.err;
  return r;
}

bool EndsWithEndLine(const std::string& text) {
  return text.size() >= 15 && text.find("******END******") != std::string::npos;
}

class AbsurdKeps : public ::testing::TestWithParam<KepsCase> {};

TEST_P(AbsurdKeps, StepRunEndsWithItsEndLineOrAMessage) {
  AbsurdDir d(GetParam().text);
  // Every horizon mode: the radio horizon looks the azimuth up in the mask.
  for (const char* horizon : {"all", "earth", "radio", "visible"}) {
    SCOPED_TRACE(horizon);
    const PlanRun r = Plan(d.dir.str(), "10", "2018-01-21", "2018-01-21", {"--horizon", horizon});
    EXPECT_TRUE(r.code == 0 || r.code == 2) << r.err;
    if (r.code == 0) {
      EXPECT_TRUE(EndsWithEndLine(r.out)) << r.out.substr(0, 400);
    } else {
      EXPECT_FALSE(r.err.empty());
    }
  }
}

TEST_P(AbsurdKeps, RiseSetRunsByDateAndByOrbitEnd) {
  AbsurdDir d(GetParam().text);
  // By date above the radio horizon (the mask looked up), by orbit above the Earth's.
  const char* const runs[][2] = {{"R/S-T", "radio"}, {"R/S-O", "earth"}};
  for (const auto& run : runs) {
    SCOPED_TRACE(std::string(run[0]) + " " + run[1]);
    const PlanRun r = Plan(d.dir.str(), run[0], "2018-01-21", "2018-01-21", {"--horizon", run[1]});
    EXPECT_TRUE(r.code == 0 || r.code == 2) << r.err;
    if (r.code == 0) {
      EXPECT_TRUE(EndsWithEndLine(r.out)) << r.out.substr(0, 400);
    }
  }
}

// The plotter's world for one satellite directory.
struct Plotter {
  navlib::NavState nav;
  gimbra::PlotState plot;
  gimbra::AttitudeData data;
  platform::RecordingCanvas canvas;
  platform::RecordingUiHost host;
  gimbra::PlotInputs inputs;
  gimbra::PlotWindowState window;
  gimbra::ObserverList observers;
  gimbra::WorldMap map;

  explicit Plotter(const std::string& dir) {
    navlib::NavInit(nav);
    nav.KepsDir = dir;
    nav.Host = &host;
    inputs.SatelliteList = {"ABS"};
    inputs.SatelliteIndex = 0;
    inputs.CalcDateText = "2018-01-22";
    inputs.AlonText = "210";
    inputs.AlatText = "-5";
    inputs.DataFileName = "ABS.ang";
    inputs.Items.MagPoles = inputs.Items.CelestialEquator = inputs.Items.EclipticSun = inputs.Items.SunSensor =
        inputs.Items.EarthMa = inputs.Items.SquintData = inputs.Items.CameraEarth = inputs.Items.CameraMoon =
            inputs.Items.EarthArcs = true;
    gimbra::FillWorldMap(map);
    observers.ObserverCount = 1;
    observers.Entries[0] = {"G3", 52.2f, 0.11f};
  }
  gimbra::PlotContext Context() { return gimbra::PlotContext{nav, plot, data, canvas, host, inputs, {}, {}}; }

  // A Draw as the Draw button makes it: a conversion error becomes the
  // message the window shows. True when the whole Draw ran.
  bool Draw() {
    gimbra::PlotContext ctx = Context();
    try {
      return gimbra::DrawPlot(ctx) == gimbra::DrawResult::Drawn;
    } catch (const navlib::ConvertError& e) {
      host.showMessage(e.what());
      return false;
    }
  }
  void SatelliteView(int orbit, float ma) {
    gimbra::PlotContext ctx = Context();
    gimbra::SatViewContext v{ctx, window, observers, map};
    gimbra::BeginSatelliteView(v, orbit, ma);
    window.EarthOverlay = true;
    gimbra::DrawSatelliteView(v);
  }
  void EsArc() {
    gimbra::PlotContext ctx = Context();
    host.inputAnswers = {"9600"};
    try {
      (void)gimbra::EsArcReport(ctx, window);
    } catch (const navlib::ConvertError& e) {
      host.showMessage(e.what());
    }
  }
};

// Every canvas call stays on a sane pixel: nothing a million pixels away
// (the projection only moves the pen for such points) reaches a line.
void ExpectSanePixels(const platform::RecordingCanvas& canvas) {
  for (const auto& op : canvas.ops) {
    if (op.kind == platform::RecordingCanvas::Kind::LineTo || op.kind == platform::RecordingCanvas::Kind::FillRect) {
      ASSERT_LE(std::abs(static_cast<long long>(op.x2)), 2000000LL);
      ASSERT_LE(std::abs(static_cast<long long>(op.y2)), 2000000LL);
    }
  }
}

TEST_P(AbsurdKeps, DrawSatelliteViewAndArcReportStaySound) {
  // A data file with one record of every kind, so that every layer draws.
  AbsurdDir d(GetParam().text,
              "SS 2018, 22.5, 128\nES 9600, 20, 230, 1\nEM 0, 0.5, 0.6, -1\nSQ 52,0,2018,22,12,30,20\n"
              "CM 2018,22,12,0,0,45,remark\nCL 2018,22,12,0,0,1\nEA 9600,64,40,50,1\nEA 9600,64,40,50,0\n");
  Plotter p(d.dir.slash());
  if (p.Draw()) {
    ExpectSanePixels(p.canvas);
    p.SatelliteView(9600, 64);
    p.SatelliteView(INT_MAX, 255.9f);
    p.SatelliteView(INT_MIN, -1e30f);
    ExpectSanePixels(p.canvas);
  } else {
    EXPECT_FALSE(p.host.messages.empty());
  }
  p.EsArc();
}

INSTANTIATE_TEST_SUITE_P(Cases, AbsurdKeps, ::testing::ValuesIn(kAbsurdKeps), [](const auto& info) {
  std::string n;
  for (char c : std::string(info.param.label)) n += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
  return n;
});

// ---- Attitude data files with absurd values, on a sound element set ----

const KepsCase kAbsurdData[] = {
    {"inf", "SS inf, inf, inf\nES inf, inf, inf, inf\nEM inf, inf, inf, inf\nSQ inf,inf,inf,inf,inf,inf,inf\n"
            "CM inf,inf,inf,inf,inf,inf\nCL inf,inf,inf,inf,inf,inf\nEA inf,inf,inf,inf,inf\n"},
    {"1e300 overflowing a float", "SS 1e300, 1e300, 1e300\nES 1e300, 1e300, -1e300, 1e300\nEM 1e300,1e300,1e300,1e300\n"
            "SQ 1e300,1e300,1e300,1e300,1e300,1e300,1e300\nCM 1e300,1e300,1e300,1e300,1e300,1e300\n"
            "CL -1e300,-1e300,-1e300,-1e300,-1e300,-1e300\nEA 1e300,1e300,1e300,1e300,1e300\n"},
    {"3e38", "SS 3e38, 3e38, 3e38\nES 3e38, 3e38, 3e38, 3e38\nEM 3e38,3e38,3e38,3e38\nSQ 3e38,3e38,3e38,3e38,3e38,3e38,3e38\n"
             "CM 3e38,3e38,3e38,3e38,3e38,3e38\nEA 3e38,3e38,3e38,3e38,3e38\nEA -3e38,-3e38,-3e38,-3e38,-3e38\n"},
    {"huge day numbers", "SS 2018, 1e20, 128\nSQ 52,0,2018,-1e20,12,30,20\nCM 2018,1e15,12,0,0,45\n"
                         "CL 99999,99999,99999,99999,99999,45\nES 2e9, 20, 230, 1\nEA -2e9,64,40,50,1\n"},
    {"zeros", "SS 0,0,0\nES 0,0,0,0\nEM 0,0,0,0\nSQ 0,0,0,0,0,0,0\nCM 0,0,0,0,0,0\nCL 0,0,0,0,0,0\nEA 0,0,0,0,0\n"},
    {"tiny", "SS 1e-45,1e-45,1e-45\nEA 1e-45,1e-45,1e-45,1e-45,1e-45\nCM 1e-300,1e-300,1e-300,1e-300,1e-300,1e-300\n"},
    {"a nan word is a conversion error", "SS 2018, 22.5, 128\nSS nan, 1, 2\n"},
    {"binary", "\x01\xff\xfeSS\x80,\x81\n\x7f EA \xff\nEA\x01\x02"},
};

class AbsurdAttitudeData : public ::testing::TestWithParam<KepsCase> {};

TEST_P(AbsurdAttitudeData, DrawEndsWithAPictureOrAMessage) {
  AbsurdDir d(kSoundKeps, GetParam().text);
  Plotter p(d.dir.slash());
  if (p.Draw()) {
    ExpectSanePixels(p.canvas);
  } else {
    EXPECT_FALSE(p.host.messages.empty());
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, AbsurdAttitudeData, ::testing::ValuesIn(kAbsurdData), [](const auto& info) {
  std::string n;
  for (char c : std::string(info.param.label)) n += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
  return n;
});

TEST(AbsurdAttitudeDataFile, BinaryFileWithZeroBytesReadsOrStopsWithAMessage) {
  std::string bytes;
  for (int i = 0; i < 4096; ++i) bytes += static_cast<char>((i * 7919) & 0xff);
  AbsurdDir d(kSoundKeps, bytes);
  Plotter p(d.dir.slash());
  if (p.Draw()) {
    ExpectSanePixels(p.canvas);
  } else {
    EXPECT_FALSE(p.host.messages.empty());
  }
}

// ---- The plotter's number fields at their extremes ----

struct FieldCase {
  const char* label;
  std::string gimbra::PlotInputs::*field;
  const char* text;
};

const FieldCase kPlotterFields[] = {
    {"ALON 1e300", &gimbra::PlotInputs::AlonText, "1e300"},
    {"ALON -1e300", &gimbra::PlotInputs::AlonText, "-1e300"},
    {"ALON 1e39 beyond a float", &gimbra::PlotInputs::AlonText, "1e39"},
    {"ALON 1e12", &gimbra::PlotInputs::AlonText, "1e12"},
    {"ALON tiny", &gimbra::PlotInputs::AlonText, "1e-300"},
    {"ALAT 1e300", &gimbra::PlotInputs::AlatText, "1e300"},
    {"ALAT -3e38", &gimbra::PlotInputs::AlatText, "-3e38"},
    {"ALAT 90", &gimbra::PlotInputs::AlatText, "90"},
    {"ALAT -90", &gimbra::PlotInputs::AlatText, "-90"},
    {"U-gamma 1e300", &gimbra::PlotInputs::UpperGammaText, "1e300"},
    {"U-gamma -1e300", &gimbra::PlotInputs::UpperGammaText, "-1e300"},
    {"L-gamma 0", &gimbra::PlotInputs::LowerGammaText, "0"},
    {"L-gamma 180", &gimbra::PlotInputs::LowerGammaText, "180"},
    {"ESL fudge 1e300", &gimbra::PlotInputs::EslFudgeText, "1e300"},
    {"ESU fudge -1e300", &gimbra::PlotInputs::EsuFudgeText, "-1e300"},
    {"Sun fudge 1e300", &gimbra::PlotInputs::SunFudgeText, "1e300"},
    {"Sun fudge -3e38", &gimbra::PlotInputs::SunFudgeText, "-3e38"},
    {"Map 2147483647", &gimbra::PlotInputs::MapSegmentsText, "2147483647"},
    {"Map -2147483648", &gimbra::PlotInputs::MapSegmentsText, "-2147483648"},
    {"Map 99999999999", &gimbra::PlotInputs::MapSegmentsText, "99999999999"},
    {"Sat 0", &gimbra::PlotInputs::SatSegmentsText, "0"},
    {"Sat 2147483647", &gimbra::PlotInputs::SatSegmentsText, "2147483647"},
    {"date 9999-99-99", &gimbra::PlotInputs::CalcDateText, "9999-99-99"},
    {"date 0000-00-00", &gimbra::PlotInputs::CalcDateText, "0000-00-00"},
    {"date -999-01-01", &gimbra::PlotInputs::CalcDateText, "-999-01-01"},
    {"date 2147483647", &gimbra::PlotInputs::CalcDateText, "2147483647"},
    {"date empty", &gimbra::PlotInputs::CalcDateText, ""},
    {"date 1e300", &gimbra::PlotInputs::CalcDateText, "1e300-01-01"},
    {"data file a directory", &gimbra::PlotInputs::DataFileName, "."},
    {"data file missing", &gimbra::PlotInputs::DataFileName, "no such file.ang"},
};

class PlotterFieldExtremes : public ::testing::TestWithParam<FieldCase> {};

TEST_P(PlotterFieldExtremes, DrawAndViewsEndWithAPictureOrAMessage) {
  const FieldCase fc = GetParam();
  AbsurdDir d(kSoundKeps,
              "SS 2018, 22.5, 128\nES 9600, 20, 230, 1\nEA 9600,64,40,50,1\nCM 2018,22,12,0,0,45\n");
  Plotter p(d.dir.slash());
  // The field as the window's validators leave it when the field is left
  // (a text that does not convert stays as typed and stops the Draw).
  std::string text = fc.text;
  try {
    if (fc.field == &gimbra::PlotInputs::AlonText) text = gimbra::WrapAlonText(text);
    if (fc.field == &gimbra::PlotInputs::AlatText) text = gimbra::FoldAlatText(text);
    if (fc.field == &gimbra::PlotInputs::MapSegmentsText || fc.field == &gimbra::PlotInputs::SatSegmentsText)
      text = gimbra::ClampSegmentsText(text);
  } catch (const navlib::ConvertError&) {
  }
  p.inputs.*fc.field = text;
  if (p.Draw()) {
    ExpectSanePixels(p.canvas);
    p.SatelliteView(9600, 64);
    ExpectSanePixels(p.canvas);
  } else {
    EXPECT_FALSE(p.host.messages.empty());
  }
  p.EsArc();
}

INSTANTIATE_TEST_SUITE_P(Cases, PlotterFieldExtremes, ::testing::ValuesIn(kPlotterFields), [](const auto& info) {
  std::string n;
  for (char c : std::string(info.param.label)) n += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
  return n;
});

// ---- The planner's fields at their extremes ----

struct PlanFieldCase {
  const char* label;
  const char* interval;
  const char* start;
  const char* finish;
  std::vector<std::string> extra;
};

const PlanFieldCase kPlannerFields[] = {
    {"squint 1e300", "10", "2018-01-21", "2018-01-21", {"--max-squint", "1e300"}},
    {"squint -1e300", "10", "2018-01-21", "2018-01-21", {"--max-squint", "-1e300"}},
    {"squint 1e999", "10", "2018-01-21", "2018-01-21", {"--max-squint", "1e999"}},
    {"squint -0", "R/S-T", "2018-01-21", "2018-01-21", {"--max-squint", "-0"}},
    {"squint text", "10", "2018-01-21", "2018-01-21", {"--max-squint", "nan"}},
    {"time 99:99", "10", "2018-01-21", "2018-01-21", {"--start-time", "99:99", "--finish-time", "99:99"}},
    {"time -9:-9", "1", "2018-01-21", "2018-01-21", {"--start-time", "-9:-9"}},
    {"time empty", "10", "2018-01-21", "2018-01-21", {"--start-time", ""}},
    {"date month 99", "10", "2018-99-21", "2018-01-21", {}},
    {"date day 99", "10", "2018-01-99", "2018-01-21", {}},
    {"date year 99999", "10", "99999-01-21", "2018-01-21", {}},
    {"date -2147483648", "10", "-2147483648", "2018-01-21", {}},
    {"date empty", "10", "", "", {}},
    {"finish before start", "R/S-T", "2050-12-31", "1950-01-01", {}},
    {"far future", "R/S-O", "2050-12-30", "2050-12-31", {}},
    {"far past", "20", "1950-01-01", "1950-01-01", {}},
};

class PlannerFieldExtremes : public ::testing::TestWithParam<PlanFieldCase> {};

TEST_P(PlannerFieldExtremes, RunEndsWithItsEndLineOrAMessage) {
  const PlanFieldCase fc = GetParam();
  AbsurdDir d(kSoundKeps);
  const PlanRun r = Plan(d.dir.str(), fc.interval, fc.start, fc.finish, fc.extra);
  EXPECT_TRUE(r.code == 0 || r.code == 2) << r.err;
  if (r.code == 0) {
    EXPECT_TRUE(EndsWithEndLine(r.out)) << r.out.substr(0, 400);
  } else {
    EXPECT_FALSE(r.err.empty());
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, PlannerFieldExtremes, ::testing::ValuesIn(kPlannerFields), [](const auto& info) {
  std::string n;
  for (char c : std::string(info.param.label)) n += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
  return n;
});

}  // namespace
