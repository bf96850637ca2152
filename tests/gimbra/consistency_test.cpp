// The measurement layers against a known attitude: records made from an
// attitude (by the demo generator, which inverts each layer's geometry with
// the orbit library) must give circles and Earth arcs that pass through the
// pixel of that attitude. This ties every layer's time handling, frame and
// radius to the meaning of its record.
#include <cmath>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "gimbra/core/plot.h"
#include "plotfixture.h"
#include "tools/attitude-demo/demogen.h"

namespace {

using Kind = platform::RecordingCanvas::Kind;

struct Scenario {
  const char* name;
  std::string kepsDir;
  const char* satellite;
  const char* alon;
  const char* alat;
  const char* date;
  bool useCommittedFile;  // the demo's M1-63.ang as committed, else made here
};

void PrintTo(const Scenario& s, std::ostream* os) { *os << s.name; }

class Consistency : public ::testing::TestWithParam<Scenario> {
 protected:
  void SetUp() override {
    const Scenario& s = GetParam();
    f_.nav.KepsDir = s.kepsDir;
    f_.inputs.SatelliteList = {s.satellite};
    f_.inputs.SatelliteIndex = 0;
    f_.inputs.AlonText = s.alon;
    f_.inputs.AlatText = s.alat;
    f_.inputs.CalcDateText = s.date;
    f_.inputs.DataFileName = "none.ang";
    auto ctx = f_.Context();
    ASSERT_EQ(gimbra::DrawPlot(ctx), gimbra::DrawResult::Drawn);

    attitudedemo::DemoAttitudeCase demo;
    demo.AlonDeg = std::stof(s.alon);
    demo.AlatDeg = std::stof(s.alat);
    demo.CalcDate = s.date;
    const navlib::Vec3 axis = attitudedemo::DemoAttitude(f_.nav, demo);
    std::string text;
    if (s.useCommittedFile) {
      std::ifstream in(s.kepsDir + s.satellite + ".ang", std::ios::binary);
      std::ostringstream all;
      all << in.rdbuf();
      text = all.str();
    } else {
      text = attitudedemo::MakeDemoAttitudeText(f_.nav, demo);
    }
    ASSERT_FALSE(text.empty());
    gimbra::ReadAttitudeText(text, 0, 0, all_, nullptr);
    // The library's time back at the calculation date, as the layers find it.
    f_.nav.DayNum = static_cast<float>(navlib::ParseDate(s.date));
    f_.nav.DayFrac = 0;

    // Pixel of the true attitude, unrounded.
    gimbra::PlotState& p = f_.plot;
    p.WorkVec = {axis.x * p.PlotRadius, axis.y * p.PlotRadius, axis.z * p.PlotRadius};
    gimbra::ProjectToView(p);
    ASSERT_GT(p.LastDepth, 0);
    axisX_ = p.PlotWidth - (p.CenterX - p.LastEast);
    axisY_ = p.CenterY - p.LastNorth;
  }

  // Draws one layer with the given tables on an empty canvas.
  void DrawLayer(void (*layer)(gimbra::PlotContext&), const gimbra::AttitudeData& data) {
    f_.data = data;
    f_.canvas.clear();
    auto ctx = f_.Context();
    layer(ctx);
  }

  // The circles drawn, each CircleSegments + 1 points.
  std::vector<std::vector<platform::RecordingCanvas::Op>> Circles() const {
    std::vector<std::vector<platform::RecordingCanvas::Op>> circles;
    const std::size_t n = static_cast<std::size_t>(f_.plot.CircleSegments) + 1;
    std::vector<platform::RecordingCanvas::Op> points;
    for (const auto& op : f_.canvas.ops) {
      if (op.kind == Kind::MoveTo || op.kind == Kind::LineTo) points.push_back(op);
    }
    EXPECT_EQ(points.size() % n, 0u);
    for (std::size_t i = 0; i + n <= points.size(); i += n) {
      circles.emplace_back(points.begin() + static_cast<long>(i), points.begin() + static_cast<long>(i + n));
    }
    return circles;
  }

  // Pixels from the attitude to the nearest drawn segment of a circle.
  double Miss(const std::vector<platform::RecordingCanvas::Op>& circle) const {
    double best = 1e9;
    for (const auto& op : circle) {
      if (op.kind != Kind::LineTo) continue;
      const double ax = op.x1, ay = op.y1, bx = op.x2, by = op.y2;
      const double dx = bx - ax, dy = by - ay, len2 = dx * dx + dy * dy;
      double t = len2 > 0 ? ((axisX_ - ax) * dx + (axisY_ - ay) * dy) / len2 : 0;
      t = std::max(0.0, std::min(1.0, t));
      best = std::min(best, std::hypot(axisX_ - (ax + t * dx), axisY_ - (ay + t * dy)));
    }
    return best;
  }

