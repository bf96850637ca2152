// What the import does with every set a parser returns: the range check, the
// satellite name, the keps values and their texts, the epoch line. A keps
// text of a value that passed the check must read back, through the keps
// reader's conversion, as the float nearest to the value.
#pragma once

#include <cmath>
#include <map>

#include "navlib/textnum.h"
#include "quenta/import/elementsets.h"
#include "quenta/import/kepswriter.h"

namespace velmfuzz {

inline void UseParsedSets(const quenta::ParseResult& result) {
  static const std::map<std::int64_t, std::string> names = {{25544, "ISS"}};
  for (const quenta::ElementSetRecord& set : result.sets) {
    (void)quenta::SatelliteNameFor(set, names);
    if (!quenta::ElementSetFault(set).empty()) continue;
    const std::array<double, 15> values = quenta::KepsValues(set, navlib::Vec3{});
    for (size_t i = 0; i < values.size(); ++i) {
      const size_t room = i == 0 ? quenta::kKepsYearBytes : quenta::kKepsFieldBytes;
      const std::string text = quenta::KepsValueText(values[i], room);
      const float nearest = static_cast<float>(values[i]);
      const float back = static_cast<float>(navlib::LeadingDouble(text.c_str()));
      if (text.size() > room) __builtin_trap();
      if (std::isfinite(nearest) && back != nearest) __builtin_trap();
    }
    (void)quenta::KepsFileText(values);
    (void)quenta::EpochText(set.epochYear, set.epochDay);
  }
}

}  // namespace velmfuzz
