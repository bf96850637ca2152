// navlib: the orbit library both programs link.
//
// One state record (NavState) owned by the program, one record of model
// constants (Nc, written only by NavInit) and free operations. Writers take
// NavState&, readers const NavState&, pure helpers take and return values.
// Every stored field is a 32-bit float; expressions are evaluated wider and
// rounded when stored. Angles are radians inside the library.
#pragma once

#include <cstddef>
#include <string>

namespace platform { class UiHost; }

namespace navlib {

struct Vec3 {
  float x = 0, y = 0, z = 0;
  float& operator[](int i) { return i == 0 ? x : (i == 1 ? y : z); }
  float operator[](int i) const { return i == 0 ? x : (i == 1 ? y : z); }
};

// 3 x 3 matrix stored row by row: m[row][column].
struct Mat3 {
  float m[3][3] = {{0, 0, 0}, {0, 0, 0}, {0, 0, 0}};
};

// Model constants. Four are derived by NavInit; the others are fixed here.
struct NavConstants {
  float Pi = 3.14159274f;            // float nearest pi; every 2 pi of the library uses it
  float TropicalYear = 365.2421875f; // days
  float YearRate = 0;                // rad/day, 2 Pi / TropicalYear; NavInit
  float EarthRate = 0;               // rad/day, Earth's rotation relative to the equinox; NavInit
  float EarthRateSec = 0;            // rad/s, EarthRate / 86400; NavInit
  float EarthRadius = 6378.137f;     // km, equatorial radius
  float Flattening = 1.0f / 298.257224f;  // flattening of the Earth ellipsoid
  float GM = 398600.44f;             // km^3/s^2, Earth's gravitational constant
  float J2 = 0.00108263f;            // second zonal harmonic
  float GhaRefDeg = 99.1901f;        // deg, Greenwich hour angle of Aries at 1995 Jan 0, 0 h UTC
  float SunMaRefDeg = 356.34094f;    // deg, Sun's mean anomaly at 1995 Jan 0, 0 h UTC
  float SunMaRate = 0;               // rad/day, 0.98560027 deg/day; NavInit
  float CosObliquity = 0.917478f;    // cosine of the obliquity of the ecliptic
  float SinObliquity = 0.397787f;    // sine of the obliquity of the ecliptic
  float SunEqc1 = 0.03342127f;       // rad, Sun's equation of centre, sin M term
  float SunEqc2 = 0.000349f;         // rad, sin 2M term
  float SunEqc3 = 0.00000506f;       // rad, sin 3M term
  float Obliquity = 0.409103423f;    // rad, 23.4399 deg, for the ecliptic matrix
};

extern NavConstants Nc;  // model constants; written only by NavInit

constexpr int RefDayNumber = 728308;  // 1995 January 0 (31 Dec 1994), 0 h UTC

// The fifteen values of a keps file, in file order. After ReadKeps the angles
// are radians and MeanMotion is rad/day; the rest as read.
struct ElementSet {
  float EpochYear = 0;      // year in full
  float EpochDay = 0;       // day of year with fraction; day 1.0 = 1 Jan 0 h UTC
  float Inclination = 0;    // rad
  float Raan = 0;           // rad, right ascension of the ascending node
  float Eccentricity = 0;
  float ArgPerigee = 0;     // rad
  float MeanAnomaly = 0;    // rad, at the epoch
  float MeanMotion = 0;     // rad/day
  float EpochOrbit = 0;     // revolution number at the epoch
  float SemiMajorAxis = 0;  // km
  Vec3 Attitude;            // spin-axis unit vector, celestial frame
  float MaTerm2 = 0;        // rad/day^2, t^2 coefficient of the mean anomaly
  float MaTerm3 = 0;        // rad/day^3, t^3 coefficient

  float& Field(int i);      // by keps-file index 0..14
  float Field(int i) const;
};

struct NavState {
  // Current time: whole day number plus fraction of the day since 0 h UTC.
  float DayNum = 0;
  float DayFrac = 0;

  // Element set and epoch values (ReadKeps, SetupElements).
  ElementSet Elements;
  bool HasAttitude = false;
  float EpochDayNumber = 0;  // day number of the epoch's whole day
  float EpochDay = 0;        // fraction of that day, [0, 1)
  float MeanMotionSec = 0;   // rad/s, never 0
  float SemiMajorAxis = 0;   // km, from the mean motion
  float EccRoot = 0;         // sqrt|1 - e^2|
  float SemiMinorAxis = 0;   // km
  float SinIncl = 0, CosIncl = 0;
  float RaanRate = 0;        // rad/day, J2 node precession
  float PerigeeRate = 0;     // rad/day, J2 perigee precession
  float GhaEpoch = 0;        // rad, Greenwich hour angle of Aries at the epoch, in [0, 2 pi)
  float SunRaEpoch = 0;      // rad, Sun's mean right ascension at the epoch
  float SunMaEpoch = 0;      // rad, Sun's mean anomaly at the epoch
  float TanSensorAngle = 0;  // tan 60 deg, earth-sensor geometry

