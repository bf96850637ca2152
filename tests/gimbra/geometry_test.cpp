// The sky projection: circles on the celestial sphere as the plot shows them.
// Expected pixels follow from the orthographic projection worked by hand:
// a direction at angle r from the plot centre lies r's sine times the
// plot radius from the centre pixel; north is up, east to the right.
#include <cmath>

#include <gtest/gtest.h>

#include "gimbra/core/plot.h"
#include "platform/recordingcanvas.h"
#include "navlib/textnum.h"
#include "plotfixture.h"

namespace {

using gimbra::PlotState;
using platform::RecordingCanvas;
using Kind = platform::RecordingCanvas::Kind;

// An 800 x 600 plot centred on (decDeg, raDeg) at the given zoom, with the
// circle table the view set-up would build.
void SetView(PlotState& p, float decDeg, float raDeg, float zoom, int segments = 360) {
  p.ScreenScale = 1;
  p.PlotWidth = 800;
  p.PlotHeight = 600;
  p.CenterX = 400;
  p.CenterY = 300;
  p.Zoom = zoom;
  p.PlotRadius = static_cast<int>(600 * zoom * 0.5);
  p.CenterDec = decDeg;
  p.CenterRa = raDeg;
  p.ViewCosDec = std::cos(navlib::Rad(decDeg));
  p.ViewNegSinDec = -std::sin(navlib::Rad(decDeg));
  p.ViewCosRa = std::cos(navlib::Rad(raDeg));
  p.ViewNegSinRa = -std::sin(navlib::Rad(raDeg));
  gimbra::BuildCircleTable(p, segments);
}

// Points handed to the canvas by moves and lines.
std::vector<std::pair<int, int>> Points(const RecordingCanvas& c) {
  std::vector<std::pair<int, int>> pts;
  for (const auto& op : c.ops) {
    if (op.kind == Kind::MoveTo || op.kind == Kind::LineTo) pts.emplace_back(op.x2, op.y2);
  }
  return pts;
}

class Geometry : public ::testing::Test {
 protected:
  void SetUp() override { navlib::NavInit(nav_); }
  navlib::NavState nav_;
  PlotState p_;
  RecordingCanvas c_;
};

TEST_F(Geometry, CircleTableClosesOnItselfAndStaysWithinItsRoom) {
  struct Case {
    const char* name;
    int asked, built;
  } cases[] = {
      {"ordinary", 600, 600},
      {"too few: a stored setting of 5", 5, 36},
      {"zero", 0, 36},
      {"negative", -20, 36},
      {"more than the table holds", 5000, 3000},
      {"full table", 3000, 3000},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    gimbra::BuildCircleTable(p_, k.asked);
    EXPECT_EQ(p_.CircleSegments, k.built);
    EXPECT_FLOAT_EQ(p_.CircleCos[0], 1);
    EXPECT_FLOAT_EQ(p_.CircleSin[0], 0);
    // Entry n is the full turn: cos 1, sin about 0 (2 pi with the float pi).
    EXPECT_NEAR(p_.CircleCos[k.built], 1, 1e-6);
    EXPECT_NEAR(p_.CircleSin[k.built], 0, 1e-6);
    EXPECT_NEAR(p_.CircleCos[k.built / 4], 0, 1e-3);  // a quarter turn
  }
}

TEST_F(Geometry, GreatCircleThroughTheCentreIsAStraightLineThroughIt) {
  struct Case {
    const char* name;
    float dec, ra;          // plot centre
    float incl, node;       // a great circle through it
  } cases[] = {
      // The meridian of right ascension 45 passes every declination at RA 45.
      {"meridian through the centre", 20, 45, 90, 45},
      // The equator seen from declination 0.
      {"equator from dec 0", 0, 100, 0, 0},
      // A circle inclined 30 deg whose node is the centre itself.
      {"node at the centre", 0, 210, 30, 210},
      // The great circle of inclination 70 through (dec 35, ra 80): its node
      // lies at ra 80 - asin(tan 35 / tan 70) = 80 - 14.76 deg (spherical trigonometry).
      {"inclined circle through an off-equator centre", 35, 80, 70,
       static_cast<float>(80 - std::asin(std::tan(35 * M_PI / 180) / std::tan(70 * M_PI / 180)) * 180 / M_PI)},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    SetView(p_, k.dec, k.ra, 1);
    c_.clear();
    gimbra::DrawGreatCircle(p_, c_, k.incl, k.node);
    const auto lines = c_.of(Kind::LineTo);
    ASSERT_GT(lines.size(), 100u);  // about half the circle is visible
    // Direction of the line: from the centre to the farthest drawn point.
    double fx = 0, fy = 0, far = 0;
    for (const auto& [x, y] : Points(c_)) {
      const double d = std::hypot(x - 400.0, y - 300.0);
      if (d > far) far = d, fx = x - 400.0, fy = y - 300.0;
    }
    EXPECT_NEAR(far, 300, 2);  // it reaches the 90 deg circle
    for (const auto& op : lines) {
      // Distance of each drawn end from the line through the centre.
      const double dist = std::fabs((op.x2 - 400.0) * fy - (op.y2 - 300.0) * fx) / far;
      EXPECT_LE(dist, 1.5) << op.x2 << "," << op.y2;
    }
  }
}

TEST_F(Geometry, EquatorIsHorizontalWhenTheAttitudeIsAtDeclinationZero) {
  SetView(p_, 0, 123, 1.5);
  gimbra::DrawGreatCircle(p_, c_, 0, 0);
  for (const auto& op : c_.of(Kind::LineTo)) {
    EXPECT_NEAR(op.y2, 300, 1);
  }
  EXPECT_FALSE(c_.of(Kind::LineTo).empty());
}

TEST_F(Geometry, NorthIsUpAndEastIsRight) {
  // A marker 30 deg north of the centre lies sin 30 x 300 = 150 pixels up;
  // one 30 deg east (on the equator, centre at dec 0) 150 pixels right.
  SetView(p_, 0, 60, 1);
  gimbra::DrawSkyMarker(p_, c_, 30, 60);
  // The marker's last point is its east point, about 5 pixels from its centre.
  EXPECT_NEAR(p_.LastY, 300 - 150, 2);
  EXPECT_NEAR(p_.LastX, 400 + 5, 3);
  gimbra::DrawSkyMarker(p_, c_, 0, 90);
  EXPECT_NEAR(p_.LastX, 400 + 150 + 5, 3);
  EXPECT_NEAR(p_.LastY, 300, 2);
}

TEST_F(Geometry, MirrorFlipsEastWestAndKeepsNorthUp) {
  struct Case {
    const char* name;
    float lat, lon;
  } cases[] = {{"north-east", 25, 75}, {"south-west", -40, 20}, {"on the meridian", 10, 50}};
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    SetView(p_, 5, 50, 1);
    p_.MirrorSign = 1;
    c_.clear();
    gimbra::DrawSkyCircle(p_, c_, 3, k.lat, k.lon);
    const auto plain = Points(c_);
    p_.MirrorSign = -1;
    c_.clear();
    gimbra::DrawSkyCircle(p_, c_, 3, k.lat, k.lon);
    const auto mirrored = Points(c_);
    ASSERT_EQ(plain.size(), mirrored.size());
    for (std::size_t i = 0; i < plain.size(); ++i) {
      // x - 400 changes sign (within the truncation of each), y stays.
      EXPECT_NEAR(plain[i].first - 400, -(mirrored[i].first - 400), 1);
      EXPECT_EQ(plain[i].second, mirrored[i].second);
    }
  }
}

