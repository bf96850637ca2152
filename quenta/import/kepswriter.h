// From an element set to the keps file: the satellite's name, its fifteen
// values and their text, laid out as the plotter's keps writer lays them out
// (one line, single commas, no blanks, no line break at the end).
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>

#include "navlib/navlib.h"
#include "quenta/import/elementsets.h"

namespace quenta {

// Field sizes of the keps reader: 5 bytes for the year, 24 for every other field.
constexpr size_t kKepsYearBytes = 5;
constexpr size_t kKepsFieldBytes = 24;

// The satellite name for a set: the name given with --name for its catalogue
// number; else the designation in the last parentheses of the object name when
// it has at most 5 characters and a hyphen ("EYESAT-1 (AO-27)" gives AO-27);
// else the object name before any parenthesis, trimmed ("ISS (ZARYA)" gives
// ISS); else, for a set without a usable object name, its catalogue number.
std::string SatelliteNameFor(const ElementSetRecord& set, const std::map<std::int64_t, std::string>& givenNames);

// Empty when the name can name a keps file and a list entry; else the reason
// (empty name, a path separator or a control character in the first five).
std::string SatelliteNameFault(const std::string& name);

// The fifteen keps values in file order and file units: year, day of year,
// inclination, RAAN, eccentricity, argument of perigee, mean anomaly (degrees),
// mean motion (rev/day), revolution number, semi-major axis from the mean
// motion (km), the attitude, MaTerm2 = 2 pi * first-derivative field
// (rad/day^2), MaTerm3 = 2 pi * second-derivative field (rad/day^3).
std::array<double, 15> KepsValues(const ElementSetRecord& set, const navlib::Vec3& attitude);

// The shortest text of at most maxBytes that the keps reader (leading-number
// conversion, rounded to a 32-bit float) reads back as the float nearest to
// value; at most 9 significant digits in the usual case.
std::string KepsValueText(double value, size_t maxBytes);

// The whole keps file: fifteen texts joined by single commas.
std::string KepsFileText(const std::array<double, 15>& values);

// The year and day of the year as "YYYY-MM-DD hh:mm:ss" (UTC, rounded to the second).
std::string EpochText(int year, double dayOfYear);
// Seconds since 1970-01-01 0 h UTC of the epoch.
double EpochUnixSeconds(int year, double dayOfYear);

}  // namespace quenta
