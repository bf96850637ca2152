#include "navlib/textnum.h"

#include <cerrno>
#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <locale.h>

namespace navlib {
namespace {

locale_t CLocale() {
  static locale_t loc = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  return loc;
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

}  // namespace

std::string TrimBlanks(const std::string& t) {
  size_t b = 0, e = t.size();
  while (b < e && IsBlank(t[b])) ++b;
  while (e > b && IsBlank(t[e - 1])) --e;
  return t.substr(b, e - b);
}

int StrToInt(const std::string& text) {
  const std::string t = TrimBlanks(text);
  size_t i = 0;
  bool neg = false;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) neg = t[i++] == '-';
  if (i >= t.size()) throw ConvertError("'" + text + "' is not a valid integer value");
  long long v = 0;
  for (; i < t.size(); ++i) {
    if (t[i] < '0' || t[i] > '9') throw ConvertError("'" + text + "' is not a valid integer value");
    v = v * 10 + (t[i] - '0');
    if (v > static_cast<long long>(INT_MAX) + 1) throw ConvertError("'" + text + "' is not a valid integer value");
  }
  if (neg) v = -v;
  if (v > INT_MAX || v < INT_MIN) throw ConvertError("'" + text + "' is not a valid integer value");
  return static_cast<int>(v);
}

int StrToIntDef(const std::string& text, int def) {
  try {
    return StrToInt(text);
  } catch (const ConvertError&) {
    return def;
  }
}

double StrToFloat(const std::string& text) {
  const std::string t = TrimBlanks(text);
  const std::string msg = "'" + text + "' is not a valid floating point value";
  // Only sign, digits, one point, and an exponent: no hex, inf or nan words.
  size_t i = 0;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
  size_t digits = 0;
  while (i < t.size() && t[i] >= '0' && t[i] <= '9') ++i, ++digits;
  if (i < t.size() && t[i] == '.') {
    ++i;
    while (i < t.size() && t[i] >= '0' && t[i] <= '9') ++i, ++digits;
  }
  if (digits == 0) throw ConvertError(msg);
  if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
    ++i;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    size_t ed = 0;
    while (i < t.size() && t[i] >= '0' && t[i] <= '9') ++i, ++ed;
    if (ed == 0) throw ConvertError(msg);
  }
  if (i != t.size()) throw ConvertError(msg);
  return strtod_l(t.c_str(), nullptr, CLocale());
}

double LeadingDouble(const char* text) {
  return strtod_l(text, nullptr, CLocale());
}

std::string Format(const char* fmt, ...) {
  locale_t old = uselocale(CLocale());
  va_list ap;
  va_start(ap, fmt);
  char buf[512];
  va_list ap2;
  va_copy(ap2, ap);
  int n = std::vsnprintf(buf, sizeof buf, fmt, ap);
  std::string out;
  if (n >= 0 && static_cast<size_t>(n) < sizeof buf) {
    out.assign(buf, static_cast<size_t>(n));
  } else if (n >= 0) {
    out.resize(static_cast<size_t>(n) + 1);
    std::vsnprintf(out.data(), out.size(), fmt, ap2);
    out.resize(static_cast<size_t>(n));
  }
  va_end(ap2);
  va_end(ap);
  uselocale(old);
  return out;
}

}  // namespace navlib
