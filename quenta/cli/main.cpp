// quenta-cli: the planner's command-line twin.
//   quenta-cli plan ...     one plan run, output text on stdout
//   quenta-cli import ...   element sets into keps files
#include <iostream>
#include <string>
#include <vector>

#include "quenta/cli/plan_command.h"
#include "quenta/import/import_command.h"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  std::vector<std::string> args(argv + 1, argv + argc);
  const std::string usage =
      "usage: quenta-cli plan OPTIONS    (quenta-cli plan --help for the options)\n"
      "       quenta-cli import --keps-dir DIR FILE [FILE ...] [--name NAME=CATNR ...] [--satlist]\n";
  if (args.empty()) {
    std::cerr << usage;
    return 64;
  }
  const std::string command = args.front();
  args.erase(args.begin());
  if (command == "plan") {
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
      std::cout << quenta::PlanUsage();
      return 0;
    }
    return quenta::RunPlanCommand(args, std::cout, std::cerr);
  }
  if (command == "import") return quenta::RunImportCommand(args, std::cout, std::cerr);
  std::cerr << "quenta-cli: unknown command '" << command << "'\n" << usage;
  return 64;
}
