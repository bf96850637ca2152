// The planner window's host: message boxes as QtUiHost shows them, and the
// run's "let pending window events run" paced by the clock.
//
// A run yields once per time step; a rise/set run over months at one-minute
// steps yields a million times, and handing each yield to Qt's event loop
// costs more than the orbit arithmetic of the step. Events are therefore
// handled at the first yield after 10 ms have passed since the last time:
// the windows repaint, and Stop and the operator's edits are served, a
// hundred times a second, which nobody tells apart from every step.
#pragma once

#include <QElapsedTimer>

#include "platform/qt/qtuihost.h"

namespace quenta {

class PacedUiHost : public platform::QtUiHost {
 public:
  static constexpr int IntervalMs = 10;
  void processEvents() override {
    if (!since_.isValid() || since_.elapsed() >= IntervalMs) {
      platform::QtUiHost::processEvents();
      since_.start();
    }
  }

 private:
  QElapsedTimer since_;
};

}  // namespace quenta
