#include "gimbra/core/fieldtext.h"

#include <cmath>

#include "gimbra/core/plotstate.h"
#include "navlib/textnum.h"

namespace gimbra {

std::string FormatFixed(double value, int precision, int digits) {
  if (!std::isfinite(value)) return navlib::Format("%g", value);
  if (value != 0) {
    // Round to `precision` significant digits first: 359.96 at 4 digits is 360.0.
    const std::string sig = navlib::Format("%.*e", precision - 1, value);
    value = navlib::StrToFloat(sig);
  }
  // More whole digits than the precision holds: exponent form, as the
  // form library's fixed format falls back to.
  if (std::fabs(value) >= std::pow(10.0, precision)) return navlib::Format("%.*E", precision - 1, value);
  std::string out = navlib::Format("%.*f", digits, value);
  if (out[0] == '-' && out.find_first_not_of("-0.") == std::string::npos) out.erase(0, 1);  // no "-0.0"
  return out;
}

std::string ClampSegmentsText(const std::string& text) {
  std::string out = text;
  if (navlib::StrToInt(out) > MaxCircleSegments) out = std::to_string(MaxCircleSegments);
  if (navlib::StrToInt(out) < MinCircleSegments) out = std::to_string(MinCircleSegments);
  return out;
}

std::string WrapAlonText(const std::string& text) {
  double v = navlib::StrToFloat(text);
  std::string out = text;
  // One floor step instead of a loop: a typed 1e12 would loop for billions
  // of passes; ordinary values give the same as repeated subtraction.
  if (v > 360) {
    v -= 360 * std::ceil((v - 360) / 360);
    out = FormatFixed(v, 4, 1);
  }
  if (v < 0) {
    v += 360 * std::ceil(-v / 360);
    out = FormatFixed(v, 4, 1);
  }
  return out;
}

std::string FoldAlatText(const std::string& text) {
  double v = navlib::StrToFloat(text);
  std::string out = text;
  if (v > 90) {
    v -= 90 * std::ceil((v - 90) / 90);
    out = FormatFixed(v, 3, 1);
  }
  if (v < -90) {
    v += 90 * std::ceil((-90 - v) / 90);
    out = FormatFixed(v, 3, 1);
  }
  return out;
}

}  // namespace gimbra