TEST_F(Geometry, MarkerHasTheSamePixelSizeAtEveryZoom) {
  // PlotHeight x pi / 360 = 5.24 pixels whatever the zoom.
  for (float zoom : {0.5f, 0.8f, 1.0f, 1.5f, 3.0f, 6.0f, 12.0f}) {
    SCOPED_TRACE(zoom);
    SetView(p_, -20, 300, zoom);
    c_.clear();
    gimbra::DrawSkyMarker(p_, c_, -20, 300);  // at the centre
    double rMin = 1e9, rMax = 0;
    for (const auto& [x, y] : Points(c_)) {
      const double r = std::hypot(x - 400.0, y - 300.0);
      rMin = std::min(rMin, r);
      rMax = std::max(rMax, r);
    }
    EXPECT_GE(rMin, 4.0);
    EXPECT_LE(rMax, 6.5);
  }
}

TEST_F(Geometry, CircleBehindTheViewerDrawsNothing) {
  SetView(p_, 30, 40, 1);
  // Centre of the circle opposite the plot centre, radius 10: 170 deg and
  // more from the attitude, all of it on the far side.
  gimbra::DrawSkyCircle(p_, c_, 10, -30, 220);
  EXPECT_TRUE(c_.of(Kind::LineTo).empty());
  EXPECT_EQ(c_.of(Kind::MoveTo).size(), static_cast<std::size_t>(p_.CircleSegments + 1));
  EXPECT_LT(p_.LastDepth, 0);
}

