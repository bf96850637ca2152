#include "quenta/ui/program.h"

#include "platform/uihost.h"

namespace quenta {

QuentaProgram::QuentaProgram(platform::SettingsStore& settings, platform::UiHost& host)
    : planner(nav, output, host) {
  navlib::NavInit(nav);
  nav.Host = &host;
  form1 = std::make_unique<TQuenta1>(nav, planner, output, nullptr, settings, host);
  form2 = std::make_unique<TQuenta2>(output, settings, host);
  form1->SetOutputWindow(form2.get());
}

QuentaProgram::~QuentaProgram() {
  // The output window lets go of the buffer before the buffer goes.
  form2.reset();
  form1.reset();
}

}  // namespace quenta
