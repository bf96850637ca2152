// "SatList.ini" on arbitrary bytes: the list reader, then the beacon list
// and a plan's satellite lookup over the names it gave.
#include "fuzz_common.h"
#include "quenta/core/planner_lists.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<std::string> names = quenta::ParseListFile(velmfuzz::Text(data, size));
  quenta::ModeTextTable modes;
  quenta::ReadBeaconList("AO-10, Mode B\nISS, FM\n", names, modes);
  for (const std::string& n : names) (void)quenta::KepsDirWithSeparator(n);
  return 0;
}
