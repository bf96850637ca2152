// What the planner's windows decide without any window around them: the
// stored settings and how they map onto the controls, the key filter of the
// date, time and squint edits, the date and time helpers, which horizon-mode
// buttons are enabled, and the page layout of a printout. The window classes
// read and write their controls and call these; tests call them directly.
#pragma once

#include <string>
#include <vector>

#include "platform/settingsstore.h"

namespace quenta {

// ---- Settings: key paths and value names ----
extern const char* const StartupKey;   // "Software\VELM Programs\Quenta\Startup"
extern const char* const PositionKey;  // "Software\VELM Programs\Quenta\Position"
extern const char* const KepsDirectoryValue;  // "Keps Directory"
extern const char* const ObserverValue;       // "Observer"
extern const char* const SatelliteValue;      // "Satellite"
extern const char* const TimeZoneValue;       // "Time Zone"
extern const char* const TimeIntervalValue;   // "Time Interval"
extern const char* const MaximumSquintValue;  // "Maximum Squint"
extern const char* const ListTypeValue;       // "List Type"
extern const char* const Form1TopValue;       // "Form1 Top"
extern const char* const Form1LeftValue;      // "Form1 Left"
extern const char* const Form2TopValue;       // "Form2 Top"
extern const char* const Form2LeftValue;      // "Form2 Left"

// The main window's stored selections, as read at start-up.
struct StartupSettings {
  std::string KepsDirectory;  // as stored; empty when absent
  int Observer = 0;           // list indices; -1 selects nothing
  int Satellite = 0;
  int TimeZone = 0;
  int TimeInterval = 0;
  int MaximumSquint = 180;    // deg
  int ListType = 0;           // 1..4 checks RadioButton1..4; anything else none
};

// Reads the Startup key: every number "string to integer with a default".
StartupSettings ReadStartupSettings(platform::SettingsStore& store);

// What the main window's controls hold when it closes.
struct ClosingControls {
  std::string KepsDirectory;  // the keps-directory edit, untrimmed
  int Observer = -1, Satellite = -1, TimeZone = -1, TimeInterval = -1;
  std::string MaximumSquint;  // the squint edit's text, unchanged
  int CheckedHorizonButton = 0;  // 1..4, 0 when none is checked
};

// Writes the Startup key as the main window's close does: the directory
// trimmed, indices as decimal text, "List Type" "1".."4" or empty.
void WriteStartupSettings(platform::SettingsStore& store, const ClosingControls& controls);

// A window position; 20, 20 when absent or not a number.
struct WindowPosition {
  int Top = 20;
  int Left = 20;
};
WindowPosition ReadWindowPosition(platform::SettingsStore& store, const char* topValue, const char* leftValue);
void WriteWindowPosition(platform::SettingsStore& store, const char* topValue, const char* leftValue,
                         const WindowPosition& position);

// The list index to select for a stored index: the index itself when it names
// an entry, otherwise -1 (nothing selected). A "SatList.ini" that got shorter
// since the index was stored thus selects nothing rather than failing.
int SelectableIndex(int storedIndex, int itemCount);

// The set-up's job: stores dir as "Keps Directory". With onlyIfUnset it does
// so only where none is stored yet (absent, or the empty text a start
// without a directory writes at close). True when it stored dir.
bool StoreKepsDirectory(platform::SettingsStore& store, const std::string& dir, bool onlyIfUnset);

// ---- Controls ----

// The shared key filter of the date, time and squint edits: only the digits,
// "-", ":" and backspace are kept; every other typed character is discarded.
bool KeptByKeyFilter(char32_t typed);

// Edit3's mouse-down: "00:00" becomes the current time, anything else "00:00".
std::string ToggledStartTime(const std::string& current, const std::string& nowText);

// "yyyy-mm-dd" and "hh:mm".
std::string DateEditText(int year, int month, int day);
std::string TimeEditText(int hour, int minute);

// "Above Radio Horizon" is offered for the first observer line only (the
// horizon mask belongs to the home station).
bool RadioHorizonEnabled(int observerIndex);
// "Visible" and "All Values" are offered except for "R/S-T".
bool VisibleAndAllValuesEnabled(int intervalIndex);

// The About box's text.
std::string AboutText();

// ---- Printing ----

// The output text as printed lines: split at "\r\n" (a lone "\n" or "\r"
// also ends a line); a final line break adds no empty line.
std::vector<std::string> PrintLines(const std::string& text);
// Lines laid out on pages of linesPerPage lines (at least one). An empty text
// still gives one empty page: printing an empty output prints an empty job.
std::vector<std::vector<std::string>> Paginate(const std::vector<std::string>& lines, int linesPerPage);

}  // namespace quenta
