// Satellite propagation: the Kepler solution, the orbit's orientation, the
// Earth's rotation and the time at which an orbit reaches a mean anomaly.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "navlib/navlib.h"
#include "navlib_fixtures.h"

using namespace navlib;
using navtest::KepsDir;
using navtest::LoadSatellite;
using navtest::SetTimeFromEpoch;

namespace {

constexpr double kModelPi = 3.14159274;  // the model's float pi, in double

// A circular low orbit: 51.6 deg, node 120 deg, perigee 90 deg, mean anomaly
// 30 deg at the epoch 2024 day 100.5, 15.5 rev/day, revolution 45000.
const char* const kCircular = "2024,100.5,51.6,120,0,90,30,15.5,45000,0,0,0,0,0,0";

// An ellipse of eccentricity 0.7 with one revolution per day, mean anomaly 0
// at the epoch, no precession of interest.
const char* const kEccentric = "2024,100.0,0,0,0.7,0,0,1,100,0,0,0,0,0,0";

// Kepler's equation E - e sin E = M solved by bisection in double: an
// algorithm independent of the library's Newton iteration.
double KeplerByBisection(double m, double e) {
  double lo = m - 1.0, hi = m + 1.0;
  for (int i = 0; i < 200; ++i) {
    const double mid = 0.5 * (lo + hi);
    if (mid - e * std::sin(mid) < m) lo = mid; else hi = mid;
  }
  return 0.5 * (lo + hi);
}

}  // namespace

TEST(OrbitPlaneState, AtTheEpoch) {
  KepsDir dir;
  dir.Write("CIRC", kCircular);
  NavState s;
  ASSERT_TRUE(LoadSatellite(s, dir, "CIRC"));
  s.DayNum = s.EpochDayNumber;
  s.DayFrac = s.EpochDay;
  OrbitPlaneState(s);
  EXPECT_EQ(s.Elapsed, 0.0);
  EXPECT_EQ(s.MeanAnomalyNow, s.Elements.MeanAnomaly);
  EXPECT_EQ(s.OrbitNumber, 45000.0f);
  EXPECT_NEAR(s.Ma256, 30.0 / 360.0 * 256.0, 1e-4);  // 30 deg is 21.33 of 256
}

TEST(OrbitPlaneState, OnePeriodLaterTheOrbitNumberStepsAndTheAnomalyReturns) {
  KepsDir dir;
  dir.Write("CIRC", kCircular);
  NavState s;
  ASSERT_TRUE(LoadSatellite(s, dir, "CIRC"));
  SetTimeFromEpoch(s, 1.0 / 15.5);
  OrbitPlaneState(s);
  EXPECT_EQ(s.OrbitNumber, 45001.0f);
  // The float day fraction holds the time to about 5 ms: 2e-3 of 256ths.
  EXPECT_NEAR(s.Ma256, s.Elements.MeanAnomaly * 128 / kModelPi, 2e-3);
}

TEST(OrbitPlaneState, CircularOrbitIsTheMeanAnomalyItself) {
  KepsDir dir;
  dir.Write("CIRC", kCircular);
  NavState s;
  ASSERT_TRUE(LoadSatellite(s, dir, "CIRC"));
  for (double days : {0.0, 0.013, 0.031, 0.25, 3.7}) {
    SCOPED_TRACE(days);
    SetTimeFromEpoch(s, days);
    OrbitPlaneState(s);
    EXPECT_EQ(s.KeplerPasses, 1);
    EXPECT_NEAR(s.EccAnomaly, s.MeanAnomalyNow, 1e-6);
    EXPECT_EQ(s.Radius, s.SemiMajorAxis);
    EXPECT_NEAR(s.SatPlane.x, std::cos(s.MeanAnomalyNow), 1e-6);
    EXPECT_NEAR(s.SatPlane.y, std::sin(s.MeanAnomalyNow), 1e-6);
    EXPECT_EQ(s.SatPlane.z, 0.0f);
    // Circular speed sqrt(GM / a), by hand 7.66 km/s at 6796 km.
    const double v = std::hypot(s.VelPlane.x, s.VelPlane.y);
    EXPECT_NEAR(v, std::sqrt(398600.44 / s.SemiMajorAxis), 1e-3);
  }
}

