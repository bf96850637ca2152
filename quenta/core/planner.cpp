// The plan run driver: the Calculate command, one run per satellite, the four
// selection checks, the time loop and its helpers.
#include "quenta/core/planner.h"

#include <cmath>

#include "navlib/textnum.h"
#include "platform/uihost.h"

namespace quenta {

const char* const SelectObserverText = "Select Observer!";
const char* const SelectTimeZoneText = "Select Time Zone!";
const char* const SelectSatelliteText = "Select Satellite!";
const char* const SelectTimeIntervalText = "Select Time Interval!";
const char* const ImproperDateText = "Improper Start/Stop Date!";

namespace {

struct Zone {
  const char* label;
  float hours;
};
// Offsets from UTC, negative west.
constexpr Zone Zones[] = {{"UTC", 0},  {"AST", -4}, {"ADT", -3}, {"EST", -5}, {"EDT", -4}, {"CST", -6},
                          {"CDT", -5}, {"MST", -7}, {"MDT", -6}, {"PST", -8}, {"PDT", -7}};


// Characters first..first+count-1 (1-based) of text; shorter or empty when the
// text is shorter, which the strict conversion then refuses.
std::string Chars(const std::string& text, std::size_t first, std::size_t count) {
  if (first - 1 >= text.size()) return std::string();
  return text.substr(first - 1, count);
}

bool Selected(const PlanInputs& in, int i) {
  return i >= 0 && static_cast<std::size_t>(i) < in.SatelliteSelected.size() &&
         i < static_cast<int>(in.SatelliteNames.size()) && in.SatelliteSelected[static_cast<std::size_t>(i)];
}

// Marks a run as busy for its lifetime, also when a conversion error ends it.
class BusyGuard {
 public:
  explicit BusyGuard(bool& flag) : flag_(flag) { flag_ = true; }
  ~BusyGuard() { flag_ = false; }

