// The Earth-arc locus on a geometry built by hand: a spin axis, an Earth
// disc, the Sun, and the limb points where the sensor cone meets the limb.
// The arc a record would carry is the turn angle from the Sun to that limb
// point about the axis; the solver must then plot the axis itself.
#include <cmath>

#include <gtest/gtest.h>

#include "gimbra/core/plot.h"
#include "plotfixture.h"

namespace {

using navlib::Vec3;
using Kind = platform::RecordingCanvas::Kind;

Vec3 Unit(double x, double y, double z) {
  const double l = std::sqrt(x * x + y * y + z * z);
  return {static_cast<float>(x / l), static_cast<float>(y / l), static_cast<float>(z / l)};
}

class EarthArc : public ::testing::Test {
 protected:
  void SetUp() override {
    // The view looks along the celestial x axis, which is the spin axis:
    // the axis projects to the centre pixel (400, 300), and its one-pixel
    // mark fills column 399 of row 300.
    gimbra::PlotState& p = f_.plot;
    p.PlotWidth = 800;
    p.PlotHeight = 600;
    p.CenterX = 400;
    p.CenterY = 300;
    p.Zoom = 1;
    p.PlotRadius = 300;
    p.ViewCosDec = 1;
    p.ViewNegSinDec = 0;
    p.ViewCosRa = 1;
    p.ViewNegSinRa = 0;
    axis_ = {1, 0, 0};
    // Earth 88 deg from the axis with an angular radius of 10 deg: the
    // lower sensor's 85 deg cone meets its limb twice.
    const float gammaDeg = 85;
    w_.Earth = Unit(std::cos(88 * M_PI / 180), std::sin(88 * M_PI / 180) * std::cos(0.3),
                    std::sin(88 * M_PI / 180) * std::sin(0.3));
    const float rho = navlib::Rad(10);
    w_.CosRho = std::cos(rho);
    w_.CosGamma = std::cos(navlib::Rad(gammaDeg));
    w_.SinGamma = std::sin(navlib::Rad(gammaDeg));
    ASSERT_TRUE(navlib::ConeIntersect(axis_, w_.Earth, w_.CosGamma, w_.CosRho, y1_, y2_));
    // The Sun off to one side of the axis, lighting the first crossing.
    w_.Sun = Unit(0.4, -0.3, 0.8);
  }

  // Puts the limb point at `crossing` and returns the arc (256ths) a record
  // would carry for the axis of the fixture.
  float AimAt(const Vec3& crossing) {
    w_.Limb = crossing;
    w_.SunLimb = navlib::Dot(w_.Sun, w_.Limb);
    return navlib::TurnAngle(axis_, w_.Sun, crossing) * 128 / navlib::Nc.Pi;
  }

  bool AxisPixelFilled() const {
    for (const auto& op : f_.canvas.of(Kind::FillRect)) {
      if (op.x1 == 399 && op.y1 == 300 && op.x2 == 400 && op.y2 == 301) return true;
    }
    return false;
  }

