#include "quenta/import/kepswriter.h"

#include <cmath>
#include <cstring>

#include "navlib/textnum.h"

namespace quenta {
namespace {

std::string Trim(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && (s[b] == ' ' || s[b] == '\t' || s[b] == '\r' || s[b] == '\n')) ++b;
  while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t' || s[e - 1] == '\r' || s[e - 1] == '\n')) --e;
  return s.substr(b, e - b);
}

// Days from 1970-01-01 to year-01-01 (proleptic Gregorian).
double DaysToJanuaryFirst(int year) {
  long y = year - 1;
  long days = 365L * (y - 1969) + (y / 4 - 1969 / 4) - (y / 100 - 1969 / 100) + (y / 400 - 1969 / 400);
  return static_cast<double>(days);
}

}  // namespace

std::string SatelliteNameFor(const ElementSetRecord& set, const std::map<std::int64_t, std::string>& givenNames) {
  auto given = givenNames.find(set.catalogNumber);
  if (given != givenNames.end()) return given->second;
  const std::string& object = set.objectName;
  size_t open = object.rfind('(');
  if (open != std::string::npos) {
    size_t close = object.find(')', open);
    if (close != std::string::npos) {
      std::string designation = Trim(object.substr(open + 1, close - open - 1));
      if (!designation.empty() && designation.size() <= 5 && designation.find('-') != std::string::npos)
        return designation;
    }
  }
  std::string before = Trim(object.substr(0, object.find('(')));
  if (!before.empty()) return before;
  return set.catalogText.empty() ? std::to_string(set.catalogNumber) : set.catalogText;
}

std::string SatelliteNameFault(const std::string& name) {
  if (Trim(name).empty()) return "the name is empty";
  for (size_t i = 0; i < name.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(name[i]);
    if (c < 32 || c == 127) return "the name holds a control character";
    if (i < 5 && (c == '/' || c == '\\')) return "the name's first five characters hold a path separator";
  }
  std::string five = name.substr(0, 5);
  if (five == "." || five == "..") return "the name cannot name a file";
  return "";
}

std::array<double, 15> KepsValues(const ElementSetRecord& set, const navlib::Vec3& attitude) {
  const navlib::NavConstants nc;  // the library's model constants (GM, the float pi)
  const double twoPi = 2.0 * static_cast<double>(nc.Pi);
  // Semi-major axis from Kepler's third law, n in rad/s.
  double nSec = set.meanMotionRevDay * twoPi / 86400.0;
  double semiMajorAxisKm = std::cbrt(static_cast<double>(nc.GM) / (nSec * nSec));
  return {static_cast<double>(set.epochYear),
          set.epochDay,
          set.inclinationDeg,
          set.raanDeg,
          set.eccentricity,
          set.argPerigeeDeg,
          set.meanAnomalyDeg,
          set.meanMotionRevDay,
          set.revAtEpoch,
          semiMajorAxisKm,
          static_cast<double>(attitude.x),
          static_cast<double>(attitude.y),
          static_cast<double>(attitude.z),
          twoPi * set.meanMotionDot,
          twoPi * set.meanMotionDdot};
}

std::string KepsValueText(double value, size_t maxBytes) {
  // The plotter's keps writer and the importer write values by one rule.
  return navlib::KepsFieldText(static_cast<float>(value), maxBytes);
}

std::string KepsFileText(const std::array<double, 15>& values) {
  std::string text;
  for (size_t i = 0; i < values.size(); ++i) {
    if (i) text += ',';
    text += KepsValueText(values[i], i == 0 ? kKepsYearBytes : kKepsFieldBytes);
  }
  return text;
}

double EpochUnixSeconds(int year, double dayOfYear) {
  return (DaysToJanuaryFirst(year) + dayOfYear - 1.0) * 86400.0;
}

std::string EpochText(int year, double dayOfYear) {
  double seconds = std::floor(EpochUnixSeconds(year, dayOfYear) + 0.5);
  long long total = static_cast<long long>(seconds);
  long long days = total / 86400, rem = total % 86400;
  if (rem < 0) rem += 86400, --days;
  // Civil date from days since 1970-01-01 (Howard Hinnant's days_from_civil inverse).
  long long z = days + 719468;
  long long era = (z >= 0 ? z : z - 146096) / 146097;
  long long doe = z - era * 146097;
  long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  long long y = yoe + era * 400;
  long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  long long mp = (5 * doy + 2) / 153;
  long long d = doy - (153 * mp + 2) / 5 + 1;
  long long m = mp < 10 ? mp + 3 : mp - 9;
  if (m <= 2) ++y;
  return navlib::Format("%04lld-%02lld-%02lld %02lld:%02lld:%02lld", y, m, d, rem / 3600, (rem / 60) % 60, rem % 60);
}

}  // namespace quenta
