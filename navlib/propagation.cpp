// Satellite propagation: a Kepler ellipse whose mean anomaly follows a cubic
// polynomial in time, node and perigee precessing with J2, and the Earth
// turning under the sky.
#include "navlib/navlib.h"

#include <cmath>

#include "navlib/detail.h"

namespace navlib {

using detail::F;

double ElapsedDays(const NavState& s) {
  // The two differences first, so that the large day numbers cancel before
  // the fraction is added.
  return (static_cast<double>(s.DayNum) - s.EpochDayNumber) + (static_cast<double>(s.DayFrac) - s.EpochDay);
}

void OrbitPlaneState(NavState& s) {
  const ElementSet& el = s.Elements;
  const double t = s.Elapsed = ElapsedDays(s);
  // M and the whole turns r are working values in double: a float M of
  // thousands of radians would move the satellite in kilometre steps.
  const double m = ((static_cast<double>(el.MaTerm3) * t + el.MaTerm2) * t + el.MeanMotion) * t + el.MeanAnomaly;
  const double turn = 2.0 * Nc.Pi;  // the turn the mean motion was scaled with
  // floor, not truncation: before the epoch the orbit number counts whole
  // revolutions correctly and the mean anomaly stays in [0, 2 pi).
  double r = std::floor(m / turn);
  s.MeanAnomalyNow = F(m - r * turn);
  if (s.MeanAnomalyNow >= F(turn)) {  // a remainder just below one turn rounded up to it
    s.MeanAnomalyNow = 0;
    r += 1;
  }
  s.Ma256 = F(s.MeanAnomalyNow * 128.0 / Nc.Pi);
  s.OrbitNumber = F(el.EpochOrbit + r);

  // Kepler's equation by Newton's method, values kept as floats between steps.
  const float mNow = s.MeanAnomalyNow;
  const float e = el.Eccentricity;
  float ecc = F(mNow + static_cast<double>(e) * std::sin(mNow));
  float ce = 1, se = 0, q = 1;
  int passes = 0;
  while (passes < 1000) {
    ce = F(std::cos(ecc));
    se = F(std::sin(ecc));
    q = F(1.0 - static_cast<double>(e) * ce);
    const double divisor = q != 0 ? q : 1.0;  // e = 1 at perigee: no division by zero
    const float dE = F((ecc - static_cast<double>(e) * se - mNow) / divisor);
    ecc = F(static_cast<double>(ecc) - dE);
    ++passes;
    if (std::fabs(dE) <= 0.00001f) break;
  }
  s.EccAnomaly = ecc;
  s.KeplerPasses = passes;
  // ce, se and q belong to the eccentric anomaly before its last correction.
  if (q == 0 || s.MeanMotionSec == 0) {
    q = 1;
    s.MeanMotionSec = 1;
  }
  s.Radius = F(static_cast<double>(s.SemiMajorAxis) * q);
  s.SatPlane = {F((static_cast<double>(ce) - e) / q), F(static_cast<double>(s.EccRoot) * se / q), 0};
  s.VelPlane = {F(-static_cast<double>(s.SemiMajorAxis) * se / q * s.MeanMotionSec),
                F(static_cast<double>(s.SemiMinorAxis) * ce / q * s.MeanMotionSec), 0};
}

void OrbitOrientation(NavState& s) {
  const ElementSet& el = s.Elements;
  const double t = s.Elapsed = ElapsedDays(s);
  const double w = s.PerigeeRate * t + el.ArgPerigee;
  const double node = s.RaanRate * t + el.Raan;
  const float cw = F(std::cos(w)), sw = F(std::sin(w));
  const float ci = F(std::cos(el.Inclination)), si = F(std::sin(el.Inclination));
  const float cq = F(std::cos(node)), sq = F(std::sin(node));
  s.CosIncl = ci;
  s.SinIncl = si;
  s.ArgPerigeeNow = AngleOf(sw, cw);
  s.RaanNow = AngleOf(sq, cq);
  // Rotation from the orbit-plane frame (x to perigee, z the orbit normal)
  // to the celestial frame: Rz(node) Rx(inclination) Rz(perigee).
  auto& m = s.OrbitMatrix.m;
  m[0][0] = F(static_cast<double>(cw) * cq - static_cast<double>(sw) * ci * sq);
  m[0][1] = F(-static_cast<double>(sw) * cq - static_cast<double>(cw) * ci * sq);
  m[0][2] = F(static_cast<double>(si) * sq);
  m[1][0] = F(static_cast<double>(cw) * sq + static_cast<double>(sw) * ci * cq);
  m[1][1] = F(-static_cast<double>(sw) * sq + static_cast<double>(cw) * ci * cq);
  m[1][2] = F(-static_cast<double>(si) * cq);
  m[2][0] = F(static_cast<double>(sw) * si);
  m[2][1] = F(static_cast<double>(cw) * si);
  m[2][2] = ci;
}

void SatState(NavState& s) {
  OrbitPlaneState(s);
  OrbitOrientation(s);
  s.SatDir = PlaneToCelestial(s, s.SatPlane);
  s.SatVel = PlaneToCelestial(s, s.VelPlane);
}

Vec3 PlaneToCelestial(const NavState& s, const Vec3& v) { return MatVec(s.OrbitMatrix, v); }

Vec3 CelestialToPlane(const NavState& s, const Vec3& v) { return MatTVec(v, s.OrbitMatrix); }

float EarthRotation(NavState& s) {
  const double t = s.Elapsed = ElapsedDays(s);
  // Reduced to one turn with the exact 2 pi before it is stored: an
  // unreduced float of 50,000 rad would turn the Earth in jumps of 0.2 deg.
  s.Gha = F(detail::ReduceTurn(Nc.EarthRate * t + s.GhaEpoch));
  const double cg = std::cos(-static_cast<double>(s.Gha));
  const double sg = std::sin(-static_cast<double>(s.Gha));
  auto& m = s.EarthMatrix.m;
  m[0][0] = F(cg);
  m[0][1] = F(-sg);
  m[0][2] = 0;
  m[1][0] = F(sg);
  m[1][1] = F(cg);
  m[1][2] = 0;
  m[2][0] = 0;
  m[2][1] = 0;
  m[2][2] = 1;
  return s.Gha;
}

Vec3 EarthToCelestial(const NavState& s, const Vec3& v) { return MatTVec(v, s.EarthMatrix); }

Vec3 CelestialToEarth(const NavState& s, const Vec3& v) { return MatVec(s.EarthMatrix, v); }

void TimeFromOrbitMa(NavState& s, int orbit, float ma256) {
  const ElementSet& el = s.Elements;
  // Whole revolutions out of the mean anomaly with one floor step (no loop
  // that an absurd value could keep running).
  double ma = ma256;
  double orbitD = orbit;
  if (std::isfinite(ma)) {
    const double turns = std::floor(ma / 256.0);
    ma -= turns * 256.0;
    orbitD += turns;
    if (ma >= 256.0) {
      ma -= 256.0;
      orbitD += 1;
    }
  }
  const double mm = el.MeanMotion != 0 ? static_cast<double>(el.MeanMotion) : 1.0;
  // Elapsed days if the mean motion were constant, then one Newton step on
  // the cubic mean-anomaly polynomial.
  const double t0 = (2.0 * Nc.Pi * ((orbitD - el.EpochOrbit) + ma / 256.0) - el.MeanAnomaly) / mm;
  double slope = el.MeanMotion + 2.0 * el.MaTerm2 * t0 + 3.0 * el.MaTerm3 * t0 * t0;
  if (slope == 0) slope = 1;
  const double t = t0 - (el.MaTerm2 + el.MaTerm3 * t0) * t0 * t0 / slope;
  const double dayFrac = t + s.EpochDay;
  const double w = std::trunc(dayFrac);  // toward zero: DayFrac stays in (-1, 1)
  double frac = dayFrac - w;
  double days = s.EpochDayNumber + w;
  if (F(frac) >= 1.0f || F(frac) <= -1.0f) {  // a fraction that rounds to a whole day
    days += frac > 0 ? 1 : -1;
    frac -= frac > 0 ? 1 : -1;
  }
  s.DayNum = F(days);
  s.DayFrac = F(frac);
}

}  // namespace navlib
