// The planner's two windows, driven offscreen through their controls: start-up
// from the settings store, Calculate and Stop, the helpers and the key filter,
// the output window's mirror of the output buffer, the clipboard, Print and
// the settings written at close. Each test has its own temporary INI store.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <functional>
#include <memory>
#include <string>

#include "platform/atomicfile.h"
#include "platform/qt/qtsettingsstore.h"
#include "platform/uihost.h"
#include "quenta/core/planner.h"
#include "quenta/ui/outputmirror.h"
#include "quenta/ui/pacedhost.h"
#include "quenta/ui/planner_form.h"
#include "quenta/ui/program.h"

namespace quenta {
namespace {

// Records messages; lets Qt's pending events run where a run yields, and
// lets a test act at a chosen yield.
class TestHost : public platform::RecordingUiHost {
 public:
  std::function<void(int)> atYield;  // called with the yield's number, from 1
  void processEvents() override {
    RecordingUiHost::processEvents();
    QCoreApplication::processEvents();
    if (atYield) atYield(processEventsCalls);
  }
};

const std::string kDemoDir = QUENTA_DEMO_DIR;

class QuentaWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    iniPath_ = dir_.filePath(QStringLiteral("VELM.ini")).toStdString();
    store_ = std::make_unique<platform::QtSettingsStore>(iniPath_);
  }
  void TearDown() override {
    program_.reset();
    store_.reset();
  }
  // Starts the program over the store as it stands, and shows the main window.
  QuentaProgram& Start() {
    program_ = std::make_unique<QuentaProgram>(*store_, host_);
    program_->form1->show();
    return *program_;
  }
  // Closes the program as the operator does, and opens the store afresh.
  void CloseAndReopenStore() {
    program_->form1->close();
    program_.reset();
    store_ = std::make_unique<platform::QtSettingsStore>(iniPath_);
  }
  void StoreDemoDir() { store_->write(StartupKey, KepsDirectoryValue, kDemoDir); }

  TQuenta1& F1() { return *program_->form1; }
  TQuenta2& F2() { return *program_->form2; }

  // Sets the controls a run reads. Satellites by name; the first is current.
  void SetRun(int observer, std::vector<std::string> satellites, const char* zone, const char* interval,
              const char* startDate, const char* startTime, const char* finishDate, const char* finishTime,
              QRadioButton* mode, const char* squint = "180") {
    F1().ListBox1->setCurrentIndex(observer);
    F1().ListBox2->clearSelection();
    bool first = true;
    for (const std::string& name : satellites) {
      auto found = F1().ListBox2->findItems(QString::fromStdString(name), Qt::MatchExactly);
      ASSERT_EQ(found.size(), 1) << name;
      const int row = F1().ListBox2->row(found[0]);
      if (first) F1().ListBox2->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
      found[0]->setSelected(true);
      first = false;
    }
    F1().ListBox3->setCurrentIndex(F1().ListBox3->findText(QString::fromLatin1(zone)));
    F1().ListBox4->setCurrentIndex(F1().ListBox4->findText(QString::fromLatin1(interval)));
    F1().Edit2->setText(QString::fromLatin1(startDate));
    F1().Edit3->setText(QString::fromLatin1(startTime));
    F1().Edit4->setText(QString::fromLatin1(finishDate));
    F1().Edit5->setText(QString::fromLatin1(finishTime));
    F1().Edit6->setText(QString::fromLatin1(squint));
    mode->setChecked(true);
  }
  void PressCalculate() { QTest::mousePress(F1().Button1, Qt::LeftButton); }

  std::string ViewAsBufferText() { return BufferTextFor(F2().RichEdit1->toPlainText().toStdString()); }

  QTemporaryDir dir_;
  std::string iniPath_;
  std::unique_ptr<platform::QtSettingsStore> store_;
  TestHost host_;
  std::unique_ptr<QuentaProgram> program_;
};

// quenta-cli plan's stdout for the same inputs.
std::string CliPlan(const QStringList& args) {
  QProcess p;
  p.start(QStringLiteral(QUENTA_CLI_PATH), QStringList{QStringLiteral("plan")} + args);
  EXPECT_TRUE(p.waitForFinished(120000));
  EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
  return p.readAllStandardOutput().toStdString();
}

std::size_t CountOf(const std::string& text, const std::string& what) {
  std::size_t n = 0;
  for (std::size_t p = text.find(what); p != std::string::npos; p = text.find(what, p + 1)) ++n;
  return n;
}

QColor ViewBackground(TQuenta2& f2) { return f2.RichEdit1->palette().color(QPalette::Active, QPalette::Base); }

// ---- the mirror between the output buffer and the view ----

