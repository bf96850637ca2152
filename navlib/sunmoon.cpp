// Low-precision Sun and Moon: the Sun's direction from the element epoch,
// short periodic series for the plotter's Sun and Moon, and the ecliptic
// rotation.
#include "navlib/navlib.h"

#include <cmath>

#include "navlib/detail.h"

namespace navlib {

using detail::F;

namespace {

struct SeriesTerm {
  double coeffDeg;
  int mm, ms, f, d;  // multiples of the Moon's mean anomaly, the Sun's mean anomaly, F and D
};

// Moon's longitude, degrees, summed in this order.
constexpr SeriesTerm kMoonLon[] = {
    {6.289, 1, 0, 0, 0},   {-1.274, 1, 0, 0, -2}, {0.658, 0, 0, 0, 2},   {0.214, 2, 0, 0, 0},
    {-0.186, 0, 1, 0, 0},  {-0.114, 0, 0, 2, 0},  {-0.059, 2, 0, 0, -2}, {-0.057, 1, 1, 0, -2},
    {0.053, 1, 0, 0, 2},   {-0.046, 0, 1, 0, -2}, {0.041, 1, -1, 0, 0},  {-0.035, 0, 0, 0, 1},
};

// Moon's latitude, degrees, summed in this order.
constexpr SeriesTerm kMoonLat[] = {
    {5.128, 0, 0, 1, 0},  {0.281, 1, 0, 1, 0},  {-0.278, -1, 0, 1, 0}, {-0.173, 0, 0, 1, -2},
    {0.055, -1, 0, 1, 2}, {0.046, -1, 0, -1, 2}, {0.033, 0, 0, 1, 2},
};

double SumSeries(const SeriesTerm* terms, int count, float mm, float ms, float f, float d) {
  double sum = 0;
  for (int i = 0; i < count; ++i) {
    const SeriesTerm& c = terms[i];
    const double arg = c.mm * static_cast<double>(mm) + c.ms * static_cast<double>(ms) +
                       c.f * static_cast<double>(f) + c.d * static_cast<double>(d);
    sum += c.coeffDeg * std::sin(arg);
  }
  return sum;
}

// Whole turns removed toward zero: a negative angle stays negative.
float DropTurns(float x) {
  const double turn = 2.0 * Nc.Pi;
  return F(x - std::trunc(x / turn) * turn);
}

}  // namespace

void SunPosition(NavState& s) {
  const double t = s.Elapsed = ElapsedDays(s);
  const float m = F(Nc.SunMaRate * t + s.SunMaEpoch);  // Sun's mean anomaly
  // True longitude: mean longitude plus the equation of centre.
  const float l = F((Nc.YearRate * t + s.SunRaEpoch) + Nc.SunEqc1 * std::sin(m) + Nc.SunEqc2 * std::sin(2.0 * m) +
                    Nc.SunEqc3 * std::sin(3.0 * m));
  const float cl = F(std::cos(l)), sl = F(std::sin(l));
  s.SunDir = {cl, F(static_cast<double>(sl) * Nc.CosObliquity), F(static_cast<double>(sl) * Nc.SinObliquity)};
  VectorToLatLon(s.SunDir, s.SunDec, s.SunRa);
}

void SunMoon(NavState& s) {
  const float t = F((static_cast<double>(s.DayNum) - RefDayNumber) + s.DayFrac);  // days since 1995 Jan 0
  const float lm = Rad(F(13.1764 * t + 258.4515));    // Moon's mean longitude
  const float mm = Rad(F(13.06499 * t + 18.6882));    // Moon's mean anomaly
  const float ms = Rad(F(0.9856003 * t + 356.3409));  // Sun's mean anomaly
  const float f = Rad(F(13.22935 * t + 36.6351));     // Moon's argument of latitude
  const float d = Rad(F(12.19075 * t + 339.2561));    // Moon's mean elongation
  const float ls = Rad(F(0.9856473 * t + 279.1954));  // Sun's mean longitude

  const double lonSum = SumSeries(kMoonLon, sizeof kMoonLon / sizeof kMoonLon[0], mm, ms, f, d);
  s.MoonLon = F(static_cast<double>(lm) + Rad(F(lonSum)));
  const double latSum = SumSeries(kMoonLat, sizeof kMoonLat / sizeof kMoonLat[0], mm, ms, f, d);
  s.MoonLat = Rad(F(latSum));

  // Horizontal parallax gives the distance.
  float p = Rad(F(0.9507 + 0.0518 * std::cos(mm) + 0.0095 * std::cos(static_cast<double>(mm) - 2.0 * d) +
                  0.0078 * std::cos(2.0 * d) + 0.0028 * std::cos(2.0 * mm) +
                  0.0009 * std::cos(2.0 * d + mm)));
  if (std::sin(p) == 0) p = F(Nc.Pi / 2.0);
  s.MoonDist = F(Nc.EarthRadius / std::sin(p));
  if (s.MoonDist == 0) s.MoonDist = 1;
  s.MoonSemiDiam = Asin(F(1738.0 / s.MoonDist));  // 1738 km: the Moon's radius

  s.SunLon = F(static_cast<double>(ls) +
               Rad(F(1.9149 * std::sin(ms) + 0.02 * std::sin(2.0 * ms) + 0.00029 * std::sin(3.0 * ms))));
  s.SunLat = 0;
  s.SunDist = F((1.00014 - 0.01671 * std::cos(ms) - 0.0014 * std::cos(2.0 * ms)) * 149598500.0);
  if (s.SunDist == 0) s.SunDist = 10000;
  s.SunSemiDiam = F(695992.0 / s.SunDist);  // 695992 km: the Sun's radius; small angle, no arc sine

  s.SunLon = DropTurns(s.SunLon);
  s.MoonLon = DropTurns(s.MoonLon);
  s.MoonLat = DropTurns(s.MoonLat);
}

void EclipticMatrix(NavState& s) {
  const float ce = F(std::cos(Nc.Obliquity)), se = F(std::sin(Nc.Obliquity));
  s.EclMatrix.m[0][0] = 1;
  s.EclMatrix.m[0][1] = 0;
  s.EclMatrix.m[0][2] = 0;
  s.EclMatrix.m[1][0] = 0;
  s.EclMatrix.m[1][1] = ce;
  s.EclMatrix.m[1][2] = -se;
  s.EclMatrix.m[2][0] = 0;
  s.EclMatrix.m[2][1] = se;
  s.EclMatrix.m[2][2] = ce;
}

}  // namespace navlib