  gimbratest::PlotFixture f_;
  gimbra::EarthArcWork w_;
  Vec3 axis_, y1_, y2_;
};

TEST_F(EarthArc, EdgeFlagOneSelectsTheSecondCrossingAndEveryOtherValueTheFirst) {
  struct Case {
    const char* name;
    int edge;
    bool atFirstCrossing;  // the limb point of the measurement
    bool plotted;
  } cases[] = {
      {"edge 0, first crossing", 0, true, true},
      {"edge -1 counts as the first", -1, true, true},
      {"edge 2 counts as the first", 2, true, true},
      {"edge 1 at the first crossing: not this axis", 1, true, false},
      {"edge 1, second crossing", 1, false, true},
      {"edge 0 at the second crossing: not this axis", 0, false, false},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    f_.canvas.clear();
    w_.Edge = k.edge;
    const float arc = AimAt(k.atFirstCrossing ? y1_ : y2_);
    auto ctx = f_.Context();
    gimbra::EarthArcSolve(ctx, w_, 85, arc);
    EXPECT_EQ(AxisPixelFilled(), k.plotted);
  }
}

TEST_F(EarthArc, PlottedAxisLeavesItsPixelAndOnlyFillsSinglePixels) {
  w_.Edge = 0;
  const float arc = AimAt(y1_);
  auto ctx = f_.Context();
  gimbra::EarthArcSolve(ctx, w_, 85, arc);
  ASSERT_TRUE(AxisPixelFilled());
  for (const auto& op : f_.canvas.of(Kind::FillRect)) {
    EXPECT_EQ(op.x2 - op.x1, 1);
    EXPECT_EQ(op.y2 - op.y1, 1);
  }
  EXPECT_TRUE(f_.canvas.of(Kind::LineTo).empty());
}

TEST_F(EarthArc, ArcZeroIsSolvedAndNegativeArcsAreSkipped) {
  // An arc of 0 puts the axis in the plane of the Sun and the limb point,
  // where the two candidate axes meet: a tangent case that rounding decides
  // point by point. Along a whole limb some points give a solution; a
  // negative arc gives none at any point.
  w_.Edge = 0;
  auto sweep = [&](float arc) {
    f_.canvas.clear();
    auto ctx = f_.Context();
    const navlib::Vec3 e = w_.Earth;
    // Two directions across the Earth's direction.
    const navlib::Vec3 u = Unit(-e.y, e.x, 0);
    const navlib::Vec3 v = Unit(e.y * u.z - e.z * u.y, e.z * u.x - e.x * u.z, e.x * u.y - e.y * u.x);
    const double rho = std::acos(static_cast<double>(w_.CosRho));
    for (int j = 0; j < 3000; ++j) {
      const double a = 2 * M_PI * j / 3000;
      const double c = std::cos(rho), s = std::sin(rho);
      w_.Limb = Unit(c * e.x + s * (std::cos(a) * u.x + std::sin(a) * v.x),
                     c * e.y + s * (std::cos(a) * u.y + std::sin(a) * v.y),
                     c * e.z + s * (std::cos(a) * u.z + std::sin(a) * v.z));
      w_.SunLimb = navlib::Dot(w_.Sun, w_.Limb);
      gimbra::EarthArcSolve(ctx, w_, 85, arc);
    }
    return f_.canvas.of(Kind::FillRect).size();
  };
  const std::size_t zeroPixels = sweep(0);
  EXPECT_GT(zeroPixels, 0u);
  for (float negative : {-0.001f, -1.0f, -200.0f}) {
    SCOPED_TRACE(negative);
    EXPECT_EQ(sweep(negative), 0u);
    EXPECT_TRUE(f_.canvas.ops.empty());
  }
}

TEST_F(EarthArc, NoSensorGeometrySolvesNothing) {
  // q = (sg cos A)^2 + cg^2 = 0 would divide by zero.
  w_.CosGamma = 0;
  w_.SinGamma = 0;
  AimAt(y1_);
  auto ctx = f_.Context();
  gimbra::EarthArcSolve(ctx, w_, 0, 64);
  EXPECT_TRUE(f_.canvas.ops.empty());
}

TEST_F(EarthArc, AxisBehindTheViewerIsNotPlotted) {
  w_.Edge = 0;
  const float arc = AimAt(y1_);
  f_.plot.ViewCosRa = -1;  // looking along -x: the axis is on the far side
  auto ctx = f_.Context();
  gimbra::EarthArcSolve(ctx, w_, 85, arc);
  EXPECT_FALSE(AxisPixelFilled());
  EXPECT_LE(f_.plot.LastDepth, 0);
}

TEST_F(EarthArc, SelectArcAxisTellsTheTwoAxesApartByTheTurnAngle) {
  const float arc = AimAt(y1_);
  const float turn = arc * navlib::Nc.Pi / 128;
  navlib::Vec3 chosen;
  ASSERT_TRUE(gimbra::SelectArcAxis(w_, navlib::Dot(axis_, w_.Sun), turn, chosen));
  EXPECT_NEAR(chosen.x, 1, 1e-4);
  EXPECT_NEAR(chosen.y, 0, 1e-4);
  EXPECT_NEAR(chosen.z, 0, 1e-4);
  // A cosine beyond 1: the cones do not meet, no candidate.
  EXPECT_FALSE(gimbra::SelectArcAxis(w_, 1.5f, turn, chosen));
}

TEST(EarthLimbFrame, EarthAtACelestialPoleHasNoFrame) {
  float sd = 0, cd = 0, ca = 0, sa = 0;
  EXPECT_FALSE(gimbra::EarthLimbFrame({0, 0, 1}, sd, cd, ca, sa));
  EXPECT_FALSE(gimbra::EarthLimbFrame({0, 0, -1}, sd, cd, ca, sa));
  EXPECT_FALSE(gimbra::EarthLimbFrame({0, 0, -1.0000001f}, sd, cd, ca, sa));
  EXPECT_FALSE(gimbra::EarthLimbFrame({NAN, 0, NAN}, sd, cd, ca, sa));
  ASSERT_TRUE(gimbra::EarthLimbFrame(Unit(0, 0.6, 0.8), sd, cd, ca, sa));
  // Declination asin 0.8, right ascension 90 deg.
  EXPECT_FLOAT_EQ(sd, 0.8f);
  EXPECT_NEAR(cd, 0.6, 1e-6);
  EXPECT_NEAR(ca, 0, 1e-6);
  EXPECT_NEAR(sa, 1, 1e-6);
}

}  // namespace
