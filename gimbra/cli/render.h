// gimbra-cli render: one Draw of the plotter into a PNG or SVG file, through
// the same core code the plot window runs. The pieces are shared with the
// other subcommands that draw (the option table, the inputs record built
// from it, the painting into a file by extension).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "gimbra/cli/cliargs.h"
#include "gimbra/core/attitudedata.h"
#include "gimbra/core/plotinputs.h"
#include "gimbra/core/plotstate.h"
#include "navlib/navlib.h"
#include "platform/canvas.h"
#include "platform/uihost.h"

namespace gimbra::cli {

// Messages of the core go to stderr, each followed by a line break.
class StderrUiHost : public platform::UiHost {
 public:
  int Messages = 0;
  void showMessage(const std::string& text) override;
  void messageOkCancel(const std::string& text) override;
  std::string inputBox(const std::string& caption, const std::string& prompt,
                       const std::string& defaultText) override;
  void processEvents() override {}
};

// The options every drawing subcommand takes.
std::vector<CliOption> RenderOptionTable();

// What the options ask for: the keps directory, the main window's controls,
// the mirror flag and the output file.
struct RenderRequest {
  std::string KepsDir;   // as given, without a trailing separator
  PlotInputs Inputs;
  bool Mirror = false;
  std::string OutPath;
};

// Fills the request from parsed options. The values pass through the main
// window's field validators (segments clamped, ALON wrapped, ALAT folded),
// which raise navlib::ConvertError for a text that is not a number. False
// with a reason in *usageError for a bad zoom, graph item or output name.
bool BuildRenderRequest(const ParsedArgs& args, RenderRequest& request, std::string* usageError);

// The keps directory followed by the platform's path separator.
std::string KepsDirWithSeparator(const std::string& dir);

// The plotter state a subcommand draws with, owned for the program's life as
// the windows own theirs: the library's one NavState (set up with the keps
// directory and the message host), the PlotState at ScreenScale 1 with the
// mirror as asked, and the measurement tables.
struct CliPlotter {
  navlib::NavState& Nav;
  PlotState& Plot;
  AttitudeData& Data;
};
CliPlotter OpenCliPlotter(const std::string& kepsDir, bool mirror, platform::UiHost& host);

// Paints width x height pixels with `paint` into a new canvas and writes
// the result to path: ".png" a raster image, ".svg" a vector image in image
// pixels. The file is replaced atomically, and only when paint returns true.
// False with a reason in *error when the extension is neither or the file
// cannot be written.
bool PaintToFile(const std::string& path, int width, int height,
                 const std::function<bool(platform::Canvas&)>& paint, std::string* error);

// True when the output name ends in ".png" or ".svg" (any letter case).
bool IsImageFileName(const std::string& path);

// The whole subcommand; args are the words after "render". Returns the exit status.
int RunRender(const std::vector<std::string>& args);

// Usage text of render, one option a line.
std::string RenderUsage();

}  // namespace gimbra::cli
