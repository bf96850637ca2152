// Sun and Moon: the low-precision Sun of the element epoch, the short series
// of the plotter's Sun and Moon, and the ecliptic rotation, checked against an
// independent ephemeris.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "navlib/navlib.h"
#include "navlib_fixtures.h"

using namespace navlib;
using navtest::kDegRad;

namespace {

// Reference places from Debian's python3-ephem 4.1.4
// (tools/reference/sun_moon_reference.py, run once and pasted here): the
// Sun's geocentric apparent right ascension and declination of date, the
// Sun's ecliptic longitude of date and distance, the Moon's ecliptic
// longitude, latitude and distance, and the Greenwich mean sidereal time.
struct EphemerisRow {
  const char* name;
  int y, m, d, hour, minute;
  double sunRaDeg, sunDecDeg, sunLonDeg, sunDistKm;
  double moonLonDeg, moonLatDeg, moonDistKm;
  double gmstDeg;
};

const EphemerisRow kEphemeris[] = {
    // source: python3-ephem 4.1.4, tools/reference/sun_moon_reference.py
    {"1995 Jan 1 00:00", 1995, 1, 1, 0, 0, 280.9762, -23.0540, 280.0923, 147103363, 273.7615, 3.9329, 361415, 100.1788},
    {"1999 Sep 23 12:00", 1999, 9, 23, 12, 0, 180.0178, -0.0076, 180.0287, 150114559, 335.0787, -2.0084, 381009, 181.8925},
    {"2002 Aug 10 06:00", 2002, 8, 10, 6, 0, 139.8979, 15.6041, 137.4614, 151644527, 157.3714, 5.0032, 363313, 48.5467},
    {"2010 Mar 20 18:00", 2010, 3, 20, 18, 0, 0.0176, 0.0077, 0.0204, 148992389, 56.4703, 3.9500, 385982, 88.1615},
    {"2016 Nov 5 21:30", 2016, 11, 5, 21, 30, 221.4435, -16.0079, 223.9086, 148289840, 291.5056, 3.8182, 396314, 8.0371},
    {"2024 Mar 20 03:06", 2024, 3, 20, 3, 6, 359.9998, 0.0000, 0.0067, 148979032, 123.8168, 5.0064, 401216, 224.6450},
    {"2024 Jun 20 20:51", 2024, 6, 20, 20, 51, 90.0000, 23.4382, 90.0067, 152020528, 255.3468, -4.4723, 384978, 222.3037},
    {"2024 Dec 21 09:20", 2024, 12, 21, 9, 20, 269.9997, -23.4384, 270.0056, 147164068, 163.1441, 1.6429, 399016, 230.4406},
    {"2026 Feb 14 15:45", 2026, 2, 14, 15, 45, 328.2056, -12.8667, 325.9592, 147747480, 292.4292, -3.8259, 395951, 20.9280},
    {"2031 Jul 4 04:00", 2031, 7, 4, 4, 0, 103.0749, 22.8895, 102.0307, 152093324, 273.0720, 3.0113, 357519, 341.9802},
    {"2040 Oct 30 13:15", 2040, 10, 30, 13, 15, 215.3683, -14.0850, 217.7372, 148541773, 155.5350, 5.1642, 400022, 238.2173},
};

double DegDiff(double aDeg, double bDeg) { return navtest::AngleDiff(aDeg * kDegRad, bDeg * kDegRad) / kDegRad; }

// Loads an element set whose epoch lies ten days before the row's instant
// (as a keps file a few days old would) and sets the current time to it.
void LoadForInstant(NavState& s, const navtest::KepsDir& dir, const EphemerisRow& r) {
  const int dayNumber = DayNumber(r.y, r.m, r.d);
  int epochYear = r.y;
  double epochDay = dayNumber - DayNumber(r.y, 1, 0) - 10 + 0.25;
  if (epochDay < 1) {
    epochYear -= 1;
    epochDay = dayNumber - DayNumber(epochYear, 1, 0) - 10 + 0.25;
  }
  char keps[160];
  std::snprintf(keps, sizeof keps, "%d,%.2f,51.6,120,0.001,90,30,15.5,1000,0,0,0,1,0,0", epochYear, epochDay);
  dir.Write("SUN", keps);
  ASSERT_TRUE(navtest::LoadSatellite(s, dir, "SUN"));
  s.DayNum = static_cast<float>(dayNumber);
  s.DayFrac = static_cast<float>((r.hour * 60 + r.minute) / 1440.0);
}

}  // namespace

