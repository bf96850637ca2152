// quenta-cli import: reads element-set files, names the satellites, writes one
// keps file per satellite (atomically, keeping a stored attitude) and, on
// request, adds the names to SatList.ini.
#include "quenta/import/import_command.h"

#include <ctime>
#include <filesystem>
#include <map>
#include <set>

#include "navlib/navlib.h"
#include "navlib/textnum.h"
#include "platform/atomicfile.h"
#include "quenta/core/planner_lists.h"
#include "quenta/import/elementsets.h"
#include "quenta/import/kepswriter.h"

namespace quenta {
namespace {

namespace fs = std::filesystem;

constexpr int kExitOk = 0;
constexpr int kExitFailed = 2;
constexpr int kExitUsage = 64;

const char* const kUsage =
    "usage: quenta-cli import --keps-dir DIR FILE [FILE ...] [--name NAME=CATNR ...] [--satlist]\n"
    "  FILE       two-line element sets (with or without title lines) or OMM in CSV, JSON or XML\n"
    "  --name     the satellite name for the element set of catalogue number CATNR\n"
    "  --satlist  add the imported names missing from SatList.ini\n";

// A set read from a file on its way to a keps file.
struct Candidate {
  ElementSetRecord set;
  std::string file;       // the input file it came from
  std::string name;       // satellite name
  std::string kepsName;   // "EL-" + first five of the name + ".kep"
};

std::string Origin(const Candidate& c) { return c.file + ": " + c.set.where; }

std::string CatalogLabel(const ElementSetRecord& s) { return "catalogue " + std::to_string(s.catalogNumber); }

bool Newer(const ElementSetRecord& a, const ElementSetRecord& b) {
  return a.epochYear != b.epochYear ? a.epochYear > b.epochYear : a.epochDay > b.epochDay;
}

struct Options {
  std::string kepsDir;
  std::vector<std::string> files;
  std::map<std::int64_t, std::string> names;  // --name: catalogue number -> satellite name
  bool satList = false;
};

// False with the message when the arguments are not a valid import command.
bool ParseOptions(const std::vector<std::string>& args, Options* o, std::string* message) {
  for (size_t i = 0; i < args.size(); ++i) {
    std::string a = args[i];
    std::string value;
    bool inlineValue = false;
    if (a.rfind("--", 0) == 0 && a.find('=') != std::string::npos) {
      value = a.substr(a.find('=') + 1);
      a = a.substr(0, a.find('='));
      inlineValue = true;
    }
    auto takeValue = [&]() {
      if (inlineValue) return true;
      if (i + 1 >= args.size()) {
        *message = a + " needs a value";
        return false;
      }
      value = args[++i];
      return true;
    };
    if (a == "--keps-dir") {
      if (!takeValue()) return false;
      o->kepsDir = value;
    } else if (a == "--name") {
      if (!takeValue()) return false;
      size_t eq = value.rfind('=');
      if (eq == std::string::npos) {
        *message = "--name " + value + ": expected NAME=CATNR";
        return false;
      }
      std::string name = value.substr(0, eq);
      std::int64_t catalog = ParseCatalogArgument(value.substr(eq + 1));
      if (catalog < 0) {
        *message = "--name " + value + ": \"" + value.substr(eq + 1) + "\" is not a catalogue number";
        return false;
      }
      std::string fault = SatelliteNameFault(name);
      if (!fault.empty()) {
        *message = "--name " + value + ": " + fault;
        return false;
      }
      auto [it, inserted] = o->names.emplace(catalog, name);
      if (!inserted && it->second != name) {
        *message = "--name gives catalogue number " + std::to_string(catalog) + " two names";
        return false;
      }
    } else if (a == "--satlist" && !inlineValue) {
      o->satList = true;
    } else if (a.rfind("--", 0) == 0 || (a.size() > 1 && a[0] == '-')) {
      *message = "unknown option " + args[i];
      return false;
    } else {
      o->files.push_back(args[i]);
    }
  }
  if (o->kepsDir.empty()) {
    *message = "--keps-dir is missing";
    return false;
  }
  if (o->files.empty()) {
    *message = "no element-set file given";
    return false;
  }
  return true;
}

// The attitude stored in an existing keps file, read by the library's own
// keps reader; (0, 0, 0) when there is no such file.
navlib::Vec3 StoredAttitude(const std::string& kepsDirWithSeparator, const std::string& name) {
  navlib::NavState s;
  s.KepsDir = kepsDirWithSeparator;
  s.SatName = name;
  s.Host = nullptr;
  std::error_code ec;
  if (!fs::is_regular_file(navlib::KepsFileName(s), ec)) return navlib::Vec3();
  if (!navlib::ReadKeps(s)) return navlib::Vec3();
  return s.Elements.Attitude;
}

// Adds the names missing from SatList.ini, made from the built-in list when
// the file is absent. Each line's text is one entry; "\r\n" and "\n" both end a line.
bool UpdateSatList(const std::string& kepsDir, const std::vector<std::string>& names, std::ostream& out,
                   std::ostream& err) {
  std::string path = (fs::path(kepsDir) / "SatList.ini").string();
  std::string content;
  std::error_code ec;
  bool exists = fs::exists(path, ec);
  if (exists) {
    if (!platform::ReadWholeFile(path, &content)) {
      err << "SatList.ini: cannot be read, no names added\n";
      return false;
    }
  } else {
    for (const std::string& n : BuiltInSatellites()) content += n + "\n";
  }
  // The entries as the planner reads them (line terminators dropped).
  std::vector<std::string> entries = ParseListFile(content);
  std::set<std::string> present(entries.begin(), entries.end());
  const std::string lineEnd = content.find("\r\n") != std::string::npos ? "\r\n" : "\n";
  std::vector<std::string> added;
  for (const std::string& n : names) {
    if (present.count(n)) continue;
    if (!content.empty() && content.back() != '\n') content += lineEnd;
    content += n + lineEnd;
    present.insert(n);
    added.push_back(n);
  }
  if (added.empty() && exists) {
    out << "SatList.ini: every name already listed\n";
    return true;
  }
  std::string error;
  if (!platform::WriteFileAtomically(path, content, &error)) {
    err << "SatList.ini: " << error << "\n";
    return false;
  }
  out << "SatList.ini: " << (exists ? "added" : "made from the built-in list with");
  for (size_t i = 0; i < added.size(); ++i) out << (i ? ", " : " ") << added[i];
  if (added.empty()) out << " nothing new";
  out << "\n";
  return true;
}

}  // namespace

int RunImportCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  return RunImportCommandAt(args, out, err, static_cast<double>(std::time(nullptr)));
}

