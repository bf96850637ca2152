// Small fixtures shared by navlib's tests: a private keps directory, keps
// files written byte for byte, and unit helpers for tolerances.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "navlib/navlib.h"
#include "platform/uihost.h"

namespace navtest {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDegRad = kPi / 180.0;           // one degree in radians
constexpr double kArcminRad = kDegRad / 60.0;     // one arc minute in radians
constexpr double kSecondDays = 1.0 / 86400.0;     // one second in days

// A fresh directory per test, removed afterwards; the keps directory string
// ends with the path separator, as the programs store it.
class KepsDir {
 public:
  KepsDir() {
    static std::atomic<int> counter{0};
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string("navlib-") + (info ? info->name() : "test") + "-" +
                       std::to_string(::getpid()) + "-" + std::to_string(counter++);
    for (char& c : name) {
      if (c == '/') c = '_';
    }
    path_ = std::filesystem::path(::testing::TempDir()) / name;
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~KepsDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  KepsDir(const KepsDir&) = delete;
  KepsDir& operator=(const KepsDir&) = delete;

  std::string Dir() const { return (path_ / "").string(); }
  std::filesystem::path Path() const { return path_; }

  // Writes "EL-" + name + ".kep" with exactly these bytes.
  void Write(const std::string& fileStem, const std::string& bytes) const {
    std::ofstream out(path_ / ("EL-" + fileStem + ".kep"), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }

 private:
  std::filesystem::path path_;
};

// Points the state at a satellite of the directory and runs the set-up.
inline bool LoadSatellite(navlib::NavState& s, const KepsDir& dir, const std::string& satName,
                          platform::UiHost* host = nullptr) {
  s.SatName = satName;
  s.KepsDir = dir.Dir();
  s.Host = host;
  return navlib::SetupElements(s);
}

// Sets the library's current time to the element epoch plus some days.
inline void SetTimeFromEpoch(navlib::NavState& s, double days) {
  const double t = static_cast<double>(s.EpochDay) + days;
  const double whole = std::floor(t);
  s.DayNum = static_cast<float>(s.EpochDayNumber + whole);
  s.DayFrac = static_cast<float>(t - whole);
}

// Wraps an angle difference into (-pi, pi].
inline double AngleDiff(double a, double b) {
  double d = std::fmod(a - b, 2 * kPi);
  if (d > kPi) d -= 2 * kPi;
  if (d <= -kPi) d += 2 * kPi;
  return d;
}

}  // namespace navtest