TEST(SunPosition, AgreesWithTheEphemerisToAHundredthOfADegree) {
  navtest::KepsDir dir;
  for (const EphemerisRow& r : kEphemeris) {
    SCOPED_TRACE(r.name);
    NavState s;
    LoadForInstant(s, dir, r);
    SunPosition(s);
    // Over 1995..2040 the low-precision Sun stays within 0.0065 deg of the ephemeris.
    EXPECT_NEAR(DegDiff(Deg(s.SunRa), r.sunRaDeg), 0.0, 0.01);
    EXPECT_NEAR(Deg(s.SunDec), r.sunDecDeg, 0.01);
    EXPECT_GE(s.SunRa, 0.0f);
    EXPECT_LT(s.SunRa, 6.2831855f);
    EXPECT_NEAR(Length(s.SunDir), 1.0, 3e-7);  // unit to float precision
  }
}

TEST(SunPosition, NearTheMarchEquinoxDeclinationIsNearZero) {
  navtest::KepsDir dir;
  NavState s;
  LoadForInstant(s, dir, kEphemeris[5]);  // 2024 March 20 03:06, the equinox
  SunPosition(s);
  EXPECT_NEAR(Deg(s.SunDec), 0.0, 0.01);
  const double ra = Deg(s.SunRa);
  EXPECT_TRUE(ra < 0.01 || ra > 359.99) << ra;
}

TEST(SunPosition, NewElementEpochGivesTheSameSun) {
  // The Sun depends on the epoch only through float rounding.
  navtest::KepsDir dir;
  NavState a, b;
  dir.Write("E1", "2024,150.25,51.6,120,0.001,90,30,15.5,1000");
  dir.Write("E2", "2024,170.75,51.6,120,0.001,90,30,15.5,1000");
  ASSERT_TRUE(navtest::LoadSatellite(a, dir, "E1"));
  ASSERT_TRUE(navtest::LoadSatellite(b, dir, "E2"));
  a.DayNum = b.DayNum = static_cast<float>(DayNumber(2024, 6, 10));
  a.DayFrac = b.DayFrac = 0.4f;
  SunPosition(a);
  SunPosition(b);
  EXPECT_NEAR(a.SunRa, b.SunRa, 2e-5);
  EXPECT_NEAR(a.SunDec, b.SunDec, 2e-5);
}

TEST(GreenwichAngle, FollowsSiderealTimeOfTheEphemeris) {
  // The model's Earth rate is built on the float pi; its angle drifts from
  // true sidereal time by about 0.1 deg over three decades, well within 0.3 deg.
  navtest::KepsDir dir;
  for (const EphemerisRow& r : kEphemeris) {
    SCOPED_TRACE(r.name);
    NavState s;
    LoadForInstant(s, dir, r);
    EarthRotation(s);
    EXPECT_NEAR(DegDiff(Deg(s.Gha), r.gmstDeg), 0.0, 0.3);
  }
}

