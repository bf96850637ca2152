#include "gimbra/cli/cliargs.h"

namespace gimbra::cli {

bool ParseOptions(const std::vector<std::string>& args, const std::vector<CliOption>& table,
                  ParsedArgs& out, std::string* error) {
  out = ParsedArgs();
  auto fail = [&](const std::string& why) {
    if (error) *error = why;
    return false;
  };
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& word = args[i];
    if (word.size() < 3 || word.compare(0, 2, "--") != 0) return fail("unexpected argument '" + word + "'");
    std::string name = word.substr(2);
    std::string value;
    bool inlineValue = false;
    if (const std::size_t eq = name.find('='); eq != std::string::npos) {
      value = name.substr(eq + 1);
      name = name.substr(0, eq);
      inlineValue = true;
    }
    const CliOption* option = nullptr;
    for (const CliOption& s : table) {
      if (name == s.Name) option = &s;
    }
    if (!option) return fail("unknown option --" + name);
    if (!option->TakesValue) {
      if (inlineValue) return fail("--" + name + " takes no value");
      out.Flags[name] = true;
      continue;
    }
    if (!inlineValue) {
      if (i + 1 >= args.size()) return fail("--" + name + " needs a value");
      value = args[++i];
    }
    out.Values[name] = value;
  }
  for (const CliOption& s : table) {
    if (s.Required && !out.Has(s.Name)) return fail(std::string("--") + s.Name + " is required");
  }
  return true;
}

}  // namespace gimbra::cli