  // Propagation results (current time).
  double Elapsed = 0;        // days since the epoch (double: a float steps by seconds after months)
  float MeanAnomalyNow = 0;  // rad, whole turns removed
  float Ma256 = 0;           // mean anomaly in 256ths of a revolution
  float OrbitNumber = 0;     // revolution number
  float EccAnomaly = 0;      // rad
  int KeplerPasses = 0;      // Newton passes the last Kepler solution took (at most 1000)
  float Radius = 0;          // km, geocentric
  Vec3 SatPlane;             // unit, orbit-plane frame
  Vec3 VelPlane;             // km/s, orbit-plane frame
  float ArgPerigeeNow = 0, RaanNow = 0;  // rad, [0, 2 pi)
  Mat3 OrbitMatrix;          // orbit plane -> celestial
  Vec3 SatDir;               // unit, celestial frame
  Vec3 SatVel;               // km/s, celestial frame
  float Gha = 0;             // rad, Greenwich hour angle of Aries, reduced to [0, 2 pi) in double
  Mat3 EarthMatrix;          // celestial -> Earth-fixed

  // Observer and look angles (planner).
  Vec3 ObsNorth, ObsEast, ObsUp;  // unit, Earth-fixed; rows of the observer matrix
  Vec3 ObsPos;               // km, Earth-fixed
  Vec3 ObsVel;               // km/s, Earth-fixed axes
  Vec3 AttDir;               // unit, celestial: antenna axis for the squint
  Vec3 SatEarthDir;          // unit, Earth-fixed
  Vec3 AttEarth;             // unit, Earth-fixed
  Vec3 SatEarthPos;          // km, Earth-fixed
  Vec3 RangeDir;             // unit, observer -> satellite, Earth-fixed
  float Range = 0;           // km
  float Elevation = 0, Azimuth = 0;  // rad; azimuth from north through east, [0, 2 pi)
  float Squint = 0;          // rad, [0, pi]
  Vec3 SatEarthVel;          // km/s, Earth-fixed axes
  Vec3 SunEarth;             // unit, Earth-fixed
  float RangeRate = 0;       // km/s, positive receding
  float SubLat = 0, SubLon = 0;  // rad, sub-satellite point; longitude [0, 2 pi)
  float UmbraRatio = 0;      // Earth radii from the Earth-Sun line
  float SunSidePercent = 0;  // 100 sqrt|1 - (Attitude . SunDir)^2|

  // Sun and Moon.
  Vec3 SunDir;               // unit, celestial
  float SunDec = 0, SunRa = 0;  // rad; RA in [0, 2 pi)
  float MoonLon = 0, MoonLat = 0;  // rad, ecliptic
  float MoonDist = 0;        // km
  float MoonSemiDiam = 0;    // rad
  float SunLon = 0, SunLat = 0;  // rad, ecliptic
  float SunDist = 0;         // km
  float SunSemiDiam = 0;     // rad
  Mat3 EclMatrix;            // ecliptic -> celestial

  // Working vectors of the angle-pair frame conversions.
  Vec3 WorkV, WorkW;
  float SensorMa = 0;        // last MaFromSensorAngle result, 256ths

  // Texts.
  std::string SatName;   // only the first five characters name the keps file
  std::string KepsDir;   // keps directory followed by the path separator
  std::string IllumText; // " + ", " - ", "ecl", "vis" or three blanks
  std::string ZoneText;  // planner's zone label
  std::string ModeText;  // planner's mode text

  // Where ReadKeps shows its message box; may be null (then nothing is shown).
  platform::UiHost* Host = nullptr;

  NavState() = default;
  NavState(const NavState&) = delete;             // one per program, never copied
  NavState& operator=(const NavState&) = delete;
};

// Lends a command's message host to the library for the command's length (the
// keps reader's message then reaches the window or the command line that runs
// it) and gives the previous host back at the end, also when a conversion
// error ends the command.
class HostLoan {
 public:
  HostLoan(NavState& s, platform::UiHost& host) : s_(s), old_(s.Host) { s_.Host = &host; }
  ~HostLoan() { s_.Host = old_; }
  HostLoan(const HostLoan&) = delete;
  HostLoan& operator=(const HostLoan&) = delete;

