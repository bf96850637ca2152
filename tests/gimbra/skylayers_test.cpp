// The sky layers' own rules: which circles a record draws, at what time,
// about what and how large. The EQUATOR fixture's orbit frame is the
// celestial frame at the calculation date, so an attitude of ALON = right
// ascension and ALAT = declination centres the plot on that direction, and
// a circle of radius r about the centre has a pixel radius of 300 sin r.
#include <cmath>
#include <numeric>

#include <gtest/gtest.h>

#include "gimbra/core/plot.h"
#include "navlib/textnum.h"
#include "plotfixture.h"

namespace {

using Kind = platform::RecordingCanvas::Kind;

// Points handed to the canvas, and how many whole circles they make.
std::vector<std::pair<int, int>> Points(const platform::RecordingCanvas& c) {
  std::vector<std::pair<int, int>> pts;
  for (const auto& op : c.ops) {
    if (op.kind == Kind::MoveTo || op.kind == Kind::LineTo) pts.emplace_back(op.x2, op.y2);
  }
  return pts;
}
int CircleCount(const platform::RecordingCanvas& c, const gimbra::PlotState& p) {
  const auto n = Points(c).size();
  EXPECT_EQ(n % static_cast<std::size_t>(p.CircleSegments + 1), 0u);
  return static_cast<int>(n / static_cast<std::size_t>(p.CircleSegments + 1));
}
double MeanDistance(const std::vector<std::pair<int, int>>& pts, std::size_t from, std::size_t to) {
  double sum = 0;
  for (std::size_t i = from; i < to; ++i) sum += std::hypot(pts[i].first - 400.0, pts[i].second - 300.0);
  return sum / static_cast<double>(to - from);
}

// A fixture whose Draw (frame and grid only) has set up the view.
struct Drawn : gimbratest::PlotFixture {
  explicit Drawn(const char* satellite = "MOLNIYA", const char* alon = "210", const char* alat = "-5") {
    inputs.SatelliteList = {satellite};
    inputs.SatelliteIndex = 0;
    inputs.AlonText = alon;
    inputs.AlatText = alat;
    auto ctx = Context();
    EXPECT_EQ(gimbra::DrawPlot(ctx), gimbra::DrawResult::Drawn);
    canvas.clear();
    host.processEventsCalls = 0;
  }
};

TEST(SkyLayers, GridIsEighteenMeridiansAndSeventeenParallelsAtAnyZoomAndSegmentCount) {
  struct Case {
    int zoomIndex;
    const char* map;
  } cases[] = {{0, "36"}, {2, "600"}, {7, "3000"}, {9, "100"}};
  for (const auto& k : cases) {
    SCOPED_TRACE(k.map);
    gimbratest::PlotFixture f;
    f.inputs.ZoomIndex = k.zoomIndex;
    f.inputs.MapSegmentsText = k.map;
    auto ctx = f.Context();
    f.nav.SatName = "MOLNIYA";
    ASSERT_TRUE(navlib::SetupElements(f.nav));
    gimbra::SetUpView(ctx);
    f.plot.CenterX = 400;
    f.plot.CenterY = 300;
    gimbra::DrawOrbitGrid(ctx);
    EXPECT_EQ(CircleCount(f.canvas, f.plot), 35);
    EXPECT_EQ(f.host.processEventsCalls, 35);
    for (const auto& op : f.canvas.ops) EXPECT_EQ(op.pen, platform::clGray);
    EXPECT_EQ(f.canvas.pen, platform::clBlack);
  }
}

TEST(SkyLayers, EarthSensorRecordWithAZeroMaSkipsThatCircle) {
  struct Case {
    const char* name;
    float lower, upper;
    int circles;
  } cases[] = {
      {"both crossings", 40.5f, 112.25f, 2},
      {"lower MA 0: only the upper circle", 0, 112.25f, 1},
      {"upper MA 0: only the lower circle", 40.5f, 0, 1},
      {"both 0: nothing", 0, 0, 0},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.name);
    Drawn f;
    f.data.EarthSensorRecords.Items[0] = {12350, k.lower, k.upper, 1};
    f.data.EarthSensorRecords.Count = 1;
    auto ctx = f.Context();
    gimbra::DrawEarthMaLayer(ctx);
    EXPECT_EQ(CircleCount(f.canvas, f.plot), k.circles);
    EXPECT_EQ(f.host.processEventsCalls, 0);  // the MA pass runs without pauses
  }
}