// Rows inserted anywhere, whole-text replacements and the operator's typing
// (outside ASCII too) leave the view showing exactly the buffer's text.
TEST(QuentaOutputMirror, ViewFollowsEveryChangeOfTheBuffer) {
  platform::OutputBuffer buffer;
  QPlainTextEdit view;
  OutputMirror mirror(buffer, &view);
  auto same = [&] { return BufferTextFor(view.toPlainText().toStdString()) == buffer.Text(); };
  struct Step {
    const char* name;
    std::function<void()> act;
  } steps[] = {
      {"whole text", [&] { buffer.SetText("\r\nHEAD\r\n----\r\nEND"); }},
      {"row before the end line", [&] { buffer.SetCaret(buffer.Find("END")); buffer.InsertAtCaret("row 3\r\n"); }},
      {"row in front of it", [&] { buffer.SetCaret(buffer.Find("row 3")); buffer.InsertAtCaret("row 1\r\n"); }},
      {"row between", [&] { buffer.SetCaret(buffer.Find("row 3")); buffer.InsertAtCaret("row 2\r\n"); }},
      {"appended", [&] { buffer.AppendText("\r\n   ***"); }},
      {"operator types outside ASCII at the top",
       [&] {
         QTextCursor c(view.document());
         c.movePosition(QTextCursor::Start);
         view.setTextCursor(c);
         // Typed key by key; QTest's own typing knows ASCII only.
         for (const QChar ch : QString::fromUtf8("Gr\xc3\xbc\xc3\x9f""e")) {
           QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
           QApplication::sendEvent(&view, &press);
         }
         QTest::keyClick(&view, Qt::Key_Return);
       }},
      {"row after the operator's text", [&] { buffer.SetCaret(buffer.Find("row 3")); buffer.InsertAtCaret("row 2b\r\n"); }},
      {"operator deletes a line",
       [&] {
         QTextCursor c(view.document());
         c.setPosition(view.document()->findBlockByNumber(5).position());
         c.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor);
         view.setTextCursor(c);
         QTest::keyClick(&view, Qt::Key_Delete);
       }},
      {"row at the very end", [&] { buffer.AppendText("\r\nlast"); }},
      {"cleared from a position to the end", [&] { buffer.Replace(buffer.Find("row 2b"), buffer.Length(), ""); }},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.name);
    step.act();
    EXPECT_TRUE(same()) << "buffer: " << buffer.Text() << "\nview: " << view.toPlainText().toStdString();
  }
  EXPECT_EQ(buffer.Text().rfind("Gr\xc3\xbc\xc3\x9f""e\r\n", 0), 0u);
  EXPECT_EQ(buffer.Find("row 2\r\n"), platform::OutputBuffer::npos);  // the deleted line
  EXPECT_TRUE(buffer.Text().ends_with("----\r\nrow 1\r\n")) << buffer.Text();
}

// ---- start-up ----

TEST_F(QuentaWindowTest, FirstStartWithAnEmptyStoreShowsTheDefaults) {
  Start();
  EXPECT_EQ(F1().windowTitle(), QStringLiteral(" Quenta    /  VELM"));
  EXPECT_EQ(F1().Edit1->text(), QString());  // the design text "D:\Elsets\files" is replaced
  EXPECT_EQ(program_->nav.KepsDir, std::string(1, QDir::separator().toLatin1()));
  // Built-in lists: 22 satellites, six observers.
  EXPECT_EQ(F1().ListBox2->count(), 22);
  EXPECT_EQ(F1().ListBox1->count(), 6);
  EXPECT_EQ(F1().ListBox1->currentIndex(), 0);
  EXPECT_EQ(F1().ListBox2->currentRow(), 0);
  EXPECT_TRUE(F1().ListBox2->item(0)->isSelected());
  EXPECT_EQ(F1().ListBox3->currentText(), QStringLiteral("UTC"));
  EXPECT_EQ(F1().ListBox4->currentText(), QStringLiteral("R/S-T"));
  EXPECT_EQ(F1().Edit6->text(), QStringLiteral("180"));
  EXPECT_EQ(F1().Edit5->text(), QStringLiteral("23:59"));
  for (QRadioButton* r : {F1().RadioButton1, F1().RadioButton2, F1().RadioButton3, F1().RadioButton4})
    EXPECT_FALSE(r->isChecked()) << r->text().toStdString();
  EXPECT_EQ(F1().pos(), QPoint(20, 20));
  EXPECT_EQ(F2().pos(), QPoint(20, 20));
  EXPECT_FALSE(F2().isVisible());  // hidden until the first row
  // FormShow: today, tomorrow, now; "R/S-T" offers neither "Visible" nor "All Values".
  const QDate today = QDate::currentDate();
  EXPECT_TRUE(F1().Edit2->text() == today.toString(QStringLiteral("yyyy-MM-dd")) ||
              F1().Edit2->text() == today.addDays(-1).toString(QStringLiteral("yyyy-MM-dd")));
  EXPECT_EQ(F1().Edit4->text(), QDate::fromString(F1().Edit2->text(), QStringLiteral("yyyy-MM-dd"))
                                    .addDays(1)
                                    .toString(QStringLiteral("yyyy-MM-dd")));
  EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d\\d:\\d\\d$")).match(F1().Edit3->text()).hasMatch());
  EXPECT_FALSE(F1().RadioButton3->isEnabled());
  EXPECT_FALSE(F1().RadioButton4->isEnabled());
  EXPECT_TRUE(host_.messages.empty());
  // The tooltip carries the list's hint.
  EXPECT_EQ(F1().ListBox2->toolTip(),
            QStringLiteral(" Use Shift/Cntr L-Click to select multiple satellites in R/S mode. "));
}

TEST_F(QuentaWindowTest, StartReadsTheDemoDirectoryLists) {
  StoreDemoDir();
  Start();
  EXPECT_EQ(F1().Edit1->text().toStdString(), kDemoDir);
  EXPECT_EQ(program_->nav.KepsDir, KepsDirWithSeparator(kDemoDir));
  ASSERT_EQ(F1().ListBox2->count(), 8);
  EXPECT_EQ(F1().ListBox2->item(0)->text(), QStringLiteral("ISS"));
  ASSERT_EQ(F1().ListBox1->count(), 3);
  EXPECT_TRUE(F1().ListBox1->itemText(0).startsWith(QStringLiteral("Home")));
}

