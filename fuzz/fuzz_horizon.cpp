// "Horizon.ini" on arbitrary bytes: lines that do not convert are reported
// and skipped; no sector outside the mask is ever written.
#include "fuzz_common.h"
#include "platform/uihost.h"
#include "quenta/core/planner_lists.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  platform::RecordingUiHost host;
  quenta::HorizonMaskTable mask{};
  quenta::ReadHorizonMask(velmfuzz::Text(data, size), "Horizon.ini", mask, host);
  return 0;
}
