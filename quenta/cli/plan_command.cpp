#include "quenta/cli/plan_command.h"

#include <algorithm>

#include "navlib/navlib.h"
#include "navlib/textnum.h"
#include "platform/outputbuffer.h"
#include "platform/uihost.h"

namespace quenta {
namespace {

// Message boxes go to stderr, one per line; the CLI never pauses.
class StderrHost : public platform::UiHost {
 public:
  explicit StderrHost(std::ostream& err) : err_(err) {}
  void showMessage(const std::string& text) override { err_ << text << '\n'; }
  void messageOkCancel(const std::string& text) override { err_ << text << '\n'; }
  std::string inputBox(const std::string&, const std::string&, const std::string& defaultText) override {
    return defaultText;
  }
  void processEvents() override {}

 private:
  std::ostream& err_;
};

std::string Trim(const std::string& t) {
  std::size_t b = t.find_first_not_of(" \t\r\n");
  if (b == std::string::npos) return std::string();
  std::size_t e = t.find_last_not_of(" \t\r\n");
  return t.substr(b, e - b + 1);
}

int IndexOf(const std::vector<std::string>& items, const std::string& value) {
  auto it = std::find(items.begin(), items.end(), value);
  return it == items.end() ? -1 : static_cast<int>(it - items.begin());
}

}  // namespace

std::string PlanUsage() {
  return "usage: quenta-cli plan --keps-dir DIR --observer NAME --satellite NAME [--satellite NAME ...]\n"
         "                       --zone LABEL --interval ITEM --start YYYY-MM-DD [--start-time hh:mm]\n"
         "                       --finish YYYY-MM-DD [--finish-time hh:mm]\n"
         "                       [--horizon earth|radio|visible|all] [--max-squint N]\n"
         "  --zone: UTC AST ADT EST EDT CST CDT MST MDT PST PDT\n"
         "  --interval: R/S-T R/S-O 20 15 10 5 2 1\n";
}

bool ParsePlanArguments(const std::vector<std::string>& args, PlanArguments* parsed, std::string* error) {
  PlanArguments a;
  bool seen[7] = {};  // keps-dir observer satellite zone interval start finish
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string option = args[i];
    std::string value;
    bool hasValue = false;
    std::size_t eq = option.find('=');
    if (option.rfind("--", 0) == 0 && eq != std::string::npos) {
      value = option.substr(eq + 1);
      option = option.substr(0, eq);
      hasValue = true;
    }
    static const char* const known[] = {"--keps-dir", "--observer", "--satellite", "--zone",
                                        "--interval", "--start",    "--finish",    "--start-time",
                                        "--finish-time", "--horizon", "--max-squint"};
    if (std::find_if(std::begin(known), std::end(known), [&](const char* k) { return option == k; }) ==
        std::end(known)) {
      *error = "unknown option '" + args[i] + "'";
      return false;
    }
    if (!hasValue) {
      if (i + 1 >= args.size()) {
        *error = "option " + option + " needs a value";
        return false;
      }
      value = args[++i];
    }
    if (option == "--keps-dir") a.KepsDir = value, seen[0] = true;
    else if (option == "--observer") a.Observer = value, seen[1] = true;
    else if (option == "--satellite") a.Satellites.push_back(value), seen[2] = true;
    else if (option == "--zone") a.Zone = value, seen[3] = true;
    else if (option == "--interval") a.Interval = value, seen[4] = true;
    else if (option == "--start") a.Start = value, seen[5] = true;
    else if (option == "--finish") a.Finish = value, seen[6] = true;
    else if (option == "--start-time") a.StartTime = value;
    else if (option == "--finish-time") a.FinishTime = value;
    else if (option == "--horizon") a.Horizon = value;
    else if (option == "--max-squint") a.MaxSquint = value;
  }
  static const char* const required[] = {"--keps-dir", "--observer", "--satellite", "--zone",
                                         "--interval", "--start", "--finish"};
  for (int k = 0; k < 7; ++k) {
    if (!seen[k]) {
      *error = std::string("missing ") + required[k];
      return false;
    }
  }
  if (IndexOf(TimeZoneItems(), a.Zone) < 0) {
    *error = "unknown zone '" + a.Zone + "'";
    return false;
  }
  if (IndexOf(IntervalItems(), a.Interval) < 0) {
    *error = "unknown interval '" + a.Interval + "'";
    return false;
  }
  if (a.Horizon != "earth" && a.Horizon != "radio" && a.Horizon != "visible" && a.Horizon != "all") {
    *error = "unknown horizon '" + a.Horizon + "'";
    return false;
  }
  *parsed = a;
  return true;
}

