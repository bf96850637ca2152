// The plan run: what the Calculate command of the planner's main window does,
// from the press of the button to the end line in the output, for step tables
// and rise/set tables. The window and quenta-cli both fill a PlanInputs with
// what the main window's controls hold and call Planner::Calculate.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "navlib/navlib.h"
#include "platform/outputbuffer.h"
#include "quenta/core/planner_lists.h"

namespace platform { class UiHost; }

namespace quenta {

// ---- Texts and values of the main window that the run depends on ----

// Items of the time-zone list (ListBox3) and their offsets from UTC in hours.
const std::vector<std::string>& TimeZoneItems();     // "UTC", "AST", ... "PDT"
// Items of the interval list (ListBox4): "R/S-T", "R/S-O", "20", "15", "10", "5", "2", "1".
const std::vector<std::string>& IntervalItems();
constexpr int RiseSetByDateItem = 0;   // "R/S-T"
constexpr int RiseSetByOrbitItem = 1;  // "R/S-O"

// Messages of the run, exactly as shown.
extern const char* const SelectObserverText;      // "Select Observer!"
extern const char* const SelectTimeZoneText;      // "Select Time Zone!"
extern const char* const SelectSatelliteText;     // "Select Satellite!"
extern const char* const SelectTimeIntervalText;  // "Select Time Interval!"
extern const char* const ImproperDateText;        // "Improper Start/Stop Date!"

// Output window: widths and captions a run sets, and the background colours.
constexpr int StepRunWidth = 685;
constexpr int RiseSetRunWidth = 855;
std::string StepRunCaption();      // " Output", 54 blanks, "Quenta / VELM"
std::string RiseSetRunCaption();   // " Output", 67 blanks, "Quenta / VELM"
std::string DesignCaption();       // " Output", 54 blanks, "Quenta / VELM", 2 blanks
constexpr platform::Rgb RunningBackground{255, 255, 255};   // white while a run computes
constexpr platform::Rgb FinishedBackground{255, 255, 192};  // pale yellow ($C0FFFF) after it

// ---- What the main window's controls hold ----
struct PlanInputs {
  // ListBox1: observer lines and the selected index (-1: none).
  std::vector<std::string> ObserverLines;
  int ObserverIndex = -1;
  // ListBox2 (multiple selection): names, which are selected, and the current
  // item (ItemIndex, -1: none). SatelliteSelected may be shorter than the
  // names: missing entries are not selected.
  std::vector<std::string> SatelliteNames;
  std::vector<bool> SatelliteSelected;
  int SatelliteIndex = -1;
  // ListBox3 and ListBox4: selected index (-1: none); the items are fixed.
  int ZoneIndex = -1;
  int IntervalIndex = -1;
  // Edit2 .. Edit6, as typed.
  std::string StartDate;   // "Start Date (yyyy,mm,dd)", e.g. "2018-01-15"
  std::string StartTime;   // "Start Time (hh:mm)"
  std::string FinishDate;  // "Finish Date"
  std::string FinishTime;  // "Finish Time"
  std::string MaxSquint;   // "Max. Squint (deg)"
  // RadioButton1 .. RadioButton4: "Above Earth Horizon", "Above Radio
  // Horizon", "Visible", "All Values". None checked: the previous run's mode.
  bool AboveEarthHorizon = false;
  bool AboveRadioHorizon = false;
  bool VisibleOnly = false;
  bool AllValues = false;
};

// What one Calculate did.
struct CalculateResult {
  bool Refused = false;         // a run was already in progress: nothing was done
  bool EndedByMessage = false;  // some satellite's run was ended by a message box
  bool Stopped = false;         // the operator pressed Stop
  int SatelliteIndex = -1;      // the satellite list's current item afterwards
};

// The planner's run state and operations: the module-level variables and
// routines of the planner's main unit. One Planner per program, bound to the
// program's one NavState, its output buffer and its window host.
class Planner {
 public:
  Planner(navlib::NavState& nav, platform::OutputBuffer& output, platform::UiHost& host);
  Planner(const Planner&) = delete;
  Planner& operator=(const Planner&) = delete;

  // The mode texts and horizon mask read at start-up (the satellite and
  // observer lists travel in PlanInputs).
  void SetLists(const PlannerLists& lists);

