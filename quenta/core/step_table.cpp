// The step table: one fixed-column row per printed time step, and the header
// block that opens each new orbit and each new local day.
#include <cmath>

#include "navlib/textnum.h"
#include "quenta/core/planner.h"

namespace quenta {
namespace {

std::string PadLeft(std::string s, std::size_t width) {
  if (s.size() < width) s.insert(0, width - s.size(), ' ');
  return s;
}

std::string IntText(int v) { return std::to_string(v); }

// Shortest general decimal form with at most 15 significant digits: 2.3, -1.2, 1, 0.
std::string GeneralText(double v) { return navlib::Format("%.15g", v); }

}  // namespace

void Planner::PrintStepRow() {
  using navlib::Deg;
  using navlib::RoundToInt;
  out_.SetVisible(true);

  // TIME: local hours and minutes; 51 to 59 seconds round up to the next minute.
  std::string t = navlib::TimeText(LocalFrac);
  if (t.size() >= 8 && navlib::StrToInt(t.substr(6, 2)) > 50) {
    LocalFrac = static_cast<float>(LocalFrac + 0.000116);
    t = navlib::TimeText(LocalFrac);
  }
  const std::string timeText = t.substr(0, 5);

  const std::string ma = PadLeft(IntText(RoundToInt(nav_.Ma256)), 3);
  const std::string range = PadLeft(IntText(RoundToInt(nav_.Range)), 5);
  const std::string el = PadLeft(IntText(RoundToInt(Deg(nav_.Elevation))), 3);
  const std::string az = PadLeft(IntText(RoundToInt(Deg(nav_.Azimuth))), 3);
  const std::string sq = nav_.HasAttitude ? PadLeft(IntText(RoundToInt(Deg(nav_.Squint))), 3) : "---";
  // RoundToInt(-12.5) == -12: a rate of -1.25 km/s prints -1.2.
  const std::string rr =
      PadLeft(GeneralText(RoundToInt(static_cast<float>(nav_.RangeRate * 10)) * 0.1), 4);
  const std::string hgt = PadLeft(IntText(RoundToInt(nav_.Radius - navlib::Nc.EarthRadius)), 5);
  const float latDeg = Deg(nav_.SubLat);
  const std::string slat =
      PadLeft(navlib::Format("%.1f", std::fabs(static_cast<double>(latDeg))), 4) + (latDeg >= 0 ? " N" : " S");
  float lonDeg = Deg(nav_.SubLon);
  if (lonDeg > 180) lonDeg = static_cast<float>(lonDeg - 360.0);
  const std::string slon =
      PadLeft(navlib::Format("%.1f", std::fabs(static_cast<double>(lonDeg))), 5) + (lonDeg >= 0 ? " E" : " W");

  if (nav_.OrbitNumber != LastHeaderOrbit || LastHeaderDay != LocalDay) {
    LastHeaderOrbit = nav_.OrbitNumber;
    LastHeaderDay = LocalDay;
    BuildStepHeader(static_cast<int>(nav_.DayNum), LocalDay);
  }
  SetModeText();
  // Squint limit; without an attitude there is no squint to limit.
  if (nav_.HasAttitude && Deg(nav_.Squint) >= MaxSquint) return;

  const std::string row = " " + timeText + "  " + ma + "   " + nav_.ModeText + range + "  " + el + "  " + az +
                          "   " + sq + "  " + rr + "   " + nav_.IllumText + "  " + hgt + "   " + slat + "   " +
                          slon;
  out_.InsertAtCaret(PendingText + row + "\r\n");
  PendingText.clear();
}

void Planner::BuildStepHeader(int utcDay, int localDay) {
  using navlib::Deg;
  using navlib::RoundToInt;
  const std::string dateText = navlib::DateText(localDay);
  const int ap = RoundToInt(Deg(nav_.ArgPerigeeNow));
  const int raan = RoundToInt(Deg(nav_.RaanNow));
  std::string alon = IntText(RoundToInt(Deg(AttitudeLon)));
  std::string alat = IntText(RoundToInt(Deg(AttitudeLat)));
  const int saz = RoundToInt(Deg(SunLonOrbit));
  const int sel = RoundToInt(Deg(SunLatOrbit));
  std::string ill = IntText(RoundToInt(nav_.SunSidePercent));
  if (!nav_.HasAttitude) {
    alon = "---";
    alat = "--";
    ill = "--";
  }
  // Day numbers run 722100 ahead of AMSAT day numbers.
  const std::string amsatDay = IntText(utcDay - 722100);
  PendingText += "\r\n\r\n" + std::string(12, ' ') + SatLabel + " - " + ObserverName + std::string(6, ' ') +
                 "AMSAT DAY " + amsatDay + std::string(6, ' ') + dateText + " " + nav_.ZoneText + "\r\n" +
                 "  ORBIT# " + GeneralText(nav_.OrbitNumber) + "   AP/RAAN: " + IntText(ap) + "/" + IntText(raan) +
                 "  ALON/ALAT: " + alon + "/" + alat + "  SAZ/SEL: " + IntText(saz) + "/" + IntText(sel) +
                 "  ILL: " + ill + "%" + "\r\n\r\n" + "  " + nav_.ZoneText +
                 "    MA   MODE  RANGE   EL   AZ    SQ    RR   ECL?   HGT    SLAT     SLON" + "\r\n" +
                 std::string(78, '-') + "\r\n";
}

void Planner::SetModeText() {
  nav_.ModeText = "---";
  // Satellites at list index 30 and beyond have no mode text: "---".
  if (SatIndex >= 0 && SatIndex < ModeTextCount && !ModeTexts[static_cast<std::size_t>(SatIndex)].empty())
    nav_.ModeText = ModeTexts[static_cast<std::size_t>(SatIndex)];
}

}  // namespace quenta
