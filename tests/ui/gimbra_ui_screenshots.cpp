// Makes the README's pictures of the plotter's windows: the main window, the
// sky map of the demo satellite M1-63 after a Draw with every graph item
// ticked, and the satellite view with the Earth overlay. Run under Xvfb:
//   xvfb-run -a build/tests/ui/gimbra_ui_screenshots data/demo-keps docs
// The settings live in memory; the real store is not touched.
#include <cstdio>
#include <string>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPixmap>
#include <QTimer>

#include "gimbra/ui/gimbra_1.h"
#include "gimbra/ui/gimbra_2.h"
#include "gimbra/ui/gimbra_3.h"
#include "gimbra/ui/mainsettings.h"
#include "gimbra/ui/session.h"
#include "platform/settingsstore.h"
#include "platform/uihost.h"

namespace {

bool Save(QWidget* w, const std::string& path) {
  QApplication::processEvents();
  const bool ok = w->grab().save(QString::fromStdString(path), "PNG");
  std::fprintf(stderr, "%s %s\n", ok ? "wrote" : "could not write", path.c_str());
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc < 3) {
    std::fputs("usage: gimbra_ui_screenshots KEPS_DIR OUT_DIR [ORBIT,MA]\n", stderr);
    return 64;
  }
  const std::string keps = std::string(argv[1]) + "/";
  const std::string out = std::string(argv[2]) + "/";
  const std::string orbitMa = argc > 3 ? argv[3] : "24247,200";

  platform::MemorySettingsStore store;
  store.write(gimbra::ui::PlannerStartupKey, gimbra::ui::KepsDirectoryValue, keps);
  store.write(gimbra::ui::StartupKey, "Sat.Index", "7");  // M1-63 in the demo list
  store.write(gimbra::ui::StartupKey, "ALON", "210");
  store.write(gimbra::ui::StartupKey, "ALAT", "-5");
  platform::RecordingUiHost host;
  host.inputAnswers = {orbitMa};
  gimbra::ui::GimbraSession session(store, host);
  session.Terminate = [] {};
  gimbra::ui::TGimbra1 main(session);
  gimbra::ui::TGimbra2 plot(session);
  gimbra::ui::TGimbra3 report;
  session.Report = &report;
  main.show();
  main.Edit1->setText("2018-01-22");
  for (QCheckBox* box : main.CheckBox) box->setChecked(true);
  main.Advanced1Click();
  main.Button1Click();
  // The read-out for the pointer near the attitude, as after a move over the plot.
  plot.Image1MouseMove(405, 303);
  bool ok = Save(&main, out + "gimbra-main.png");
  ok = Save(&plot, out + "gimbra-plot.png") && ok;
  plot.FormMouseDown(gimbra::MouseButton::Right, false, false);  // answered from the queue
  plot.FormKeyDown(gimbra::ViewKey::G, false);                   // the Earth overlay
  ok = Save(&plot, out + "gimbra-satview-window.png") && ok;
  for (const std::string& m : host.messages) std::fprintf(stderr, "message: %s\n", m.c_str());
  return ok ? 0 : 1;
}
