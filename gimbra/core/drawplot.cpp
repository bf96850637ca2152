// One Draw: view, element set, attitude data, frame, grid and the ticked
// layers in a fixed order; later layers lie on top of earlier ones.
#include "gimbra/core/plot.h"
#include "platform/atomicfile.h"

namespace gimbra {

void LoadAttitudeData(PlotContext& ctx) {
  std::string text;
  // A missing or unreadable file gives empty tables and no message.
  if (!platform::ReadWholeFile(ctx.Nav.KepsDir + ctx.Inputs.DataFileName, &text)) text.clear();
  std::string surplus;
  ReadAttitudeText(text, ctx.Plot.EslFudge, ctx.Plot.EsuFudge, ctx.Data, &surplus);
  if (!surplus.empty()) ctx.Host.showMessage(surplus);
}

namespace {

// Marks a Draw as running for its whole length, also when a conversion
// error ends it, and lends the library the Draw's host for the keps message.
class DrawScope {
 public:
  explicit DrawScope(PlotContext& ctx) : ctx_(ctx), hostLoan_(ctx.Nav, ctx.Host) { ctx_.Plot.DrawRunning = true; }
  ~DrawScope() { ctx_.Plot.DrawRunning = false; }
  DrawScope(const DrawScope&) = delete;
  DrawScope& operator=(const DrawScope&) = delete;

 private:
  PlotContext& ctx_;
  navlib::HostLoan hostLoan_;
};

}  // namespace

DrawResult DrawPlot(PlotContext& ctx) {
  // A Draw started from a pause of another (the layers let window events
  // run) would interleave with it on the one library state.
  if (ctx.Plot.DrawRunning) return DrawResult::Refused;
  DrawScope scope(ctx);
  PlotState& p = ctx.Plot;
  const GraphItems& items = ctx.Inputs.Items;

  p.DrawAborted = false;
  SetUpView(ctx);
  if (p.DrawAborted) return DrawResult::NoSatellite;

  // A keps file that cannot be read ends the Draw after its message: the
  // elements held are another satellite's, and the picture stays as it was.
  if (!navlib::SetupElements(ctx.Nav)) return DrawResult::KepsNotRead;

  SetUpView(ctx);  // the centre again, with this satellite's elements
  LoadAttitudeData(ctx);
  DrawFrame(ctx);

  if (ctx.ShowPlotWindow) ctx.ShowPlotWindow();
  ctx.Host.processEvents();
  if (ctx.FillWorldMap) ctx.FillWorldMap();
  ctx.Host.processEvents();
  DrawOrbitGrid(ctx);
  ctx.Host.processEvents();

  struct Layer {
    bool GraphItems::*Ticked;
    void (*Draw)(PlotContext&);
  };
  static constexpr Layer layers[] = {
      {&GraphItems::SunSensor, DrawSunSensorLayer},     {&GraphItems::EarthMa, DrawEarthMaLayer},
      {&GraphItems::SquintData, DrawSquintLayer},       {&GraphItems::CameraEarth, DrawCameraEarthLayer},
      {&GraphItems::CameraMoon, DrawCameraMoonLayer},   {&GraphItems::EarthArcs, DrawEarthArcLayer},
  };
  for (const Layer& layer : layers) {
    if (items.*layer.Ticked) layer.Draw(ctx);
    ctx.Host.processEvents();
  }
  return DrawResult::Drawn;
}

}  // namespace gimbra