 private:
  NavState& s_;
  platform::UiHost* old_;
};

// ---- Constants, time and day numbers ----
void NavInit(NavState& s);               // derived constants; empties the five texts
int DayNumber(int year, int month, int day);
std::string DateText(int dayNumber);     // "1995  Jan  01 [Sun]"
std::string TimeText(float dayFraction); // "hh:mm:ss"
int ParseDate(const std::string& text);  // throws ConvertError
void NormalizeTime(NavState& s);
int RoundToInt(float x);                 // trunc(x + 0.5): RoundToInt(-2.7) == -2
// Truncation toward zero for values that may be absurd (an orbit number or a
// mean anomaly from a keps file of inf, nan or 1e30): NaN gives 0, values
// beyond the int range give INT_MAX or INT_MIN instead of undefined behaviour.
int TruncToInt(double x);
std::string TimeDiffText(const std::string& first, const std::string& second);  // throws ConvertError
float ParseTime(const std::string& text);  // throws ConvertError

// ---- Element sets and the keps file ----
extern const char* const KepsNotFoundText;  // "      Keps file not found!\n Run set-up or generate kep files!"
std::string KepsFileName(const NavState& s);  // KepsDir + "EL-" + first five of SatName + ".kep"
bool ReadKeps(NavState& s);        // false when the file could not be read: elements kept
// The reader's steps without the conversion to radians: the fifteen values of
// the keps file in the file's own units (degrees, revolutions per day, the
// whole day of the year) into a record of the caller's; the library's element
// set is not touched. False (message shown, record unchanged) as for ReadKeps.
bool ReadKepsFileUnits(const NavState& s, ElementSet& fileUnits);
bool SetupElements(NavState& s);    // false: message shown, every element and derived value kept
// The text of one keps-file value: general format with the fewest significant
// digits (at most 9 in practice) that the reader converts back to exactly this
// float, within maxBytes (5 for the year, 24 for the other fields); whole
// numbers keep all their integer digits (2002, not 2e+03).
std::string KepsFieldText(float value, size_t maxBytes);

// ---- Propagation ----
double ElapsedDays(const NavState& s);
void OrbitPlaneState(NavState& s);
void OrbitOrientation(NavState& s);
void SatState(NavState& s);
Vec3 PlaneToCelestial(const NavState& s, const Vec3& v);
Vec3 CelestialToPlane(const NavState& s, const Vec3& v);
float EarthRotation(NavState& s);
Vec3 EarthToCelestial(const NavState& s, const Vec3& v);
Vec3 CelestialToEarth(const NavState& s, const Vec3& v);
void TimeFromOrbitMa(NavState& s, int orbit, float ma256);

// ---- Observer geometry ----
void SetObserver(NavState& s, float latDeg, float lonDeg, float heightM);
void LookAngles(NavState& s);
void ObserverView(NavState& s);
void Illumination(NavState& s);
float SunAngle(NavState& s);
void AttitudeToCelestial(NavState& s, float alatRad, float alonRad, float& outLat, float& outLon);
void CelestialToOrbitLatLon(NavState& s, float decRad, float raRad, float& outLat, float& outLon);

// ---- Sun and Moon ----
void SunPosition(NavState& s);
void SunMoon(NavState& s);
void EclipticMatrix(NavState& s);

// ---- Vector and angle helpers ----
float Rad(float deg);
float Deg(float rad);
float AngleOf(float y, float x);
Vec3 LatLonToVector(float latRad, float lonRad);
void VectorToLatLon(const Vec3& v, float& latRad, float& lonRad);
float Dot(const Vec3& a, const Vec3& b);
float Asin(float x);
float Acos(float x);
float Length(const Vec3& v);
float CrossUnit(const Vec3& a, const Vec3& b, Vec3& out);  // returns the length before normalising
Vec3 MatVec(const Mat3& m, const Vec3& v);
Vec3 MatTVec(const Vec3& v, const Mat3& m);
float TurnAngle(const Vec3& p, const Vec3& a, const Vec3& b);
bool ConeIntersect(const Vec3& a, const Vec3& b, float ca, float cb, Vec3& u1, Vec3& u2);
float RoundTo(float x, int n);
float SensorAngleFromMa(const NavState& s, float ma256);
float MaFromSensorAngle(NavState& s, float angleDeg);

}  // namespace navlib
