// One Draw end to end on a recording canvas: what stops it, what it draws
// where, where it lets window messages run, and what it leaves behind.
#include <algorithm>
#include <cmath>

#include <gtest/gtest.h>

#include "gimbra/core/fieldtext.h"
#include "gimbra/core/plot.h"
#include "navlib/textnum.h"
#include "plotfixture.h"

namespace {

using gimbra::DrawResult;
using Kind = platform::RecordingCanvas::Kind;

bool HasText(const platform::RecordingCanvas& c, int x, int y, const std::string& text) {
  for (const auto& op : c.of(Kind::TextOut)) {
    if (op.x1 == x && op.y1 == y && op.text == text) return true;
  }
  return false;
}

TEST(DrawPlot, NoSatelliteSelectedDrawsNothingAndSaysNothing) {
  gimbratest::PlotFixture f;
  f.inputs.SatelliteIndex = -1;
  auto ctx = f.Context();
  EXPECT_EQ(gimbra::DrawPlot(ctx), DrawResult::NoSatellite);
  EXPECT_TRUE(f.canvas.ops.empty());
  EXPECT_TRUE(f.host.messages.empty());
}

TEST(DrawPlot, KepsFileThatCannotBeReadEndsTheDrawAfterItsMessage) {
  gimbratest::PlotFixture f;
  auto ctx = f.Context();
  ASSERT_EQ(gimbra::DrawPlot(ctx), DrawResult::Drawn);
  const std::size_t drawn = f.canvas.ops.size();
  const float inclination = f.nav.Elements.Inclination;

  f.inputs.SatelliteIndex = 2;  // NOSUCH: no keps file
  EXPECT_EQ(gimbra::DrawPlot(ctx), DrawResult::KepsNotRead);
  ASSERT_EQ(f.host.messages.size(), 1u);
  EXPECT_EQ(f.host.messages[0], "      Keps file not found!\n Run set-up or generate kep files!");
  // The picture stays as it was: nothing of the other satellite's orbit is
  // drawn under the new name.
  EXPECT_EQ(f.canvas.ops.size(), drawn);
  EXPECT_FLOAT_EQ(f.nav.Elements.Inclination, inclination);
  EXPECT_FALSE(f.plot.DrawRunning);
}

TEST(DrawPlot, FieldOrRecordThatDoesNotConvertEndsTheDrawWithTheConversionError) {
  struct Case {
    const char* name;
    void (*spoil)(gimbra::PlotInputs&);
    const char* message;
  } cases[] = {
      {"ALON a lone minus", [](gimbra::PlotInputs& in) { in.AlonText = "-"; },
       "'-' is not a valid floating point value"},
      {"a data-file record one field short",
       [](gimbra::PlotInputs& in) { in.DataFileName = "short-record.ang"; },
       "'' is not a valid floating point value"},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    gimbratest::PlotFixture f;
    k.spoil(f.inputs);
    auto ctx = f.Context();
    try {
      gimbra::DrawPlot(ctx);
      ADD_FAILURE() << "no conversion error";
    } catch (const navlib::ConvertError& e) {
      EXPECT_STREQ(e.what(), k.message);
    }
    // Both come before the frame: nothing is drawn.
    EXPECT_TRUE(f.canvas.ops.empty());
    EXPECT_FALSE(f.plot.DrawRunning);
    // The records before the bad line stay in their table.
    if (f.inputs.DataFileName == "short-record.ang") {
      EXPECT_EQ(f.data.SunSensorRecords.Count, 1);
    }
  }
}

TEST(DrawPlot, FrameTextsBorderAndHorizonCircle) {
  gimbratest::PlotFixture f;
  auto ctx = f.Context();
  ASSERT_EQ(gimbra::DrawPlot(ctx), DrawResult::Drawn);
  const auto& c = f.canvas;
  ASSERT_FALSE(c.ops.empty());
  // The image is cleared silver first.
  EXPECT_EQ(c.ops[0].kind, Kind::FillRect);
  EXPECT_EQ(c.ops[0].x2, 800);
  EXPECT_EQ(c.ops[0].y2, 600);
  EXPECT_EQ(c.ops[0].brush, platform::clSilver);
  // The border through the corner pixels.
  const auto lines = c.of(Kind::LineTo);
  ASSERT_GE(lines.size(), 4u);
  EXPECT_EQ(lines[0].x1, 0);
  EXPECT_EQ(lines[0].x2, 799);
  EXPECT_EQ(lines[1].y2, 599);
  EXPECT_EQ(lines[3].x2, 0);
  EXPECT_EQ(lines[3].y2, 0);
  EXPECT_EQ(lines[0].pen, platform::clBlack);

  EXPECT_TRUE(HasText(c, 1, 1, "MOLNIYA  Attitude  Plotter"));
  EXPECT_TRUE(HasText(c, 711, 540, "CENTER"));
  EXPECT_TRUE(HasText(c, 4, 558, "ORBIT PLANE"));
  EXPECT_TRUE(HasText(c, 4, 576, "2018-01-22"));
  const std::string dec = "DEC= " + gimbra::FormatFixed(f.plot.CenterDec, 4, 1);
  EXPECT_TRUE(HasText(c, 711, 558, dec));
  EXPECT_TRUE(HasText(c, 711, 576, "RA = " + gimbra::FormatFixed(f.plot.CenterRa, 4, 1)));
  EXPECT_EQ(c.fontName, "Fixedsys");
  EXPECT_EQ(c.fontSize, 9);

  // The horizon circle at zoom 1: radius 300 about (400, 300), grey, width 2.
  const auto ellipses = c.of(Kind::Ellipse);
  ASSERT_EQ(ellipses.size(), 1u);
  EXPECT_EQ(ellipses[0].x1, 100);
  EXPECT_EQ(ellipses[0].y1, 0);
  EXPECT_EQ(ellipses[0].x2, 700);
  EXPECT_EQ(ellipses[0].y2, 600);
  EXPECT_EQ(ellipses[0].pen, platform::clGray);
  EXPECT_EQ(ellipses[0].penWidth, 2);
  EXPECT_EQ(ellipses[0].brush, platform::clSilver);

  // Five orbit-longitude labels for ALON 210, 3 pixels below and right of
  // the end point of their markers.
  for (const char* label : {"150/0", "180/0", "210/0", "240/0", "270/0"}) {
    const auto texts = c.of(Kind::TextOut);
    EXPECT_TRUE(std::any_of(texts.begin(), texts.end(), [&](const auto& op) { return op.text == label; })) << label;
  }
  // Pen and brush are left black (width 1) and silver.
  EXPECT_EQ(c.pen, platform::clBlack);
  EXPECT_EQ(c.penWidth, 1);
  EXPECT_EQ(c.brush, platform::clSilver);
}

TEST(DrawPlot, GraphItemsDecideTheReferenceCircles) {
  struct Case {
    const char* name;
    bool gimbra::GraphItems::*box;
    platform::Color pen;
  } cases[] = {
      {"ecliptic in blue", &gimbra::GraphItems::EclipticSun, platform::clBlue},
      {"Sun marker in yellow", &gimbra::GraphItems::EclipticSun, platform::clYellow},
      {"equator in green", &gimbra::GraphItems::CelestialEquator, platform::clGreen},
      {"ecliptic poles in red", &gimbra::GraphItems::MagPoles, platform::clRed},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    for (bool ticked : {false, true}) {
      gimbratest::PlotFixture f;
      f.inputs.Items.*k.box = ticked;
      auto ctx = f.Context();
      ASSERT_EQ(gimbra::DrawPlot(ctx), DrawResult::Drawn);
      const auto lines = f.canvas.of(Kind::LineTo);
      const bool drawn =
          std::any_of(lines.begin(), lines.end(), [&](const auto& op) { return op.pen == k.pen; });
      EXPECT_EQ(drawn, ticked);
    }
  }
}

TEST(DrawPlot, LetsWindowMessagesRunAfterEachLayerAndWhereTheLayersSay) {
  gimbratest::PlotFixture f;
  auto ctx = f.Context();
  ASSERT_EQ(gimbra::DrawPlot(ctx), DrawResult::Drawn);
  // Show window, world map, 35 grid circles, after the grid, after each of
  // the six layers whether drawn or not.
  EXPECT_EQ(f.host.processEventsCalls, 1 + 1 + 35 + 1 + 6);

  gimbratest::PlotFixture g;
  g.inputs.Items = gimbratest::AllItems();
  g.inputs.DataFileName = "sample.ang";  // 1 SS, 1 ES, 1 CM record
  auto ctx2 = g.Context();
  ASSERT_EQ(gimbra::DrawPlot(ctx2), DrawResult::Drawn);
  // One more for the sun-sensor record and one for the camera-Earth record;
  // the ES pass runs without pauses.
  EXPECT_EQ(g.host.processEventsCalls, 44 + 2);
}

TEST(DrawPlot, PlotWindowAndWorldMapStepsRunInOrderAfterTheFrame) {
  gimbratest::PlotFixture f;
  std::vector<std::string> steps;
  auto ctx = f.Context();
  ctx.ShowPlotWindow = [&] {
    steps.push_back("show");
    EXPECT_FALSE(f.canvas.of(Kind::Ellipse).empty());  // the frame is drawn
  };
  ctx.FillWorldMap = [&] { steps.push_back("map"); };
  ASSERT_EQ(gimbra::DrawPlot(ctx), DrawResult::Drawn);
  EXPECT_EQ(steps, (std::vector<std::string>{"show", "map"}));
}

// A host whose pause starts another Draw, as a click during a long layer would.
class ReenteringHost : public platform::RecordingUiHost {
 public:
  gimbra::PlotContext* ctx = nullptr;
  std::vector<DrawResult> nested;
  void processEvents() override {
    RecordingUiHost::processEvents();
    if (ctx && nested.empty()) nested.push_back(gimbra::DrawPlot(*ctx));
  }
};

TEST(DrawPlot, SecondDrawStartedDuringAPauseIsRefused) {
  gimbratest::PlotFixture f;
  ReenteringHost host;
  gimbra::PlotContext ctx{f.nav, f.plot, f.data, f.canvas, host, f.inputs, {}, {}};
  host.ctx = &ctx;
  ASSERT_EQ(gimbra::DrawPlot(ctx), DrawResult::Drawn);
  ASSERT_EQ(host.nested.size(), 1u);
  EXPECT_EQ(host.nested[0], DrawResult::Refused);
  EXPECT_FALSE(f.plot.DrawRunning);
  host.ctx = nullptr;
  EXPECT_EQ(gimbra::DrawPlot(ctx), DrawResult::Drawn);  // and the next one runs
}

TEST(DrawPlot, LayersLeaveTheLibraryTimeAtTheCalculationDate) {
  gimbratest::PlotFixture f;
  f.inputs.Items = gimbratest::AllItems();
  f.inputs.DataFileName = "sample.ang";
  auto ctx = f.Context();
  ASSERT_EQ(gimbra::DrawPlot(ctx), DrawResult::Drawn);
  EXPECT_FLOAT_EQ(f.nav.DayNum, static_cast<float>(navlib::DayNumber(2018, 1, 22)));
  EXPECT_FLOAT_EQ(f.nav.DayFrac, 0);
  EXPECT_EQ(f.canvas.pen, platform::clBlack);
  EXPECT_EQ(f.canvas.brush, platform::clSilver);
}

TEST(DrawPlot, SurplusRecordsAreReportedOncePerDraw) {
  gimbratest::PlotFixture f;
  f.inputs.DataFileName = "too-many.ang";  // 103 SS records
  auto ctx = f.Context();
  ASSERT_EQ(gimbra::DrawPlot(ctx), DrawResult::Drawn);
  ASSERT_EQ(f.host.messages.size(), 1u);
  EXPECT_NE(f.host.messages[0].find("line 102"), std::string::npos) << f.host.messages[0];
  EXPECT_EQ(f.data.SunSensorRecords.Count, 100);
  ASSERT_EQ(gimbra::DrawPlot(ctx), DrawResult::Drawn);
  EXPECT_EQ(f.host.messages.size(), 2u);
}

TEST(DrawPlot, NoZoomBeforeAnyDrawDrawsWithoutDividingByZero) {
  gimbratest::PlotFixture f;
  f.inputs.ZoomIndex = -1;
  f.inputs.Items = gimbratest::AllItems();
  f.inputs.DataFileName = "sample.ang";
  auto ctx = f.Context();
  ASSERT_EQ(gimbra::DrawPlot(ctx), DrawResult::Drawn);
  EXPECT_EQ(f.plot.PlotRadius, 0);
  // Everything collapses to the centre: only the border's four lines are
  // lines, and every point handed over is a real pixel.
  EXPECT_EQ(f.canvas.of(Kind::LineTo).size(), 4u);
  for (const auto& op : f.canvas.ops) {
    EXPECT_LE(std::abs(op.x1), 800);
    EXPECT_LE(std::abs(op.y2), 600);
  }
}

TEST(DrawPlot, EveryLayerDrawsItsRecordsInItsColour) {
  struct Case {
    const char* name;
    bool gimbra::GraphItems::*box;
    platform::Color pen;
  } cases[] = {
      {"sun sensor", &gimbra::GraphItems::SunSensor, platform::clMaroon},
      {"Earth MA", &gimbra::GraphItems::EarthMa, platform::clOlive},
      {"camera Earth, coloured by the file", &gimbra::GraphItems::CameraEarth, platform::clRed},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    gimbratest::PlotFixture f;
    f.inputs.DataFileName = "sample.ang";
    f.inputs.Items.*k.box = true;
    auto ctx = f.Context();
    ASSERT_EQ(gimbra::DrawPlot(ctx), DrawResult::Drawn);
    std::size_t points = 0;
    for (const auto& op : f.canvas.ops) {
      if ((op.kind == Kind::LineTo || op.kind == Kind::MoveTo) && op.pen == k.pen) ++points;
    }
    // Whole circles of Map + 1 points each.
    EXPECT_GT(points, 0u);
    EXPECT_EQ(points % 601, 0u);
  }
}

TEST(DrawPlot, ScreenScaleMovesTheTextsAndTheBorderFollowsTheImage) {
  gimbratest::PlotFixture f;
  f.plot.ScreenScale = 1.25f;  // a 121 pixels-per-inch screen: (121 - 1) / 96
  auto ctx = f.Context();
  ASSERT_EQ(gimbra::DrawPlot(ctx), DrawResult::Drawn);
  EXPECT_EQ(f.plot.PlotWidth, 1000);
  EXPECT_EQ(f.plot.PlotHeight, 750);
  EXPECT_EQ(f.plot.PlotRadius, 375);
  EXPECT_TRUE(HasText(f.canvas, 888, 675, "CENTER"));  // trunc(711 x 1.25), trunc(540 x 1.25)
  EXPECT_TRUE(HasText(f.canvas, 5, 697, "ORBIT PLANE"));
  const auto lines = f.canvas.of(Kind::LineTo);
  EXPECT_EQ(lines[0].x2, 999);
  EXPECT_EQ(lines[1].y2, 749);
}

TEST(DrawPlot, DemoCentreIsTheReferenceAttitudeRounded) {
  // source: tools/reference/m1-63-attitude.py rebuilds ALON 210, ALAT -5 of
  // M1-63 at 2018-01-22 0 h from first principles: the celestial unit vector
  // (-0.210544, 0.655997, 0.724802), declination asin(0.724802) = 46.45 deg,
  // right ascension atan2(0.655997, -0.210544) = 107.79 deg; the plot centre
  // is each plus 0.5, truncated: 46 and 108.
  gimbratest::PlotFixture f;
  f.nav.KepsDir = gimbratest::SourceDir() + "data/demo-keps/";
  f.inputs.SatelliteList = {"M1-63"};
  f.inputs.SatelliteIndex = 0;
  auto ctx = f.Context();
  ASSERT_EQ(gimbra::DrawPlot(ctx), DrawResult::Drawn);
  EXPECT_FLOAT_EQ(f.plot.CenterDec, 46);
  EXPECT_FLOAT_EQ(f.plot.CenterRa, 108);
  EXPECT_TRUE(HasText(f.canvas, 711, 558, "DEC= 46.0"));
  EXPECT_TRUE(HasText(f.canvas, 711, 576, "RA = 108.0"));
  EXPECT_TRUE(HasText(f.canvas, 1, 1, "M1-63  Attitude  Plotter"));
}

}  // namespace
