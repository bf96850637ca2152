#include "gimbra/ui/mainsettings.h"

#include <cmath>

#include "gimbra/core/fieldtext.h"
#include "navlib/textnum.h"

namespace gimbra::ui {

const char* const MainWindowCaption = "  Satellite Attitude Plotter / VELM";
const char* const AboutText =
    "Gimbra  Ver 1.7c\n"
    "Satellite attitude plotter for spinning spacecraft.\n"
    "Written for amateur-radio satellite operators.\n"
    "Last updated: 2002-08-10";

namespace {

std::string Trim(const std::string& t) {
  std::size_t b = 0, e = t.size();
  while (b < e && (t[b] == ' ' || t[b] == '\t')) ++b;
  while (e > b && (t[e - 1] == ' ' || t[e - 1] == '\t')) --e;
  return t.substr(b, e - b);
}

// The check boxes in the order their values are stored.
struct StoredBox {
  const char* Name;
  bool GraphItems::*Box;
};
constexpr StoredBox kBoxes[] = {
    {"Magnetic Poles", &GraphItems::MagPoles},  {"Celestial Equator", &GraphItems::CelestialEquator},
    {"Ecliptic", &GraphItems::EclipticSun},     {"Sun Sensors", &GraphItems::SunSensor},
    {"Earth MA", &GraphItems::EarthMa},         {"Squint Data", &GraphItems::SquintData},
    {"Camera Data", &GraphItems::CameraEarth},  {"Camera Moon", &GraphItems::CameraMoon},
    {"Earth Arcs", &GraphItems::EarthArcs},
};

// The stored text, or def when the value is missing or empty.
std::string ReadOr(platform::SettingsStore& store, const char* name, const char* def) {
  const auto v = store.read(StartupKey, name);
  return (!v || v->empty()) ? std::string(def) : *v;
}

std::string StoredMessage(const char* name, const std::string& error, const char* def) {
  return error + "\n(stored setting \"" + name + "\"; \"" + def + "\" is used instead)";
}

// A stored segment count within 36 ... 3000; a text that is no whole number
// is reported and gives the default.
std::string ReadSegments(platform::SettingsStore& store, const char* name, const char* def,
                         std::vector<std::string>& messages) {
  const std::string text = ReadOr(store, name, def);
  try {
    return ClampSegmentsText(text);
  } catch (const navlib::ConvertError& e) {
    messages.push_back(StoredMessage(name, e.what(), def));
    return def;
  }
}

// A stored list index; outside the list selects nothing (-1).
int ReadIndex(platform::SettingsStore& store, const char* name, const char* def, std::size_t listSize,
              std::vector<std::string>& messages) {
  int index = 0;
  try {
    index = navlib::StrToInt(ReadOr(store, name, def));
  } catch (const navlib::ConvertError& e) {
    messages.push_back(StoredMessage(name, e.what(), def));
    index = navlib::StrToInt(def);
  }
  if (index < 0 || static_cast<std::size_t>(index) >= listSize) return -1;
  return index;
}

}  // namespace

PlotInputs DesignInputs() {
  PlotInputs in;
  in.MapSegmentsText = "500";
  in.SatSegmentsText = "150";
  in.AlonText = "180";
  in.AlatText = "0";
  in.UpperGammaText = "95";
  in.LowerGammaText = "85";
  in.DataFileName = "AO-10.ang";
  in.SatelliteIndex = -1;
  in.ZoomIndex = -1;
  for (const StoredBox& b : kBoxes) in.Items.*b.Box = true;
  return in;
}

std::vector<std::string> ReadStartupSettings(platform::SettingsStore& store, PlotInputs& in) {
  std::vector<std::string> messages;
  in.MapSegmentsText = ReadSegments(store, "Map-1", "600", messages);
  in.SatSegmentsText = ReadSegments(store, "Map-2", "100", messages);
  in.AlonText = ReadOr(store, "ALON", "180");
  in.AlatText = ReadOr(store, "ALAT", "0");
  in.UpperGammaText = ReadOr(store, "U-gamma", "95.0");
  in.LowerGammaText = ReadOr(store, "L-gamma", "85.0");
  in.EslFudgeText = ReadOr(store, "ESL fudge", "0");
  in.EsuFudgeText = ReadOr(store, "ESU fudge", "0");
  in.SunFudgeText = ReadOr(store, "SS2 fudge", "0");
  in.SatelliteIndex = ReadIndex(store, "Sat.Index", "0", in.SatelliteList.size(), messages);
  in.ZoomIndex = ReadIndex(store, "Zoom Index", "2", in.ZoomList.size(), messages);
  for (const StoredBox& b : kBoxes) in.Items.*b.Box = store.read(StartupKey, b.Name).value_or("") == "true";
  return messages;
}

void WriteStartupSettings(platform::SettingsStore& store, const PlotInputs& in) {
  store.write(StartupKey, "Map-1", Trim(in.MapSegmentsText));
  store.write(StartupKey, "Map-2", Trim(in.SatSegmentsText));
  store.write(StartupKey, "ALON", Trim(in.AlonText));
  store.write(StartupKey, "ALAT", Trim(in.AlatText));
  store.write(StartupKey, "U-gamma", Trim(in.UpperGammaText));
  store.write(StartupKey, "L-gamma", Trim(in.LowerGammaText));
  store.write(StartupKey, "Sat.Index", std::to_string(in.SatelliteIndex));
  store.write(StartupKey, "Zoom Index", std::to_string(in.ZoomIndex));
  store.write(StartupKey, "ESL fudge", Trim(in.EslFudgeText));
  store.write(StartupKey, "ESU fudge", Trim(in.EsuFudgeText));
  store.write(StartupKey, "SS2 fudge", Trim(in.SunFudgeText));
  for (const StoredBox& b : kBoxes) store.write(StartupKey, b.Name, in.Items.*b.Box ? "true" : "false");
}

std::string StoredKepsDirectory(platform::SettingsStore& store) {
  return store.read(PlannerStartupKey, KepsDirectoryValue).value_or("");
}

bool KeyPasses(char c, bool integerOnly) {
  if (c == '\0') return true;
  if (c >= '0' && c <= '9') return true;
  if (c == '-' || c == '\b') return true;
  return c == '.' && !integerOnly;
}

float ScreenScaleFor(int pixelsPerInch) {
  if (pixelsPerInch == 96) return 1.0f;
  return static_cast<float>((pixelsPerInch - 1) * (1.0 / 96));
}

int NarrowFormWidth(float screenScale) { return static_cast<int>(327 * static_cast<double>(screenScale)); }
int WideFormWidth(float screenScale) { return static_cast<int>(481 * static_cast<double>(screenScale)); }

int SwitchedFormWidth(int currentWidth, float screenScale, std::string& menuCaption) {
  if (currentWidth == NarrowFormWidth(screenScale)) {
    menuCaption = "Normal";
    return WideFormWidth(screenScale);
  }
  menuCaption = "Advanced";
  return NarrowFormWidth(screenScale);
}

std::string DateFieldText(int year, int month, int day) {
  return navlib::Format("%04d-%02d-%02d", year, month, day);
}

}  // namespace gimbra::ui
