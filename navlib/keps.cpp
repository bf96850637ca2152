// Element sets: the keps file reader and the element set-up that derives the
// epoch values the propagation, the observer geometry and the Sun need.
#include "navlib/navlib.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "navlib/detail.h"
#include "navlib/textnum.h"
#include "platform/uihost.h"

namespace navlib {

using detail::F;
using detail::SafeTrunc;

const char* const KepsNotFoundText = "      Keps file not found!\n Run set-up or generate kep files!";

float& ElementSet::Field(int i) {
  switch (i) {
    case 0: return EpochYear;
    case 1: return EpochDay;
    case 2: return Inclination;
    case 3: return Raan;
    case 4: return Eccentricity;
    case 5: return ArgPerigee;
    case 6: return MeanAnomaly;
    case 7: return MeanMotion;
    case 8: return EpochOrbit;
    case 9: return SemiMajorAxis;
    case 10: return Attitude.x;
    case 11: return Attitude.y;
    case 12: return Attitude.z;
    case 13: return MaTerm2;
    case 14: return MaTerm3;
    default: {
      // No sixteenth field: a write goes nowhere, a read gives 0.
      static thread_local float none;
      none = 0;
      return none;
    }
  }
}

float ElementSet::Field(int i) const {
  return const_cast<ElementSet*>(this)->Field(i);
}

std::string KepsFileName(const NavState& s) {
  std::string dir = s.KepsDir;
  // The directory is stored followed by the path separator; one given
  // without it still names the file inside it.
  const char sep = static_cast<char>(std::filesystem::path::preferred_separator);
  if (!dir.empty() && dir.back() != sep && dir.back() != '/') dir += sep;
  return dir + "EL-" + s.SatName.substr(0, 5) + ".kep";
}

namespace {

constexpr int kFieldCount = 15;
constexpr size_t kYearBuffer = 6;    // field 0: at most 5 bytes and the zero byte
constexpr size_t kFieldBuffer = 25;  // fields 1..14: at most 24 bytes and the zero byte

void ShowNotFound(const NavState& s) {
  if (s.Host) s.Host->showMessage(KepsNotFoundText);
}

}  // namespace

bool ReadKepsFileUnits(const NavState& s, ElementSet& fileUnits) {
  const std::string name = KepsFileName(s);
  // Only a regular file can be a keps file: a directory, a device or a pipe
  // (which would block the window thread) counts as not found.
  std::error_code ec;
  if (!std::filesystem::is_regular_file(std::filesystem::path(name), ec) || ec) {
    ShowNotFound(s);
    return false;
  }
  std::FILE* f = std::fopen(name.c_str(), "rb");
  if (!f) {
    ShowNotFound(s);
    return false;
  }
  long length = -1;
  if (std::fseek(f, 0, SEEK_END) == 0) length = std::ftell(f);
  if (length <= 0 || std::fseek(f, 0, SEEK_SET) != 0) {
    std::fclose(f);
    ShowNotFound(s);
    return false;
  }

  // Every byte that is not a comma belongs to the field being collected;
  // bytes beyond a field's buffer are cut off, never written past it.
  char buf[kFieldCount][kFieldBuffer] = {};
  int field = 0;
  size_t pos = 0;  // next free position in the current field's buffer
  long bytesRead = 0;
  unsigned char chunk[4096];
  while (field < kFieldCount && bytesRead < length) {
    const size_t want = static_cast<size_t>(std::min<long>(static_cast<long>(sizeof chunk), length - bytesRead));
    const size_t got = std::fread(chunk, 1, want, f);
    if (got == 0) break;
    bytesRead += static_cast<long>(got);
    for (size_t i = 0; i < got && field < kFieldCount; ++i) {
      const char c = static_cast<char>(chunk[i]);
      if (c == ',') {
        ++field;
        pos = 0;
        continue;
      }
      const size_t capacity = (field == 0 ? kYearBuffer : kFieldBuffer) - 1;
      if (pos < capacity) buf[field][pos] = c;
      ++pos;
    }
  }
  std::fclose(f);
  if (bytesRead <= 0) {  // nothing could be read: as good as missing
    ShowNotFound(s);
    return false;
  }

  // Each field converts with the standard string-to-double rule ("." as the
  // decimal point whatever the locale); a field without a number reads 0.
  for (int i = 0; i < kFieldCount; ++i) fileUnits.Field(i) = F(LeadingDouble(buf[i]));
  return true;
}

bool ReadKeps(NavState& s) {
  ElementSet read;
  if (!ReadKepsFileUnits(s, read)) return false;
  ElementSet& e = s.Elements;
  e = read;
  s.HasAttitude = e.Attitude.x != 0 || e.Attitude.y != 0 || e.Attitude.z != 0;
  e.Inclination = Rad(e.Inclination);
  e.Raan = Rad(e.Raan);
  e.ArgPerigee = Rad(e.ArgPerigee);
  e.MeanAnomaly = Rad(e.MeanAnomaly);
  e.MeanMotion = F(e.MeanMotion * (2.0 * Nc.Pi));  // revolutions/day -> rad/day
  return true;
}

bool SetupElements(NavState& s) {
  // A file that cannot be read leaves every element and derived value as it
  // was: deriving again from derived values would move the epoch, since
  // EpochDay then holds only the fraction of its day.
  if (!ReadKeps(s)) return false;
  ElementSet& e = s.Elements;

  const double epochDay = e.EpochDay;
  const double wholeDays = std::trunc(epochDay);
  s.EpochDayNumber = F(static_cast<double>(DayNumber(SafeTrunc(e.EpochYear), 1, 0)) + wholeDays);
  s.EpochDay = F(epochDay - wholeDays);
  e.EpochDay = s.EpochDay;

  s.MeanMotionSec = F(e.MeanMotion / 86400.0);
  if (s.MeanMotionSec == 0) s.MeanMotionSec = 1;
  s.SemiMajorAxis = F(std::cbrt(static_cast<double>(Nc.GM) / (static_cast<double>(s.MeanMotionSec) * s.MeanMotionSec)));
  e.SemiMajorAxis = s.SemiMajorAxis;
  const double ecc = e.Eccentricity;
  s.EccRoot = F(std::sqrt(std::fabs(1.0 - ecc * ecc)));
  s.SemiMinorAxis = F(static_cast<double>(s.SemiMajorAxis) * s.EccRoot);
  s.SinIncl = F(std::sin(e.Inclination));
  s.CosIncl = F(std::cos(e.Inclination));

  // J2 precession of node and perigee. An eccentricity of exactly 1 gives a
  // zero semi-minor axis: the divisor is then taken as 1.
  double b2 = static_cast<double>(s.SemiMinorAxis) * s.SemiMinorAxis;
  if (b2 == 0) b2 = 1;
  double k = Nc.EarthRadius * static_cast<double>(s.SemiMajorAxis) / b2;
  k = 1.5 * Nc.J2 * k * k * e.MeanMotion;
  s.RaanRate = F(-k * s.CosIncl);
  s.PerigeeRate = F(k * (5.0 * s.CosIncl * s.CosIncl - 1.0) * 0.5);

  s.TanSensorAngle = F(std::tan(Rad(60)));

  // Days from 1995 January 0, 0 h UTC to the epoch, kept in double: as a
  // float it would step by minutes of Earth rotation for epochs of this century.
  const double d = (static_cast<double>(s.EpochDayNumber) - DayNumber(1995, 1, 0)) + s.EpochDay;
  s.GhaEpoch = F(detail::ReduceTurn(Rad(Nc.GhaRefDeg) + d * Nc.EarthRate));
  s.SunRaEpoch = F(Rad(Nc.GhaRefDeg) + d * Nc.YearRate + Nc.Pi);
  s.SunMaEpoch = F(Rad(Nc.SunMaRefDeg) + Nc.SunMaRate * d);
  s.IllumText = "   ";
  return true;
}

std::string KepsFieldText(float value, size_t maxBytes) {
  // Checked through the reader's own conversion (leading number, through
  // double, rounded to float). Nine significant digits always identify a
  // float; the loop stops at the first shorter text that does too.
  int first = 1;
  for (double a = std::fabs(static_cast<double>(value)); a >= 10 && first < 17; a /= 10) ++first;
  for (int digits = first; digits <= 17; ++digits) {
    std::string text = Format("%.*g", digits, static_cast<double>(value));
    const float back = F(LeadingDouble(text.c_str()));
    const bool same = std::memcmp(&back, &value, sizeof back) == 0 || (back == 0 && value == 0);
    if (text.size() <= maxBytes && same) return text;
  }
  return Format("%.6g", static_cast<double>(value)).substr(0, maxBytes);
}

}  // namespace navlib
