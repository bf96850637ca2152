// What the plotter's three windows share for the whole run: the orbit
// library's state, the plot state, the measurement tables, the plot window's
// state, the observer list and the world map, the settings store and the
// message host. It also runs every Draw, so that a Draw is started, refused
// and stopped in one place.
#pragma once

#include <functional>

#include "gimbra/core/attitudedata.h"
#include "gimbra/core/plot.h"
#include "gimbra/core/plotinputs.h"
#include "gimbra/core/plotstate.h"
#include "gimbra/core/satview.h"
#include "gimbra/core/worldmap.h"
#include "navlib/navlib.h"
#include "platform/settingsstore.h"
#include "platform/uihost.h"

namespace gimbra::ui {

class TGimbra1;
class TGimbra2;
class TGimbra3;

// Raised out of "let pending window messages run" when the operator has
// asked to leave while a Draw runs; the Draw ends where it stands.
struct DrawStopped {};

// The windows' host: messages and input boxes go to the inner host; letting
// messages run first repaints the plot image, and afterwards stops the Draw
// when a stop was asked for meanwhile.
class StoppableHost : public platform::UiHost {
 public:
  explicit StoppableHost(platform::UiHost& inner) : inner_(inner) {}
  void showMessage(const std::string& text) override { inner_.showMessage(text); }
  void messageOkCancel(const std::string& text) override { inner_.messageOkCancel(text); }
  std::string inputBox(const std::string& caption, const std::string& prompt,
                       const std::string& defaultText) override {
    return inner_.inputBox(caption, prompt, defaultText);
  }
  void processEvents() override;

  std::function<void()> BeforeEvents;  // repaints the plot image
  bool StopRequested = false;

 private:
  platform::UiHost& inner_;
};

class GimbraSession {
 public:
  GimbraSession(platform::SettingsStore& store, platform::UiHost& host);
  GimbraSession(const GimbraSession&) = delete;
  GimbraSession& operator=(const GimbraSession&) = delete;

  navlib::NavState Nav;
  PlotState Plot;
  AttitudeData Data;
  PlotWindowState Window;
  ObserverList Observers;
  WorldMap Map;
  platform::SettingsStore& Store;
  StoppableHost Host;

  TGimbra1* Main = nullptr;
  TGimbra2* PlotWindow = nullptr;
  TGimbra3* Report = nullptr;

  // Ends the program (the application's exit; tests record it instead).
  std::function<void()> Terminate;

  // True while a Draw runs (it lets window events run between its layers).
  bool Busy() const { return Plot.DrawRunning; }

  // One Draw of the main window's fields into the plot window. A Draw asked
  // for while one runs is refused. setInProgress: the pointer read-out is
  // off during it (the Draw button and the F key). A conversion error is
  // shown as a message.
  DrawResult Draw(bool setInProgress);

  // Runs action now, or, while a Draw runs, stops that Draw and runs action
  // as soon as it has ended (Exit and closing the main window).
  void AfterStoppingDraw(std::function<void()> action);

  // The context of a Draw or a satellite view for the given inputs.
  PlotContext Context(const PlotInputs& inputs);

 private:
  std::function<void()> pending_;
};

}  // namespace gimbra::ui