  // The Calculate command (Button1MouseDown). A text that must be a number and
  // is not one (squint, date, time, observer numbers, interval) ends the
  // command with navlib::ConvertError: the caller shows what() as a message.
  // A Calculate while a run is in progress is refused.
  CalculateResult Calculate(const PlanInputs& inputs);
  // The Stop command (Button2Click): the running loop ends after its current
  // step, and no further satellite of the command is run.
  void Stop() { StopRequested = true; }
  bool Busy() const { return busy_; }

  // ---- Run state (module-level variables) ----
  float MaxSquint = 0;       // deg
  float ZoneHours = 0;       // hours from UTC, negative west
  int SatIndex = 0;
  std::string SatLabel;      // satellite name right-padded to at least 5
  std::string ObserverName;  // trimmed
  float StartDay = 0, StopDay = 0;
  float StepDays = 0;        // days
  double CurrentTime = 0;    // days, UTC
  double LocalTime = 0;      // days
  int LocalDay = 0;
  float LocalFrac = 0;
  int IntervalMinutes = 0;   // 0 for the rise/set items

  bool AllValuesMode = false;
  bool VisibleOnlyMode = false;
  bool RadioHorizon = false;
  bool RiseSetMode = false;
  bool AppendMode = false;
  bool ByOrbit = false;
  bool StopRequested = false;
  bool InputInvalid = false;

  std::string PendingText;
  float LastHeaderOrbit = 0;
  int LastHeaderDay = 0;

  float AttitudeLon = 0, AttitudeLat = 0;   // rad, attitude in the orbit-plane frame
  float SunLonOrbit = 0, SunLatOrbit = 0;   // rad, Sun in the orbit-plane frame

  ModeTextTable ModeTexts;
  HorizonMaskTable HorizonMask{};

  // The pass record.
  std::string AosTimeText, LosTimeText;
  double AosDay = 0, LosDay = 0;
  int AosMa = 0, LosMa = 0;
  int AosOrbit = 0, LosOrbit = 0;
  float AosRangeRate = 0;
  std::string MaxElText;

  // The pass finder's state.
  struct PassFinderState {
    float maxEl = 0;
    std::optional<double> maxTime;
    bool up = false, aosFound = false, losFound = false, maxDone = false, armed = true;
  } Finder;

  // ---- Operations ----
  // One run for the current satellite item (Run_Plan); false when a check or
  // a message ended it.
  bool Run_Plan(const PlanInputs& inputs);
  void CheckObserver(const PlanInputs& inputs);
  void CheckTimeZone(const PlanInputs& inputs);
  void CheckSatellite(const PlanInputs& inputs);
  void CheckInterval(const PlanInputs& inputs);
  void PrepareRun();
  void SplitTime();
  void EvaluateState();
  void ComputeLocalTime();
  float HorizonThreshold() const;  // rad
  void PrintStepRow();
  void BuildStepHeader(int utcDay, int localDay);
  void SetModeText();
  std::string StepEndLine() const;     // "\r\n", 35 blanks, "******END******"
  std::string RiseSetEndLine() const;  // "\r\n", 41 blanks, "******END******"

  void ResetPassFinder();
  void PassFinderStep();
  void PassFinderEndOfStep();
  void FlushPendingPass();
  void PrintRiseSetRow();
  // 0-based position in the output text in front of which a row with this AOS
  // date ("2018 Jan 15 [Mon]") and time ("hh:mm:ss") belongs: in front of the
  // first row of the table whose AOS is later, else in front of the end line.
  // Rows are read from the row itself, so wide rows (long names) keep their
  // place and lines that hold no AOS (typed by the operator) are passed over.
  std::size_t FindInsertPosition(const std::string& aosDate, const std::string& aosTime);

  navlib::NavState& Nav() { return nav_; }
  platform::OutputBuffer& Output() { return out_; }

 private:
  void Evaluate();  // SplitTime + EvaluateState
  void SearchMaximum();
  void ClearOutput();
  bool OutputEmpty() const;

  navlib::NavState& nav_;
  platform::OutputBuffer& out_;
  platform::UiHost& host_;
  bool busy_ = false;
  bool stopped_ = false;  // the last Run_Plan's loop was left by Stop
  const PlanInputs* inputs_ = nullptr;  // during Calculate
  std::size_t sectionStart_ = 0;  // where the current table begins in the output
  // Where the last merged row of this satellite went, to resume the walk there.
  struct MergeCursor {
    std::uint64_t generation = 0;
    std::size_t position = 0;
    double key = 0;
    bool valid = false;
  } merge_;
};

}  // namespace quenta