int RunImportCommandAt(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                       double nowUnixSeconds) {
  for (const std::string& a : args) {
    if (a == "--help" || a == "-h") {
      out << kUsage;
      return kExitOk;
    }
  }
  Options opt;
  std::string message;
  if (!ParseOptions(args, &opt, &message)) {
    err << "quenta-cli import: " << message << "\n" << kUsage;
    return kExitUsage;
  }
  std::error_code ec;
  if (!fs::is_directory(opt.kepsDir, ec)) {
    err << "Keps directory not found: " << opt.kepsDir << "\n";
    return kExitFailed;
  }
  const std::string kepsDirSep = KepsDirWithSeparator(opt.kepsDir);
  int exitCode = kExitOk;

  // Read every file; bad sets are reported and skipped.
  std::vector<Candidate> candidates;
  for (const std::string& file : opt.files) {
    std::string bytes;
    if (!platform::ReadWholeFile(file, &bytes)) {
      err << file << ": cannot be read\n";
      exitCode = kExitFailed;
      continue;
    }
    ParseResult parsed = ParseElementSets(bytes);
    // A file that is no element-set file at all would give a problem per
    // line: the first few say enough.
    constexpr size_t kProblemsShown = 10;
    for (size_t k = 0; k < parsed.problems.size() && k < kProblemsShown; ++k) {
      const ParseProblem& p = parsed.problems[k];
      err << file << ": " << p.where << ": " << p.reason << "; set skipped\n";
    }
    if (parsed.problems.size() > kProblemsShown)
      err << file << ": " << parsed.problems.size() - kProblemsShown << " more problems not shown\n";
    if (!parsed.problems.empty()) exitCode = kExitFailed;
    if (parsed.sets.empty() && parsed.problems.empty()) {
      err << file << ": no element set found\n";
      exitCode = kExitFailed;
    }
    for (ElementSetRecord& set : parsed.sets) {
      Candidate c;
      c.set = std::move(set);
      c.file = file;
      candidates.push_back(std::move(c));
    }
  }

  // The same satellite twice (two files from different lists): the newer set wins.
  std::vector<Candidate> unique;
  std::map<std::int64_t, size_t> byCatalog;
  for (Candidate& c : candidates) {
    auto it = byCatalog.find(c.set.catalogNumber);
    if (it == byCatalog.end()) {
      byCatalog.emplace(c.set.catalogNumber, unique.size());
      unique.push_back(std::move(c));
      continue;
    }
    Candidate& kept = unique[it->second];
    bool replace = !Newer(kept.set, c.set);
    const Candidate& skipped = replace ? kept : c;
    const Candidate& used = replace ? c : kept;
    const bool sameEpoch = skipped.set.epochYear == used.set.epochYear && skipped.set.epochDay == used.set.epochDay;
    err << Origin(skipped) << ": " << CatalogLabel(skipped.set) << " again in " << Origin(used) << "; "
        << (sameEpoch ? "the set of the same epoch read first" : "the older element set") << " (epoch "
        << EpochText(skipped.set.epochYear, skipped.set.epochDay) << " UTC) is not used\n";
    if (replace) kept = std::move(c);
  }

  // Names, and one keps file per name: a second satellite for the same file is refused.
  std::vector<Candidate> accepted;
  std::map<std::string, size_t> byKepsFile;
  for (Candidate& c : unique) {
    c.name = SatelliteNameFor(c.set, opt.names);
    std::string fault = SatelliteNameFault(c.name);
    if (!fault.empty()) {
      err << Origin(c) << ": satellite name \"" << c.name << "\" (" << CatalogLabel(c.set) << "): " << fault
          << "; not written, give it a name with --name NAME=" << c.set.catalogNumber << "\n";
      exitCode = kExitFailed;
      continue;
    }
    c.kepsName = "EL-" + c.name.substr(0, 5) + ".kep";
    // The reports pad names to five characters and read them back so.
    if (c.name.size() > 5)
      err << Origin(c) << ": satellite name \"" << c.name << "\" is longer than 5 characters; the reports "
          << "expect at most 5, give a short one with --name NAME=" << c.set.catalogNumber << "\n";
    auto it = byKepsFile.find(c.kepsName);
    if (it != byKepsFile.end()) {
      const Candidate& first = accepted[it->second];
      err << Origin(c) << ": " << c.name << " (" << CatalogLabel(c.set) << ") and " << first.name << " ("
          << CatalogLabel(first.set) << ", " << Origin(first) << ") would share the keps file " << c.kepsName
          << "; " << c.name << " is not written, give one of them another name with --name NAME=CATNR\n";
      exitCode = kExitFailed;
      continue;
    }
    byKepsFile.emplace(c.kepsName, accepted.size());
    accepted.push_back(std::move(c));
  }

  for (const auto& [catalog, name] : opt.names) {
    if (!byCatalog.count(catalog))
      err << "--name " << name << "=" << catalog << ": no element set of catalogue number " << catalog
          << " was read\n";
  }

  // Write the keps files.
  std::vector<std::string> written;
  for (const Candidate& c : accepted) {
    navlib::Vec3 attitude = StoredAttitude(kepsDirSep, c.name);
    bool keptAttitude = attitude.x != 0 || attitude.y != 0 || attitude.z != 0;
    std::string text = KepsFileText(KepsValues(c.set, attitude));
    std::string path = (fs::path(opt.kepsDir) / c.kepsName).string();
    std::string error;
    if (!platform::WriteFileAtomically(path, text, &error)) {
      err << c.name << ": " << error << "\n";
      exitCode = kExitFailed;
      continue;
    }
    written.push_back(c.name);
    double ageDays = (nowUnixSeconds - EpochUnixSeconds(c.set.epochYear, c.set.epochDay)) / 86400.0;
    std::string line = navlib::Format("%-5s  %-12s  epoch %s UTC  age %.1f days", c.name.c_str(),
                                      c.kepsName.c_str(), EpochText(c.set.epochYear, c.set.epochDay).c_str(),
                                      ageDays);
    if (keptAttitude) line += "  attitude kept";
    if (ageDays > kStaleAgeDays) line += "  WARNING: older than 14 days, refresh the element set";
    out << line << "\n";
  }

  if (opt.satList && !written.empty()) {
    if (!UpdateSatList(opt.kepsDir, written, out, err)) exitCode = kExitFailed;
  }
  return exitCode;
}

}  // namespace quenta
