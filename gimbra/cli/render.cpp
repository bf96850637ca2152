#include "gimbra/cli/render.h"

#include <cstdio>
#include <filesystem>

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QSvgGenerator>

#include "gimbra/core/fieldtext.h"
#include "gimbra/core/plot.h"
#include "navlib/navlib.h"
#include "navlib/textnum.h"
#include "platform/atomicfile.h"
#include "platform/qt/qtcanvas.h"

namespace gimbra::cli {

void StderrUiHost::showMessage(const std::string& text) {
  ++Messages;
  std::fputs(text.c_str(), stderr);
  std::fputs("\n", stderr);
}

void StderrUiHost::messageOkCancel(const std::string& text) { showMessage(text); }

std::string StderrUiHost::inputBox(const std::string& caption, const std::string& prompt,
                                   const std::string& defaultText) {
  (void)caption;
  (void)prompt;
  return defaultText;  // as Cancel
}

std::vector<CliOption> RenderOptionTable() {
  return {
      {"keps-dir", true, true},  {"satellite", true, true}, {"date", true, true},
      {"alon", true, true},      {"alat", true, true},      {"zoom", true, false},
      {"map", true, false},      {"sat", true, false},      {"u-gamma", true, false},
      {"l-gamma", true, false},  {"esl-fudge", true, false}, {"esu-fudge", true, false},
      {"sun-fudge", true, false}, {"data-file", true, false}, {"items", true, false},
      {"mirror", false, false},  {"out", true, true},
  };
}

std::string RenderUsage() {
  return "usage: gimbra-cli render --keps-dir DIR --satellite NAME --date YYYY-MM-DD --alon DEG --alat DEG\n"
         "                         [--zoom 1] [--map 600] [--sat 100] [--u-gamma 95] [--l-gamma 85]\n"
         "                         [--esl-fudge 0] [--esu-fudge 0] [--sun-fudge 0]\n"
         "                         [--data-file NAME] [--items LIST] [--mirror] --out FILE.png|FILE.svg\n"
         "  --zoom: 0.5 0.8 1 1.2 1.5 2 2.5 3 6 12\n"
         "  --items: comma list of mag-poles, celestial-equator, ecliptic, sun-sensor, earth-ma,\n"
         "           squint, camera-earth, camera-moon, earth-arcs (default: none)\n";
}

namespace {

bool EndsWithNoCase(const std::string& s, const char* suffix) {
  const std::string suf(suffix);
  if (s.size() < suf.size()) return false;
  for (std::size_t i = 0; i < suf.size(); ++i) {
    char c = s[s.size() - suf.size() + i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != suf[i]) return false;
  }
  return true;
}

bool SetGraphItems(const std::string& list, GraphItems& items, std::string* error) {
  struct Name {
    const char* Text;
    bool GraphItems::*Box;
  };
  static constexpr Name names[] = {
      {"mag-poles", &GraphItems::MagPoles},       {"celestial-equator", &GraphItems::CelestialEquator},
      {"ecliptic", &GraphItems::EclipticSun},     {"sun-sensor", &GraphItems::SunSensor},
      {"earth-ma", &GraphItems::EarthMa},         {"squint", &GraphItems::SquintData},
      {"camera-earth", &GraphItems::CameraEarth}, {"camera-moon", &GraphItems::CameraMoon},
      {"earth-arcs", &GraphItems::EarthArcs},
  };
  items = GraphItems();
  std::size_t pos = 0;
  while (pos <= list.size()) {
    std::size_t comma = list.find(',', pos);
    if (comma == std::string::npos) comma = list.size();
    std::string word = list.substr(pos, comma - pos);
    while (!word.empty() && word.front() == ' ') word.erase(0, 1);
    while (!word.empty() && word.back() == ' ') word.pop_back();
    if (!word.empty()) {
      bool known = false;
      for (const Name& n : names) {
        if (word == n.Text) {
          items.*n.Box = true;
          known = true;
        }
      }
      if (!known) {
        if (error) *error = "unknown graph item '" + word + "'";
        return false;
      }
    }
    pos = comma + 1;
  }
  return true;
}

}  // namespace

bool IsImageFileName(const std::string& path) {
  return EndsWithNoCase(path, ".png") || EndsWithNoCase(path, ".svg");
}

CliPlotter OpenCliPlotter(const std::string& kepsDir, bool mirror, platform::UiHost& host) {
  static navlib::NavState nav;  // one per program, as the windows have it
  static PlotState plot;
  static AttitudeData data;
  navlib::NavInit(nav);
  nav.KepsDir = KepsDirWithSeparator(kepsDir);
  nav.Host = &host;
  plot.ScreenScale = 1;
  plot.MirrorSign = mirror ? -1 : 1;
  return {nav, plot, data};
}

std::string KepsDirWithSeparator(const std::string& dir) {
  return (std::filesystem::path(dir) / "").string();
}

bool BuildRenderRequest(const ParsedArgs& args, RenderRequest& request, std::string* usageError) {
  request = RenderRequest();
  PlotInputs& in = request.Inputs;
  request.KepsDir = args.Get("keps-dir");
  in.SatelliteList = {args.Get("satellite")};
  in.SatelliteIndex = 0;

  const std::string zoom = args.Get("zoom", "1");
  in.ZoomIndex = -1;
  for (std::size_t i = 0; i < in.ZoomList.size(); ++i) {
    if (in.ZoomList[i] == zoom) in.ZoomIndex = static_cast<int>(i);
  }
  if (in.ZoomIndex < 0) {
    if (usageError) *usageError = "--zoom must be one of the zoom list's entries, not '" + zoom + "'";
    return false;
  }
  if (!SetGraphItems(args.Get("items"), in.Items, usageError)) return false;
  request.OutPath = args.Get("out");
  if (!IsImageFileName(request.OutPath)) {
    if (usageError) *usageError = "--out must name a .png or .svg file";
    return false;
  }
  request.Mirror = args.Has("mirror");

  in.CalcDateText = args.Get("date");
  in.DataFileName = args.Get("data-file", in.SatelliteList[0] + ".ang");
  in.UpperGammaText = args.Get("u-gamma", "95");
  in.LowerGammaText = args.Get("l-gamma", "85");
  in.EslFudgeText = args.Get("esl-fudge", "0");
  in.EsuFudgeText = args.Get("esu-fudge", "0");
  in.SunFudgeText = args.Get("sun-fudge", "0");
  // The validators the window runs when a field is left.
  in.MapSegmentsText = ClampSegmentsText(args.Get("map", "600"));
  in.SatSegmentsText = ClampSegmentsText(args.Get("sat", "100"));
  in.AlonText = WrapAlonText(args.Get("alon"));
  in.AlatText = FoldAlatText(args.Get("alat"));
  return true;
}

bool PaintToFile(const std::string& path, int width, int height,
                 const std::function<bool(platform::Canvas&)>& paint, std::string* error) {
  QByteArray bytes;
  if (EndsWithNoCase(path, ".png")) {
    QImage image = platform::NewPlotImage(width, height);
    {
      platform::QtCanvas canvas(&image, width, height);
      if (!paint(canvas)) return true;
      canvas.finish();
    }
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) {
      if (error) *error = "The PNG image could not be encoded.";
      return false;
    }
  } else if (EndsWithNoCase(path, ".svg")) {
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(QSize(width, height));
    svg.setViewBox(QRect(0, 0, width, height));
    svg.setResolution(96);
    svg.setTitle(QStringLiteral("Gimbra plot"));
    {
      platform::QtCanvas canvas(&svg, width, height);
      if (!paint(canvas)) return true;
      canvas.finish();
    }
  } else {
    if (error) *error = "The output file must end in .png or .svg.";
    return false;
  }
  std::string why;
  if (!platform::WriteFileAtomically(path, bytes.toStdString(), &why)) {
    if (error) *error = "Cannot write " + path + ": " + why;
    return false;
  }
  return true;
}

