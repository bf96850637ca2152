// Pictures of the planner's two windows after a rise/set run on the demo
// data, for the README: quenta_ui_screenshots DEMO_KEPS_DIR OUT_DIR writes
// OUT_DIR/quenta-main.png and OUT_DIR/quenta-output.png. Runs on any Qt
// platform (under Xvfb for the committed pictures); the settings go to a
// temporary store, never the real one.
#include <cstdio>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include "platform/qt/qtsettingsstore.h"
#include "platform/uihost.h"
#include "quenta/ui/planner_form.h"
#include "quenta/ui/program.h"

namespace {
class PumpingHost : public platform::RecordingUiHost {
 public:
  void processEvents() override { QCoreApplication::processEvents(); }
};
}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 3) {
    std::fprintf(stderr, "usage: quenta_ui_screenshots DEMO_KEPS_DIR OUT_DIR\n");
    return 64;
  }
  QTemporaryDir dir;
  platform::QtSettingsStore store(dir.filePath(QStringLiteral("VELM.ini")).toStdString());
  store.write(quenta::StartupKey, quenta::KepsDirectoryValue, argv[1]);
  PumpingHost host;
  quenta::QuentaProgram program(store, host);
  quenta::TQuenta1& f1 = *program.form1;
  f1.show();
  QTest::qWait(200);

  f1.ListBox1->setCurrentIndex(0);
  f1.ListBox2->clearSelection();
  for (const char* name : {"ISS", "AO-07", "SO-50", "NO-19"}) {
    auto items = f1.ListBox2->findItems(QString::fromLatin1(name), Qt::MatchExactly);
    if (!items.isEmpty()) items[0]->setSelected(true);
  }
  f1.ListBox2->setCurrentRow(0, QItemSelectionModel::NoUpdate);
  f1.ListBox3->setCurrentIndex(f1.ListBox3->findText(QStringLiteral("UTC")));
  f1.ListBox4->setCurrentIndex(0);
  f1.ListBox4Click();
  f1.Edit2->setText(QStringLiteral("2018-01-15"));
  f1.Edit3->setText(QStringLiteral("00:00"));
  f1.Edit4->setText(QStringLiteral("2018-01-16"));
  f1.Edit5->setText(QStringLiteral("23:59"));
  f1.RadioButton2->setChecked(true);
  f1.Button1MouseDown();
  if (!host.messages.empty()) {
    for (const std::string& m : host.messages) std::fprintf(stderr, "%s\n", m.c_str());
    return 2;
  }
  quenta::TQuenta2& f2 = *program.form2;
  f2.resize(f2.width(), 420);
  f2.RichEdit1->verticalScrollBar()->setValue(0);
  f2.RichEdit1->horizontalScrollBar()->setValue(0);
  QTest::qWait(300);
  const QString out = QString::fromLocal8Bit(argv[2]);
  bool ok = f1.grab().save(out + QStringLiteral("/quenta-main.png"));
  ok = f2.grab().save(out + QStringLiteral("/quenta-output.png")) && ok;
  return ok ? 0 : 1;
}