TEST(OrbitPlaneState, KeplerAtEccentricity07ConvergesForEveryMeanAnomaly) {
  KepsDir dir;
  dir.Write("ECC", kEccentric);
  NavState s;
  ASSERT_TRUE(LoadSatellite(s, dir, "ECC"));
  const double e = 0.7;
  // One revolution per day: the mean anomaly sweeps a whole turn in 720 steps.
  for (int k = 0; k < 720; ++k) {
    SCOPED_TRACE(k);
    SetTimeFromEpoch(s, k / 720.0);
    OrbitPlaneState(s);
    const double m = s.MeanAnomalyNow;
    EXPECT_LT(s.KeplerPasses, 20);
    EXPECT_NEAR(s.EccAnomaly, KeplerByBisection(m, e), 2e-5);
    // Radius a (1 - e cos E) of the converged anomaly, up to the last correction.
    EXPECT_NEAR(s.Radius / s.SemiMajorAxis, 1 - e * std::cos(KeplerByBisection(m, e)), 2e-5);
    EXPECT_GE(s.Radius, s.SemiMajorAxis * 0.3f * 0.99999f);
    EXPECT_LE(s.Radius, s.SemiMajorAxis * 1.7f * 1.00001f);
    EXPECT_NEAR(std::hypot(s.SatPlane.x, s.SatPlane.y), 1.0, 1e-5);
  }
}

