// The time text parser and the time difference on arbitrary text: the input
// is cut at its first line break into two clock texts.
#include "fuzz_common.h"
#include "navlib/navlib.h"
#include "navlib/textnum.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text = velmfuzz::Text(data, size);
  const size_t nl = text.find('\n');
  const std::string first = text.substr(0, nl);
  const std::string second = nl == std::string::npos ? std::string() : text.substr(nl + 1);
  try {
    (void)navlib::TimeText(navlib::ParseTime(first));
  } catch (const navlib::ConvertError&) {
  }
  try {
    (void)navlib::TimeDiffText(first, second);
  } catch (const navlib::ConvertError&) {
  }
  return 0;
}
