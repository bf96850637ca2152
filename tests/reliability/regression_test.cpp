// Inputs that once went wrong, kept so that they stay right: the absurd
// conversions found by the sanitizer build and the fuzzing harnesses.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

#include "navlib/navlib.h"

namespace {

// Truncation of values that may come from absurd element sets: an orbit
// number of 1e30 or -3.3e10 (a keps year of 1e9) once reached a plain
// float-to-int conversion in the rise/set table, which is undefined.
struct TruncCase {
  double x;
  int expected;
};

TEST(TruncToInt, TruncatesTowardZeroAndSaturates) {
  const double inf = std::numeric_limits<double>::infinity();
  const TruncCase cases[] = {
      {2.9, 2},          {-2.9, -2},          {0.0, 0},        {-0.0, 0},
      {9561.99, 9561},   {2147483647.0, INT_MAX}, {2147483647.9, INT_MAX},
      {-2147483648.0, INT_MIN}, {-2147483648.9, INT_MIN},
      {1e30, INT_MAX},   {-3.33604e10, INT_MIN},  {inf, INT_MAX}, {-inf, INT_MIN},
      {std::nan(""), 0},
  };
  for (const TruncCase& c : cases) {
    SCOPED_TRACE(c.x);
    EXPECT_EQ(navlib::TruncToInt(c.x), c.expected);
  }
}

}  // namespace