TEST(OrbitPlaneState, PerigeeAndApogeeRadii) {
  KepsDir dir;
  dir.Write("ECC", kEccentric);
  NavState s;
  ASSERT_TRUE(LoadSatellite(s, dir, "ECC"));
  // By hand: one revolution a day gives a = (GM / (2 pi / 86400)^2)^(1/3) = 42241.1 km.
  EXPECT_NEAR(s.SemiMajorAxis, 42241.1, 0.1);
  struct Case {
    const char* name;
    double days;
    double radiusOverA;
    double planeX;
  } cases[] = {
      {"perigee at the epoch: a (1 - e)", 0.0, 0.3, 1.0},
      {"apogee half a day later: a (1 + e)", 0.5, 1.7, -1.0},
      {"next perigee", 1.0, 0.3, 1.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetTimeFromEpoch(s, c.days);
    OrbitPlaneState(s);
    EXPECT_NEAR(s.Radius / s.SemiMajorAxis, c.radiusOverA, 1e-6);
    EXPECT_NEAR(s.SatPlane.x, c.planeX, 1e-6);
    EXPECT_NEAR(s.SatPlane.y, 0.0, 1e-6);
  }
  // Speeds at the apsides by the vis-viva law, v^2 = GM (2/r - 1/a).
  SetTimeFromEpoch(s, 0.0);
  OrbitPlaneState(s);
  const double a = s.SemiMajorAxis;
  EXPECT_NEAR(std::hypot(s.VelPlane.x, s.VelPlane.y), std::sqrt(398600.44 * (2 / (0.3 * a) - 1 / a)), 1e-3);
}

TEST(OrbitPlaneState, BeforeTheEpochWholeRevolutionsAreFloored) {
  KepsDir dir;
  dir.Write("ECC", kEccentric);
  NavState s;
  ASSERT_TRUE(LoadSatellite(s, dir, "ECC"));
  struct Case {
    const char* name;
    double days;
    float orbit;
    double ma256;
  } cases[] = {
      {"a quarter turn before: the revolution before, MA 192", -0.25, 99, 192},
      {"an eighth after: MA 32", 0.125, 100, 32},
      {"one and a quarter before", -1.25, 98, 192},
      {"ten days before, three quarters into the turn", -9.25, 90, 192},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetTimeFromEpoch(s, c.days);
    OrbitPlaneState(s);
    EXPECT_EQ(s.OrbitNumber, c.orbit);
    EXPECT_NEAR(s.Ma256, c.ma256, 1e-3);
    EXPECT_GE(s.Ma256, 0.0f);
    EXPECT_LT(s.Ma256, 256.0f);
  }
}

TEST(OrbitPlaneState, ElapsedTimeKeepsSecondsAYearAfterTheEpoch) {
  // A float of 365 days steps by 2.6 s; the elapsed time here must follow
  // one-second steps of the clock.
  KepsDir dir;
  dir.Write("CIRC", kCircular);
  NavState s;
  ASSERT_TRUE(LoadSatellite(s, dir, "CIRC"));
  s.DayNum = s.EpochDayNumber + 365;
  double previous = 0;
  for (int sec = 0; sec < 120; ++sec) {
    s.DayFrac = static_cast<float>(0.3 + sec / 86400.0);
    OrbitPlaneState(s);
    if (sec > 0) {
      EXPECT_NEAR((s.Elapsed - previous) * 86400.0, 1.0, 0.02);
    }
    previous = s.Elapsed;
  }
}

TEST(OrbitOrientation, MatrixIsARotationAndPlacesTheNode) {
  KepsDir dir;
  dir.Write("CIRC", kCircular);
  NavState s;
  ASSERT_TRUE(LoadSatellite(s, dir, "CIRC"));
  s.DayNum = s.EpochDayNumber;
  s.DayFrac = s.EpochDay;
  OrbitOrientation(s);
  const auto& m = s.OrbitMatrix.m;
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) {
      const double dotRows = m[i][0] * m[j][0] + m[i][1] * m[j][1] + m[i][2] * m[j][2];
      EXPECT_NEAR(dotRows, i == j ? 1.0 : 0.0, 1e-6);
    }
  }
  // The orbit normal by hand: (sin i sin node, -sin i cos node, cos i).
  const double inc = 51.6 * navtest::kDegRad, node = 120 * navtest::kDegRad;
  const Vec3 normal = PlaneToCelestial(s, Vec3{0, 0, 1});
  EXPECT_NEAR(normal.x, std::sin(inc) * std::sin(node), 1e-6);
  EXPECT_NEAR(normal.y, -std::sin(inc) * std::cos(node), 1e-6);
  EXPECT_NEAR(normal.z, std::cos(inc), 1e-6);
  // Perigee 90 deg past the node: the node lies 90 deg behind perigee in the
  // plane, on the equator at right ascension 120 deg.
  const Vec3 nodeDir = PlaneToCelestial(s, Vec3{0, -1, 0});
  EXPECT_NEAR(nodeDir.x, std::cos(node), 1e-6);
  EXPECT_NEAR(nodeDir.y, std::sin(node), 1e-6);
  EXPECT_NEAR(nodeDir.z, 0.0, 1e-6);
  EXPECT_NEAR(s.ArgPerigeeNow, 90 * navtest::kDegRad, 1e-6);
  EXPECT_NEAR(s.RaanNow, 120 * navtest::kDegRad, 1e-6);
  // And back again.
  const Vec3 back = CelestialToPlane(s, nodeDir);
  EXPECT_NEAR(back.x, 0.0, 1e-6);
  EXPECT_NEAR(back.y, -1.0, 1e-6);
}

TEST(OrbitOrientation, NodeAndPerigeePrecessAtTheSetUpRates) {
  KepsDir dir;
  dir.Write("CIRC", kCircular);
  NavState s;
  ASSERT_TRUE(LoadSatellite(s, dir, "CIRC"));
  SetTimeFromEpoch(s, 10.0);
  OrbitOrientation(s);
  // About -5 deg/day for the node of a 51.6 deg low orbit.
  EXPECT_NEAR(s.RaanRate / navtest::kDegRad, -4.96, 0.05);
  EXPECT_NEAR(navtest::AngleDiff(s.RaanNow, 120 * navtest::kDegRad + 10 * s.RaanRate), 0.0, 2e-5);
  EXPECT_NEAR(navtest::AngleDiff(s.ArgPerigeeNow, 90 * navtest::kDegRad + 10 * s.PerigeeRate), 0.0, 2e-5);
  EXPECT_GE(s.RaanNow, 0.0f);
  EXPECT_LT(s.RaanNow, 6.2831855f);
}