TEST(SkyLayers, EarthSensorTimesAreFractionsOfTheDayTheMaPassLeaves) {
  // The Earth's direction seen from the satellite, computed here from the
  // library's propagation for the time the record means.
  auto earthAt = [](navlib::NavState& nav, float day, float frac) {
    nav.DayNum = day;
    nav.DayFrac = frac;
    navlib::SatState(nav);
    float lat = 0, lon = 0;
    navlib::VectorToLatLon({-nav.SatDir.x, -nav.SatDir.y, -nav.SatDir.z}, lat, lon);
    return std::pair{navlib::Deg(lat), navlib::Deg(lon)};
  };
  {
    SCOPED_TRACE("no ES records: the calculation date");
    Drawn f;
    f.data.EarthMaRecords.Items[0] = {0, 0.3f, 0, -1};
    f.data.EarthMaRecords.Count = 1;
    auto ctx = f.Context();
    gimbra::DrawEarthMaLayer(ctx);
    EXPECT_EQ(CircleCount(f.canvas, f.plot), 1);
    EXPECT_EQ(f.host.processEventsCalls, 1);  // after each EM record
    // The library's time is back at the calculation date.
    EXPECT_FLOAT_EQ(f.nav.DayNum, static_cast<float>(navlib::DayNumber(2018, 1, 22)));
    EXPECT_FLOAT_EQ(f.nav.DayFrac, 0);
    const auto [dec, ra] = earthAt(f.nav, static_cast<float>(navlib::DayNumber(2018, 1, 22)), 0.3f);
    EXPECT_NEAR(f.plot.EarthDec, dec, 1e-3);
    EXPECT_NEAR(f.plot.EarthRa, ra, 1e-3);
  }
  {
    SCOPED_TRACE("after an ES record: the day of its upper crossing");
    Drawn f;
    f.data.EarthSensorRecords.Items[0] = {12400, 40.5f, 0, 1};  // upper MA 0: the time is still left there
    f.data.EarthSensorRecords.Count = 1;
    f.data.EarthMaRecords.Items[0] = {0, 0, 0.7f, 1};
    f.data.EarthMaRecords.Count = 1;
    auto ctx = f.Context();
    gimbra::DrawEarthMaLayer(ctx);
    EXPECT_EQ(CircleCount(f.canvas, f.plot), 2);
    navlib::TimeFromOrbitMa(f.nav, 12400, -0.5f);
    const float day = f.nav.DayNum;
    EXPECT_NE(day, static_cast<float>(navlib::DayNumber(2018, 1, 22)));
    const auto [dec, ra] = earthAt(f.nav, day, 0.7f);
    EXPECT_NEAR(f.plot.EarthDec, dec, 1e-3);
    EXPECT_NEAR(f.plot.EarthRa, ra, 1e-3);
  }
}

TEST(SkyLayers, SunFudgeShrinksTheSunSensorCircle) {
  // Centre the plot on the Sun of 22 January 2018, 0 h.
  Drawn probe("EQUATOR", "0", "0");
  navlib::SunPosition(probe.nav);
  const std::string ra = navlib::Format("%.3f", navlib::Deg(probe.nav.SunRa));
  const std::string dec = navlib::Format("%.3f", navlib::Deg(probe.nav.SunDec));
  // A reading of 40 counts: sun angle atan(sin(40.5 pi / 256) tan 60) = 39.55 deg,
  // so the circle's radius is 50.45 deg, or 48.45 deg with a fudge of 2.
  double radius[2];
  for (int i = 0; i < 2; ++i) {
    Drawn f("EQUATOR", ra.c_str(), dec.c_str());
    f.plot.SunFudge = i == 0 ? 0.0f : 2.0f;
    f.data.SunSensorRecords.Items[0] = {2018, 22, 40};
    f.data.SunSensorRecords.Count = 1;
    auto ctx = f.Context();
    gimbra::DrawSunSensorLayer(ctx);
    const auto pts = Points(f.canvas);
    ASSERT_EQ(CircleCount(f.canvas, f.plot), 1);
    radius[i] = MeanDistance(pts, 0, pts.size());
    const double sunAngle = navlib::Deg(navlib::SensorAngleFromMa(f.nav, 40)) + f.plot.SunFudge;
    EXPECT_NEAR(radius[i], 300 * std::sin((90 - sunAngle) * M_PI / 180), 1.5);
  }
  // 2 deg smaller: 300 (sin 50.45 - sin 48.45) = 6.8 pixels.
  EXPECT_NEAR(radius[0] - radius[1], 300 * (std::sin(50.45 * M_PI / 180) - std::sin(48.45 * M_PI / 180)), 0.5);
}

