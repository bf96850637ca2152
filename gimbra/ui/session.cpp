#include "gimbra/ui/session.h"

#include "gimbra/ui/gimbra_1.h"
#include "gimbra/ui/gimbra_2.h"
#include "navlib/textnum.h"

namespace gimbra::ui {

void StoppableHost::processEvents() {
  if (BeforeEvents) BeforeEvents();
  inner_.processEvents();
  if (StopRequested) throw DrawStopped{};
}

GimbraSession::GimbraSession(platform::SettingsStore& store, platform::UiHost& host)
    : Store(store), Host(host) {
  navlib::NavInit(Nav);
  Nav.Host = &Host;
}

PlotContext GimbraSession::Context(const PlotInputs& inputs) {
  PlotContext ctx{Nav, Plot, Data, PlotWindow->Canvas(), Host, inputs, {}, {}};
  ctx.ShowPlotWindow = [this] { PlotWindow->ShowForDraw(); };
  ctx.FillWorldMap = [this] { FillWorldMap(Map); };
  return ctx;
}

DrawResult GimbraSession::Draw(bool setInProgress) {
  if (Busy()) return DrawResult::Refused;
  const PlotInputs inputs = Main->ReadControls();
  PlotContext ctx = Context(inputs);
  DrawResult result = DrawResult::Drawn;
  if (setInProgress) Plot.DrawInProgress = true;
  try {
    result = DrawPlot(ctx);
  } catch (const DrawStopped&) {
    // Exit or closing asked for: the Draw ends here, the action follows.
  } catch (const navlib::ConvertError& e) {
    Host.showMessage(e.what());
  }
  if (setInProgress) Plot.DrawInProgress = false;
  Host.StopRequested = false;
  PlotWindow->Repaint();
  if (pending_) {
    auto action = std::move(pending_);
    pending_ = nullptr;
    action();
  }
  return result;
}

void GimbraSession::AfterStoppingDraw(std::function<void()> action) {
  if (!Busy()) {
    action();
    return;
  }
  pending_ = std::move(action);
  Host.StopRequested = true;
}

}  // namespace gimbra::ui
