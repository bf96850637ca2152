// `quenta-cli import`: element sets in two-line and OMM (CSV, JSON, XML) form
// into keps files of a keps directory.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace quenta {

// args: the words after "import". Returns the process exit code
// (0 done, 2 some set was refused or a file could not be written, 64 usage).
int RunImportCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// RunImportCommand with the clock given: nowUnixSeconds is the time the ages
// of the element sets are measured to (seconds since 1970-01-01 0 h UTC).
int RunImportCommandAt(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                       double nowUnixSeconds);

// Element sets older than this many days get a warning on their line.
constexpr double kStaleAgeDays = 14.0;

}  // namespace quenta
