// Vector and angle helpers: angle conversions, a two-argument arc tangent
// that always returns a positive angle, spherical angles and unit vectors,
// products, and the attitude plotter's cone and earth-sensor helpers.
#include "navlib/navlib.h"

#include <cmath>

#include "navlib/detail.h"

namespace navlib {

using detail::F;

float Rad(float deg) { return F(static_cast<double>(deg) * Nc.Pi * (1.0 / 180.0)); }

float Deg(float rad) { return F(static_cast<double>(rad) * 180.0 / Nc.Pi); }

float AngleOf(float y, float x) {
  if (y == 0 && x == 0) return 0;  // no direction: 0, not pi/2
  const double sign = y >= 0 ? 1.0 : -1.0;
  float a = x != 0 ? F(std::atan(static_cast<double>(y) / x)) : F(sign * Nc.Pi / 2.0);
  if (x < 0) a = F(static_cast<double>(a) + Nc.Pi);
  if (a < 0) a = F(static_cast<double>(a) + 2.0 * Nc.Pi);
  return a;
}

Vec3 LatLonToVector(float latRad, float lonRad) {
  const float q = F(std::cos(latRad));
  return {F(std::cos(lonRad) * q), F(std::sin(lonRad) * q), F(std::sin(latRad))};
}

void VectorToLatLon(const Vec3& v, float& latRad, float& lonRad) {
  float r = Length(v);
  if (r < 1e-36f) r = 0;
  if (r == 0) {
    latRad = 0;
    lonRad = 0;
    return;
  }
  lonRad = AngleOf(v.y, v.x);
  latRad = Asin(F(static_cast<double>(v.z) / r));
}

float Dot(const Vec3& a, const Vec3& b) {
  // Each product rounded to a float, then added in order.
  const float xx = F(static_cast<double>(a.x) * b.x);
  const float yy = F(static_cast<double>(a.y) * b.y);
  const float zz = F(static_cast<double>(a.z) * b.z);
  return F(static_cast<double>(F(static_cast<double>(xx) + yy)) + zz);
}

float Asin(float x) {
  // Clamped: a unit vector's component may reach 1.0000002 from rounding.
  return F(std::asin(detail::Clamp1(x)));
}

float Acos(float x) {
  const double c = detail::Clamp1(x);
  const float q = F(std::sqrt(std::fabs(1.0 - c * c)));
  if (q == 0) return c > 0 ? 0.0f : Nc.Pi;
  return F(std::atan(-c / q) + 2.0 * std::atan(1.0));
}

float Length(const Vec3& v) {
  return F(std::sqrt(static_cast<double>(v.x) * v.x + static_cast<double>(v.y) * v.y +
                     static_cast<double>(v.z) * v.z));
}

float CrossUnit(const Vec3& a, const Vec3& b, Vec3& out) {
  Vec3 n{F(static_cast<double>(a.y) * b.z - static_cast<double>(a.z) * b.y),
         F(static_cast<double>(a.z) * b.x - static_cast<double>(a.x) * b.z),
         F(static_cast<double>(a.x) * b.y - static_cast<double>(a.y) * b.x)};
  const float len = Length(n);
  if (len != 0) {
    for (int i = 0; i < 3; ++i) n[i] = F(static_cast<double>(n[i]) / len);
  }
  out = n;  // written last, so out may safely be one of the inputs
  return len;
}

Vec3 MatVec(const Mat3& m, const Vec3& v) {
  Vec3 out;
  for (int i = 0; i < 3; ++i) {
    out[i] = F(static_cast<double>(m.m[i][0]) * v.x + static_cast<double>(m.m[i][1]) * v.y +
               static_cast<double>(m.m[i][2]) * v.z);
  }
  return out;
}

Vec3 MatTVec(const Vec3& v, const Mat3& m) {
  Vec3 out;
  for (int i = 0; i < 3; ++i) {
    out[i] = F(static_cast<double>(v.x) * m.m[0][i] + static_cast<double>(v.y) * m.m[1][i] +
               static_cast<double>(v.z) * m.m[2][i]);
  }
  return out;
}

float TurnAngle(const Vec3& p, const Vec3& a, const Vec3& b) {
  Vec3 n;
  const float len = CrossUnit(a, b, n);
  const float y = F(static_cast<double>(Dot(n, p)) * len);  // p . (a x b)
  const float x = F(static_cast<double>(Dot(a, b)) - static_cast<double>(Dot(p, b)) * Dot(p, a));
  return AngleOf(y, x);
}

bool ConeIntersect(const Vec3& a, const Vec3& b, float ca, float cb, Vec3& u1, Vec3& u2) {
  const float g = Dot(b, a);
  const float d = F(1.0 - static_cast<double>(g) * g);
  if (d == 0) return false;  // parallel axes: outputs unchanged
  const float h = F((ca - static_cast<double>(g) * cb) / d);
  const float l = F((cb - static_cast<double>(g) * ca) / d);
  const float k2 = F((1.0 - (static_cast<double>(ca) * h + static_cast<double>(cb) * l)) / d);
  if (k2 < 0) {  // the cones do not meet
    u1 = Vec3{};
    u2 = Vec3{};
    return false;
  }
  Vec3 n;
  const float len = CrossUnit(a, b, n);
  const float k = F(len * std::sqrt(static_cast<double>(k2)));
  Vec3 r1, r2;
  for (int i = 0; i < 3; ++i) {
    const double base = static_cast<double>(h) * a[i] + static_cast<double>(l) * b[i];
    r1[i] = F(base + static_cast<double>(k) * n[i]);
    r2[i] = F(base - static_cast<double>(k) * n[i]);
  }
  u1 = r1;
  u2 = r2;
  return true;
}

float RoundTo(float x, int n) {
  const double p = std::pow(10.0, n);
  return F(std::floor(static_cast<double>(x) * p + 0.5) / p);
}

float SensorAngleFromMa(const NavState& s, float ma256) {
  float m = F(static_cast<double>(ma256) + 0.5);
  if (m > 127) m = F(static_cast<double>(m) - 256);
  return F(std::atan(std::sin(Nc.Pi * static_cast<double>(m) / 256.0) * s.TanSensorAngle));
}

float MaFromSensorAngle(NavState& s, float angleDeg) {
  if (std::fabs(angleDeg) >= 60) {
    s.SensorMa = -999;  // beyond the sensor's 60 degree reach
    return s.SensorMa;
  }
  const double tanSensor = s.TanSensorAngle != 0 ? static_cast<double>(s.TanSensorAngle) : 1.0;
  float m = F(std::asin(detail::Clamp1(std::tan(Rad(angleDeg)) / tanSensor)) * 256.0 / Nc.Pi);
  // The arc sine keeps m within half a turn, so one step each way suffices.
  if (m < 0) m = F(static_cast<double>(m) + 256);
  if (m >= 256) m = F(static_cast<double>(m) - 256);
  s.SensorMa = m;
  return m;
}

}  // namespace navlib
