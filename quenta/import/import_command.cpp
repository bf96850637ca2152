#include "quenta/import/import_command.h"

namespace quenta {

int RunImportCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  (void)args;
  (void)out;
  err << "quenta-cli import: not built yet\n";
  return 70;
}

}  // namespace quenta