bool BuildPlanInputs(const PlanArguments& a, const PlannerLists& lists, PlanInputs* inputs, std::string* error) {
  PlanInputs in;
  in.ObserverLines = lists.Observers;
  in.ObserverIndex = -1;
  for (std::size_t i = 0; i < lists.Observers.size(); ++i) {
    const std::string& line = lists.Observers[i];
    if (Trim(line.substr(0, line.find(','))) == a.Observer) {
      in.ObserverIndex = static_cast<int>(i);
      break;
    }
  }
  in.SatelliteNames = lists.Satellites;
  in.SatelliteSelected.assign(lists.Satellites.size(), false);
  for (const std::string& name : a.Satellites) {
    int i = IndexOf(lists.Satellites, name);
    if (i < 0) {
      *error = "satellite '" + name + "' is not in the satellite list";
      return false;
    }
    in.SatelliteSelected[static_cast<std::size_t>(i)] = true;
    if (in.SatelliteIndex < 0 || i < in.SatelliteIndex) in.SatelliteIndex = i;
  }
  in.ZoneIndex = IndexOf(TimeZoneItems(), a.Zone);
  in.IntervalIndex = IndexOf(IntervalItems(), a.Interval);
  const bool riseSet = in.IntervalIndex == RiseSetByDateItem || in.IntervalIndex == RiseSetByOrbitItem;
  if (!riseSet && std::count(in.SatelliteSelected.begin(), in.SatelliteSelected.end(), true) > 1) {
    *error = "a step table is for one satellite; several satellites need R/S-T or R/S-O";
    return false;
  }
  in.StartDate = a.Start;
  in.StartTime = a.StartTime;
  in.FinishDate = a.Finish;
  in.FinishTime = a.FinishTime;
  in.MaxSquint = a.MaxSquint;
  in.AboveEarthHorizon = a.Horizon == "earth";
  in.AboveRadioHorizon = a.Horizon == "radio";
  in.VisibleOnly = a.Horizon == "visible";
  in.AllValues = a.Horizon == "all";
  *inputs = in;
  return true;
}

int RunPlanCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  PlanArguments parsed;
  std::string error;
  if (!ParsePlanArguments(args, &parsed, &error)) {
    err << "quenta-cli plan: " << error << '\n' << PlanUsage();
    return 64;
  }
  StderrHost host(err);
  const PlannerLists lists = LoadPlannerLists(parsed.KepsDir, host);
  PlanInputs inputs;
  if (!BuildPlanInputs(parsed, lists, &inputs, &error)) {
    err << "quenta-cli plan: " << error << '\n' << PlanUsage();
    return 64;
  }

  navlib::NavState nav;
  navlib::NavInit(nav);
  nav.KepsDir = KepsDirWithSeparator(parsed.KepsDir);
  nav.Host = &host;
  platform::OutputBuffer output;
  Planner planner(nav, output, host);
  planner.SetLists(lists);

  int code = 0;
  try {
    CalculateResult r = planner.Calculate(inputs);
    if (r.EndedByMessage) code = 2;
  } catch (const navlib::ConvertError& e) {
    err << e.what() << '\n';
    code = 2;
  }
  const std::string text = output.Text();
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  out.flush();
  return code;
}

}  // namespace quenta