TEST(SatState, DirectionIsAUnitVectorAndVelocityIsTangent) {
  KepsDir dir;
  dir.Write("CIRC", kCircular);
  NavState s;
  ASSERT_TRUE(LoadSatellite(s, dir, "CIRC"));
  for (double days : {0.0, 0.1, 1.7, 30.2}) {
    SCOPED_TRACE(days);
    SetTimeFromEpoch(s, days);
    SatState(s);
    EXPECT_NEAR(Length(s.SatDir), 1.0, 1e-6);
    EXPECT_NEAR(Dot(s.SatDir, s.SatVel), 0.0, 1e-4);
    // Finite difference of the position over one second matches the velocity.
    const Vec3 p0{s.SatDir.x * s.Radius, s.SatDir.y * s.Radius, s.SatDir.z * s.Radius};
    const Vec3 v0 = s.SatVel;
    s.DayFrac = static_cast<float>(s.DayFrac + 1.0 / 86400.0);
    SatState(s);
    const Vec3 p1{s.SatDir.x * s.Radius, s.SatDir.y * s.Radius, s.SatDir.z * s.Radius};
    EXPECT_NEAR(p1.x - p0.x, v0.x, 0.05);
    EXPECT_NEAR(p1.y - p0.y, v0.y, 0.05);
    EXPECT_NEAR(p1.z - p0.z, v0.z, 0.05);
  }
}

TEST(EarthRotation, AtTheEpochGivesTheEpochAngle) {
  KepsDir dir;
  dir.Write("CIRC", kCircular);
  NavState s;
  ASSERT_TRUE(LoadSatellite(s, dir, "CIRC"));
  s.DayNum = s.EpochDayNumber;
  s.DayFrac = s.EpochDay;
  EXPECT_EQ(EarthRotation(s), s.GhaEpoch);
  EXPECT_EQ(s.Gha, s.GhaEpoch);
  // Celestial x (the equinox) seen from the Earth lies at longitude -Gha.
  const Vec3 equinox = CelestialToEarth(s, Vec3{1, 0, 0});
  EXPECT_NEAR(equinox.x, std::cos(s.Gha), 1e-6);
  EXPECT_NEAR(equinox.y, -std::sin(s.Gha), 1e-6);
  const Vec3 back = EarthToCelestial(s, equinox);
  EXPECT_NEAR(back.x, 1.0, 1e-6);
  EXPECT_NEAR(back.y, 0.0, 1e-6);
}

TEST(EarthRotation, TurnsSmoothlyMinuteByMinuteLongAfterTheEpoch) {
  // Unreduced in float, the angle of a 2024 epoch would move in steps of
  // 0.004 to 0.008 rad; reduced in double it advances EarthRate / 1440 each minute.
  KepsDir dir;
  dir.Write("CIRC", kCircular);
  NavState s;
  ASSERT_TRUE(LoadSatellite(s, dir, "CIRC"));
  const double perMinute = 6.30038834 / 1440.0;
  s.DayNum = s.EpochDayNumber + 200;
  double previous = 0;
  for (int minute = 0; minute <= 1440; ++minute) {
    s.DayFrac = static_cast<float>(minute / 1440.0);
    NormalizeTime(s);
    const double gha = EarthRotation(s);
    EXPECT_GE(gha, 0.0);
    EXPECT_LT(gha, 2 * navtest::kPi + 1e-6);
    if (minute > 0) {
      EXPECT_NEAR(navtest::AngleDiff(gha, previous), perMinute, 2e-6);
    }
    previous = gha;
  }
}

