#include "quenta/core/planner_lists.h"

#include <filesystem>

#include "navlib/textnum.h"
#include "platform/atomicfile.h"
#include "platform/uihost.h"

namespace quenta {
namespace {


// Lines of a file: split at "\n", a "\r" in front of it dropped; a line break
// at the very end adds no empty line.
std::vector<std::string> SplitLines(const std::string& bytes) {
  std::vector<std::string> lines;
  std::size_t p = 0;
  while (p < bytes.size()) {
    std::size_t nl = bytes.find('\n', p);
    std::size_t end = (nl == std::string::npos) ? bytes.size() : nl;
    std::string line = bytes.substr(p, end - p);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    if (nl == std::string::npos) break;
    p = nl + 1;
  }
  return lines;
}

std::string FilePath(const std::string& kepsDir, const char* name) {
  return KepsDirWithSeparator(kepsDir) + name;
}

}  // namespace

const std::vector<std::string>& BuiltInSatellites() {
  static const std::vector<std::string> list = {
      "AO-10", "RS-10", "UO-11", "RS-12", "RS-15", "AO-16", "DO-17", "WO-18", "FO-20", "UO-22", "KO-23",
      "KO-25", "IO-26", "AO-27", "FO-29", "TO-31", "GO-32", "SO-35", "UO-36", "MIR-1", "P3-D0", "ISS"};
  return list;
}

const std::vector<std::string>& BuiltInObservers() {
  // Placeholder call signs (a station enters its own in ObsList.ini) padded
  // to 14 characters, latitude and longitude with four decimals (north and
  // east positive), height in whole metres.
  static const std::vector<std::string> list = {
      "G0CALL        , 51.5074, -0.1278,   20",
      "N0CALL        , 42.3601,-71.0589,   40",
      "VK0CALL       ,-34.9285,138.6007,   50",
      "JA0CALL       , 35.6895,139.6917,   40",
      "ZS0CALL       ,-25.7479, 28.2293, 1340",
      "KP0CALL       , 18.3464,-66.7528,  500"};
  return list;
}

std::string KepsDirWithSeparator(const std::string& kepsDir) {
  return kepsDir + static_cast<char>(std::filesystem::path::preferred_separator);
}

std::vector<std::string> ParseListFile(const std::string& bytes) { return SplitLines(bytes); }

void ReadBeaconList(const std::string& bytes, const std::vector<std::string>& satellites,
                    ModeTextTable& modeTexts) {
  for (const std::string& raw : SplitLines(bytes)) {
    std::string line = navlib::TrimBlanks(raw);
    if (line.empty()) continue;
    std::size_t comma = line.find(',');
    // A line without a comma names no satellite and gives no mode text.
    if (comma == std::string::npos) continue;
    std::string name = navlib::TrimBlanks(line.substr(0, comma));
    // The mode text comes from the last five characters of the line (all of a
    // shorter line); what follows a comma among them, if any.
    std::string tail = line.size() > 5 ? line.substr(line.size() - 5) : line;
    std::size_t c = tail.rfind(',');
    if (c != std::string::npos) tail = tail.substr(c + 1);
    std::string mode = navlib::TrimBlanks(tail);
    while (mode.size() < 6) mode += ' ';
    for (std::size_t i = 0; i < satellites.size() && i < modeTexts.size(); ++i) {
      if (satellites[i] == name) {
        modeTexts[i] = mode;
        break;
      }
    }
  }
}

void ReadHorizonMask(const std::string& bytes, const std::string& fileName, HorizonMaskTable& mask,
                     platform::UiHost& host) {
  int lineNumber = 0;
  for (const std::string& raw : SplitLines(bytes)) {
    ++lineNumber;
    if (raw.find("REM") != std::string::npos) continue;
    std::string line = navlib::TrimBlanks(raw);
    if (line.empty()) continue;
    std::size_t colon = line.find(':');
    std::string where = fileName + ", line " + std::to_string(lineNumber) + ": ";
    try {
      if (colon == std::string::npos) throw navlib::ConvertError("'" + line + "' has no azimuth:elevation pair");
      int az = navlib::StrToInt(navlib::TrimBlanks(line.substr(0, colon)));
      int el = navlib::StrToInt(navlib::TrimBlanks(line.substr(colon + 1, 4)));
      if (az < 0 || az > 359) {
        host.showMessage(where + "azimuth " + std::to_string(az) + " lies outside 0 to 359; line skipped");
        continue;
      }
      mask[static_cast<std::size_t>(az / 5)] = el;
    } catch (const navlib::ConvertError& e) {
      host.showMessage(where + e.what() + "; line skipped");
    }
  }
}

PlannerLists LoadPlannerLists(const std::string& kepsDir, platform::UiHost& host) {
  PlannerLists lists;
  lists.Satellites = BuiltInSatellites();
  lists.Observers = BuiltInObservers();
  std::string bytes;
  if (platform::ReadWholeFile(FilePath(kepsDir, "SatList.ini"), &bytes)) lists.Satellites = ParseListFile(bytes);
  if (platform::ReadWholeFile(FilePath(kepsDir, "ObsList.ini"), &bytes)) lists.Observers = ParseListFile(bytes);
  if (platform::ReadWholeFile(FilePath(kepsDir, "BeacList.ini"), &bytes))
    ReadBeaconList(bytes, lists.Satellites, lists.ModeTexts);
  if (platform::ReadWholeFile(FilePath(kepsDir, "Horizon.ini"), &bytes))
    ReadHorizonMask(bytes, "Horizon.ini", lists.HorizonMask, host);
  return lists;
}

}  // namespace quenta
