// quenta-cli plan's option parser on arbitrary words (the input cut at zero
// bytes), then the main window's controls filled from what it accepted and
// the built-in lists.
#include "fuzz_common.h"
#include "quenta/cli/plan_command.h"
#include "quenta/core/planner_lists.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static quenta::PlannerLists lists = [] {
    quenta::PlannerLists l;
    l.Satellites = quenta::BuiltInSatellites();
    l.Observers = quenta::BuiltInObservers();
    return l;
  }();
  quenta::PlanArguments parsed;
  std::string error;
  if (!quenta::ParsePlanArguments(velmfuzz::Words(data, size), &parsed, &error)) return 0;
  quenta::PlanInputs inputs;
  (void)quenta::BuildPlanInputs(parsed, lists, &inputs, &error);
  return 0;
}
