// "ObsList.ini" on arbitrary bytes: the list reader, then the observer check
// of a plan run on every line it gave (name, latitude, longitude, height),
// which either takes the observer or ends with a conversion error.
#include "fuzz_common.h"
#include "navlib/navlib.h"
#include "navlib/textnum.h"
#include "platform/outputbuffer.h"
#include "platform/uihost.h"
#include "quenta/core/planner.h"
#include "quenta/core/planner_lists.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static navlib::NavState nav;
  static platform::OutputBuffer output;
  static platform::RecordingUiHost host;
  navlib::NavInit(nav);
  host.messages.clear();
  quenta::PlanInputs in;
  in.ObserverLines = quenta::ParseListFile(velmfuzz::Text(data, size));
  for (size_t i = 0; i < in.ObserverLines.size() && i < 64; ++i) {
    quenta::Planner planner(nav, output, host);
    in.ObserverIndex = static_cast<int>(i);
    try {
      planner.CheckObserver(in);
      navlib::LookAngles(nav);
    } catch (const navlib::ConvertError&) {
    }
  }
  return 0;
}
