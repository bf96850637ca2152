// Observer geometry: the observer on the ellipsoid, look angles, squint,
// range rate, illumination and the Sun's angle to the spin axis.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "navlib/navlib.h"
#include "navlib_fixtures.h"

using namespace navlib;
using navtest::kDegRad;

namespace {

// A state whose Earth-fixed frame coincides with the celestial frame at the
// current time (Gha = 0), so that satellite and Sun can be placed by hand.
void AlignEarthWithSky(NavState& s) {
  s.DayNum = 740000;
  s.DayFrac = 0.5f;
  s.EpochDayNumber = s.DayNum;
  s.EpochDay = s.DayFrac;
  s.GhaEpoch = 0;
}

// Places the satellite at an Earth-fixed position in km (Gha = 0).
void PlaceSatellite(NavState& s, double x, double y, double z) {
  const double r = std::sqrt(x * x + y * y + z * z);
  s.Radius = static_cast<float>(r);
  s.SatDir = {static_cast<float>(x / r), static_cast<float>(y / r), static_cast<float>(z / r)};
}

}  // namespace

TEST(SetObserver, OnTheEquatorAtGreenwich) {
  NavState s;
  SetObserver(s, 0, 0, 0);
  EXPECT_NEAR(s.ObsPos.x, 6378.137, 1e-3);
  EXPECT_NEAR(s.ObsPos.y, 0.0, 1e-6);
  EXPECT_NEAR(s.ObsPos.z, 0.0, 1e-6);
  EXPECT_EQ(s.ObsUp.x, 1.0f);
  EXPECT_EQ(s.ObsEast.y, 1.0f);
  EXPECT_EQ(s.ObsNorth.z, 1.0f);
  EXPECT_NEAR(s.ObsVel.x, 0.0, 1e-9);
  // By hand: 6378.137 km * 7.29211606e-5 rad/s = 0.465101 km/s eastward.
  EXPECT_NEAR(s.ObsVel.y, 0.465101, 1e-6);
  EXPECT_EQ(s.ObsVel.z, 0.0f);
}

TEST(SetObserver, AgreesWithTheStandardEllipsoidFormula) {
  // Geodetic to Earth-fixed by the textbook formula, N = a / sqrt(1 - e^2 sin^2 lat),
  // x = (N + h) cos lat cos lon, z = (N (1 - e^2) + h) sin lat, in double.
  struct Case {
    const char* name;
    float latDeg, lonDeg, heightM;
  } cases[] = {
      {"45 N on the prime meridian (4517.591, 0, 4487.348 km)", 45, 0, 0},
      {"Sydney-like, 33.9 S 151.2 E, 50 m", -33.9f, 151.2f, 50},
      {"high mountain station, 1.3 S 78.4 W, 4000 m", -1.3f, -78.4f, 4000},
      {"70 N 25 E", 70, 25, 10},
  };
  const double a = 6378.137, f = 1 / 298.257224, e2 = f * (2 - f);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    NavState s;
    SetObserver(s, c.latDeg, c.lonDeg, c.heightM);
    const double lat = c.latDeg * kDegRad, lon = c.lonDeg * kDegRad, h = c.heightM / 1000.0;
    const double n = a / std::sqrt(1 - e2 * std::sin(lat) * std::sin(lat));
    EXPECT_NEAR(s.ObsPos.x, (n + h) * std::cos(lat) * std::cos(lon), 2e-3);
    EXPECT_NEAR(s.ObsPos.y, (n + h) * std::cos(lat) * std::sin(lon), 2e-3);
    EXPECT_NEAR(s.ObsPos.z, (n * (1 - e2) + h) * std::sin(lat), 2e-3);
    // North, east and up form a right-handed orthonormal frame.
    Vec3 upFromCross;
    CrossUnit(s.ObsNorth, s.ObsEast, upFromCross);
    EXPECT_NEAR(Dot(upFromCross, s.ObsUp), -1.0, 1e-6);  // north x east points down
    EXPECT_NEAR(Dot(s.ObsNorth, s.ObsEast), 0.0, 1e-6);
  }
}