TEST_F(Geometry, CircleAcrossTheHorizonDrawsOnlyItsVisibleArc) {
  SetView(p_, 0, 0, 1);
  // A 20 deg circle about a point on the 90 deg circle: half of it is visible.
  gimbra::DrawSkyCircle(p_, c_, 20, 0, 90);
  const auto lines = c_.of(Kind::LineTo);
  EXPECT_NEAR(static_cast<double>(lines.size()), 180, 4);
  for (const auto& op : lines) EXPECT_LE(op.x2, 400 + 300);
}

TEST_F(Geometry, ZeroZoomDividesByNothingAndDrawsNoMarker) {
  // A Draw with no zoom selected before any other leaves zoom and radius 0.
  SetView(p_, 0, 0, 0);
  EXPECT_EQ(p_.PlotRadius, 0);
  gimbra::DrawSkyMarker(p_, c_, 10, 10);
  EXPECT_TRUE(c_.ops.empty());
  EXPECT_EQ(p_.LastX, 400);
  EXPECT_EQ(p_.LastY, 300);
}

TEST_F(Geometry, FarOffPixelsOnlyMoveThePen) {
  SetView(p_, 0, 0, 1);
  p_.PlotRadius = 2000000000;  // an absurd zoom: points far beyond a million pixels
  gimbra::DrawSkyCircle(p_, c_, 30, 0, 0);
  for (const auto& op : c_.ops) {
    EXPECT_LE(std::abs(op.x2), 1000000);
    EXPECT_LE(std::abs(op.y2), 1000000);
  }
  p_.WorkVec = {NAN, 0, 0};
  gimbra::ProjectToView(p_);
  int x = 7, y = 8;
  EXPECT_FALSE(gimbra::ViewPixel(p_, x, y));
  EXPECT_EQ(x, 7);
  EXPECT_EQ(y, 8);
}

TEST_F(Geometry, FrameWrappersScaleDesignCoordinatesAndPlotWrappersPassPixels) {
  p_.ScreenScale = 1.25f;
  gimbra::FrameMoveTo(p_, c_, 711, 540);
  gimbra::FrameTextOut(p_, c_, 4, 558, "ORBIT PLANE");
  gimbra::PlotMoveTo(c_, 711, 540);
  ASSERT_EQ(c_.ops.size(), 3u);
  EXPECT_EQ(c_.ops[0].x1, 888);  // trunc(711 x 1.25 = 888.75)
  EXPECT_EQ(c_.ops[0].y1, 675);
  EXPECT_EQ(c_.ops[1].x1, 5);
  EXPECT_EQ(c_.ops[1].y1, 697);  // trunc(697.5)
  EXPECT_EQ(c_.ops[2].x1, 711);
}