// A "Horizon.ini" line that does not convert is reported and the start-up
// still applies the stored selections; closing then keeps them.
TEST_F(QuentaWindowTest, BadHorizonLineIsReportedAndStoredSelectionsSurvive) {
  const QString keps = dir_.filePath(QStringLiteral("keps"));
  ASSERT_TRUE(QDir().mkpath(keps));
  for (const char* f : {"SatList.ini", "ObsList.ini", "Horizon.ini"})
    ASSERT_TRUE(QFile::copy(QString::fromStdString(kDemoDir + "/" + f), keps + "/" + f));
  {
    QFile h(keps + QStringLiteral("/Horizon.ini"));
    ASSERT_TRUE(h.open(QIODevice::Append));
    h.write("building:12\n");  // a comment without the comment word
  }
  store_->write(StartupKey, KepsDirectoryValue, keps.toStdString());
  store_->write(StartupKey, ObserverValue, "2");
  store_->write(StartupKey, SatelliteValue, "5");
  store_->write(StartupKey, TimeIntervalValue, "3");
  store_->write(StartupKey, ListTypeValue, "1");
  Start();
  ASSERT_EQ(host_.messages.size(), 1u);
  EXPECT_NE(host_.messages[0].find("Horizon.ini"), std::string::npos) << host_.messages[0];
  EXPECT_EQ(F1().ListBox1->currentIndex(), 2);
  EXPECT_EQ(F1().ListBox2->currentRow(), 5);
  EXPECT_EQ(F1().ListBox4->currentIndex(), 3);
  EXPECT_TRUE(F1().RadioButton1->isChecked());
  CloseAndReopenStore();
  EXPECT_EQ(store_->read(StartupKey, ObserverValue).value_or(""), "2");
  EXPECT_EQ(store_->read(StartupKey, SatelliteValue).value_or(""), "5");
  EXPECT_EQ(store_->read(StartupKey, TimeIntervalValue).value_or(""), "3");
  EXPECT_EQ(store_->read(StartupKey, ListTypeValue).value_or(""), "1");
}

TEST_F(QuentaWindowTest, StoredIndicesOutsideTheListsSelectNothing) {
  StoreDemoDir();
  store_->write(StartupKey, ObserverValue, "-1");
  store_->write(StartupKey, SatelliteValue, "12");  // SatList.ini has 8 names
  store_->write(StartupKey, ListTypeValue, "7");
  Start();
  EXPECT_EQ(F1().ListBox1->currentIndex(), -1);
  EXPECT_EQ(F1().ListBox2->currentRow(), -1);
  EXPECT_TRUE(F1().ListBox2->selectedItems().isEmpty());
  for (QRadioButton* r : {F1().RadioButton1, F1().RadioButton2, F1().RadioButton3, F1().RadioButton4})
    EXPECT_FALSE(r->isChecked());
  // With no observer, Calculate reports it first.
  PressCalculate();
  EXPECT_EQ(host_.messages, std::vector<std::string>{"Select Observer!"});
}


// What the screenshot was looked at for, checked in the font at hand: no
// caption is cut off and no two controls overlap.
TEST_F(QuentaWindowTest, MainWindowControlsNeitherOverlapNorClipTheirCaptions) {
  Start();
  QWidget* client = F1().centralWidget();
  QList<QWidget*> controls;
  for (QObject* o : client->children()) {
    if (auto* w = qobject_cast<QWidget*>(o)) controls.push_back(w);
  }
  ASSERT_EQ(controls.size(), 23);  // ten labels, four lists, six edits, the frame, two buttons
  for (int i = 0; i < controls.size(); ++i) {
    for (int j = i + 1; j < controls.size(); ++j) {
      EXPECT_FALSE(controls[i]->geometry().intersects(controls[j]->geometry()))
          << controls[i]->objectName().toStdString() << " overlaps " << controls[j]->objectName().toStdString();
    }
    EXPECT_TRUE(client->rect().contains(controls[i]->geometry())) << controls[i]->objectName().toStdString();
  }
  for (QLabel* l : client->findChildren<QLabel*>())
    EXPECT_GE(l->width(), l->sizeHint().width()) << l->text().toStdString();
  for (QRadioButton* r : {F1().RadioButton1, F1().RadioButton2, F1().RadioButton3, F1().RadioButton4}) {
    EXPECT_GE(r->width(), r->sizeHint().width()) << r->text().toStdString();
    EXPECT_TRUE(F1().GroupBox1->rect().contains(r->geometry())) << r->text().toStdString();
  }
  for (QPushButton* b : {F1().Button1, F1().Button2}) EXPECT_GE(b->width(), b->sizeHint().width() - 10);
  // Not resizable.
  EXPECT_EQ(F1().minimumSize(), F1().maximumSize());
}

TEST_F(QuentaWindowTest, TabOrderFollowsListsEditsButtonsSquintAndFrame) {
  Start();
  const QList<QWidget*> expected = {F1().ListBox1, F1().ListBox2, F1().ListBox3, F1().ListBox4, F1().Edit1,
                                    F1().Edit2,    F1().Edit3,    F1().Edit4,    F1().Edit5,    F1().Button1,
                                    F1().Button2,  F1().Edit6,    F1().RadioButton1};
  QList<QWidget*> seen;
  QWidget* w = F1().ListBox1;
  while (seen.size() < expected.size()) {
    if (expected.contains(w)) seen.push_back(w);
    w = w->nextInFocusChain();
    if (w == F1().ListBox1) break;
  }
  ASSERT_EQ(seen.size(), expected.size());
  for (int i = 0; i < expected.size(); ++i) EXPECT_EQ(seen[i], expected[i]) << i;
}

// ---- Calculate ----

