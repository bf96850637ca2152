// The option parser of gimbra-cli, shared by its subcommands: "--name value",
// "--name=value" and bare flags, checked against each subcommand's table.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace gimbra::cli {

struct CliOption {
  const char* Name;   // without the leading "--"
  bool TakesValue;    // false: a flag
  bool Required;
};

struct ParsedArgs {
  std::map<std::string, std::string> Values;  // last value given for each option
  std::map<std::string, bool> Flags;          // flags given
  bool Has(const std::string& name) const { return Values.count(name) != 0 || Flags.count(name) != 0; }
  std::string Get(const std::string& name, const std::string& fallback = std::string()) const {
    auto it = Values.find(name);
    return it == Values.end() ? fallback : it->second;
  }
};

// Parses args (the words after the subcommand). False with a one-line
// reason in *error for an unknown option, a missing value, a stray word or
// a missing required option.
bool ParseOptions(const std::vector<std::string>& args, const std::vector<CliOption>& table,
                  ParsedArgs& out, std::string* error);

// Exit status of the command-line twins.
inline constexpr int ExitOk = 0;
inline constexpr int ExitFailed = 1;      // the output file could not be written
inline constexpr int ExitMessage = 2;     // a message ended the Draw
inline constexpr int ExitUsage = 64;      // bad arguments

}  // namespace gimbra::cli