TEST(SetObserver, AtTheNorthPole) {
  NavState s;
  SetObserver(s, 90, 0, 0);
  // Polar radius by hand: 6378.137 * (1 - 1/298.257224) = 6356.752 km.
  EXPECT_NEAR(s.ObsPos.x, 0.0, 1e-3);
  EXPECT_NEAR(s.ObsPos.y, 0.0, 1e-3);
  EXPECT_NEAR(s.ObsPos.z, 6356.752, 1e-3);
  EXPECT_NEAR(Length(s.ObsVel), 0.0, 1e-6);
}

TEST(LookAngles, OverheadAndOnTheHorizon) {
  struct Case {
    const char* name;
    double x, y, z;  // satellite, Earth-fixed km
    double elevation, azimuth;
    double range;
  } cases[] = {
      {"straight overhead", 7000, 0, 0, navtest::kPi / 2, 0, 7000 - 6378.137},
      {"on the horizon due east", 6378.137, 3000, 0, 0, navtest::kPi / 2, 3000},
      {"on the horizon due north", 6378.137, 0, 2500, 0, 0, 2500},
      {"on the horizon due west", 6378.137, -2000, 0, 0, 3 * navtest::kPi / 2, 2000},
      {"45 deg up toward the south", 6378.137 + 1000, 0, -1000, navtest::kPi / 4, navtest::kPi, 1000 * std::sqrt(2.0)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    NavState s;
    AlignEarthWithSky(s);
    SetObserver(s, 0, 0, 0);
    PlaceSatellite(s, c.x, c.y, c.z);
    s.AttDir = {0, 0, 1};
    LookAngles(s);
    EXPECT_NEAR(s.Elevation, c.elevation, 1e-4);
    if (c.elevation < 1.5) {
      EXPECT_NEAR(navtest::AngleDiff(s.Azimuth, c.azimuth), 0.0, 1e-4);
    }
    EXPECT_NEAR(s.Range, c.range, 2e-3);
  }
}

TEST(LookAngles, SquintBetweenAntennaAxisAndObserver) {
  struct Case {
    const char* name;
    Vec3 att;
    double squint;
  } cases[] = {
      {"axis straight at the observer", {-1, 0, 0}, 0},
      {"axis straight away", {1, 0, 0}, navtest::kPi},
      {"axis across the line of sight", {0, 0, 1}, navtest::kPi / 2},
      {"axis 60 deg off", {-0.5f, 0.8660254f, 0}, navtest::kPi / 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    NavState s;
    AlignEarthWithSky(s);
    SetObserver(s, 0, 0, 0);
    PlaceSatellite(s, 8000, 0, 0);
    s.AttDir = c.att;
    LookAngles(s);
    EXPECT_NEAR(s.Squint, c.squint, 1e-3);
    EXPECT_GE(s.Squint, 0.0f);
    EXPECT_LE(s.Squint, 3.14159274f);
  }
}

TEST(ObserverView, RangeRateAndSubSatellitePoint) {
  NavState s;
  AlignEarthWithSky(s);
  SetObserver(s, 0, 0, 0);
  // Satellite 1000 km east of the zenith line, moving away eastward at 7 km/s
  // in inertial space; the observer moves east at 0.4651 km/s.
  PlaceSatellite(s, 7378.137, 1000, 0);
  s.SatVel = {0, 7, 0};
  s.SunDir = {1, 0, 0};
  s.AttDir = {0, 0, 1};
  s.IllumText = " + ";
  ObserverView(s);
  // By hand: line of sight (1000, 1000, 0)/sqrt(2), relative velocity (0, 6.5349, 0).
  EXPECT_NEAR(s.RangeRate, (7 - 0.465101) / std::sqrt(2.0), 1e-4);
  EXPECT_NEAR(s.SubLat, 0.0, 1e-6);
  EXPECT_NEAR(s.SubLon, std::atan2(1000.0, 7378.137), 1e-6);
  EXPECT_EQ(s.IllumText, " + ");  // Sun overhead: daylight, no "vis"
}

TEST(ObserverView, DarkSkyMakesASunlitSatelliteVisible) {
  struct Case {
    const char* name;
    double sunElevationDeg;
    const char* before;
    const char* after;
  } cases[] = {
      {"Sun 20 deg down, satellite lit", -20, " + ", "vis"},
      {"Sun 20 deg down, near side lit", -20, " - ", "vis"},
      {"Sun 20 deg down, satellite eclipsed", -20, "ecl", "ecl"},
      {"Sun 5 deg down: twilight, no change", -5, " + ", " + "},
      {"Sun up", 30, " + ", " + "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    NavState s;
    AlignEarthWithSky(s);
    SetObserver(s, 0, 0, 0);
    PlaceSatellite(s, 7000, 0, 0);
    // Observer up is Earth x, east is y: the Sun in the east at that elevation.
    const double el = c.sunElevationDeg * kDegRad;
    s.SunDir = {static_cast<float>(std::sin(el)), static_cast<float>(std::cos(el)), 0};
    s.IllumText = c.before;
    ObserverView(s);
    EXPECT_EQ(s.IllumText, c.after);
  }
}

TEST(Illumination, CylindricalShadowOfTheEarth) {
  struct Case {
    const char* name;
    Vec3 satDir;
    float radius;
    const char* mark;
    double umbraRatio;
  } cases[] = {
      {"between the Earth and the Sun", {1, 0, 0}, 7000, " - ", 0},
      {"right behind the Earth", {-1, 0, 0}, 7000, "ecl", 0},
      {"behind, 0.9 Earth radii off the axis", {-0.6f, 0.8f, 0}, 7175.404f, "ecl", 0.9},
      {"behind, 1.1 Earth radii off the axis", {-0.6f, 0.8f, 0}, 8769.938f, " + ", 1.1},
      {"abeam the Earth on the terminator", {0, 0, 1}, 7000, " + ", 7000 / 6378.137},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    NavState s;
    s.SunDir = {1, 0, 0};
    s.SatDir = c.satDir;
    s.Radius = c.radius;
    Illumination(s);
    EXPECT_EQ(s.IllumText, c.mark);
    EXPECT_NEAR(s.UmbraRatio, c.umbraRatio, 1e-4);
  }
}

TEST(Illumination, RoundingBeyondUnitLengthIsKeptInRange) {
  NavState s;
  s.SunDir = {1.0000001f, 0, 0};
  s.SatDir = {-1.0000001f, 0, 0};
  s.Radius = 7000;
  Illumination(s);
  EXPECT_EQ(s.UmbraRatio, 0.0f);
  EXPECT_EQ(s.IllumText, "ecl");
}

TEST(SunAngle, ElevationOfTheSunAboveTheSpinPlane) {
  const float c30 = 0.8660254f;
  struct Case {
    const char* name;
    Vec3 attitude;
    Vec3 sun;
    double angle;
    double sunSide;
  } cases[] = {
      {"axis at the Sun", {0, 1, 0}, {0, 1, 0}, navtest::kPi / 2, 0},
      {"axis away from the Sun", {0, 1, 0}, {0, -1, 0}, -navtest::kPi / 2, 0},
      {"axis across the Sun", {0, 0, 1}, {1, 0, 0}, 0, 100},
      {"Sun 30 deg above the spin plane", {0, 0, 1}, {c30, 0, 0.5f}, navtest::kPi / 6, 100 * c30},
      // A float unit vector dotted with itself can exceed 1 by rounding.
      {"unit vector slightly over length 1", {0.57735032f, 0.57735032f, 0.57735032f},
       {0.57735032f, 0.57735032f, 0.57735032f}, navtest::kPi / 2, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    NavState s;
    s.Elements.Attitude = c.attitude;
    s.SunDir = c.sun;
    const float angle = SunAngle(s);
    EXPECT_FALSE(std::isnan(angle));
    EXPECT_NEAR(angle, c.angle, 1e-3);
    EXPECT_NEAR(s.SunSidePercent, c.sunSide, 0.1);
  }
}

TEST(OrbitFrameAngles, AttitudeAndSunPlaceConversionsAreInverse) {
  navtest::KepsDir dir;
  dir.Write("CIRC", "2024,100.5,51.6,120,0.01,90,30,15.5,45000,0,0,0,0,0,0");
  NavState s;
  ASSERT_TRUE(navtest::LoadSatellite(s, dir, "CIRC"));
  navtest::SetTimeFromEpoch(s, 2.0);
  OrbitOrientation(s);
  struct Case {
    float latDeg, lonDeg;
  } cases[] = {{0, 0}, {10, 45}, {-30, 200}, {60, 359}, {-80, 90}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.lonDeg);
    float dec = 0, ra = 0, lat = 0, lon = 0;
    AttitudeToCelestial(s, Rad(c.latDeg), Rad(c.lonDeg), dec, ra);
    CelestialToOrbitLatLon(s, dec, ra, lat, lon);
    EXPECT_NEAR(lat, Rad(c.latDeg), 1e-5);
    EXPECT_NEAR(navtest::AngleDiff(lon, Rad(c.lonDeg)), 0.0, 1e-5);
    EXPECT_GE(ra, 0.0f);
    EXPECT_LT(ra, 6.2831855f);
  }
  // The orbit pole (latitude 90 in the orbit frame) is the orbit normal: by
  // hand at declination 90 - 51.6 = 38.4 deg.
  float dec = 0, ra = 0;
  AttitudeToCelestial(s, Rad(90), 0, dec, ra);
  EXPECT_NEAR(dec, Rad(38.4f), 1e-5);
  EXPECT_NEAR(navtest::AngleDiff(ra, s.RaanNow - navtest::kPi / 2), 0.0, 1e-4);
}

TEST(LookAngles, APassAYearAfterTheEpochRisesAndFallsSmoothly) {
  // The planner's maximum search climbs in two-second steps while the
  // elevation rises. With a float elapsed time or an unreduced float Earth
  // angle the elevation moves in jumps a year after the epoch and the climb
  // stops early; here it must reach the peak a fine scan finds.
  navtest::KepsDir dir;
  dir.Write("LEO", "2024,100.5,51.6,120,0.0005,90,30,15.5,45000,0,0,0,0,0,0");
  NavState s;
  ASSERT_TRUE(navtest::LoadSatellite(s, dir, "LEO"));
  SetObserver(s, 52, 5, 0);
  s.AttDir = {0, 0, 1};
  auto elevationAt = [&s](double daysAfterEpoch) {
    navtest::SetTimeFromEpoch(s, daysAfterEpoch);
    SatState(s);
    LookAngles(s);
    return static_cast<double>(s.Elevation);
  };
  // Find a pass above 20 degrees in minute steps, from 365 days on.
  double peakMinute = -1;
  for (int minute = 0; minute < 3 * 1440 && peakMinute < 0; ++minute) {
    if (elevationAt(365 + minute / 1440.0) > 20 * kDegRad) peakMinute = minute;
  }
  ASSERT_GE(peakMinute, 0) << "no pass found";
  const double start = 365 + (peakMinute - 3) / 1440.0;
  // Fine scan, one second apart, over ten minutes: rises, then falls, once.
  double best = -10, bestT = start, previous = -10;
  int turns = 0;
  bool rising = true;
  for (int sec = 0; sec <= 600; ++sec) {
    const double t = start + sec * navtest::kSecondDays;
    const double el = elevationAt(t);
    if (el > best) {
      best = el;
      bestT = t;
    }
    if (sec > 0) {
      const bool nowRising = el > previous;
      if (nowRising != rising) ++turns;
      rising = nowRising;
    }
    previous = el;
  }
  EXPECT_EQ(turns, 1);
  // Climb in two-second steps from the start while the elevation rises.
  double t = start, el = elevationAt(t);
  for (;;) {
    const double next = elevationAt(t + 2 * navtest::kSecondDays);
    if (next <= el) break;
    el = next;
    t += 2 * navtest::kSecondDays;
  }
  EXPECT_NEAR(el / kDegRad, best / kDegRad, 0.01);
  EXPECT_NEAR((t - bestT) * 86400, 0.0, 3.0);
}