  void ExpectEveryCircleThroughTheAttitude(int expectedCircles, int everyNth = 1, int first = 0) {
    const auto circles = Circles();
    EXPECT_EQ(static_cast<int>(circles.size()), expectedCircles);
    for (std::size_t i = static_cast<std::size_t>(first); i < circles.size(); i += static_cast<std::size_t>(everyNth)) {
      SCOPED_TRACE("circle " + std::to_string(i));
      EXPECT_LE(Miss(circles[i]), 2.0);
    }
  }

  gimbratest::PlotFixture f_;
  gimbra::AttitudeData all_;
  double axisX_ = 0, axisY_ = 0;
};

TEST_P(Consistency, SunSensorCircles) {
  ASSERT_GE(all_.SunSensorRecords.Count, 2);
  DrawLayer(gimbra::DrawSunSensorLayer, all_);
  ExpectEveryCircleThroughTheAttitude(all_.SunSensorRecords.Count);
}

TEST_P(Consistency, EarthSensorCirclesByMaAndByTime) {
  ASSERT_GE(all_.EarthSensorRecords.Count, 2);
  ASSERT_GE(all_.EarthMaRecords.Count, 1);
  int circles = 0;
  for (int i = 0; i < all_.EarthSensorRecords.Count; ++i) {
    const auto& r = all_.EarthSensorRecords.Items[static_cast<std::size_t>(i)];
    circles += (r.MaLower != 0) + (r.MaUpper != 0);
  }
  for (int i = 0; i < all_.EarthMaRecords.Count; ++i) {
    const auto& r = all_.EarthMaRecords.Items[static_cast<std::size_t>(i)];
    circles += (r.TimeLower != 0) + (r.TimeUpper != 0);
  }
  // The time records are fractions of the day the MA records leave the
  // library at, so both kinds are drawn together as the layer draws them.
  DrawLayer(gimbra::DrawEarthMaLayer, all_);
  ExpectEveryCircleThroughTheAttitude(circles);
}

TEST_P(Consistency, SquintCircles) {
  ASSERT_GE(all_.SquintRecords.Count, 2);
  DrawLayer(gimbra::DrawSquintLayer, all_);
  // Each record: a marker at the station, then its circle.
  ExpectEveryCircleThroughTheAttitude(2 * all_.SquintRecords.Count, 2, 1);
}

TEST_P(Consistency, CameraEarthCircles) {
  ASSERT_GE(all_.CameraEarthRecords.Count, 2);
  DrawLayer(gimbra::DrawCameraEarthLayer, all_);
  ExpectEveryCircleThroughTheAttitude(all_.CameraEarthRecords.Count);
}

TEST_P(Consistency, CameraMoonCircles) {
  ASSERT_GE(all_.CameraMoonRecords.Count, 2);
  DrawLayer(gimbra::DrawCameraMoonLayer, all_);
  ExpectEveryCircleThroughTheAttitude(all_.CameraMoonRecords.Count);
}

TEST_P(Consistency, EarthArcLociPassByTheAttitude) {
  ASSERT_GE(all_.EarthArcRecords.Count, 2);
  // A dense limb: 3000 limb points per record.
  gimbra::BuildCircleTable(f_.plot, 3000);
  for (int i = 0; i < all_.EarthArcRecords.Count; ++i) {
    SCOPED_TRACE("EA record " + std::to_string(i));
    gimbra::AttitudeData one = all_;
    one.EarthArcRecords.Items[0] = all_.EarthArcRecords.Items[static_cast<std::size_t>(i)];
    one.EarthArcRecords.Count = 1;
    DrawLayer(gimbra::DrawEarthArcLayer, one);
    // Both loci, each in its colour, come within two pixels of the attitude.
    for (const platform::Color colour : {all_.EarthArcColor1, all_.EarthArcColor2}) {
      double best = 1e9;
      for (const auto& op : f_.canvas.of(Kind::FillRect)) {
        if (!(op.brush == colour)) continue;
        // The pixel of a point (x, y) is column x - 1 of row y.
        best = std::min(best, std::hypot(axisX_ - (op.x1 + 1), axisY_ - op.y1));
      }
      EXPECT_LE(best, 2.0);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Demo, Consistency,
    ::testing::Values(
        // source: data/demo-keps, real January 2018 elements of MOLNIYA 1-63 and
        // the committed synthetic data file.
        Scenario{"CommittedDemo", gimbratest::SourceDir() + "data/demo-keps/", "M1-63", "210", "-5", "2018-01-22", true},
        // A made-up Molniya orbit and another attitude, records made here.
        Scenario{"FixtureOrbit", gimbratest::TestDataDir(), "MOLNIYA", "250", "10", "2018-01-21", false}),
    [](const ::testing::TestParamInfo<Scenario>& info) { return std::string(info.param.name); });

}  // namespace
