// Writes the demo attitude data file: synthetic measurements made from a
// known attitude, so that a plot of them shows every layer crossing there.
//   attitude-demo KEPS_DIR SATELLITE OUT_FILE [ALON ALAT DATE]
#include <cstdio>
#include <filesystem>
#include <string>

#include "navlib/navlib.h"
#include "navlib/textnum.h"
#include "platform/atomicfile.h"
#include "tools/attitude-demo/demogen.h"

int main(int argc, char** argv) {
  if (argc != 4 && argc != 7) {
    std::fputs("usage: attitude-demo KEPS_DIR SATELLITE OUT_FILE [ALON ALAT DATE]\n", stderr);
    return 64;
  }
  static navlib::NavState nav;
  navlib::NavInit(nav);
  nav.KepsDir = (std::filesystem::path(argv[1]) / "").string();
  nav.SatName = argv[2];
  if (!navlib::SetupElements(nav)) {
    std::fprintf(stderr, "%s\n", navlib::KepsNotFoundText);
    return 2;
  }
  attitudedemo::DemoAttitudeCase demo;
  if (argc == 7) {
    demo.AlonDeg = static_cast<float>(navlib::StrToFloat(argv[4]));
    demo.AlatDeg = static_cast<float>(navlib::StrToFloat(argv[5]));
    demo.CalcDate = argv[6];
  }
  const std::string text = attitudedemo::MakeDemoAttitudeText(nav, demo);
  std::string error;
  if (!platform::WriteFileAtomically(argv[3], text, &error)) {
    std::fprintf(stderr, "Cannot write %s: %s\n", argv[3], error.c_str());
    return 1;
  }
  std::fputs(text.c_str(), stdout);
  return 0;
}
