// Model constants, the library's start-up, day numbers and the date and time
// texts both programs print and parse.
#include "navlib/navlib.h"

#include <cmath>

#include "navlib/detail.h"
#include "navlib/textnum.h"

namespace navlib {

using detail::F;
using detail::SafeTrunc;

namespace {

// The four derived constants, each rounded to a float when stored.
void DeriveConstants(NavConstants& c) {
  c.YearRate = F(2.0 * c.Pi / c.TropicalYear);             // 0.0172027927 rad/day
  c.EarthRate = F(2.0 * c.Pi + c.YearRate);                // 6.30038834 rad/day
  c.EarthRateSec = F(c.EarthRate * (1.0 / 86400.0));       // 7.29211606e-05 rad/s
  c.SunMaRate = F(0.98560027 * c.Pi * (1.0 / 180.0));      // 0.0172019694 rad/day
}

NavConstants MakeConstants() {
  NavConstants c;
  DeriveConstants(c);
  return c;
}

constexpr char kMonths[] = "JanFebMarAprMayJunJulAugSepOctNovDec";
constexpr char kWeekdays[] = "SunMonTueWedThuFriSat";

std::string TwoDigits(int v) { return Format("%02d", v); }

// Letters from..to (1-based, inclusive) of t; shorter when t ends before.
std::string Letters(const std::string& t, size_t from, size_t to) {
  if (from > t.size()) return std::string();
  return t.substr(from - 1, to - from + 1);
}

std::string TrimSpaces(const std::string& t) {
  size_t b = 0, e = t.size();
  while (b < e && t[b] == ' ') ++b;
  while (e > b && t[e - 1] == ' ') --e;
  return t.substr(b, e - b);
}

}  // namespace

// Derived constants are already in place before NavInit runs, so a caller
// that forgets it still computes with the right rates; NavInit derives them
// again from the same fixed values and gives the same floats.
NavConstants Nc = MakeConstants();

void NavInit(NavState& s) {
  DeriveConstants(Nc);
  s.SatName.clear();
  s.KepsDir.clear();
  s.IllumText.clear();
  s.ZoneText.clear();
  s.ModeText.clear();
}

int DayNumber(int year, int month, int day) {
  double y = year, m = month;
  if (m <= 2) {  // January and February count as months 13 and 14 of the year before
    y -= 1;
    m += 12;
  }
  const double n = std::trunc(y * 365.25) + std::trunc((m + 1) * 30.6) + day - 428;
  // The count passes through a float, exact for every date of interest.
  return SafeTrunc(F(n));
}

std::string DateText(int dayNumber) {
  const double n = static_cast<double>(dayNumber) + 428;
  // Day of the week: (n + 433) mod 7 with 0 = Sunday, kept non-negative.
  long long w = (static_cast<long long>(dayNumber) + 433) % 7;
  if (w < 0) w += 7;
  double y = std::trunc((n - 122.1) / 365.25);
  const double d = std::trunc(n - std::floor(y * 365.25));
  double m = std::trunc(d / 30.61);
  const double dd = std::trunc(d - std::floor(m * 30.6));
  m -= 1;
  if (m > 12) {
    m -= 12;
    y += 1;
  }
  // Only day numbers far outside any calendar of interest can leave 1..12;
  // they must not index past the month names.
  int mi = SafeTrunc(m);
  if (mi < 1) mi = 1;
  if (mi > 12) mi = 12;
  std::string text = Format("%d", SafeTrunc(y));
  text += "  ";
  text.append(kMonths + 3 * (mi - 1), 3);
  text += "  ";
  text += TwoDigits(SafeTrunc(dd));
  text += " [";
  text.append(kWeekdays + 3 * w, 3);
  text += "]";
  return text;
}

std::string TimeText(float dayFraction) {
  const float h = F(static_cast<double>(dayFraction) * 24);
  const double hh = std::floor(h);
  const float m = F((h - hh) * 60);
  const double mi = std::floor(m);
  const double sec = std::floor((m - mi) * 60);
  return TwoDigits(SafeTrunc(hh)) + ":" + TwoDigits(SafeTrunc(mi)) + ":" + TwoDigits(SafeTrunc(sec));
}

int ParseDate(const std::string& text) {
  const std::string t = TrimSpaces(text);
  const int year = StrToInt(Letters(t, 1, 4));
  int month = 0, day = 0;
  if (t.size() == 10) {  // "yyyy-mm-dd" as the date fields hold it
    month = StrToInt(Letters(t, 6, 7));
    day = StrToInt(Letters(t, 9, 10));
  } else {  // "yyyy Mon dd" as the reports carry it
    const std::string abbr = Letters(t, 6, 8);
    for (int i = 0; i < 12 && abbr.size() == 3; ++i) {
      if (abbr.compare(0, 3, kMonths + 3 * i, 3) == 0) month = i + 1;
    }
    // An unknown month abbreviation ends the command like any other text
    // that does not convert: nothing is changed.
    if (month == 0) throw ConvertError("'" + abbr + "' is not a valid month");
    day = StrToInt(Letters(t, 10, 11));
  }
  return DayNumber(year, month, day);
}

void NormalizeTime(NavState& s) {
  if (!std::isfinite(s.DayFrac) || !std::isfinite(s.DayNum)) return;
  // One floor step instead of repeated +-1: a huge DayFrac would never
  // change when 1 is subtracted in float.
  const double w = std::floor(s.DayFrac);
  s.DayNum = F(s.DayNum + w);
  s.DayFrac = F(s.DayFrac - w);
  // A fraction just below 0 rounds to exactly 1 when 1 is added in float;
  // that instant is the start of the next day.
  if (s.DayFrac >= 1) {
    s.DayNum = F(s.DayNum + 1.0);
    s.DayFrac = F(s.DayFrac - 1.0);
  }
}

int RoundToInt(float x) {
  // RoundToInt(-2.7) == -2: the reports print it so, rounding toward zero.
  return SafeTrunc(static_cast<double>(x) + 0.5);
}

int TruncToInt(double x) { return SafeTrunc(x); }

std::string TimeDiffText(const std::string& first, const std::string& second) {
  struct Clock {
    int h, m, s;
  };
  auto read = [](const std::string& t) {
    Clock c;
    c.h = StrToInt(Letters(t, 1, 2));
    c.m = StrToInt(Letters(t, 4, 5));
    c.s = t.size() == 8 ? StrToInt(Letters(t, 7, 8)) : 0;
    return c;
  };
  const Clock a = read(first);
  Clock b = read(second);
  if (b.s < a.s) {
    b.s += 60;
    b.m -= 1;
  }
  if (b.m < a.m) {
    b.m += 60;
    b.h -= 1;
  }
  if (b.h < a.h) b.h += 24;  // the second time is on the next day
  return TwoDigits(b.h - a.h) + ":" + TwoDigits(b.m - a.m) + ":" + TwoDigits(b.s - a.s);
}

float ParseTime(const std::string& text) {
  const int h = StrToInt(Letters(text, 1, 2));
  const int m = StrToInt(Letters(text, 4, 5));
  const int sec = StrToInt(Letters(text, 7, 8));
  return F(h / 24.0 + m / 1440.0 + sec / 86400.0);
}

}  // namespace navlib