// The view set-up on an orbit whose frame is the celestial frame at the
// calculation date: ALAT is then the declination and ALON the right
// ascension of the attitude, and the centre is their rounding.
TEST(SetUpView, CentreIsTheAttitudeRoundedTowardZeroAfterAddingAHalf) {
  struct Case {
    const char* name;
    const char* alon;
    const char* alat;
    float dec, ra;
  } cases[] = {
      {"-0.6 deg of declination centres at 0", "10", "-0.6", 0, 10},
      {"-3.7 becomes -3, not -4", "10", "-3.7", -3, 10},
      {"3.7 becomes 4", "10", "3.7", 4, 10},
      {"10.4 of right ascension becomes 10", "10.4", "0", 0, 10},
      {"10.6 becomes 11", "10.6", "0", 0, 11},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    gimbratest::PlotFixture f;
    f.inputs.SatelliteIndex = 1;  // EQUATOR
    f.inputs.AlonText = k.alon;
    f.inputs.AlatText = k.alat;
    auto ctx = f.Context();
    f.nav.SatName = "EQUATOR";
    ASSERT_TRUE(navlib::SetupElements(f.nav));
    gimbra::SetUpView(ctx);
    EXPECT_FLOAT_EQ(f.plot.CenterDec, k.dec);
    EXPECT_FLOAT_EQ(f.plot.CenterRa, k.ra);
    EXPECT_EQ(f.plot.PlotRadius, 300);
    EXPECT_EQ(f.plot.CircleSegments, 600);
    EXPECT_EQ(f.nav.SatName, "EQUATOR");
    EXPECT_FLOAT_EQ(f.nav.DayNum, static_cast<float>(navlib::DayNumber(2018, 1, 22)));
    EXPECT_FLOAT_EQ(f.nav.DayFrac, 0);
  }
}

TEST(SetUpView, NoZoomSelectedKeepsThePreviousDrawsValues) {
  gimbratest::PlotFixture f;
  auto ctx = f.Context();
  f.nav.SatName = "MOLNIYA";
  ASSERT_TRUE(navlib::SetupElements(f.nav));
  f.inputs.ZoomIndex = 8;  // "6"
  gimbra::SetUpView(ctx);
  EXPECT_EQ(f.plot.PlotRadius, 1800);
  f.inputs.ZoomIndex = -1;
  f.inputs.MapSegmentsText = "100";
  f.inputs.AlonText = "0";
  gimbra::SetUpView(ctx);
  EXPECT_FLOAT_EQ(f.plot.Zoom, 6);
  EXPECT_EQ(f.plot.MapSegments, 600);
  EXPECT_FLOAT_EQ(f.plot.Alon, 210);
  EXPECT_FALSE(f.plot.DrawAborted);
}

TEST(SetUpView, SegmentFieldsAreKeptWithinTheTable) {
  gimbratest::PlotFixture f;
  auto ctx = f.Context();
  f.inputs.MapSegmentsText = "99999";
  f.inputs.SatSegmentsText = "2";
  gimbra::SetUpView(ctx);
  EXPECT_EQ(f.plot.MapSegments, 3000);
  EXPECT_EQ(f.plot.CircleSegments, 3000);
  EXPECT_EQ(f.plot.SatSegments, 36);
}

TEST(SetUpView, NoSatelliteSelectedAbortsBeforeAnyField) {
  gimbratest::PlotFixture f;
  f.inputs.SatelliteIndex = -1;
  f.inputs.AlonText = "not a number";
  auto ctx = f.Context();
  gimbra::SetUpView(ctx);
  EXPECT_TRUE(f.plot.DrawAborted);
  EXPECT_EQ(f.plot.PlotWidth, 800);
}

TEST(SetUpView, FieldThatDoesNotConvertRaisesTheConversionError) {
  struct Case {
    const char* name;
    std::string gimbra::PlotInputs::*field;
    const char* text;
    const char* message;
  } cases[] = {
      {"a lone minus sign", &gimbra::PlotInputs::AlonText, "-", "'-' is not a valid floating point value"},
      {"two decimal points", &gimbra::PlotInputs::AlatText, "1.2.3", "'1.2.3' is not a valid floating point value"},
      {"a segment count with a point", &gimbra::PlotInputs::MapSegmentsText, "12.5", "'12.5' is not a valid integer value"},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    gimbratest::PlotFixture f;
    f.inputs.*k.field = k.text;
    auto ctx = f.Context();
    try {
      gimbra::SetUpView(ctx);
      ADD_FAILURE() << "no conversion error";
    } catch (const navlib::ConvertError& e) {
      EXPECT_STREQ(e.what(), k.message);
    }
  }
}

}  // namespace