 private:
  bool& flag_;
};

}  // namespace

const std::vector<std::string>& TimeZoneItems() {
  static const std::vector<std::string> items = [] {
    std::vector<std::string> v;
    for (const Zone& z : Zones) v.push_back(z.label);
    return v;
  }();
  return items;
}

const std::vector<std::string>& IntervalItems() {
  static const std::vector<std::string> items = {"R/S-T", "R/S-O", "20", "15", "10", "5", "2", "1"};
  return items;
}

std::string StepRunCaption() { return " Output" + std::string(54, ' ') + "Quenta / VELM"; }
std::string RiseSetRunCaption() { return " Output" + std::string(67, ' ') + "Quenta / VELM"; }
std::string DesignCaption() { return StepRunCaption() + "  "; }

Planner::Planner(navlib::NavState& nav, platform::OutputBuffer& output, platform::UiHost& host)
    : nav_(nav), out_(output), host_(host) {}

void Planner::SetLists(const PlannerLists& lists) {
  ModeTexts = lists.ModeTexts;
  HorizonMask = lists.HorizonMask;
}

// ---- output helpers: the current table is the text from sectionStart_ on ----

void Planner::ClearOutput() {
  if (sectionStart_ == 0) out_.SetText(std::string());
  else out_.Replace(sectionStart_, out_.Length() - sectionStart_, std::string());
}

bool Planner::OutputEmpty() const { return out_.Length() <= sectionStart_; }

// ---- the Calculate command ----

CalculateResult Planner::Calculate(const PlanInputs& inputs) {
  CalculateResult result;
  if (busy_) {  // a second Calculate from inside a run's pause
    result.Refused = true;
    result.SatelliteIndex = inputs.SatelliteIndex;
    return result;
  }
  BusyGuard guard(busy_);
  PlanInputs in = inputs;  // the run makes each selected satellite the current item
  inputs_ = &in;
  struct Reset {
    const PlanInputs*& p;
    ~Reset() { p = nullptr; }
  } reset{inputs_};

  sectionStart_ = 0;
  merge_.valid = false;
  out_.SetText(std::string());
  MaxSquint = static_cast<float>(navlib::StrToFloat(in.MaxSquint));
  InputInvalid = false;
  bool stopped = false;
  bool anyFailed = false;

  if (in.IntervalIndex == RiseSetByDateItem || in.IntervalIndex == RiseSetByOrbitItem) {
    out_.SetWidth(RiseSetRunWidth);
    out_.SetCaption(RiseSetRunCaption());
    const bool byOrbitTables = in.IntervalIndex == RiseSetByOrbitItem;
    bool anySelected = false;
    for (int i = 0; i < static_cast<int>(in.SatelliteNames.size()); ++i) {
      if (InputInvalid || stopped) break;
      if (!Selected(in, i)) continue;
      anySelected = true;
      in.SatelliteIndex = i;
      merge_.valid = false;
      if (byOrbitTables) {
        // Each satellite's by-orbit table goes below the tables before it.
        AppendMode = false;
        sectionStart_ = out_.Length();
      } else {
        sectionStart_ = 0;
        AppendMode = !out_.Empty() && !ByOrbit;
      }
      if (!Run_Plan(in)) anyFailed = true;
      stopped = stopped_;
    }
    // No satellite selected: one run for the current item, so that the checks
    // report the first missing selection.
    if (!anySelected) {
      AppendMode = false;
      if (!Run_Plan(in)) anyFailed = true;
      stopped = stopped_;
    }
  } else {
    out_.SetWidth(StepRunWidth);
    out_.SetCaption(StepRunCaption());
    AppendMode = false;
    if (!Run_Plan(in)) anyFailed = true;
    stopped = stopped_;
  }
  result.EndedByMessage = anyFailed;
  result.Stopped = stopped;
  result.SatelliteIndex = in.SatelliteIndex;
  return result;
}

// ---- one run ----

bool Planner::Run_Plan(const PlanInputs& in) {
  const PlanInputs* saved = inputs_;
  inputs_ = &in;
  struct Restore {
    const PlanInputs*& p;
    const PlanInputs* v;
    ~Restore() { p = v; }
  } restore{inputs_, saved};

  stopped_ = false;
  ResetPassFinder();
  StopRequested = false;
  PendingText.clear();
  if (!AppendMode) ClearOutput();
  out_.SetBackground(RunningBackground);

  // The four radio buttons; none checked keeps the previous run's mode.
  if (in.AboveEarthHorizon || in.AboveRadioHorizon || in.VisibleOnly || in.AllValues) {
    AllValuesMode = false;
    VisibleOnlyMode = false;
    RadioHorizon = false;
    if (in.AboveEarthHorizon) {
    } else if (in.AboveRadioHorizon) {
      RadioHorizon = true;
    } else if (in.VisibleOnly) {
      VisibleOnlyMode = true;
    } else {
      AllValuesMode = true;
    }
  }

  CheckObserver(in);
  CheckTimeZone(in);
  CheckSatellite(in);
  CheckInterval(in);
  if (InputInvalid) return false;

  // Start date and time: fixed character positions; "yyyy,mm,dd" and
  // "yyyy-mm-dd" read alike.
  bool dateOk = true;
  auto readDay = [&](const std::string& text) -> float {
    // Year and month are checked before the day is read: a date typed with
    // commas, which the key filter drops ("20020814"), reads as month 81 and
    // gets the date message rather than a conversion error for its missing day.
    float year = static_cast<float>(navlib::StrToInt(Chars(text, 1, 4)));
    float month = static_cast<float>(navlib::StrToInt(Chars(text, 6, 2)));
    if (year < 1950 || year > 2050 || month < 1 || month > 12) {
      dateOk = false;
      return 0;
    }
    float day = static_cast<float>(navlib::StrToInt(Chars(text, 9, 2)));
    if (day < 1 || day > 31) {
      dateOk = false;
      return 0;
    }
    return static_cast<float>(navlib::DayNumber(static_cast<int>(year), static_cast<int>(month), static_cast<int>(day)));
  };
  auto readClock = [&](const std::string& text) -> double {
    int hours = navlib::StrToInt(Chars(text, 1, 2));
    int minutes = navlib::StrToInt(Chars(text, 4, 2));
    return hours * (1.0 / 24) + minutes * (1.0 / 1440);
  };
  StartDay = readDay(in.StartDate);
  if (!dateOk) {
    host_.messageOkCancel(ImproperDateText);
    return false;
  }
  const double localStart = static_cast<double>(StartDay) + readClock(in.StartTime);
  StopDay = readDay(in.FinishDate);
  if (!dateOk) {
    host_.messageOkCancel(ImproperDateText);
    return false;
  }
  const double localFinish = static_cast<double>(StopDay) + readClock(in.FinishTime);

  RiseSetMode = in.IntervalIndex == RiseSetByDateItem || in.IntervalIndex == RiseSetByOrbitItem;
  const int minutes = RiseSetMode ? 1 : IntervalMinutes;

  // A keps file that cannot be read ends this satellite's run after the
  // reader's message: the element set held from before belongs to another
  // satellite.
  if (!navlib::SetupElements(nav_)) return false;
  PrepareRun();
  LastHeaderDay = static_cast<int>(StartDay);

  const double utcStart = localStart - ZoneHours * (1.0 / 24);
  const double utcFinish = localFinish - ZoneHours * (1.0 / 24);
  StepDays = static_cast<float>(minutes * (1.0 / 1440));
  CurrentTime = utcStart;

  bool stoppedHere = false;
  while (CurrentTime <= utcFinish) {
    host_.processEvents();
    Evaluate();
    if (RiseSetMode) {
      PassFinderStep();
    } else {
      const float thr = HorizonThreshold();
      const bool print = ((nav_.Elevation > thr || AllValuesMode) && !VisibleOnlyMode) ||
                         (VisibleOnlyMode && nav_.Elevation > thr && nav_.IllumText == "vis");
      if (print) {
        ComputeLocalTime();
        PrintStepRow();
      }
    }
    if (StopRequested) {
      stoppedHere = true;
      break;
    }
    PassFinderEndOfStep();
    CurrentTime = CurrentTime + StepDays;
  }
  if (!stoppedHere) FlushPendingPass();
  stopped_ = stoppedHere;

  if (!AppendMode) out_.AppendText(PendingText + (RiseSetMode ? RiseSetEndLine() : StepEndLine()));
  PendingText.clear();
  out_.SetBackground(FinishedBackground);
  return true;
}

std::string Planner::StepEndLine() const { return "\r\n" + std::string(35, ' ') + "******END******"; }
std::string Planner::RiseSetEndLine() const { return "\r\n" + std::string(41, ' ') + "******END******"; }

// ---- checks ----

void Planner::CheckObserver(const PlanInputs& in) {
  if (InputInvalid) return;
  if (in.ObserverIndex < 0 || in.ObserverIndex >= static_cast<int>(in.ObserverLines.size())) {
    host_.messageOkCancel(SelectObserverText);
    InputInvalid = true;
    return;
  }
  const std::string& line = in.ObserverLines[static_cast<std::size_t>(in.ObserverIndex)];
  std::vector<std::string> fields;
  std::size_t p = 0;
  while (true) {
    std::size_t c = line.find(',', p);
    fields.push_back(line.substr(p, c == std::string::npos ? std::string::npos : c - p));
    if (c == std::string::npos) break;
    p = c + 1;
  }
  while (fields.size() < 4) fields.emplace_back();
  const std::string name = navlib::TrimBlanks(fields[0]);
  const float lat = static_cast<float>(navlib::StrToFloat(navlib::TrimBlanks(fields[1])));
  const float lon = static_cast<float>(navlib::StrToFloat(navlib::TrimBlanks(fields[2])));
  const float height = static_cast<float>(navlib::StrToFloat(navlib::TrimBlanks(fields[3])));
  ObserverName = name;
  navlib::SetObserver(nav_, lat, lon, height);
}

void Planner::CheckTimeZone(const PlanInputs& in) {
  if (InputInvalid) return;
  const auto& items = TimeZoneItems();
  if (in.ZoneIndex < 0 || in.ZoneIndex >= static_cast<int>(items.size())) {
    host_.messageOkCancel(SelectTimeZoneText);
    InputInvalid = true;
    return;
  }
  nav_.ZoneText = items[static_cast<std::size_t>(in.ZoneIndex)];
  for (const Zone& z : Zones) {
    if (nav_.ZoneText == z.label) ZoneHours = z.hours;
  }
}

void Planner::CheckSatellite(const PlanInputs& in) {
  if (InputInvalid) return;
  if (!Selected(in, in.SatelliteIndex)) {
    host_.messageOkCancel(SelectSatelliteText);
    InputInvalid = true;
    return;
  }
  nav_.SatName = in.SatelliteNames[static_cast<std::size_t>(in.SatelliteIndex)];
  SatLabel = nav_.SatName;
  while (SatLabel.size() < 5) SatLabel += ' ';
  SatIndex = in.SatelliteIndex;
}

void Planner::CheckInterval(const PlanInputs& in) {
  if (InputInvalid) return;
  const auto& items = IntervalItems();
  if (in.IntervalIndex < 0 || in.IntervalIndex >= static_cast<int>(items.size())) {
    host_.messageOkCancel(SelectTimeIntervalText);
    InputInvalid = true;
    return;
  }
  if (in.IntervalIndex == RiseSetByDateItem || in.IntervalIndex == RiseSetByOrbitItem) IntervalMinutes = 0;
  else IntervalMinutes = navlib::StrToInt(items[static_cast<std::size_t>(in.IntervalIndex)]);
}

// ---- helpers of the time loop ----

void Planner::PrepareRun() {
  LastHeaderOrbit = 0;
  if (!AppendMode) ClearOutput();
  if (nav_.HasAttitude) {
    nav_.AttDir = nav_.Elements.Attitude;
  } else {
    // Default attitude ALON 180 deg, ALAT 0 deg at 0 h of the start day. No
    // printed value depends on it: the attitude columns print dashes.
    nav_.DayNum = StartDay;
    nav_.DayFrac = 0;
    navlib::SatState(nav_);
    nav_.AttDir = navlib::PlaneToCelestial(nav_, navlib::LatLonToVector(0, navlib::Rad(180)));
  }
}

void Planner::SplitTime() {
  const double whole = std::floor(CurrentTime);
  nav_.DayNum = static_cast<float>(whole);
  nav_.DayFrac = static_cast<float>(CurrentTime - nav_.DayNum);
}

void Planner::EvaluateState() {
  navlib::SatState(nav_);
  navlib::SunPosition(nav_);
  // The Sun's angle to the attitude and the Sun and attitude in the orbit
  // frame feed only the step table's header; a rise/set run, with its many
  // refinement samples, leaves them out.
  if (!RiseSetMode) {
    navlib::SunAngle(nav_);
    navlib::CelestialToOrbitLatLon(nav_, nav_.SunDec, nav_.SunRa, SunLatOrbit, SunLonOrbit);
    navlib::VectorToLatLon(navlib::CelestialToPlane(nav_, nav_.AttDir), AttitudeLat, AttitudeLon);
  }
  navlib::Illumination(nav_);
  navlib::ObserverView(nav_);
}

void Planner::Evaluate() {
  SplitTime();
  EvaluateState();
}

void Planner::ComputeLocalTime() {
  LocalTime = CurrentTime + ZoneHours * (1.0 / 24);
  LocalDay = static_cast<int>(std::floor(LocalTime));
  LocalFrac = static_cast<float>(LocalTime - LocalDay);
}

float Planner::HorizonThreshold() const {
  if (!RadioHorizon) return 0;
  const float a = navlib::Deg(nav_.Azimuth);
  int index = navlib::TruncToInt((a + 2.5) * 0.2);  // a NaN azimuth gives sector 0
  // Azimuths from 357.5 up to 360 deg belong to the 0 deg sector; anything
  // outside the table (an azimuth not yet reduced) too.
  if (index >= HorizonSectors || index < 0) index = 0;
  return navlib::Rad(static_cast<float>(HorizonMask[static_cast<std::size_t>(index)]));
}

}  // namespace quenta
