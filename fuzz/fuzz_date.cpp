// The date text parser on arbitrary text ("yyyy-mm-dd" and "yyyy Mon dd"):
// a day number or a conversion error, never anything else; the day number's
// own text is then made from it.
#include "fuzz_common.h"
#include "navlib/navlib.h"
#include "navlib/textnum.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  try {
    const int day = navlib::ParseDate(velmfuzz::Text(data, size));
    (void)navlib::DateText(day);
  } catch (const navlib::ConvertError&) {
  }
  return 0;
}