TEST_F(QuentaWindowTest, CalculateReportsTheFirstMissingSelection) {
  StoreDemoDir();
  Start();
  struct Case {
    const char* name;
    int observer, zone, interval;
    bool satellite;
    const char* message;
  } cases[] = {
      {"nothing selected", -1, -1, -1, false, "Select Observer!"},
      {"observer only", 0, -1, -1, false, "Select Time Zone!"},
      {"no satellite, no interval", 0, 0, -1, false, "Select Satellite!"},
      {"no interval", 0, 0, -1, true, "Select Time Interval!"},
      {"no satellite in a rise/set run", 0, 0, 0, false, "Select Satellite!"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    host_.messages.clear();
    F1().ListBox1->setCurrentIndex(c.observer);
    F1().ListBox3->setCurrentIndex(c.zone);
    F1().ListBox4->setCurrentIndex(c.interval);
    F1().ListBox2->clearSelection();
    if (c.satellite) F1().ListBox2->setCurrentRow(0, QItemSelectionModel::ClearAndSelect);
    else F1().ListBox2->setCurrentRow(-1, QItemSelectionModel::Clear);
    F1().Edit2->setText(QStringLiteral("2018-01-15"));
    F1().Edit4->setText(QStringLiteral("2018-01-15"));
    PressCalculate();
    EXPECT_EQ(host_.messages, std::vector<std::string>{c.message});
    EXPECT_TRUE(program_->output.Empty());
    EXPECT_FALSE(F2().isVisible());
  }
}

TEST_F(QuentaWindowTest, StepRunEqualsQuentaCliPlan) {
  StoreDemoDir();
  Start();
  SetRun(0, {"ISS"}, "EST", "10", "2018-01-15", "06:00", "2018-01-15", "18:05", F1().RadioButton4);
  PressCalculate();
  EXPECT_TRUE(host_.messages.empty()) << host_.messages[0];
  const std::string expected =
      CliPlan({"--keps-dir", QString::fromStdString(kDemoDir), "--observer", "Home", "--satellite", "ISS", "--zone",
               "EST", "--interval", "10", "--start", "2018-01-15", "--start-time", "06:00", "--finish", "2018-01-15",
               "--finish-time", "18:05", "--horizon", "all"});
  ASSERT_GT(expected.size(), 1000u);
  EXPECT_EQ(program_->output.Text(), expected);
  // The view shows exactly the buffer, one paragraph break per "\r\n".
  EXPECT_EQ(ViewAsBufferText(), expected);
  EXPECT_TRUE(F2().isVisible());
  EXPECT_EQ(F2().windowTitle().toStdString(), StepRunCaption());
  EXPECT_EQ(F2().AppliedWidth(), 685);
  EXPECT_EQ(ViewBackground(F2()), QColor(255, 255, 192));
  // 73 steps of 10 minutes from 06:00 to 18:00, every one printed (the
  // finish lies 5 minutes beyond the last step: the run adds its step in
  // 32-bit floats, so a step exactly at the finish may fall just past it).
  const QRegularExpression row(QStringLiteral("^ \\d\\d:\\d\\d "), QRegularExpression::MultilineOption);
  EXPECT_EQ(QString::fromStdString(expected).count(row), 73);
}

TEST_F(QuentaWindowTest, RiseSetRunOverThreeSatellitesEqualsQuentaCliPlan) {
  StoreDemoDir();
  Start();
  SetRun(0, {"ISS", "SO-50", "NO-19"}, "UTC", "R/S-T", "2018-01-15", "00:00", "2018-01-16", "23:59",
         F1().RadioButton2);
  std::vector<QColor> backgroundsWhileRunning;
  host_.atYield = [&](int) { backgroundsWhileRunning.push_back(ViewBackground(F2())); };
  PressCalculate();
  host_.atYield = nullptr;
  EXPECT_TRUE(host_.messages.empty());
  const std::string expected =
      CliPlan({"--keps-dir", QString::fromStdString(kDemoDir), "--observer", "Home", "--satellite", "ISS",
               "--satellite", "SO-50", "--satellite", "NO-19", "--zone", "UTC", "--interval", "R/S-T", "--start",
               "2018-01-15", "--finish", "2018-01-16", "--horizon", "radio"});
  ASSERT_GT(CountOf(expected, "\r\n"), 10u);
  EXPECT_EQ(program_->output.Text(), expected);
  EXPECT_EQ(ViewAsBufferText(), expected);
  EXPECT_EQ(F2().windowTitle().toStdString(), RiseSetRunCaption());
  EXPECT_EQ(F2().AppliedWidth(), 855);
  ASSERT_FALSE(backgroundsWhileRunning.empty());
  EXPECT_EQ(backgroundsWhileRunning.front(), QColor(255, 255, 255));  // white while computing
  EXPECT_EQ(ViewBackground(F2()), QColor(255, 255, 192));             // pale yellow after
  // The run made the last selected satellite the current item; the selection stays.
  EXPECT_EQ(F1().ListBox2->currentItem()->text(), QStringLiteral("NO-19"));
  EXPECT_EQ(F1().ListBox2->selectedItems().size(), 3);
}

// What the operator types into the output during a run's pauses reaches the
// buffer before the next row is placed: the merge still orders every row.
TEST_F(QuentaWindowTest, OperatorEditsDuringARunReachTheBuffer) {
  StoreDemoDir();
  Start();
  SetRun(0, {"ISS", "SO-50", "NO-19"}, "UTC", "R/S-T", "2018-01-15", "00:00", "2018-01-16", "23:59",
         F1().RadioButton1);
  bool typed = false;
  host_.atYield = [&](int) {
    if (typed || program_->output.Find("NO-19") == platform::OutputBuffer::npos) return;
    typed = true;
    // At the very top of the output: a note and a line break.
    QTextCursor c = F2().RichEdit1->textCursor();
    c.movePosition(QTextCursor::Start);
    F2().RichEdit1->setTextCursor(c);
    QTest::keyClicks(F2().RichEdit1, QStringLiteral("Note: pass list"));
    QTest::keyClick(F2().RichEdit1, Qt::Key_Return);
  };
  PressCalculate();
  host_.atYield = nullptr;
  ASSERT_TRUE(typed);
  const std::string text = program_->output.Text();
  EXPECT_EQ(text.rfind("Note: pass list\r\n", 0), 0u) << text.substr(0, 40);
  EXPECT_EQ(ViewAsBufferText(), text);
  // Rows are those of the run without the note, in the same order.
  const std::string expected =
      CliPlan({"--keps-dir", QString::fromStdString(kDemoDir), "--observer", "Home", "--satellite", "ISS",
               "--satellite", "SO-50", "--satellite", "NO-19", "--zone", "UTC", "--interval", "R/S-T", "--start",
               "2018-01-15", "--finish", "2018-01-16"});
  EXPECT_EQ(text, "Note: pass list\r\n" + expected);
}

TEST_F(QuentaWindowTest, StopEndsALongRunAfterItsCurrentStep) {
  StoreDemoDir();
  Start();
  SetRun(0, {"ISS"}, "UTC", "1", "2018-01-01", "00:00", "2018-01-31", "23:59", F1().RadioButton4);
  int stopAt = 40;
  host_.atYield = [&](int n) {
    if (n == stopAt) QTest::mouseClick(F1().Button2, Qt::LeftButton);
  };
  PressCalculate();
  host_.atYield = nullptr;
  EXPECT_FALSE(program_->planner.Busy());
  EXPECT_EQ(host_.processEventsCalls, stopAt);  // no step after the one in progress
  const std::string text = program_->output.Text();
  EXPECT_EQ(text.substr(text.size() - 52), program_->planner.StepEndLine());
  EXPECT_LT(text.size(), 20000u);  // 44,640 steps were asked for
  EXPECT_EQ(ViewBackground(F2()), QColor(255, 255, 192));
}

TEST_F(QuentaWindowTest, CalculateDuringARunDoesNothing) {
  StoreDemoDir();
  Start();
  SetRun(0, {"ISS"}, "UTC", "5", "2018-01-15", "00:00", "2018-01-15", "23:59", F1().RadioButton4);
  PressCalculate();
  const std::string alone = program_->output.Text();
  const int yieldsAlone = host_.processEventsCalls;
  host_.processEventsCalls = 0;
  host_.atYield = [&](int n) {
    if (n == 20) {
      F1().Edit5->setText(QStringLiteral("01:00"));  // would give another table
      QTest::mousePress(F1().Button1, Qt::LeftButton);
    }
  };
  PressCalculate();
  host_.atYield = nullptr;
  EXPECT_EQ(program_->output.Text(), alone);
  EXPECT_EQ(host_.processEventsCalls, yieldsAlone);
  EXPECT_TRUE(host_.messages.empty());
}

TEST_F(QuentaWindowTest, ConversionErrorIsShownAndEndsTheCommand) {
  StoreDemoDir();
  Start();
  SetRun(0, {"ISS"}, "UTC", "10", "2018-01-15", "00:00", "2018-01-15", "23:59", F1().RadioButton1, "");
  PressCalculate();
  ASSERT_EQ(host_.messages.size(), 1u);
  EXPECT_FALSE(program_->planner.Busy());
  host_.messages.clear();
  F1().Edit6->setText(QStringLiteral("180"));
  F1().Edit2->setText(QStringLiteral("20x8-01-15"));
  PressCalculate();
  ASSERT_EQ(host_.messages.size(), 1u);
  // The window is usable again: a good run follows.
  host_.messages.clear();
  F1().Edit2->setText(QStringLiteral("2018-01-15"));
  PressCalculate();
  EXPECT_TRUE(host_.messages.empty());
  EXPECT_FALSE(program_->output.Empty());
}

TEST_F(QuentaWindowTest, FinishBeforeStartWritesOnlyTheEndLineAndKeepsTheWindowHidden) {
  StoreDemoDir();
  Start();
  SetRun(0, {"ISS"}, "UTC", "10", "2018-01-15", "12:00", "2018-01-15", "11:00", F1().RadioButton4);
  PressCalculate();
  EXPECT_EQ(program_->output.Text(), program_->planner.StepEndLine());
  EXPECT_FALSE(F2().isVisible());
}

// ---- helpers and filters ----

TEST_F(QuentaWindowTest, KeyFilterDiscardsCommasAndLetters) {
  Start();
  struct Case {
    const char* name;
    QLineEdit* edit;
    const char* typed;
    const char* kept;
  } cases[] = {
      {"date with commas", F1().Edit2, "2002,08,14", "20020814"},
      {"date with dashes", F1().Edit4, "2002-08-14", "2002-08-14"},
      {"time", F1().Edit3, "12:3a4", "12:34"},
      {"finish time", F1().Edit5, "23.59", "2359"},
      {"squint with a decimal point", F1().Edit6, "12.5", "125"},
      {"negative squint", F1().Edit6, "-5", "-5"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    c.edit->clear();
    QTest::keyClicks(c.edit, QString::fromLatin1(c.typed));
    EXPECT_EQ(c.edit->text(), QString::fromLatin1(c.kept));
  }
  // Backspace still edits.
  F1().Edit6->setText(QStringLiteral("180"));
  F1().Edit6->end(false);
  QTest::keyClick(F1().Edit6, Qt::Key_Backspace);
  EXPECT_EQ(F1().Edit6->text(), QStringLiteral("18"));
}

TEST_F(QuentaWindowTest, DateTypedWithCommasGivesTheDateMessage) {
  StoreDemoDir();
  Start();
  SetRun(0, {"ISS"}, "UTC", "10", "2018-01-15", "00:00", "2018-01-15", "23:59", F1().RadioButton1);
  F1().Edit2->clear();
  // "20020814": month "81" (characters 6 and 7).
  QTest::keyClicks(F1().Edit2, QStringLiteral("2002,08,14"));
  PressCalculate();
  EXPECT_EQ(host_.messages, std::vector<std::string>{"Improper Start/Stop Date!"});
}

TEST_F(QuentaWindowTest, StartTimeMouseDownToggles) {
  Start();
  F1().Edit3->setText(QStringLiteral("00:00"));
  QTest::mousePress(F1().Edit3, Qt::LeftButton);
  const QString now = F1().Edit3->text();
  EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d\\d:\\d\\d$")).match(now).hasMatch());
  const QTime t = QTime::fromString(now, QStringLiteral("hh:mm"));
  int apart = std::abs(t.secsTo(QTime::currentTime()));
  apart = std::min(apart, 86400 - apart);  // across midnight
  EXPECT_LE(apart, 120) << now.toStdString();
  QTest::mouseRelease(F1().Edit3, Qt::LeftButton);
  QTest::mousePress(F1().Edit3, Qt::RightButton);  // any button
  EXPECT_EQ(F1().Edit3->text(), QStringLiteral("00:00"));
  F1().Edit3->setText(QStringLiteral("12:34"));
  QTest::mousePress(F1().Edit3, Qt::LeftButton);
  EXPECT_EQ(F1().Edit3->text(), QStringLiteral("00:00"));
}

TEST_F(QuentaWindowTest, DateMouseDownHelpers) {
  Start();
  F1().Edit2->setText(QStringLiteral("1998,08,14"));
  F1().Edit4->setText(QStringLiteral("1998,08,14"));
  QTest::mousePress(F1().Edit2, Qt::LeftButton);
  const QDate start = QDate::fromString(F1().Edit2->text(), QStringLiteral("yyyy-MM-dd"));
  ASSERT_TRUE(start.isValid());
  EXPECT_LE(std::abs(start.daysTo(QDate::currentDate())), 1);
  EXPECT_EQ(QDate::fromString(F1().Edit4->text(), QStringLiteral("yyyy-MM-dd")), start.addDays(1));
  F1().Edit2->setText(QStringLiteral("2018-01-20"));
  QTest::mousePress(F1().Edit4, Qt::LeftButton);
  EXPECT_EQ(F1().Edit4->text(), QStringLiteral("2018-01-20"));
}

TEST_F(QuentaWindowTest, ObserverClickOffersRadioHorizonForTheFirstObserverOnly) {
  StoreDemoDir();
  Start();
  F1().ListBox1->setFocus();
  F1().ListBox1->setCurrentIndex(0);
  F1().RadioButton2->setChecked(true);
  QTest::keyClick(F1().ListBox1, Qt::Key_Down);  // the operator picks the second observer
  EXPECT_EQ(F1().ListBox1->currentIndex(), 1);
  EXPECT_FALSE(F1().RadioButton2->isEnabled());
  EXPECT_TRUE(F1().RadioButton1->isChecked());  // "Above Earth Horizon" instead
  QTest::keyClick(F1().ListBox1, Qt::Key_Up);
  EXPECT_EQ(F1().ListBox1->currentIndex(), 0);
  EXPECT_TRUE(F1().RadioButton2->isEnabled());
  EXPECT_TRUE(F1().RadioButton1->isChecked());
}

TEST_F(QuentaWindowTest, IntervalClickOffersVisibleAndAllValuesExceptForRiseSetByDate) {
  Start();
  F1().ListBox4->setCurrentIndex(0);
  F1().ListBox4Click();
  struct Case {
    Qt::Key key;
    const char* item;
    bool enabled;
  } cases[] = {{Qt::Key_Down, "R/S-O", true}, {Qt::Key_Down, "20", true}, {Qt::Key_Up, "R/S-O", true},
               {Qt::Key_Up, "R/S-T", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.item);
    QTest::keyClick(F1().ListBox4, c.key);
    EXPECT_EQ(F1().ListBox4->currentText(), QString::fromLatin1(c.item));
    EXPECT_EQ(F1().RadioButton3->isEnabled(), c.enabled);
    EXPECT_EQ(F1().RadioButton4->isEnabled(), c.enabled);
  }
}

TEST_F(QuentaWindowTest, AboutShowsVersionAndDate) {
  Start();
  F1().About1->trigger();
  ASSERT_EQ(host_.messages.size(), 1u);
  EXPECT_NE(host_.messages[0].find("3.5c"), std::string::npos);
  EXPECT_NE(host_.messages[0].find("Last updated: 2002-08-10"), std::string::npos);
}

// ---- settings at close ----

TEST_F(QuentaWindowTest, SettingsWrittenAtCloseAreReadAtTheNextStart) {
  StoreDemoDir();
  Start();
  F1().ListBox1->setCurrentIndex(2);
  F1().ListBox2->setCurrentRow(4, QItemSelectionModel::ClearAndSelect);
  F1().ListBox3->setCurrentIndex(5);
  F1().ListBox4->setCurrentIndex(6);
  F1().Edit6->setText(QStringLiteral("-5"));
  F1().RadioButton3->setChecked(true);
  F1().Edit1->setText(QStringLiteral("  ") + QString::fromStdString(kDemoDir) + QStringLiteral("  "));
  F1().move(130, 90);
  CloseAndReopenStore();
  auto v = [&](const char* key, const char* name) { return store_->read(key, name).value_or("<absent>"); };
  EXPECT_EQ(v(StartupKey, KepsDirectoryValue), kDemoDir);  // trimmed
  EXPECT_EQ(v(StartupKey, ObserverValue), "2");
  EXPECT_EQ(v(StartupKey, SatelliteValue), "4");
  EXPECT_EQ(v(StartupKey, TimeZoneValue), "5");
  EXPECT_EQ(v(StartupKey, TimeIntervalValue), "6");
  EXPECT_EQ(v(StartupKey, MaximumSquintValue), "-5");
  EXPECT_EQ(v(StartupKey, ListTypeValue), "3");
  EXPECT_EQ(v(PositionKey, Form1TopValue), "90");
  EXPECT_EQ(v(PositionKey, Form1LeftValue), "130");
  // The output window's position is written only when it is closed itself.
  EXPECT_EQ(v(PositionKey, Form2TopValue), "<absent>");
  // The store is one INI file with the key paths as groups.
  QFile ini(QString::fromStdString(iniPath_));
  ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
  const QString content = QString::fromUtf8(ini.readAll());
  EXPECT_TRUE(content.contains(QStringLiteral("Keps%20Directory="))) << content.toStdString();

  Start();
  EXPECT_EQ(F1().Edit1->text().toStdString(), kDemoDir);
  EXPECT_EQ(F1().ListBox1->currentIndex(), 2);
  EXPECT_EQ(F1().ListBox2->currentRow(), 4);
  EXPECT_EQ(F1().ListBox3->currentIndex(), 5);
  EXPECT_EQ(F1().ListBox4->currentIndex(), 6);
  EXPECT_EQ(F1().Edit6->text(), QStringLiteral("-5"));
  EXPECT_TRUE(F1().RadioButton3->isChecked());
  EXPECT_EQ(F1().pos(), QPoint(130, 90));
}

TEST_F(QuentaWindowTest, ExitSavesTheSettingsToo) {
  Start();
  F1().ListBox3->setCurrentIndex(3);
  F1().Exit1->trigger();
  EXPECT_FALSE(F1().isVisible());
  store_ = std::make_unique<platform::QtSettingsStore>(iniPath_);
  EXPECT_EQ(store_->read(StartupKey, TimeZoneValue).value_or(""), "3");
}

TEST_F(QuentaWindowTest, ClosingWhileMinimisedKeepsTheStoredPosition) {
  store_->write(PositionKey, Form1TopValue, "111");
  store_->write(PositionKey, Form1LeftValue, "222");
  Start();
  EXPECT_EQ(F1().pos(), QPoint(222, 111));
  F1().move(300, 310);
  F1().setWindowState(Qt::WindowMinimized);
  CloseAndReopenStore();
  EXPECT_EQ(store_->read(PositionKey, Form1TopValue).value_or(""), "111");
  EXPECT_EQ(store_->read(PositionKey, Form1LeftValue).value_or(""), "222");
  // The other settings are still written.
  EXPECT_EQ(store_->read(StartupKey, TimeZoneValue).value_or(""), "0");
}

// ---- the output window ----

TEST_F(QuentaWindowTest, OutputWindowClosingOnlyHidesAndRemembersItsPosition) {
  StoreDemoDir();
  Start();
  SetRun(0, {"ISS"}, "UTC", "20", "2018-01-15", "00:00", "2018-01-15", "06:00", F1().RadioButton4);
  PressCalculate();
  ASSERT_TRUE(F2().isVisible());
  F2().move(333, 144);
  F2().close();
  EXPECT_FALSE(F2().isVisible());
  EXPECT_EQ(store_->read(PositionKey, Form2TopValue).value_or(""), "144");
  EXPECT_EQ(store_->read(PositionKey, Form2LeftValue).value_or(""), "333");
  EXPECT_FALSE(program_->output.Empty());  // its text stays
  PressCalculate();
  EXPECT_TRUE(F2().isVisible());  // the first row shows it again
  // The next start puts it where it was closed.
  CloseAndReopenStore();
  Start();
  EXPECT_EQ(F2().pos(), QPoint(333, 144));
}

TEST_F(QuentaWindowTest, OutputViewIsAReadWriteNoWrapFixedPitchView) {
  Start();
  QPlainTextEdit* v = F2().RichEdit1;
  EXPECT_FALSE(v->isReadOnly());
  EXPECT_EQ(v->lineWrapMode(), QPlainTextEdit::NoWrap);
  EXPECT_EQ(v->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  EXPECT_EQ(v->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  EXPECT_TRUE(QFontInfo(v->font()).fixedPitch());
  EXPECT_EQ(v->font().pixelSize(), 12);
  EXPECT_EQ(F2().windowTitle().toStdString(), DesignCaption());
  // Its own top-level window, not owned by the main window.
  EXPECT_TRUE(F2().isWindow());
  EXPECT_EQ(F2().parentWidget(), nullptr);
  EXPECT_FALSE(F2().windowFlags() & Qt::WindowMaximizeButtonHint);
}

TEST_F(QuentaWindowTest, PopupMenuCopiesCutsPastesAndDeletesThroughTheClipboard) {
  StoreDemoDir();
  Start();
  SetRun(0, {"ISS"}, "UTC", "20", "2018-01-15", "00:00", "2018-01-15", "06:00", F1().RadioButton4);
  PressCalculate();
  QPlainTextEdit* v = F2().RichEdit1;
  // Select the third and fourth lines (the satellite line and the orbit line).
  QTextCursor c(v->document());
  c.movePosition(QTextCursor::Start);
  c.movePosition(QTextCursor::NextBlock, QTextCursor::MoveAnchor, 2);
  c.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor, 2);
  v->setTextCursor(c);
  const QString selected = c.selectedText().replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
  ASSERT_TRUE(selected.contains(QStringLiteral("ISS")));
  F2().Copy->trigger();
  EXPECT_EQ(QGuiApplication::clipboard()->text(), selected);

  const std::string before = program_->output.Text();
  F2().Cut1->trigger();
  EXPECT_EQ(QGuiApplication::clipboard()->text(), selected);
  const std::string cutBuffer = BufferTextFor(selected.toStdString());
  const std::size_t at = before.find(cutBuffer);
  ASSERT_NE(at, std::string::npos);
  EXPECT_EQ(program_->output.Text(), before.substr(0, at) + before.substr(at + cutBuffer.size()));

  F2().Paste1->trigger();  // back where it was cut
  EXPECT_EQ(program_->output.Text(), before);
  EXPECT_EQ(ViewAsBufferText(), before);

  c = v->textCursor();
  c.movePosition(QTextCursor::Start);
  c.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor, 2);  // the two blank lines
  v->setTextCursor(c);
  F2().Delete1->trigger();
  EXPECT_EQ(program_->output.Text(), before.substr(4));
  EXPECT_EQ(QGuiApplication::clipboard()->text(), selected);  // Delete leaves the clipboard alone
}

// ---- printing ----

TEST_F(QuentaWindowTest, PrintWithoutAPrinterOffersAPdfAndWritesIt) {
  StoreDemoDir();
  Start();
  SetRun(0, {"ISS"}, "UTC", "1", "2018-01-15", "00:00", "2018-01-15", "12:00", F1().RadioButton4);
  PressCalculate();
  const QString pdfPath = dir_.filePath(QStringLiteral("out.pdf"));
  std::vector<QString> questions;
  bool answer = false;
  F1().printHooks.hasDefaultPrinter = [] { return false; };
  F1().printHooks.askYesNo = [&](const QString& q) {
    questions.push_back(q);
    return answer;
  };
  F1().printHooks.askPdfFileName = [&] { return pdfPath; };

  F1().Print1->trigger();  // declined: nothing written
  EXPECT_EQ(F1().lastPrintOutcome, PrintOutcome::Declined);
  ASSERT_EQ(questions.size(), 1u);
  EXPECT_TRUE(questions[0].contains(QStringLiteral("No printer")));
  EXPECT_FALSE(QFile::exists(pdfPath));

  answer = true;
  host_.messages.clear();
  F1().Print1->trigger();
  EXPECT_EQ(F1().lastPrintOutcome, PrintOutcome::SavedPdf);
  std::string pdf;
  ASSERT_TRUE(platform::ReadWholeFile(pdfPath.toStdString(), &pdf));
  EXPECT_EQ(pdf.rfind("%PDF-", 0), 0u);
  EXPECT_GT(pdf.size(), 2000u);
  // 721 rows and their headers do not fit one page.
  EXPECT_GE(CountOf(pdf, "/Type /Page") - CountOf(pdf, "/Type /Pages"), 2u);
  // The job's title "0", as PDF writes text: UTF-16 with its byte-order mark.
  EXPECT_NE(pdf.find(std::string("/Title (\xFE\xFF\x00\x30)", 13)), std::string::npos);
  ASSERT_EQ(host_.messages.size(), 1u);  // where it went
  EXPECT_NE(host_.messages[0].find(pdfPath.toStdString()), std::string::npos);
}

TEST_F(QuentaWindowTest, PrintingAnEmptyOutputMakesAnEmptyJob) {
  Start();
  const QString pdfPath = dir_.filePath(QStringLiteral("empty.pdf"));
  F1().printHooks.hasDefaultPrinter = [] { return false; };
  F1().printHooks.askYesNo = [](const QString&) { return true; };
  F1().printHooks.askPdfFileName = [&] { return pdfPath; };
  F1().Print1->trigger();
  EXPECT_EQ(F1().lastPrintOutcome, PrintOutcome::SavedPdf);
  std::string pdf;
  ASSERT_TRUE(platform::ReadWholeFile(pdfPath.toStdString(), &pdf));
  EXPECT_EQ(pdf.rfind("%PDF-", 0), 0u);
}

TEST_F(QuentaWindowTest, PdfThatCannotBeWrittenIsReported) {
  Start();
  F1().printHooks.hasDefaultPrinter = [] { return false; };
  F1().printHooks.askYesNo = [](const QString&) { return true; };
  F1().printHooks.askPdfFileName = [&] { return dir_.filePath(QStringLiteral("no-such-dir/out.pdf")); };
  F1().Print1->trigger();
  EXPECT_EQ(F1().lastPrintOutcome, PrintOutcome::Failed);
  ASSERT_EQ(host_.messages.size(), 1u);
  EXPECT_NE(host_.messages[0].find("could not be written"), std::string::npos);
}


// The program's own host hands the run's yields to Qt at most every few
// milliseconds; a Stop pressed before the run reaches its first yield is
// still served there, and the run ends after that first step.
TEST_F(QuentaWindowTest, StopIsServedThroughThePacedHostOfTheProgram) {
  StoreDemoDir();
  PacedUiHost paced;
  QuentaProgram program(*store_, paced);
  TQuenta1& f1 = *program.form1;
  f1.show();
  f1.ListBox1->setCurrentIndex(0);
  f1.ListBox2->setCurrentRow(0, QItemSelectionModel::ClearAndSelect);
  f1.ListBox3->setCurrentIndex(0);
  f1.ListBox4->setCurrentIndex(7);  // 1 minute
  f1.Edit2->setText(QStringLiteral("2018-01-01"));
  f1.Edit3->setText(QStringLiteral("00:00"));
  f1.Edit4->setText(QStringLiteral("2018-12-31"));
  f1.RadioButton4->setChecked(true);
  // The Stop click waits in the event queue until the run first yields.
  const QPoint centre = f1.Button2->rect().center();
  QCoreApplication::postEvent(f1.Button2, new QMouseEvent(QEvent::MouseButtonPress, centre, f1.Button2->mapToGlobal(centre),
                                                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
  QCoreApplication::postEvent(f1.Button2, new QMouseEvent(QEvent::MouseButtonRelease, centre, f1.Button2->mapToGlobal(centre),
                                                          Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
  QTest::mousePress(f1.Button1, Qt::LeftButton);
  EXPECT_FALSE(program.planner.Busy());
  const std::string text = program.output.Text();
  // One step: one header block and one row, then the end line.
  const QRegularExpression row(QStringLiteral("^ \\d\\d:\\d\\d "), QRegularExpression::MultilineOption);
  EXPECT_EQ(QString::fromStdString(text).count(row), 1) << text;
  EXPECT_TRUE(text.ends_with(program.planner.StepEndLine()));
  f1.close();
}
}  // namespace
}  // namespace quenta

int main(int argc, char** argv) {
  // Offscreen unless the caller chose a platform (test discovery runs this
  // program at build time, without the tests' environment).
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
