// The planner's list files in the keps directory: the satellite list
// "SatList.ini", the observer list "ObsList.ini", the per-satellite mode texts
// "BeacList.ini" and the home station's horizon mask "Horizon.ini". Each file
// is optional; a missing one leaves the built-in list or the empty table.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace platform { class UiHost; }

namespace quenta {

constexpr int ModeTextCount = 30;   // mode texts for the first 30 list entries
constexpr int HorizonSectors = 72;  // 5-degree sectors centred on 0, 5, ..., 355 deg

// Mode text of each satellite by list index: empty, or at most five
// significant characters right-padded with blanks to 6.
using ModeTextTable = std::array<std::string, ModeTextCount>;
// Height of the horizon in whole degrees per sector; index k covers azimuths
// 5k - 2.5 to 5k + 2.5 degrees.
using HorizonMaskTable = std::array<int, HorizonSectors>;

struct PlannerLists {
  std::vector<std::string> Satellites;  // satellite list entries, in list order
  std::vector<std::string> Observers;   // observer lines exactly as the list shows them
  ModeTextTable ModeTexts;              // all empty when there is no beacon list
  HorizonMaskTable HorizonMask{};       // all 0 (flat horizon) when there is no mask file
};

// The 22 built-in satellite names and the six built-in observer lines.
const std::vector<std::string>& BuiltInSatellites();
const std::vector<std::string>& BuiltInObservers();

// The keps directory as the keps-directory edit shows it, followed by the
// platform's path separator: the prefix of every file name in it (the keps
// files' too, through NavState::KepsDir). An empty directory gives just the
// separator.
std::string KepsDirWithSeparator(const std::string& kepsDir);

// Reads, in this order, "SatList.ini", "ObsList.ini", "BeacList.ini" and
// "Horizon.ini" from the directory (kepsDir as the edit shows it). A missing
// file is skipped silently. A "Horizon.ini" line that does not convert, or
// whose azimuth lies outside 0 to 359, is reported through host (file and
// line) and skipped; loading goes on.
PlannerLists LoadPlannerLists(const std::string& kepsDir, platform::UiHost& host);

// The single-file readers LoadPlannerLists uses, on file contents.
std::vector<std::string> ParseListFile(const std::string& bytes);
void ReadBeaconList(const std::string& bytes, const std::vector<std::string>& satellites,
                    ModeTextTable& modeTexts);
void ReadHorizonMask(const std::string& bytes, const std::string& fileName,
                     HorizonMaskTable& mask, platform::UiHost& host);

}  // namespace quenta
