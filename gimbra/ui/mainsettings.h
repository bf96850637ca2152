// The plotter's main window without the window: its stored settings, the
// key filters, the width switch, the screen scale and the About text. The
// window copies its controls to and from a PlotInputs record and calls these.
#pragma once

#include <string>
#include <vector>

#include "gimbra/core/plotinputs.h"
#include "platform/settingsstore.h"

namespace gimbra::ui {

inline constexpr const char* StartupKey = "Software\\VELM Programs\\Gimbra\\Startup";
inline constexpr const char* PlannerStartupKey = "Software\\VELM Programs\\Quenta\\Startup";
inline constexpr const char* KepsDirectoryValue = "Keps Directory";

extern const char* const MainWindowCaption;  // "  Satellite Attitude Plotter / VELM"
extern const char* const AboutText;          // "Gimbra ... Ver 1.7c ... Last updated: 2002-08-10"

// The design defaults of the window's fields (before any setting is read):
// 500 and 150 segments, every graph item ticked.
PlotInputs DesignInputs();

// Reads "Software\VELM Programs\Gimbra\Startup" in its order into the fields
// (empty or missing values take the stored-setting defaults: 600 and 100
// segments, ALON 180, ALAT 0, gammas 95.0 and 85.0, fudges 0, satellite 0,
// zoom 2, nothing ticked). The satellite and zoom indexes select nothing when
// outside their lists. A stored value that does not convert (an index, a
// segment count) is reported in the returned messages and takes its default;
// the other values are read all the same. Segment counts are kept within
// 36 ... 3000.
std::vector<std::string> ReadStartupSettings(platform::SettingsStore& store, PlotInputs& in);

// Writes the fields in their order: "Map-1", "Map-2", "ALON", "ALAT",
// "U-gamma", "L-gamma" (trimmed), "Sat.Index", "Zoom Index", the three fudges
// (trimmed), the nine check boxes as "true"/"false".
void WriteStartupSettings(platform::SettingsStore& store, const PlotInputs& in);

// The planner's keps directory as stored (empty when missing).
std::string StoredKepsDirectory(platform::SettingsStore& store);

// A typed character passes the field's key filter: digits, minus, point and
// backspace (the integer filter also discards the point); a null character
// passes unchanged.
bool KeyPasses(char c, bool integerOnly);

// 1 at 96 pixels per inch, else (ppi - 1) / 96.
float ScreenScaleFor(int pixelsPerInch);

// The window's outer widths: narrow shows the fields only, wide also the
// "Graph Items" group.
int NarrowFormWidth(float screenScale);  // trunc(327 x scale)
int WideFormWidth(float screenScale);    // trunc(481 x scale)
// The width switch: from narrow to wide with the menu caption "Normal",
// from any other width to narrow with "Advanced".
int SwitchedFormWidth(int currentWidth, float screenScale, std::string& menuCaption);

// Today's date as the calculation-date field shows it: "yyyy-mm-dd".
std::string DateFieldText(int year, int month, int day);

}  // namespace gimbra::ui
