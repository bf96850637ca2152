#include "gimbra/cli/extras.h"

#include <cstdio>

#include "gimbra/cli/cliargs.h"
#include "gimbra/cli/render.h"
#include "gimbra/core/esarc.h"
#include "gimbra/core/fieldtext.h"
#include "gimbra/core/plot.h"
#include "gimbra/core/satview.h"
#include "navlib/navlib.h"
#include "navlib/textnum.h"
#include "platform/canvas.h"
#include "platform/atomicfile.h"
#include "quenta/core/planner_lists.h"

namespace gimbra::cli {

namespace {

// Messages to stderr; the one input box of a command is answered with the
// text the command line gave (as a person would type it).
class AnsweringHost : public StderrUiHost {
 public:
  explicit AnsweringHost(std::string answer) : answer_(std::move(answer)) {}
  std::string inputBox(const std::string&, const std::string&, const std::string&) override { return answer_; }

 private:
  std::string answer_;
};

// The observer list as the main window reads it at start-up: keps directory
// + "ObsList.ini", lines split as the planner splits them. A line that does
// not convert is reported and left out; the command goes on.
void LoadObservers(const std::string& kepsDirWithSeparator, ObserverList& observers, platform::UiHost& host) {
  std::string bytes;
  observers = ObserverList{};
  if (!platform::ReadWholeFile(kepsDirWithSeparator + "ObsList.ini", &bytes)) return;
  const std::string error = ParseObserverList(quenta::ParseListFile(bytes), observers);
  if (!error.empty()) host.showMessage(error);
}


}  // namespace

std::string SatviewUsage() {
  return "usage: gimbra-cli satview --keps-dir DIR --satellite NAME --date YYYY-MM-DD --alon DEG --alat DEG\n"
         "                          [--zoom 1] [--map 600] [--sat 100] [--u-gamma 95] [--l-gamma 85]\n"
         "                          [--esl-fudge 0] [--esu-fudge 0] [--sun-fudge 0]\n"
         "                          [--data-file NAME] [--items LIST] --orbit N --ma MA\n"
         "                          [--view-lon DEG --view-lat DEG] [--earth] [--mirror] --out FILE.png|FILE.svg\n"
         "  the satellite-eye view at mean anomaly MA (256ths) of orbit N, looking along\n"
         "  --view-lon/--view-lat in the orbit frame (default ALON + 90 and ALAT);\n"
         "  --earth adds the Earth grid, the world map and the observers (key G)\n";
}

std::string EsarcUsage() {
  return "usage: gimbra-cli esarc --keps-dir DIR --satellite NAME --date YYYY-MM-DD --alon DEG --alat DEG\n"
         "                        [--u-gamma 95] [--l-gamma 85] --orbit N\n"
         "  prints the Earth-sensor arc simulation report of orbit N (CR LF line ends)\n";
}

int RunSatview(const std::vector<std::string>& args) {
  std::vector<CliOption> table = RenderOptionTable();
  table.push_back({"orbit", true, true});
  table.push_back({"ma", true, true});
  table.push_back({"view-lon", true, false});
  table.push_back({"view-lat", true, false});
  table.push_back({"earth", false, false});
  ParsedArgs parsed;
  std::string why;
  if (!ParseOptions(args, table, parsed, &why)) {
    std::fprintf(stderr, "gimbra-cli satview: %s\n%s", why.c_str(), SatviewUsage().c_str());
    return ExitUsage;
  }

  // The answer to the orbit/MA box, "N,MA", as the right click asks it.
  AnsweringHost host(parsed.Get("orbit") + "," + parsed.Get("ma"));
  RenderRequest request;
  int orbit = 0;
  float ma256 = 0;
  const bool lookGiven = parsed.Has("view-lon") || parsed.Has("view-lat");
  try {
    if (!BuildRenderRequest(parsed, request, &why)) {
      std::fprintf(stderr, "gimbra-cli satview: %s\n%s", why.c_str(), SatviewUsage().c_str());
      return ExitUsage;
    }
    orbit = navlib::StrToInt(parsed.Get("orbit"));
    ma256 = static_cast<float>(navlib::StrToFloat(parsed.Get("ma")));
  } catch (const navlib::ConvertError& e) {
    host.showMessage(e.what());
    return ExitMessage;
  }

  CliPlotter plotter = OpenCliPlotter(request.KepsDir, request.Mirror, host);
  navlib::NavState& nav = plotter.Nav;
  PlotState& plot = plotter.Plot;
  AttitudeData& data = plotter.Data;
  static WorldMap map;
  static PlotWindowState window;
  static ObserverList observers;
  LoadObservers(nav.KepsDir, observers, host);

  int status = ExitOk;
  std::string writeError;
  const bool written = PaintToFile(
      request.OutPath, 800, 600,
      [&](platform::Canvas& canvas) {
        PlotContext ctx{nav, plot, data, canvas, host, request.Inputs, {}, [&] { FillWorldMap(map); }};
        SatViewContext view{ctx, window, observers, map};
        try {
          // A Draw first, then the right click into the satellite view.
          if (DrawPlot(ctx) != DrawResult::Drawn) {
            status = ExitMessage;
            return false;
          }
          window.SatelliteViewMode = true;
          BuildCircleTable(plot, plot.SatSegments);
          BeginSatelliteView(view, orbit, ma256);
          // Then, as with the keys: another look direction, the Earth overlay.
          if (lookGiven || parsed.Has("earth")) {
            if (parsed.Has("view-lon")) window.ViewLon = static_cast<float>(navlib::StrToFloat(parsed.Get("view-lon")));
            if (parsed.Has("view-lat")) window.ViewLat = static_cast<float>(navlib::StrToFloat(parsed.Get("view-lat")));
            window.EarthOverlay = parsed.Has("earth");
            DrawSatelliteView(view);
          }
        } catch (const navlib::ConvertError& e) {
          host.showMessage(e.what());
          status = ExitMessage;
        }
        return status == ExitOk;  // a view a message ended writes no file
      },
      &writeError);
  if (!written) {
    std::fprintf(stderr, "%s\n", writeError.c_str());
    return ExitFailed;
  }
  return status;
}

int RunEsarc(const std::vector<std::string>& args) {
  const std::vector<CliOption> table = {
      {"keps-dir", true, true}, {"satellite", true, true}, {"date", true, true}, {"alon", true, true},
      {"alat", true, true},     {"u-gamma", true, false},  {"l-gamma", true, false}, {"orbit", true, true},
  };
  ParsedArgs parsed;
  std::string why;
  if (!ParseOptions(args, table, parsed, &why)) {
    std::fprintf(stderr, "gimbra-cli esarc: %s\n%s", why.c_str(), EsarcUsage().c_str());
    return ExitUsage;
  }
  // The orbit number box is answered with --orbit.
  AnsweringHost host(parsed.Get("orbit"));
  CliPlotter plotter = OpenCliPlotter(parsed.Get("keps-dir"), false, host);
  navlib::NavState& nav = plotter.Nav;
  PlotState& plot = plotter.Plot;
  AttitudeData& data = plotter.Data;
  static PlotWindowState window;

  PlotInputs in;
  in.SatelliteList = {parsed.Get("satellite")};
  in.SatelliteIndex = 0;
  in.CalcDateText = parsed.Get("date");
  in.UpperGammaText = parsed.Get("u-gamma", "95");
  in.LowerGammaText = parsed.Get("l-gamma", "85");
  try {
    // The validators the window runs when a field is left.
    in.AlonText = WrapAlonText(parsed.Get("alon"));
    in.AlatText = FoldAlatText(parsed.Get("alat"));
    platform::NullCanvas canvas;
    PlotContext ctx{nav, plot, data, canvas, host, in, {}, {}};
    const EsArcResult report = EsArcReport(ctx, window);
    if (!report.Made) return ExitMessage;
    std::fwrite(report.Text.data(), 1, report.Text.size(), stdout);
    std::fflush(stdout);
  } catch (const navlib::ConvertError& e) {
    host.showMessage(e.what());
    return ExitMessage;
  }
  return ExitOk;
}

}  // namespace gimbra::cli
