// Vector and angle helpers.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "navlib/navlib.h"
#include "navlib_fixtures.h"

using namespace navlib;
using navtest::kPi;

namespace {
constexpr float kFloatPi = 3.14159274f;
}

TEST(AngleConversions, DegreesAndRadiansWithTheModelsPi) {
  struct Case {
    const char* name;
    float deg;
    float rad;
  } cases[] = {
      {"half turn is the float pi", 180, kFloatPi},
      {"right angle", 90, kFloatPi / 2},
      {"negative", -45, -kFloatPi / 4},
      {"zero", 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_FLOAT_EQ(Rad(c.deg), c.rad);
    EXPECT_FLOAT_EQ(Deg(c.rad), c.deg);
  }
}

TEST(AngleOf, QuadrantsAndAxes) {
  struct Case {
    const char* name;
    float y, x;
    double expected;
  } cases[] = {
      {"along +x", 0, 1, 0},
      {"first quadrant", 1, 1, kPi / 4},
      {"along +y", 1, 0, kPi / 2},
      {"second quadrant", 1, -1, 3 * kPi / 4},
      {"along -x is pi", 0, -1, kPi},
      {"third quadrant", -1, -1, 5 * kPi / 4},
      {"along -y is 3 pi/2", -1, 0, 3 * kPi / 2},
      {"fourth quadrant", -1, 1, 7 * kPi / 4},
      {"no direction is 0", 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_NEAR(AngleOf(c.y, c.x), c.expected, 1e-6);
  }
  // Just below the x axis the angle is just below a whole turn.
  const float a = AngleOf(-0.001f, 1);
  EXPECT_LT(a, 2 * kFloatPi);
  EXPECT_GT(a, 2 * kFloatPi - 0.0011f);
}

TEST(LatLonVectors, ConversionsBothWays) {
  struct Case {
    const char* name;
    Vec3 v;
    double lat, lon;
  } cases[] = {
      {"zero vector gives 0 and 0", {0, 0, 0}, 0, 0},
      {"pole of any length", {0, 0, 5}, kPi / 2, 0},
      {"toward -x", {-1, 0, 0}, 0, kPi},
      {"toward -y", {0, -2, 0}, 0, 3 * kPi / 2},
      {"30 deg up toward 60 deg", {0.4330127f, 0.75f, 0.5f}, kPi / 6, kPi / 3},
      {"vanishingly small is zero", {1e-38f, 0, 0}, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    float lat = -9, lon = -9;
    VectorToLatLon(c.v, lat, lon);
    EXPECT_NEAR(lat, c.lat, 1e-6);
    EXPECT_NEAR(lon, c.lon, 1e-6);
  }
  const Vec3 v = LatLonToVector(static_cast<float>(kPi / 6), static_cast<float>(kPi / 3));
  EXPECT_NEAR(v.x, 0.4330127, 1e-6);
  EXPECT_NEAR(v.y, 0.75, 1e-6);
  EXPECT_NEAR(v.z, 0.5, 1e-6);
}

TEST(Products, DotLengthCrossAndMatrices) {
  EXPECT_EQ(Dot(Vec3{1, 2, 3}, Vec3{4, -5, 6}), 12.0f);
  EXPECT_EQ(Length(Vec3{3, 4, 12}), 13.0f);

  Vec3 n;
  EXPECT_EQ(CrossUnit(Vec3{2, 0, 0}, Vec3{0, 3, 0}, n), 6.0f);
  EXPECT_EQ(n.x, 0.0f);
  EXPECT_EQ(n.y, 0.0f);
  EXPECT_EQ(n.z, 1.0f);
  // Parallel vectors: length 0 and the zero vector.
  EXPECT_EQ(CrossUnit(Vec3{1, 2, 3}, Vec3{2, 4, 6}, n), 0.0f);
  EXPECT_EQ(n.x, 0.0f);
  EXPECT_EQ(n.y, 0.0f);
  EXPECT_EQ(n.z, 0.0f);
  // The output may be one of the inputs.
  Vec3 a{1, 0, 0};
  CrossUnit(a, Vec3{0, 1, 0}, a);
  EXPECT_EQ(a.z, 1.0f);

  Mat3 m;
  const float rows[3][3] = {{1, 2, 3}, {4, 5, 6}, {7, 8, 10}};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) m.m[i][j] = rows[i][j];
  // By hand: rows times (1, -1, 2) and columns times (1, -1, 2).
  const Vec3 r = MatVec(m, Vec3{1, -1, 2});
  EXPECT_EQ(r.x, 5.0f);
  EXPECT_EQ(r.y, 11.0f);
  EXPECT_EQ(r.z, 19.0f);
  const Vec3 t = MatTVec(Vec3{1, -1, 2}, m);
  EXPECT_EQ(t.x, 11.0f);
  EXPECT_EQ(t.y, 13.0f);
  EXPECT_EQ(t.z, 17.0f);
}

TEST(InverseTrig, ArgumentsBeyondOneAreClamped) {
  struct Case {
    const char* name;
    float x;
    double asinExpected, acosExpected;
  } cases[] = {
      {"one", 1, kPi / 2, 0},
      {"minus one", -1, -kPi / 2, kPi},
      {"zero", 0, 0, kPi / 2},
      {"one half", 0.5f, kPi / 6, kPi / 3},
      {"rounding above one", 1.0000002f, kPi / 2, 0},
      {"rounding below minus one", -1.0000002f, -kPi / 2, kPi},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_NEAR(Asin(c.x), c.asinExpected, 1e-6);
    EXPECT_NEAR(Acos(c.x), c.acosExpected, 1e-6);
  }
  // Acos agrees with the standard library's arc cosine across its range.
  for (int i = -100; i <= 100; ++i) {
    const float x = i / 100.0f;
    EXPECT_NEAR(Acos(x), std::acos(static_cast<double>(x)), 1e-6) << x;
  }
}

TEST(TurnAngle, RightHandedAboutTheAxis) {
  struct Case {
    const char* name;
    Vec3 p, a, b;
    double expected;
  } cases[] = {
      {"x to y about z", {0, 0, 1}, {1, 0, 0}, {0, 1, 0}, kPi / 2},
      {"y to x about z", {0, 0, 1}, {0, 1, 0}, {1, 0, 0}, 3 * kPi / 2},
      {"x to -x", {0, 0, 1}, {1, 0, 0}, {-1, 0, 0}, kPi},
      {"out of the plane: only the turn about p counts", {0, 0, 1}, {1, 0, 0.5f}, {0, 2, -1}, kPi / 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_NEAR(TurnAngle(c.p, c.a, c.b), c.expected, 1e-6);
  }
}

TEST(ConeIntersect, MeetingAndMissingCones) {
  Vec3 u1{9, 9, 9}, u2{9, 9, 9};
  ASSERT_TRUE(ConeIntersect(Vec3{1, 0, 0}, Vec3{0, 1, 0}, 0, 0, u1, u2));
  EXPECT_NEAR(u1.x, 0, 1e-6);
  EXPECT_NEAR(u1.y, 0, 1e-6);
  EXPECT_NEAR(u1.z, 1, 1e-6);
  EXPECT_NEAR(u2.z, -1, 1e-6);
  // 60 deg from x and 60 deg from y: by hand u = (0.5, 0.5, +-sqrt(0.5)).
  ASSERT_TRUE(ConeIntersect(Vec3{1, 0, 0}, Vec3{0, 1, 0}, 0.5f, 0.5f, u1, u2));
  EXPECT_NEAR(u1.x, 0.5, 1e-6);
  EXPECT_NEAR(u1.y, 0.5, 1e-6);
  EXPECT_NEAR(u1.z, std::sqrt(0.5), 1e-6);
  EXPECT_NEAR(u2.z, -std::sqrt(0.5), 1e-6);
  // Narrow cones 90 deg apart do not meet: both outputs become zero.
  EXPECT_FALSE(ConeIntersect(Vec3{1, 0, 0}, Vec3{0, 1, 0}, 0.9f, 0.9f, u1, u2));
  EXPECT_EQ(Length(u1), 0.0f);
  EXPECT_EQ(Length(u2), 0.0f);
  // Parallel axes: false and the outputs are left as they were.
  u1 = {7, 7, 7};
  EXPECT_FALSE(ConeIntersect(Vec3{0, 0, 1}, Vec3{0, 0, 1}, 0.5f, 0.5f, u1, u2));
  EXPECT_EQ(u1.x, 7.0f);
}

TEST(RoundTo, NearestWithHalvesUp) {
  struct Case {
    const char* name;
    float x;
    int n;
    float expected;
  } cases[] = {
      {"e to four places", 2.71828f, 4, 2.7183f},
      {"minus e to four places", -2.71828f, 4, -2.7183f},
      {"to a whole number", 2.5f, 0, 3.0f},
      {"negative half goes up", -2.5f, 0, -2.0f},
      {"to tens", 1234.0f, -1, 1230.0f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_FLOAT_EQ(RoundTo(c.x, c.n), c.expected);
  }
}

TEST(EarthSensor, AngleAndMeanAnomalyAreInverse) {
  NavState s;
  s.TanSensorAngle = std::tan(Rad(60));
  struct Case {
    const char* name;
    float deg;
    float ma;
  } cases[] = {
      {"60 deg is beyond the sensor", 60, -999},
      {"-60 deg too", -60, -999},
      {"zero", 0, 0},
      // By hand: asin(tan 30 / tan 60) = asin(1/3) = 0.339837 rad, times 256 / pi = 27.6924.
      {"30 deg", 30, 27.6924f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_NEAR(MaFromSensorAngle(s, c.deg), c.ma, 1e-3);
    EXPECT_EQ(s.SensorMa, MaFromSensorAngle(s, c.deg));
  }
  // A small negative angle is just below 256.
  const float m = MaFromSensorAngle(s, -0.5f);
  EXPECT_LT(m, 256.0f);
  EXPECT_GT(m, 255.0f);
  EXPECT_EQ(SensorAngleFromMa(s, -0.5f), 0.0f);
  for (float g = -59; g < 60; g += 7) {
    SCOPED_TRACE(g);
    EXPECT_NEAR(SensorAngleFromMa(s, MaFromSensorAngle(s, g) - 0.5f), Rad(g), 1e-5);
  }
  MaFromSensorAngle(s, std::nanf(""));  // ends without fault
  SensorAngleFromMa(s, 1e30f);
}
