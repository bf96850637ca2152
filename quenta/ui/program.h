// One planner program: the orbit library's state, the output buffer, the plan
// run, and the two windows created in their order (main window, then output
// window). main() makes one over the real settings store and message boxes;
// the window tests make theirs over a temporary store and a recording host.
#pragma once

#include <memory>

#include "navlib/navlib.h"
#include "platform/outputbuffer.h"
#include "quenta/core/planner.h"
#include "quenta/ui/quenta1.h"
#include "quenta/ui/quenta2.h"

namespace platform {
class SettingsStore;
class UiHost;
}  // namespace platform

namespace quenta {

class QuentaProgram {
 public:
  QuentaProgram(platform::SettingsStore& settings, platform::UiHost& host);
  ~QuentaProgram();
  QuentaProgram(const QuentaProgram&) = delete;
  QuentaProgram& operator=(const QuentaProgram&) = delete;

  navlib::NavState nav;
  platform::OutputBuffer output;
  Planner planner;
  std::unique_ptr<TQuenta1> form1;
  std::unique_ptr<TQuenta2> form2;
};

}  // namespace quenta
