// Small numeric helpers shared by navlib's own sources (not part of the API).
#pragma once

#include <climits>
#include <cmath>

namespace navlib::detail {

// 2 pi to double precision: used only where an angle is reduced to one turn
// before it is stored (the Earth's rotation angle), never where the model
// scales a rate with its own 2 Pi.
constexpr double ExactTwoPi = 6.283185307179586476925286766559;

// Value rounded to a 32-bit float, as every stored field of the library is.
inline float F(double x) { return static_cast<float>(x); }

// Float-to-int conversion that truncates toward zero and never reaches
// undefined behaviour: NaN gives 0, values beyond the int range saturate.
inline int SafeTrunc(double x) {
  if (std::isnan(x)) return 0;
  if (x >= static_cast<double>(INT_MAX)) return INT_MAX;
  if (x <= static_cast<double>(INT_MIN)) return INT_MIN;
  return static_cast<int>(x);
}

// x reduced into [0, 2 pi) with the exact 2 pi; non-finite values pass through.
inline double ReduceTurn(double x) {
  if (!std::isfinite(x)) return x;
  double r = x - std::floor(x / ExactTwoPi) * ExactTwoPi;
  if (r < 0) r += ExactTwoPi;
  if (r >= ExactTwoPi) r -= ExactTwoPi;
  return r;
}

inline double Clamp1(double x) {
  if (x > 1) return 1;
  if (x < -1) return -1;
  return x;  // NaN stays NaN
}

}  // namespace navlib::detail
