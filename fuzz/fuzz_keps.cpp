// The keps reader on arbitrary file contents, then the element set-up and a
// few planner evaluations on whatever it read: absurd elements (inf, nan,
// 1e300, eccentricity 1 or more, zero mean motion) must neither hang nor
// reach undefined behaviour. Every finite value read must also be written
// back by the keps field text as the very same float.
#include <cmath>
#include <cstring>

#include "fuzz_common.h"
#include "navlib/navlib.h"
#include "navlib/textnum.h"
#include "platform/uihost.h"

using namespace navlib;

namespace {

void Evaluate(NavState& s, double dayNum, double dayFrac) {
  s.DayNum = static_cast<float>(dayNum);
  s.DayFrac = static_cast<float>(dayFrac);
  NormalizeTime(s);
  SatState(s);
  SunPosition(s);
  SunAngle(s);
  float lat = 0, lon = 0;
  CelestialToOrbitLatLon(s, s.SunDec, s.SunRa, lat, lon);
  VectorToLatLon(CelestialToPlane(s, s.AttDir), lat, lon);
  Illumination(s);
  ObserverView(s);
  (void)DateText(static_cast<int>(std::isfinite(s.DayNum) && std::fabs(s.DayNum) < 1e8 ? s.DayNum : 0));
  (void)TimeText(s.DayFrac);
  (void)RoundToInt(s.Elevation);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  velmfuzz::PutFile("EL-FUZZ.kep", data, size);
  static NavState s;
  static platform::RecordingUiHost host;
  NavInit(s);
  s.Host = &host;
  s.KepsDir = velmfuzz::ScratchDir() + "/";
  s.SatName = "FUZZ";
  host.messages.clear();

  ElementSet fileUnits;
  if (ReadKepsFileUnits(s, fileUnits)) {
    for (int i = 1; i < 15; ++i) {
      const float v = fileUnits.Field(i);
      if (!std::isfinite(v)) continue;
      const std::string text = KepsFieldText(v, 24);
      const float back = static_cast<float>(LeadingDouble(text.c_str()));
      if (text.size() > 24 || std::memcmp(&back, &v, sizeof v) != 0) {
        if (!(back == 0 && v == 0)) __builtin_trap();
      }
    }
  }

  if (!SetupElements(s)) return 0;
  SetObserver(s, 52.2f, 0.11f, 30);
  s.AttDir = s.Elements.Attitude;
  const double epoch = s.EpochDayNumber;
  Evaluate(s, epoch, 0.25);
  Evaluate(s, epoch + 3650, 0.5);
  Evaluate(s, epoch - 200, 0.75);
  TimeFromOrbitMa(s, 1000, 128);
  TimeFromOrbitMa(s, -5, 300);
  return 0;
}
