// Observer geometry: the observer on the Earth ellipsoid, look angles, range
// rate, sub-satellite point, squint, illumination and the Sun's angle to the
// spin axis, and the two angle-pair conversions of the orbit frame.
#include "navlib/navlib.h"

#include <cmath>

#include "navlib/detail.h"

namespace navlib {

using detail::F;

namespace {

// Rows north, east, up: applied to an Earth-fixed vector it gives its north,
// east and up components.
Mat3 ObsMatrix(const NavState& s) {
  Mat3 m;
  for (int i = 0; i < 3; ++i) {
    m.m[0][i] = s.ObsNorth[i];
    m.m[1][i] = s.ObsEast[i];
    m.m[2][i] = s.ObsUp[i];
  }
  return m;
}

}  // namespace

void SetObserver(NavState& s, float latDeg, float lonDeg, float heightM) {
  const float lat = Rad(latDeg), lon = Rad(lonDeg);
  double h = F(heightM * 0.001);  // km
  const float cl = F(std::cos(lat)), sl = F(std::sin(lat));
  const float co = F(std::cos(lon)), so = F(std::sin(lon));
  const double rp = static_cast<double>(Nc.EarthRadius) * (1.0 - Nc.Flattening);  // polar radius, km
  const double xx = static_cast<double>(Nc.EarthRadius) * Nc.EarthRadius;
  const double zz = rp * rp;
  double d = std::sqrt(std::fabs(xx * cl * cl + zz * sl * sl));
  if (d + h == 0) d = h = 1;
  const double rx = xx / d + h;
  const double rz = zz / d + h;
  s.ObsNorth = {F(-static_cast<double>(sl) * co), F(-static_cast<double>(sl) * so), cl};
  s.ObsEast = {F(-so), co, 0};
  s.ObsUp = {F(static_cast<double>(cl) * co), F(static_cast<double>(cl) * so), sl};
  s.ObsPos = {F(rx * s.ObsUp.x), F(rx * s.ObsUp.y), F(rz * s.ObsUp.z)};
  s.ObsVel = {F(-static_cast<double>(s.ObsPos.y) * Nc.EarthRateSec), F(static_cast<double>(s.ObsPos.x) * Nc.EarthRateSec), 0};
}

void LookAngles(NavState& s) {
  EarthRotation(s);
  s.SatEarthDir = CelestialToEarth(s, s.SatDir);
  s.AttEarth = CelestialToEarth(s, s.AttDir);
  for (int i = 0; i < 3; ++i) {
    s.SatEarthPos[i] = F(static_cast<double>(s.Radius) * s.SatEarthDir[i]);
    s.RangeDir[i] = F(static_cast<double>(s.SatEarthPos[i]) - s.ObsPos[i]);
  }
  s.Range = Length(s.RangeDir);
  if (s.Range == 0) s.Range = 1;
  for (int i = 0; i < 3; ++i) s.RangeDir[i] = F(static_cast<double>(s.RangeDir[i]) / s.Range);
  const Vec3 neu = MatVec(ObsMatrix(s), s.RangeDir);  // north, east, up
  VectorToLatLon(neu, s.Elevation, s.Azimuth);
  // Angle between the antenna axis and the line from the satellite back to the observer.
  s.Squint = Acos(-Dot(s.RangeDir, s.AttEarth));
}

void ObserverView(NavState& s) {
  LookAngles(s);
  s.SatEarthVel = CelestialToEarth(s, s.SatVel);
  s.SunEarth = CelestialToEarth(s, s.SunDir);
  Vec3 rel;
  for (int i = 0; i < 3; ++i) rel[i] = F(static_cast<double>(s.SatEarthVel[i]) - s.ObsVel[i]);
  s.RangeRate = Dot(rel, s.RangeDir);
  VectorToLatLon(s.SatEarthDir, s.SubLat, s.SubLon);
  const Vec3 sunNeu = MatVec(ObsMatrix(s), s.SunEarth);
  float sunElevation = 0, sunAzimuth = 0;
  VectorToLatLon(sunNeu, sunElevation, sunAzimuth);
  // About 9.7 deg below the horizon the sky is dark enough to see a sunlit satellite.
  if (sunElevation < -0.17f && s.IllumText != "ecl") s.IllumText = "vis";
}

void Illumination(NavState& s) {
  // Cylindrical shadow of radius EarthRadius behind the Earth.
  float x = -Dot(s.SatDir, s.SunDir);  // positive on the far side of the Earth from the Sun
  if (x > 1) x = 1;
  if (x < -1) x = -1;
  s.UmbraRatio = F(std::sqrt(std::fabs(1.0 - static_cast<double>(x) * x)) * s.Radius / Nc.EarthRadius);
  s.IllumText = x >= 0 ? " + " : " - ";
  if (s.UmbraRatio <= 1 && x >= 0) s.IllumText = "ecl";
}

float SunAngle(NavState& s) {
  const double d = Dot(s.Elements.Attitude, s.SunDir);
  s.SunSidePercent = F(100.0 * std::sqrt(std::fabs(1.0 - d * d)));
  return Asin(F(d));  // the Sun's elevation above the plane perpendicular to the attitude
}

void AttitudeToCelestial(NavState& s, float alatRad, float alonRad, float& outLat, float& outLon) {
  s.WorkV = LatLonToVector(alatRad, alonRad);  // orbit-plane frame
  s.WorkW = MatVec(s.OrbitMatrix, s.WorkV);     // celestial frame
  VectorToLatLon(s.WorkW, outLat, outLon);
}

void CelestialToOrbitLatLon(NavState& s, float decRad, float raRad, float& outLat, float& outLon) {
  s.WorkV = LatLonToVector(decRad, raRad);      // celestial frame
  s.WorkW = MatTVec(s.WorkV, s.OrbitMatrix);     // orbit-plane frame
  VectorToLatLon(s.WorkW, outLat, outLon);
}

}  // namespace navlib
