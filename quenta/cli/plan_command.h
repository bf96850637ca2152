// `quenta-cli plan`: one Calculate of the planner from the command line, on
// the same core the planner window runs.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "quenta/core/planner.h"

namespace quenta {

// The options of `quenta-cli plan`, as given.
struct PlanArguments {
  std::string KepsDir;
  std::string Observer;
  std::vector<std::string> Satellites;
  std::string Zone;
  std::string Interval;
  std::string Start;
  std::string StartTime = "00:00";
  std::string Finish;
  std::string FinishTime = "23:59";
  std::string Horizon = "earth";
  std::string MaxSquint = "180";
};

// Reads the words after "plan". False with a one-line reason in *error for an
// unknown option, a missing value or required option, or a zone, interval or
// horizon word that is not one of the allowed ones.
bool ParsePlanArguments(const std::vector<std::string>& args, PlanArguments* parsed, std::string* error);

// Fills the main window's controls from parsed arguments and the lists read
// from the keps directory. False with a reason for a satellite that is not in
// the satellite list, or several satellites with a step interval.
bool BuildPlanInputs(const PlanArguments& args, const PlannerLists& lists, PlanInputs* inputs, std::string* error);

// The usage text printed with exit code 64.
std::string PlanUsage();

// args: the words after "plan". stdout gets the output text byte for byte,
// stderr the messages. Returns 0, 2 (a run was ended by a message or a
// conversion error) or 64 (bad arguments).
int RunPlanCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace quenta
