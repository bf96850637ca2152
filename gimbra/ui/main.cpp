// Gimbra, the satellite attitude plotter: the main window, the plot window
// and the Earth-sensor arc report window, created in this order.
#include <QApplication>

#include "gimbra/ui/gimbra_1.h"
#include "gimbra/ui/gimbra_2.h"
#include "gimbra/ui/gimbra_3.h"
#include "gimbra/ui/session.h"
#include "platform/qt/qtsettingsstore.h"
#include "platform/qt/qtuihost.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Gimbra");
  // The plot window may stay open; closing the main window ends the program.
  QApplication::setQuitOnLastWindowClosed(false);

  platform::QtSettingsStore store;
  platform::QtUiHost host;
  gimbra::ui::GimbraSession session(store, host);
  session.Terminate = [] { QCoreApplication::exit(0); };

  gimbra::ui::TGimbra1 main(session);
  host.setParent(&main);
  gimbra::ui::TGimbra2 plot(session);
  gimbra::ui::TGimbra3 report;
  session.Report = &report;
  main.show();
  return app.exec();
}