int RunRender(const std::vector<std::string>& args) {
  ParsedArgs parsed;
  std::string why;
  if (!ParseOptions(args, RenderOptionTable(), parsed, &why)) {
    std::fprintf(stderr, "gimbra-cli render: %s\n%s", why.c_str(), RenderUsage().c_str());
    return ExitUsage;
  }
  StderrUiHost host;
  RenderRequest request;
  try {
    if (!BuildRenderRequest(parsed, request, &why)) {
      std::fprintf(stderr, "gimbra-cli render: %s\n%s", why.c_str(), RenderUsage().c_str());
      return ExitUsage;
    }
  } catch (const navlib::ConvertError& e) {
    host.showMessage(e.what());
    return ExitMessage;
  }

  CliPlotter plotter = OpenCliPlotter(request.KepsDir, request.Mirror, host);
  navlib::NavState& nav = plotter.Nav;
  PlotState& plot = plotter.Plot;
  AttitudeData& data = plotter.Data;

  int status = ExitOk;
  std::string writeError;
  const bool written = PaintToFile(
      request.OutPath, 800, 600,
      [&](platform::Canvas& canvas) {
        PlotContext ctx{nav, plot, data, canvas, host, request.Inputs, {}, {}};
        try {
          const DrawResult result = DrawPlot(ctx);
          if (result != DrawResult::Drawn) status = ExitMessage;
        } catch (const navlib::ConvertError& e) {
          host.showMessage(e.what());
          status = ExitMessage;
        }
        return status == ExitOk;  // a Draw a message ended writes no file
      },
      &writeError);
  if (!written) {
    std::fprintf(stderr, "%s\n", writeError.c_str());
    return ExitFailed;
  }
  return status;
}

}  // namespace gimbra::cli
