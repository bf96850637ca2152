// Quenta, the satellite pass planner: the main window and the output window
// over the planner core.
#include <exception>

#include <QApplication>
#include <QIcon>
#include <QMessageBox>

#include "platform/qt/qtsettingsstore.h"
#include "quenta/ui/pacedhost.h"
#include "quenta/ui/program.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Quenta"));
  QApplication::setOrganizationName(QStringLiteral("VELM Programs"));
  QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("quenta")));
  // The output window is a window of its own; the program ends when the main
  // window closes, whether or not the output window is open.
  QApplication::setQuitOnLastWindowClosed(false);
  try {
    platform::QtSettingsStore settings;
    quenta::PacedUiHost host;
    quenta::QuentaProgram program(settings, host);
    host.setParent(program.form1.get());
    program.form1->onClosed = [] { QApplication::quit(); };
    program.form1->show();
    return QApplication::exec();
  } catch (const std::exception& e) {
    QMessageBox::critical(nullptr, QStringLiteral("Quenta"), QString::fromStdString(e.what()));
    return 1;
  }
}
