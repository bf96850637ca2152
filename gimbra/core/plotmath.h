// Small guarded conversions the plotter's drawing code shares.
#pragma once

#include <cmath>
#include <cstdint>

#include "navlib/navlib.h"

namespace gimbra {

// Pixels farther than this from the image only move the pen.
inline constexpr double MaxPixel = 1.0e6;

// Truncation toward zero that never reaches undefined behaviour: a value
// that is not finite gives 0, values beyond the int range are held at it.
inline int TruncToInt(double v) {
  if (!std::isfinite(v)) return 0;
  if (v >= 2147483647.0) return 2147483647;
  if (v <= -2147483648.0) return -2147483647 - 1;
  return static_cast<int>(v);
}

inline int ClampInt(int v, int lo, int hi) { return v < lo ? lo : (v > hi ? hi : v); }

// The whole year of a record, kept within a range the day count can hold.
inline int RecordYear(float year) { return ClampInt(TruncToInt(year), -1000000, 1000000); }

// The whole orbit number of a record, kept within a range the orbit
// arithmetic can hold.
inline int RecordOrbit(float orbit) { return ClampInt(TruncToInt(orbit), -100000000, 100000000); }

inline navlib::Vec3 Scaled(const navlib::Vec3& v, double k) {
  return {static_cast<float>(v.x * k), static_cast<float>(v.y * k), static_cast<float>(v.z * k)};
}
inline navlib::Vec3 Plus(const navlib::Vec3& a, const navlib::Vec3& b) {
  return {a.x + b.x, a.y + b.y, a.z + b.z};
}
inline navlib::Vec3 Minus(const navlib::Vec3& a, const navlib::Vec3& b) {
  return {a.x - b.x, a.y - b.y, a.z - b.z};
}

}  // namespace gimbra
