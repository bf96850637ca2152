// The rise/set pass finder and the rise/set table: a one-minute scan refined
// to the second at AOS and LOS, the maximum elevation searched in two-second
// steps, one 100-character row per pass, and later satellites' rows merged
// into the table in AOS order.
#include <cmath>

#include "navlib/textnum.h"
#include "platform/uihost.h"
#include "quenta/core/planner.h"

namespace quenta {
namespace {

// Step sizes in days.
constexpr double OneMinute = 0.0006944444444444445;
constexpr double OneSecond = 1.1574074074074073e-05;
constexpr double OneAndHalfMinutes = 0.0010416666666666667;
constexpr double TwoSeconds = 2.3148148148148147e-05;
// A crossing lies within one coarse step (61 one-second samples); the bound
// only keeps a pathological elevation curve from holding the window forever.
constexpr int MaxRefineSeconds = 120;
// About five and a half hours of two-second samples: far beyond any pass peak,
// reached only by an orbit whose elevation barely changes (geostationary).
constexpr int MaxPeakSamples = 10000;

const std::string& DashLine() {
  static const std::string line = std::string(100, '-') + "\r\n";
  return line;
}

std::string PadLeft(std::string s, std::size_t width) {
  if (s.size() < width) s.insert(0, width - s.size(), ' ');
  return s;
}

std::string PadRight(std::string s, std::size_t width) {
  if (s.size() < width) s.append(width - s.size(), ' ');
  return s;
}

// "2018  Jan  05 [Fri]" without its doubled blanks: "2018 Jan 05 [Fri]".
std::string ShortDate(double day) {
  const std::string d = navlib::DateText(static_cast<int>(day));
  if (d.size() < 19) return d;  // a year beyond four digits: shown as it is
  return d.substr(0, 5) + d.substr(6, 4) + d.substr(11, 8);
}

bool Digits(const std::string& s, std::size_t at, std::size_t count) {
  for (std::size_t k = 0; k < count; ++k) {
    char c = s[at + k];
    if (c < '0' || c > '9') return false;
  }
  return true;
}

bool MonthAt(const std::string& s, std::size_t at) {
  static const char* const months = "JanFebMarAprMayJunJulAugSepOctNovDec";
  for (int m = 0; m < 12; ++m) {
    if (s.compare(at, 3, months + 3 * m, 3) == 0) return true;
  }
  return false;
}

// Offset in a table row of its AOS stamp: the first "yyyy Mmm dd [Www]" that
// is followed by two blanks and "hh:mm:ss" (the LOS stamp comes later in the
// row). Read from the row itself, so a long satellite name that shifts the
// columns is still read; npos for a line that holds no such stamp.
constexpr std::size_t StampLength = 17 + 2 + 8;
std::size_t FindAosStamp(const std::string& line) {
  for (std::size_t i = 0; i + StampLength <= line.size(); ++i) {
    if (!Digits(line, i, 4) || line[i + 4] != ' ' || !MonthAt(line, i + 5) || line[i + 8] != ' ' ||
        !Digits(line, i + 9, 2) || line[i + 11] != ' ' || line[i + 12] != '[' || line[i + 16] != ']' ||
        line[i + 17] != ' ' || line[i + 18] != ' ' || !Digits(line, i + 19, 2) || line[i + 21] != ':' ||
        !Digits(line, i + 22, 2) || line[i + 24] != ':' || !Digits(line, i + 25, 2))
      continue;
    return i;
  }
  return std::string::npos;
}

// Day number with fraction of an AOS date ("2018 Jan 05 ...") and time.
double StampKey(const std::string& date, const std::string& time) {
  return static_cast<double>(navlib::ParseDate(date)) + static_cast<double>(navlib::ParseTime(time));
}

}  // namespace

// ---- pass finder ----

void Planner::ResetPassFinder() {
  Finder = PassFinderState{};
  Finder.maxEl = -90;
  // A pass found but not printed (Stop) must not reach the next satellite's table.
  AosTimeText.clear();
  LosTimeText.clear();
}

void Planner::PassFinderStep() {
  PassFinderState& f = Finder;
  // A. Highest coarse elevation of the pass.
  if (nav_.Elevation > 0 && nav_.Elevation > f.maxEl) {
    f.maxEl = nav_.Elevation;
    f.maxTime = CurrentTime;
  }
  // B. A new pass begins; its maximum starts afresh, so that a stretch above
  // 0 deg behind a raised mask sector is not taken for this pass's peak.
  if (nav_.Elevation > HorizonThreshold() && !f.up && f.armed) {
    f.up = true;
    f.aosFound = f.losFound = f.maxDone = false;
    f.armed = false;
    f.maxEl = nav_.Elevation;
    f.maxTime = CurrentTime;
  }
  // C. Back above the threshold without having set below 0 deg: same pass.
  if (nav_.Elevation > HorizonThreshold() && !f.up && !f.armed) {
    f.up = true;
    f.losFound = f.maxDone = false;
  }
  // D. Refine AOS to the second.
  if (f.up && !f.aosFound) {
    CurrentTime -= OneMinute;
    Evaluate();
    for (int n = 0; HorizonThreshold() >= nav_.Elevation && n < MaxRefineSeconds; ++n) {
      CurrentTime += OneSecond;
      Evaluate();
    }
    ComputeLocalTime();
    AosDay = LocalDay;
    AosMa = navlib::TruncToInt(nav_.Ma256);
    AosRangeRate = nav_.RangeRate;
    AosOrbit = navlib::TruncToInt(nav_.OrbitNumber);
    AosTimeText = navlib::TimeText(LocalFrac);
    f.aosFound = true;
  }
  // E.
  if (nav_.Elevation <= HorizonThreshold() && f.up) f.up = false;
  // F. Refine LOS to the second.
  if (!f.up && !f.losFound && f.aosFound) {
    CurrentTime -= OneMinute;
    Evaluate();
    for (int n = 0; HorizonThreshold() < nav_.Elevation && n < MaxRefineSeconds; ++n) {
      CurrentTime += OneSecond;
      Evaluate();
    }
    ComputeLocalTime();
    LosDay = LocalDay;
    LosMa = navlib::TruncToInt(nav_.Ma256);
    LosOrbit = navlib::TruncToInt(nav_.OrbitNumber);
    LosTimeText = navlib::TimeText(LocalFrac);
    f.losFound = true;
  }
  // G. Maximum, once the satellite has set below the true horizon.
  if (f.aosFound && f.losFound && !f.maxDone && f.armed) SearchMaximum();
  // H. Print.
  if (!LosTimeText.empty() && !AosTimeText.empty() && f.armed) PrintRiseSetRow();
}

void Planner::SearchMaximum() {
  const double kept = CurrentTime;
  CurrentTime = Finder.maxTime.value_or(kept) - OneAndHalfMinutes;
  Evaluate();
  float prev = -10;
  for (int n = 0; nav_.Elevation > prev && n < MaxPeakSamples; ++n) {
    prev = nav_.Elevation;
    CurrentTime += TwoSeconds;
    Evaluate();
  }
  MaxElText = PadLeft(std::to_string(navlib::RoundToInt(navlib::Deg(nav_.Elevation))), 2);
  CurrentTime = kept;
  Evaluate();
  Finder.maxEl = 0;
  Finder.maxDone = true;
}

void Planner::PassFinderEndOfStep() {
  if (nav_.Elevation < 0 && !Finder.armed) Finder.armed = true;
}

void Planner::FlushPendingPass() {
  if (AosTimeText.empty() || LosTimeText.empty()) return;
  if (!Finder.maxDone) SearchMaximum();
  PrintRiseSetRow();
}

// ---- rise/set table ----

void Planner::PrintRiseSetRow() {
  out_.SetVisible(true);
  const std::string aosDate = ShortDate(AosDay);
  const std::string losDate = ShortDate(LosDay);
  const std::string interval = navlib::TimeDiffText(AosTimeText, LosTimeText);
  const std::string aosMa = PadLeft(std::to_string(AosMa), 3);
  const std::string losMa = PadLeft(std::to_string(LosMa), 3);
  const std::string aosOrbit = PadLeft(std::to_string(AosOrbit), 5);
  const std::string losOrbit = PadLeft(std::to_string(LosOrbit), 5);
  std::string rr = navlib::Format("%.3f", static_cast<double>(AosRangeRate));
  if (AosRangeRate >= 0) rr = " " + rr;
  const std::string horizon = RadioHorizon ? "Radio" : "True ";
  const std::string observer = PadRight(ObserverName, 6);

  const std::string& layout =
      inputs_ && inputs_->IntervalIndex >= 0 && inputs_->IntervalIndex < static_cast<int>(IntervalItems().size())
          ? IntervalItems()[static_cast<std::size_t>(inputs_->IntervalIndex)]
          : IntervalItems()[RiseSetByDateItem];
  if (layout == "R/S-O") {
    ByOrbit = true;
    AppendMode = false;
  } else {
    ByOrbit = false;
  }

  const std::string& zone = nav_.ZoneText;
  const std::string title =
      ByOrbit ? " Satellite    Rise Orbit       Time     MA     RR   Elev.     Set Orbit        Time     MA "
              : " Satellite    Rise Date        Time     MA     RR   Elev.     Set Date         Time     MA ";
  const std::string header = "\r\n" + std::string(31, ' ') + "RISE/SET TIMES   VELM   QUENTA    SOFTWARE" + "\r\n" +
                             std::string(36, ' ') + "Observer: " + observer + "  Horizon = " + horizon +
                             "\r\n\r\n" + std::string(30, ' ') + "(" + zone + ")" +
                             "    AOS    AOS   Max.                      (" + zone + ")    LOS" + "\r\n" + title +
                             " Interval" + "\r\n" + DashLine();
  if (OutputEmpty()) {
    out_.SetCaret(out_.Length());
    out_.InsertAtCaret(header);
  } else if (AppendMode && out_.Find(DashLine(), sectionStart_) == platform::OutputBuffer::npos) {
    // The satellites before this one found no pass: the output holds only an
    // end line. The table header goes in front of it.
    out_.SetCaret(sectionStart_);
    out_.InsertAtCaret(header);
  }

  std::string row;
  if (ByOrbit) {
    row = "  " + SatLabel + std::string(8, ' ') + aosOrbit + std::string(9, ' ') + AosTimeText + "  " + aosMa + "  " +
          rr + "   " + MaxElText + std::string(9, ' ') + losOrbit + std::string(8, ' ') + LosTimeText + "  " + losMa +
          "  " + interval;
  } else {
    row = "  " + SatLabel + "   " + aosDate + "  " + AosTimeText + "  " + aosMa + "  " + rr + "   " + MaxElText +
          "   " + losDate + "  " + LosTimeText + "  " + losMa + "  " + interval;
  }
  row += "\r\n";

  if (AppendMode) {
    const std::size_t at = FindInsertPosition(aosDate, AosTimeText);
    out_.SetCaret(at);
    out_.InsertAtCaret(row);
    merge_.generation = out_.Generation();
    merge_.position = at + row.size();
    merge_.key = StampKey(aosDate, AosTimeText);
    merge_.valid = true;
  } else {
    out_.InsertAtCaret(row);
  }
  host_.processEvents();
  AosTimeText.clear();
  LosTimeText.clear();
}

std::size_t Planner::FindInsertPosition(const std::string& aosDate, const std::string& aosTime) {
  const double key = StampKey(aosDate, aosTime);
  const std::size_t m = out_.Find(DashLine(), sectionStart_);
  if (m == platform::OutputBuffer::npos) return out_.Length();
  std::size_t p = m + DashLine().size();
  // Rows of one satellite come in time order: when nothing but this merge has
  // changed the text since its last row, every row in front of that row is
  // not later than it, so the walk from the dash line would pass them all.
  if (merge_.valid && merge_.generation == out_.Generation() && key >= merge_.key && merge_.position >= p)
    p = merge_.position;
  const std::string endMarker = RiseSetEndLine();
  const std::size_t n = out_.Length();
  while (p < n) {
    if (out_.At(p) == '\r' && out_.Substr(p, endMarker.size()) == endMarker) return p;
    const std::size_t e = out_.LineEnd(p);
    const std::string line = out_.Substr(p, e - p);
    const std::size_t s = FindAosStamp(line);
    if (s != std::string::npos) {
      try {
        if (StampKey(line.substr(s, 17), line.substr(s + 19, 8)) > key) return p;
      } catch (const navlib::ConvertError&) {
        // A line that only looks like a row: passed over.
      }
    }
    p = e;
  }
  return n;
}

}  // namespace quenta
