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

}  // namespace quenta
