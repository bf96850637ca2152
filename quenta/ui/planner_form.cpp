#include "quenta/ui/planner_form.h"

#include <string_view>

#include "navlib/textnum.h"

namespace quenta {

const char* const StartupKey = "Software\\VELM Programs\\Quenta\\Startup";
const char* const PositionKey = "Software\\VELM Programs\\Quenta\\Position";
const char* const KepsDirectoryValue = "Keps Directory";
const char* const ObserverValue = "Observer";
const char* const SatelliteValue = "Satellite";
const char* const TimeZoneValue = "Time Zone";
const char* const TimeIntervalValue = "Time Interval";
const char* const MaximumSquintValue = "Maximum Squint";
const char* const ListTypeValue = "List Type";
const char* const Form1TopValue = "Form1 Top";
const char* const Form1LeftValue = "Form1 Left";
const char* const Form2TopValue = "Form2 Top";
const char* const Form2LeftValue = "Form2 Left";

namespace {

// Blanks and control characters at both ends go, as the window's trim does.
std::string Trim(const std::string& text) {
  std::size_t b = 0, e = text.size();
  while (b < e && static_cast<unsigned char>(text[b]) <= ' ') ++b;
  while (e > b && static_cast<unsigned char>(text[e - 1]) <= ' ') --e;
  return text.substr(b, e - b);
}

}  // namespace

StartupSettings ReadStartupSettings(platform::SettingsStore& store) {
  StartupSettings s;
  s.KepsDirectory = store.readText(StartupKey, KepsDirectoryValue, "");
  s.Observer = store.readInt(StartupKey, ObserverValue, 0);
  s.Satellite = store.readInt(StartupKey, SatelliteValue, 0);
  s.TimeZone = store.readInt(StartupKey, TimeZoneValue, 0);
  s.TimeInterval = store.readInt(StartupKey, TimeIntervalValue, 0);
  s.MaximumSquint = store.readInt(StartupKey, MaximumSquintValue, 180);
  s.ListType = store.readInt(StartupKey, ListTypeValue, 0);
  return s;
}

void WriteStartupSettings(platform::SettingsStore& store, const ClosingControls& c) {
  store.write(StartupKey, KepsDirectoryValue, Trim(c.KepsDirectory));
  store.write(StartupKey, ObserverValue, std::to_string(c.Observer));
  store.write(StartupKey, SatelliteValue, std::to_string(c.Satellite));
  store.write(StartupKey, TimeZoneValue, std::to_string(c.TimeZone));
  store.write(StartupKey, TimeIntervalValue, std::to_string(c.TimeInterval));
  store.write(StartupKey, MaximumSquintValue, c.MaximumSquint);
  const bool checked = c.CheckedHorizonButton >= 1 && c.CheckedHorizonButton <= 4;
  store.write(StartupKey, ListTypeValue, checked ? std::to_string(c.CheckedHorizonButton) : std::string());
}

WindowPosition ReadWindowPosition(platform::SettingsStore& store, const char* topValue, const char* leftValue) {
  WindowPosition p;
  p.Top = store.readInt(PositionKey, topValue, 20);
  p.Left = store.readInt(PositionKey, leftValue, 20);
  return p;
}

void WriteWindowPosition(platform::SettingsStore& store, const char* topValue, const char* leftValue,
                         const WindowPosition& position) {
  store.write(PositionKey, topValue, std::to_string(position.Top));
  store.write(PositionKey, leftValue, std::to_string(position.Left));
}

bool StoreKepsDirectory(platform::SettingsStore& store, const std::string& dir, bool onlyIfUnset) {
  if (onlyIfUnset && !Trim(store.readText(StartupKey, KepsDirectoryValue, "")).empty()) return false;
  store.write(StartupKey, KepsDirectoryValue, dir);
  return true;
}

int SelectableIndex(int storedIndex, int itemCount) {
  return storedIndex >= 0 && storedIndex < itemCount ? storedIndex : -1;
}

bool KeptByKeyFilter(char32_t typed) {
  if (typed == U'\b') return true;
  return std::u32string_view(U"0123456789-:").find(typed) != std::u32string_view::npos;
}

std::string ToggledStartTime(const std::string& current, const std::string& nowText) {
  return current == "00:00" ? nowText : std::string("00:00");
}

std::string DateEditText(int year, int month, int day) { return navlib::Format("%04d-%02d-%02d", year, month, day); }

std::string TimeEditText(int hour, int minute) { return navlib::Format("%02d:%02d", hour, minute); }

bool RadioHorizonEnabled(int observerIndex) { return observerIndex == 0; }

bool VisibleAndAllValuesEnabled(int intervalIndex) { return intervalIndex != 0; }

std::string AboutText() {
  return "Quenta\n"
         "Satellite pass planner for radio amateurs\n"
         "\n"
         "Version 3.5c\n"
         "Last updated: 2002-08-10";
}

std::vector<std::string> PrintLines(const std::string& text) {
  std::vector<std::string> lines;
  std::string line;
  bool open = false;  // a line has begun that no break has ended yet
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      lines.push_back(line);
      line.clear();
      open = false;
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      line += c;
      open = true;
    }
  }
  if (open) lines.push_back(line);
  return lines;
}

std::vector<std::vector<std::string>> Paginate(const std::vector<std::string>& lines, int linesPerPage) {
  const std::size_t per = linesPerPage < 1 ? 1 : static_cast<std::size_t>(linesPerPage);
  std::vector<std::vector<std::string>> pages;
  for (std::size_t i = 0; i < lines.size(); i += per) {
    const std::size_t end = i + per < lines.size() ? i + per : lines.size();
    pages.emplace_back(lines.begin() + static_cast<std::ptrdiff_t>(i), lines.begin() + static_cast<std::ptrdiff_t>(end));
  }
  if (pages.empty()) pages.emplace_back();
  return pages;
}

}  // namespace quenta
