// "BeacList.ini" on arbitrary bytes, matched against the built-in satellite
// list: every mode text is empty or six characters.
#include "fuzz_common.h"
#include "quenta/core/planner_lists.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  quenta::ModeTextTable modes;
  quenta::ReadBeaconList(velmfuzz::Text(data, size), quenta::BuiltInSatellites(), modes);
  for (const std::string& m : modes) {
    if (!m.empty() && m.size() < 6) __builtin_trap();
  }
  return 0;
}