TEST(TimeFromOrbitMa, RoundTripThroughThePropagation) {
  // Decaying orbit: non-zero polynomial terms, as fresh element sets carry.
  KepsDir dir;
  dir.Write("DECAY", "2024,200.25,97.5,30,0.001,45,10,15.2,30000,0,0,0,0,2e-05,3e-09");
  NavState s;
  ASSERT_TRUE(LoadSatellite(s, dir, "DECAY"));
  struct Case {
    const char* name;
    int orbit;
    float ma256;
  } cases[] = {
      {"the epoch orbit", 30000, 0},
      {"ten orbits on, MA 128", 30010, 128},
      {"a week on", 30106, 200},
      {"a month on", 30456, 17.5f},
      {"before the epoch", 29990, 64},
      {"two weeks before", 29787, 240},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TimeFromOrbitMa(s, c.orbit, c.ma256);
    EXPECT_GT(s.DayFrac, -1.0f);
    EXPECT_LT(s.DayFrac, 1.0f);
    NormalizeTime(s);
    OrbitPlaneState(s);
    double got = s.Ma256;
    float orbit = s.OrbitNumber;
    if (got > 255.5 && c.ma256 < 0.5) {  // just before the turn: still the same instant
      got -= 256;
      orbit += 1;
    }
    EXPECT_EQ(orbit, static_cast<float>(c.orbit));
    // One Newton step on the polynomial: within 0.01 of 256ths (1 s of a 95 min orbit is 0.045).
    EXPECT_NEAR(got, c.ma256, 0.01);
  }
}

TEST(TimeFromOrbitMa, EpochOrbitAtZeroIsTheEpochExactly) {
  KepsDir dir;
  dir.Write("PLAIN", "2024,100.5,51.6,120,0,90,0,15.5,45000,0,0,0,0,0,0");
  NavState s;
  ASSERT_TRUE(LoadSatellite(s, dir, "PLAIN"));
  TimeFromOrbitMa(s, 45000, 0);
  EXPECT_EQ(s.DayNum, s.EpochDayNumber);
  EXPECT_EQ(s.DayFrac, s.EpochDay);
  OrbitPlaneState(s);
  EXPECT_EQ(s.Ma256, 0.0f);
  EXPECT_EQ(s.OrbitNumber, 45000.0f);
}

TEST(TimeFromOrbitMa, MeanAnomalyOutsideOneTurnMovesTheOrbit) {
  KepsDir dir;
  dir.Write("CIRC", kCircular);
  NavState s;
  ASSERT_TRUE(LoadSatellite(s, dir, "CIRC"));
  struct Case {
    const char* name;
    int orbit;
    float ma256;
    int sameOrbit;
    float sameMa;
  } cases[] = {
      {"-10 is 246 of the orbit before", 45005, -10, 45004, 246},
      {"266 is 10 of the orbit after", 45005, 266, 45006, 10},
      {"exactly 256 is 0 of the next", 45005, 256, 45006, 0},
      {"-512 is two orbits back", 45005, -512, 45003, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TimeFromOrbitMa(s, c.orbit, c.ma256);
    const float num = s.DayNum, frac = s.DayFrac;
    TimeFromOrbitMa(s, c.sameOrbit, c.sameMa);
    EXPECT_EQ(s.DayNum, num);
    EXPECT_EQ(s.DayFrac, frac);
  }
}

TEST(TimeFromOrbitMa, AbsurdValuesEndWithoutFault) {
  KepsDir dir;
  dir.Write("CIRC", kCircular);
  NavState s;
  ASSERT_TRUE(LoadSatellite(s, dir, "CIRC"));
  for (float ma : {1e30f, -1e30f, std::numeric_limits<float>::infinity(), std::nanf("")}) {
    SCOPED_TRACE(ma);
    TimeFromOrbitMa(s, 45000, ma);
    NormalizeTime(s);
    OrbitPlaneState(s);
  }
  TimeFromOrbitMa(s, std::numeric_limits<int>::max(), 255.9f);
  TimeFromOrbitMa(s, std::numeric_limits<int>::min(), -10);
  SUCCEED();
}