TEST(SkyLayers, SquintFromTheSubSatellitePointIsACircleAboutNadir) {
  // The satellite at 2018-01-22 6 h UTC, its sub-satellite point and nadir,
  // from the library's propagation and Earth rotation.
  Drawn probe("EQUATOR", "0", "0");
  navlib::NavState& nav = probe.nav;
  nav.DayNum = static_cast<float>(navlib::DayNumber(2018, 1, 0));
  nav.DayFrac = 22.25f;
  navlib::NormalizeTime(nav);
  navlib::SatState(nav);
  navlib::EarthRotation(nav);
  const navlib::Vec3 fixed = navlib::CelestialToEarth(nav, nav.SatDir);
  float subLat = 0, subLon = 0, nadirDec = 0, nadirRa = 0;
  navlib::VectorToLatLon(fixed, subLat, subLon);
  navlib::VectorToLatLon({-nav.SatDir.x, -nav.SatDir.y, -nav.SatDir.z}, nadirDec, nadirRa);

  const std::string alon = navlib::Format("%.3f", navlib::Deg(nadirRa));
  const std::string alat = navlib::Format("%.3f", navlib::Deg(nadirDec));
  Drawn f("EQUATOR", alon.c_str(), alat.c_str());
  f.data.SquintRecords.Items[0] = {navlib::Deg(subLat), navlib::Deg(subLon), 2018, 22, 6, 0, 20};
  f.data.SquintRecords.Count = 1;
  auto ctx = f.Context();
  gimbra::DrawSquintLayer(ctx);
  const auto pts = Points(f.canvas);
  const std::size_t n = static_cast<std::size_t>(f.plot.CircleSegments + 1);
  ASSERT_EQ(pts.size(), 2 * n);  // the marker, then the circle
  EXPECT_NEAR(MeanDistance(pts, 0, n), 5.2, 3.0);                                 // marker at nadir
  EXPECT_NEAR(MeanDistance(pts, n, 2 * n), 300 * std::sin(20 * M_PI / 180), 2.0);  // 102.6 pixels
  for (const auto& op : f.canvas.ops) EXPECT_EQ(op.pen, platform::clTeal);
}

TEST(SkyLayers, EmptyTablesDrawNothingButStillSetAndResetThePen) {
  Drawn f;
  auto ctx = f.Context();
  for (auto layer : {gimbra::DrawSunSensorLayer, gimbra::DrawEarthMaLayer, gimbra::DrawSquintLayer,
                     gimbra::DrawCameraEarthLayer, gimbra::DrawCameraMoonLayer, gimbra::DrawEarthArcLayer}) {
    f.canvas.pen = platform::clWhite;
    layer(ctx);
  }
  EXPECT_TRUE(f.canvas.ops.empty());
  EXPECT_EQ(f.canvas.brush, platform::clSilver);
}

TEST(SkyLayers, MoreLimbPointsMakeTheEarthArcDenserWithoutMovingIt) {
  // The demo's first Earth-arc record at 36 and at 3000 limb points.
  gimbratest::PlotFixture f;
  f.nav.KepsDir = gimbratest::SourceDir() + "data/demo-keps/";
  f.inputs.SatelliteList = {"M1-63"};
  f.inputs.SatelliteIndex = 0;
  f.inputs.DataFileName = "M1-63.ang";
  std::vector<std::pair<int, int>> pixels[2];
  const char* maps[2] = {"36", "3000"};
  for (int i = 0; i < 2; ++i) {
    f.inputs.MapSegmentsText = maps[i];
    auto ctx = f.Context();
    ASSERT_EQ(gimbra::DrawPlot(ctx), gimbra::DrawResult::Drawn);
    f.data.EarthArcRecords.Count = 1;
    f.canvas.clear();
    gimbra::DrawEarthArcLayer(ctx);
    for (const auto& op : f.canvas.of(Kind::FillRect)) pixels[i].emplace_back(op.x1, op.y1);
  }
  ASSERT_FALSE(pixels[0].empty());
  EXPECT_GT(pixels[1].size(), 10 * pixels[0].size());
  for (const auto& [x, y] : pixels[0]) {
    double best = 1e9;
    for (const auto& [u, v] : pixels[1]) best = std::min(best, std::hypot(x - u, y - v));
    EXPECT_LE(best, 2.0) << x << "," << y;
  }
}

TEST(Frame, SunBehindTheViewerLosesItsLabelAndTheAntiSunGetsOne) {
  // Centre on the Sun, then on the anti-Sun.
  Drawn probe("EQUATOR", "0", "0");
  navlib::SunPosition(probe.nav);
  const float ra = navlib::Deg(probe.nav.SunRa), dec = navlib::Deg(probe.nav.SunDec);
  struct Case {
    const char* name;
    float alon, alat;
    const char* shown;
    const char* hidden;
  } cases[] = {
      {"facing the Sun", ra, dec, "SUN", "-sun"},
      {"facing away", std::fmod(ra + 180, 360.0f), -dec, "-sun", "SUN"},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.name);
    gimbratest::PlotFixture f;
    f.inputs.SatelliteIndex = 1;  // EQUATOR
    f.inputs.Items.EclipticSun = true;
    f.inputs.AlonText = navlib::Format("%.3f", k.alon);
    f.inputs.AlatText = navlib::Format("%.3f", k.alat);
    auto ctx = f.Context();
    ASSERT_EQ(gimbra::DrawPlot(ctx), gimbra::DrawResult::Drawn);
    int shown = 0, hidden = 0;
    for (const auto& op : f.canvas.of(Kind::TextOut)) {
      shown += op.text == k.shown;
      hidden += op.text == k.hidden;
      // The label stands 9 pixels right of and below the marker's east point,
      // about 5 pixels east of the centre.
      if (op.text == k.shown) {
        EXPECT_NEAR(op.x1, 400 + 5 + 9, 4);
        EXPECT_NEAR(op.y1, 300 + 9, 4);
      }
    }
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(hidden, 0);
  }
}

}  // namespace