TEST(SunMoon, AgreesWithTheEphemerisToTheModelsPrecision) {
  for (const EphemerisRow& r : kEphemeris) {
    SCOPED_TRACE(r.name);
    NavState s;
    s.DayNum = static_cast<float>(DayNumber(r.y, r.m, r.d));
    s.DayFrac = static_cast<float>((r.hour * 60 + r.minute) / 1440.0);
    SunMoon(s);
    EXPECT_NEAR(DegDiff(Deg(s.SunLon), r.sunLonDeg), 0.0, 0.01);
    EXPECT_EQ(s.SunLat, 0.0f);
    // The distance series' cos 2M term of 0.0014 makes it agree to 0.13 %.
    EXPECT_NEAR(s.SunDist / r.sunDistKm, 1.0, 1.5e-3);
    // Twelve terms of the Moon's longitude and seven of its latitude: seen
    // within 0.1 deg, 0.04 deg and 0.15 % here.
    EXPECT_NEAR(DegDiff(Deg(s.MoonLon), r.moonLonDeg), 0.0, 0.15);
    EXPECT_NEAR(Deg(s.MoonLat), r.moonLatDeg, 0.05);
    EXPECT_NEAR(s.MoonDist / r.moonDistKm, 1.0, 2e-3);
    // Apparent radii, relative to the distances' agreement: the Sun about
    // 0.27 deg, the Moon 0.25 to 0.28 deg.
    EXPECT_NEAR(s.SunSemiDiam / (695992.0 / r.sunDistKm), 1.0, 1.5e-3);
    EXPECT_NEAR(s.MoonSemiDiam / std::asin(1738.0 / r.moonDistKm), 1.0, 2e-3);
  }
}

TEST(SunMoon, AtTheReferenceInstant) {
  NavState s;
  s.DayNum = 728308;
  s.DayFrac = 0;
  SunMoon(s);
  EXPECT_NEAR(Deg(s.SunLon), 279.07, 0.01);
  EXPECT_NEAR(Deg(s.MoonLon), 258.83, 0.01);
  EXPECT_NEAR(s.SunDist, 146.92e6, 0.01e6);
  EXPECT_NEAR(s.MoonDist, 360630, 10);
}

TEST(SunMoon, DistancesStayWithinTheirRanges) {
  NavState s;
  const double start = DayNumber(2025, 1, 1);
  float sunMin = 1e30f, sunMax = 0, moonMin = 1e30f, moonMax = 0;
  for (int hour = 0; hour < 366 * 24; hour += 3) {
    s.DayNum = static_cast<float>(start + hour / 24);
    s.DayFrac = static_cast<float>((hour % 24) / 24.0);
    SunMoon(s);
    sunMin = std::min(sunMin, s.SunDist);
    sunMax = std::max(sunMax, s.SunDist);
    moonMin = std::min(moonMin, s.MoonDist);
    moonMax = std::max(moonMax, s.MoonDist);
    // Whole turns removed toward zero: within one turn either way.
    EXPECT_LT(std::fabs(s.SunLon), 6.2831855f);
    EXPECT_LT(std::fabs(s.MoonLon), 6.2831855f);
  }
  EXPECT_GT(sunMin, 146.85e6);
  EXPECT_LT(sunMax, 151.95e6);
  EXPECT_GT(moonMin, 357000);
  EXPECT_LT(moonMax, 406500);
  // Perihelion and aphelion are both reached in a year.
  EXPECT_LT(sunMin, 147.2e6);
  EXPECT_GT(sunMax, 151.8e6);
}

TEST(EclipticMatrix, TurnsTheEclipticPoleToItsCelestialPlace) {
  NavState s;
  EclipticMatrix(s);
  // The ecliptic pole lies at right ascension 270 deg, declination 90 - 23.4399 deg.
  const Vec3 pole = MatVec(s.EclMatrix, Vec3{0, 0, 1});
  float dec = 0, ra = 0;
  VectorToLatLon(pole, dec, ra);
  EXPECT_NEAR(Deg(dec), 90 - 23.4399, 1e-4);
  EXPECT_NEAR(Deg(ra), 270, 1e-4);
  // The equinox direction is common to both frames.
  const Vec3 x = MatVec(s.EclMatrix, Vec3{1, 0, 0});
  EXPECT_EQ(x.x, 1.0f);
  EXPECT_EQ(x.y, 0.0f);
  EXPECT_EQ(x.z, 0.0f);
  // Matches the obliquity constants the Sun uses.
  EXPECT_NEAR(s.EclMatrix.m[1][1], 0.917478, 1e-6);
  EXPECT_NEAR(s.EclMatrix.m[2][1], 0.397787, 1e-6);
}
