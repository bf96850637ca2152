// The plotter's windows driven offscreen as a person would: typing into the
// fields, leaving them, clicking Draw, moving the pointer over the plot,
// clicking with Shift, Alt and the right button, pressing keys and using the
// menu. The settings live in a memory store and the keps files in a copy of
// the demo directory, never in the real ones.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

#include <QAction>
#include <QCheckBox>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "gimbra/core/esarc.h"
#include "gimbra/core/plotwindow.h"
#include "gimbra/ui/gimbra_1.h"
#include "gimbra/ui/gimbra_2.h"
#include "gimbra/ui/gimbra_3.h"
#include "gimbra/ui/mainsettings.h"
#include "gimbra/ui/session.h"
#include "navlib/navlib.h"
#include "platform/atomicfile.h"
#include "platform/qt/qtsettingsstore.h"
#include "platform/settingsstore.h"
#include "platform/uihost.h"

namespace gimbra::ui {
namespace {

namespace fs = std::filesystem;

// A store that also remembers the order of the values read and written
// under the plotter's Startup key.
class OrderedStore : public platform::MemorySettingsStore {
 public:
  std::vector<std::string> reads, writes;
  std::optional<std::string> read(const std::string& key, const std::string& name) override {
    if (key == StartupKey) reads.push_back(name);
    return MemorySettingsStore::read(key, name);
  }
  void write(const std::string& key, const std::string& name, const std::string& value) override {
    if (key == StartupKey) writes.push_back(name);
    MemorySettingsStore::write(key, name, value);
  }
};

// Records messages and answers input boxes; can act once from inside a
// Draw's pause, as a person clicking while the picture grows.
class TestHost : public platform::RecordingUiHost {
 public:
  std::function<void()> DuringDraw;
  void processEvents() override {
    RecordingUiHost::processEvents();
    if (DuringDraw) {
      auto act = std::move(DuringDraw);
      DuringDraw = nullptr;
      act();
    }
  }
};

// A private copy of the demo keps directory per test.
std::string DemoCopy() {
  static std::atomic<int> counter{0};
  const fs::path src = fs::path(VELM_DEMO_DIR);
  const fs::path dst = fs::temp_directory_path() /
                       ("gimbra-ui-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
  fs::remove_all(dst);
  fs::create_directories(dst);
  for (const auto& e : fs::directory_iterator(src)) {
    if (e.is_regular_file()) fs::copy_file(e.path(), dst / e.path().filename());
  }
  return dst.string() + "/";
}

const char* const kStoredOrder[] = {
    "Map-1", "Map-2", "ALON", "ALAT", "U-gamma", "L-gamma", "ESL fudge", "ESU fudge", "SS2 fudge",
    "Sat.Index", "Zoom Index", "Magnetic Poles", "Celestial Equator", "Ecliptic", "Sun Sensors",
    "Earth MA", "Squint Data", "Camera Data", "Camera Moon", "Earth Arcs"};
const char* const kWrittenOrder[] = {
    "Map-1", "Map-2", "ALON", "ALAT", "U-gamma", "L-gamma", "Sat.Index", "Zoom Index", "ESL fudge",
    "ESU fudge", "SS2 fudge", "Magnetic Poles", "Celestial Equator", "Ecliptic", "Sun Sensors",
    "Earth MA", "Squint Data", "Camera Data", "Camera Moon", "Earth Arcs"};

class GimbraWindows : public ::testing::Test {
 protected:
  OrderedStore store;
  TestHost host;
  std::string kepsDir;
  std::unique_ptr<GimbraSession> session;
  std::unique_ptr<TGimbra1> main;
  std::unique_ptr<TGimbra2> plot;
  std::unique_ptr<TGimbra3> report;
  int terminated = 0;

  // The windows in the program's order, on the given keps directory.
  void Start(const std::string& dir) {
    kepsDir = dir;
    if (!dir.empty()) store.write(PlannerStartupKey, KepsDirectoryValue, dir);
    session = std::make_unique<GimbraSession>(store, host);
    session->Terminate = [this] { ++terminated; };
    main = std::make_unique<TGimbra1>(*session);
    plot = std::make_unique<TGimbra2>(*session);
    report = std::make_unique<TGimbra3>();
    session->Report = report.get();
    main->show();
  }
  void TearDown() override {
    report.reset();
    plot.reset();
    main.reset();
    session.reset();
    if (!kepsDir.empty()) fs::remove_all(kepsDir);
  }
  // The demo satellite M1-63 on 2018-01-22 at ALON 210, ALAT -5.
  void StartOnDemo() {
    store.write(StartupKey, "Sat.Index", "7");
    store.write(StartupKey, "ALON", "210");
    store.write(StartupKey, "ALAT", "-5");
    Start(DemoCopy());
    main->Edit1->setText("2018-01-22");
  }
  void Type(QLineEdit* edit, const char* text) {
    edit->clear();
    QTest::keyClicks(edit, text);
  }
  void Leave(QLineEdit* edit) {
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QCoreApplication::sendEvent(edit, &out);
  }
  std::string Stored(const char* name) { return store.values.at({StartupKey, name}); }
  void ClickImage(Qt::MouseButton b, Qt::KeyboardModifiers m, QPoint at) {
    QTest::mouseMove(plot->Image1, at);
    plot->Image1MouseMove(at.x(), at.y());
    QTest::mouseClick(plot->Image1, b, m, at);
  }
};

TEST_F(GimbraWindows, FirstStartWithAnEmptyStore) {
  Start(DemoCopy());
  EXPECT_EQ(main->Edit4->text(), "600");
  EXPECT_EQ(main->Edit8->text(), "100");
  EXPECT_EQ(main->Edit2->text(), "180");
  EXPECT_EQ(main->Edit3->text(), "0");
  EXPECT_EQ(main->Edit6->text(), "95.0");
  EXPECT_EQ(main->Edit7->text(), "85.0");
  EXPECT_EQ(main->Edit9->text(), "0");
  EXPECT_EQ(main->Edit10->text(), "0");
  EXPECT_EQ(main->Edit11->text(), "0");
  ASSERT_EQ(main->ListBox1->selectedItems().size(), 1);
  EXPECT_EQ(main->ListBox1->selectedItems().first()->text(), "ISS");  // the first line of SatList.ini
  EXPECT_EQ(main->Edit5->text(), "ISS.ang");
  ASSERT_EQ(main->ListBox2->selectedItems().size(), 1);
  EXPECT_EQ(main->ListBox2->selectedItems().first()->text(), "1");
  for (QCheckBox* box : main->CheckBox) EXPECT_FALSE(box->isChecked());
  EXPECT_EQ(main->FormWidth(), NarrowFormWidth(session->Plot.ScreenScale));
  EXPECT_EQ(main->Advanced1->text(), "Advanced");
  EXPECT_EQ(main->pos(), QPoint(20, 20));
  EXPECT_EQ(main->ListBox1->count(), 8);
  EXPECT_EQ(session->Observers.ObserverCount, 3);
  EXPECT_EQ(session->Observers.Entries[0].Label, "Ho");
  EXPECT_TRUE(host.messages.empty());
  // Every Startup value read, in the table's order.
  ASSERT_EQ(store.reads.size(), std::size(kStoredOrder));
  for (std::size_t i = 0; i < store.reads.size(); ++i) EXPECT_EQ(store.reads[i], kStoredOrder[i]);
  // FormShow puts today's date into the calculation-date field.
  EXPECT_EQ(main->Edit1->text().size(), 10);
}

TEST_F(GimbraWindows, NoKepsDirectoryGivesAnEmptySatelliteList) {
  Start("");
  EXPECT_EQ(session->Nav.KepsDir, "/");
  // With no SatList.ini the list stays empty; Draw then draws nothing.
  if (!fs::exists("/SatList.ini")) {
    EXPECT_EQ(main->ListBox1->count(), 0);
    EXPECT_EQ(main->Edit5->text(), ".ang");
    main->Button1->click();
    EXPECT_FALSE(plot->isVisible());
  }
}

TEST_F(GimbraWindows, ValidatorsOnLeavingAField) {
  Start(DemoCopy());
  struct Case {
    const char* name;
    QLineEdit* TGimbra1::*edit;
    const char* typed;
    const char* left;
  } cases[] = {
      {"ALON 725", &TGimbra1::Edit2, "725", "5.0"},
      {"ALON -30", &TGimbra1::Edit2, "-30", "330.0"},
      {"ALON 360 stays", &TGimbra1::Edit2, "360", "360"},
      {"ALON inside keeps its text", &TGimbra1::Edit2, "12.50", "12.50"},
      {"ALAT 95", &TGimbra1::Edit3, "95", "5.0"},
      {"ALAT -181", &TGimbra1::Edit3, "-181", "-1.0"},
      {"ALAT 100", &TGimbra1::Edit3, "100", "10.0"},
      {"Map 20", &TGimbra1::Edit4, "20", "36"},
      {"Map 5000", &TGimbra1::Edit4, "5000", "3000"},
      {"Sat 35", &TGimbra1::Edit8, "35", "36"},
      {"Map between keeps its text", &TGimbra1::Edit4, "0700", "0700"},
      {"the point is discarded while typing", &TGimbra1::Edit4, "12.5", "125"},
      {"letters are discarded while typing", &TGimbra1::Edit2, "1a2,5", "125"},
      {"ALON 1e12 is no loop", &TGimbra1::Edit2, "1000000000000", "280.0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QLineEdit* e = main.get()->*c.edit;
    Type(e, c.typed);
    Leave(e);
    EXPECT_EQ(e->text().toStdString(), c.left);
  }
  // A lone minus passes the key filter but is no number: the message, and
  // the field keeps its text.
  Type(main->Edit3, "-");
  Leave(main->Edit3);
  EXPECT_EQ(main->Edit3->text(), "-");
  ASSERT_EQ(host.messages.size(), 1u);
  // Edit7 and the fudge fields have no filter.
  Type(main->Edit7, "8x");
  EXPECT_EQ(main->Edit7->text(), "8x");
}

TEST_F(GimbraWindows, SettingsAreWrittenWhenTheWindowClosesInTheirOrder) {
  Start(DemoCopy());
  Type(main->Edit2, " 200 ");
  main->CheckBox[2]->setChecked(true);
  main->CheckBox[8]->setChecked(true);
  main->ListBox1->item(3)->setSelected(true);
  main->move(33, 44);
  store.writes.clear();
  main->close();
  EXPECT_EQ(terminated, 1);
  ASSERT_EQ(store.writes.size(), std::size(kWrittenOrder));
  for (std::size_t i = 0; i < store.writes.size(); ++i) EXPECT_EQ(store.writes[i], kWrittenOrder[i]);
  EXPECT_EQ(Stored("ALON"), "200");
  EXPECT_EQ(Stored("Map-1"), "600");
  EXPECT_EQ(Stored("U-gamma"), "95.0");
  EXPECT_EQ(Stored("Sat.Index"), "3");
  EXPECT_EQ(Stored("Zoom Index"), "2");
  EXPECT_EQ(Stored("Ecliptic"), "true");
  EXPECT_EQ(Stored("Earth Arcs"), "true");
  EXPECT_EQ(Stored("Magnetic Poles"), "false");
  EXPECT_EQ(store.values.at({PositionKey, "Gimbra1 Top"}), std::to_string(main->y()));
  EXPECT_EQ(store.values.at({PositionKey, "Gimbra1 Left"}), std::to_string(main->x()));
}

// The real store's kind (an INI file of its own here): what one run stores
// at close, the next run shows, and the planner's keps directory is read
// from the same store.
TEST(GimbraStore, SettingsSurviveARestart) {
  const std::string dir = DemoCopy();
  const std::string ini = dir + "settings.ini";
  TestHost host;
  {
    platform::QtSettingsStore store(ini);
    store.write(PlannerStartupKey, KepsDirectoryValue, dir);
    GimbraSession session(store, host);
    session.Terminate = [] {};
    TGimbra1 main(session);
    TGimbra2 plot(session);
    EXPECT_EQ(main.ListBox1->count(), 8);
    main.Edit2->setText("44.5");
    main.ListBox1->item(5)->setSelected(true);
    main.CheckBox[4]->setChecked(true);
    main.show();
    main.close();
  }
  {
    platform::QtSettingsStore store(ini);
    GimbraSession session(store, host);
    session.Terminate = [] {};
    TGimbra1 main(session);
    TGimbra2 plot(session);
    EXPECT_EQ(main.Edit2->text(), "44.5");
    EXPECT_EQ(main.ListBox1->selectedItems().first()->text(), "NO-18");
    EXPECT_EQ(main.Edit5->text(), "NO-18.ang");
    EXPECT_TRUE(main.CheckBox[4]->isChecked());
    EXPECT_FALSE(main.CheckBox[3]->isChecked());
  }
  EXPECT_TRUE(host.messages.empty());
  fs::remove_all(dir);
}

// Closing while minimised writes the fields but keeps the stored position.
TEST_F(GimbraWindows, ClosingMinimisedKeepsThePosition) {
  store.write(PositionKey, "Gimbra1 Top", "31");
  store.write(PositionKey, "Gimbra2 Left", "32");
  Start(DemoCopy());
  main->move(90, 95);
  plot->show();
  plot->move(96, 97);
  plot->showMinimized();
  plot->close();
  EXPECT_EQ(store.values.at({PositionKey, "Gimbra2 Left"}), "32");
  EXPECT_EQ(store.values.count({PositionKey, "Gimbra2 Top"}), 0u);
  main->showMinimized();
  store.writes.clear();
  main->close();
  EXPECT_EQ(terminated, 1);
  EXPECT_EQ(store.writes.size(), std::size(kWrittenOrder));
  EXPECT_EQ(store.values.at({PositionKey, "Gimbra1 Top"}), "31");
  EXPECT_EQ(store.values.count({PositionKey, "Gimbra1 Left"}), 0u);
}

TEST_F(GimbraWindows, ExitEndsWithoutWritingTheSettings) {
  store.write(StartupKey, "ALON", "123");
  Start(DemoCopy());
  Type(main->Edit2, "200");
  store.writes.clear();
  main->Exit1->trigger();
  EXPECT_EQ(terminated, 1);
  EXPECT_TRUE(store.writes.empty());
  EXPECT_EQ(Stored("ALON"), "123");
}

// A stored value that does not convert is reported; the other values are
// read all the same, so closing does not store design defaults.
TEST_F(GimbraWindows, StoredConversionErrorIsReportedAndStartUpGoesOn) {
  store.write(StartupKey, "Sat.Index", "x1");
  store.write(StartupKey, "Map-2", "9999");
  store.write(StartupKey, "ALON", "77");
  store.write(StartupKey, "Earth Arcs", "true");
  store.write(PositionKey, "Gimbra1 Top", "55");
  Start(DemoCopy());
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_NE(host.messages[0].find("Sat.Index"), std::string::npos);
  EXPECT_EQ(main->Edit2->text(), "77");
  EXPECT_EQ(main->Edit8->text(), "3000");  // stored segments kept within 36 ... 3000
  EXPECT_TRUE(main->CheckBox[8]->isChecked());
  EXPECT_EQ(main->y(), 55);
  EXPECT_EQ(main->ListBox1->selectedItems().first()->text(), "ISS");  // the default index 0
}

TEST_F(GimbraWindows, IndexOutsideTheListSelectsNothing) {
  store.write(StartupKey, "Sat.Index", "42");
  store.write(StartupKey, "Zoom Index", "-1");
  Start(DemoCopy());
  EXPECT_TRUE(main->ListBox1->selectedItems().isEmpty());
  EXPECT_TRUE(main->ListBox2->selectedItems().isEmpty());
  EXPECT_EQ(main->Edit5->text(), ".ang");
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(GimbraWindows, WidthSwitchAndAbout) {
  Start(DemoCopy());
  main->Advanced1->trigger();
  EXPECT_EQ(main->FormWidth(), WideFormWidth(session->Plot.ScreenScale));
  EXPECT_EQ(main->Advanced1->text(), "Normal");
  EXPECT_GT(main->width(), main->GroupBox1->geometry().right());
  main->Advanced1->trigger();
  EXPECT_EQ(main->FormWidth(), NarrowFormWidth(session->Plot.ScreenScale));
  EXPECT_EQ(main->Advanced1->text(), "Advanced");
  EXPECT_LE(main->width(), main->GroupBox1->x());
  main->About2->trigger();
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].rfind("Gimbra", 0), 0u);
  EXPECT_NE(host.messages[0].find("Ver 1.7c"), std::string::npos);
  EXPECT_NE(host.messages[0].find("\nLast updated: 2002-08-10"), std::string::npos);
}

TEST_F(GimbraWindows, DrawShowsThePlotWindowWithTheHint) {
  StartOnDemo();
  EXPECT_FALSE(plot->isVisible());
  main->Button1->click();
  EXPECT_TRUE(plot->isVisible());
  EXPECT_TRUE(host.messages.empty());
  EXPECT_FALSE(session->Busy());
  EXPECT_FALSE(session->Plot.DrawInProgress);
  EXPECT_EQ(plot->Image1->toolTip().toStdString(), PlotImageHint);
  EXPECT_EQ(plot->Image1->size(), QSize(800, 600));
  // The picture is the plot: the silver background of the frame is there.
  EXPECT_NE(plot->Picture().pixelColor(400, 300), QColor(Qt::white));
}

TEST_F(GimbraWindows, ShiftClickWritesTheAttitudeAndAltClickZero) {
  StartOnDemo();
  main->Button1->click();
  const QPoint at(430, 260);
  ClickImage(Qt::LeftButton, Qt::ShiftModifier, at);
  // The direction under the pointer, as the read-out found it.
  navlib::Vec3 expected;
  ASSERT_TRUE(PointerDirection(session->Plot, at.x(), at.y(), expected));
  navlib::NavState back;
  navlib::NavInit(back);
  back.KepsDir = kepsDir;
  back.SatName = "M1-63";
  ASSERT_TRUE(navlib::ReadKeps(back));
  EXPECT_TRUE(back.HasAttitude);
  EXPECT_NEAR(back.Elements.Attitude.x, expected.x, 0.5e-4 + 1e-6);
  EXPECT_NEAR(back.Elements.Attitude.y, expected.y, 0.5e-4 + 1e-6);
  EXPECT_NEAR(back.Elements.Attitude.z, expected.z, 0.5e-4 + 1e-6);
  EXPECT_TRUE(host.messages.empty());

  ClickImage(Qt::LeftButton, Qt::AltModifier, at);
  ASSERT_TRUE(navlib::ReadKeps(back));
  EXPECT_FALSE(back.HasAttitude);
  EXPECT_EQ(back.Elements.Attitude.x, 0);
  EXPECT_EQ(back.Elements.Attitude.z, 0);
}

TEST_F(GimbraWindows, PointerReadoutFollowsThePointer) {
  StartOnDemo();
  main->Button1->click();
  QTest::mouseMove(plot->Image1, QPoint(400, 300));
  plot->Image1MouseMove(400, 300);
  EXPECT_EQ(session->Window.MouseX, 400);
  EXPECT_EQ(session->Window.MouseY, 300);
  // The centre pixel is the plot centre: the attitude rounded to whole degrees.
  EXPECT_NEAR(navlib::Deg(session->Window.CursorDec), session->Plot.CenterDec, 1e-3);
}

TEST_F(GimbraWindows, RightClickEntersAndLeavesTheSatelliteView) {
  StartOnDemo();
  main->Button1->click();
  host.inputAnswers = {"24250,64"};
  ClickImage(Qt::RightButton, Qt::NoModifier, QPoint(400, 300));
  ASSERT_EQ(host.inputPrompts.size(), 1u);
  EXPECT_EQ(host.inputPrompts[0], OrbitMaPrompt);
  EXPECT_TRUE(session->Window.SatelliteViewMode);
  EXPECT_TRUE(session->Window.ClearScreen);
  EXPECT_FALSE(plot->HintOn());
  EXPECT_EQ(session->Window.ViewOrbit, 24250);
  EXPECT_FLOAT_EQ(session->Window.ViewMa, 64);
  EXPECT_EQ(session->Plot.CircleSegments, 100);  // the "Sat" segments
  EXPECT_NEAR(session->Window.ViewLon, 300, 1e-3);  // ALON + 90
  EXPECT_NEAR(session->Window.ViewLat, -5, 1e-3);

  // Keys act on the view: M with Shift, the arrow, G.
  QTest::keyClick(plot.get(), Qt::Key_M, Qt::ShiftModifier);
  EXPECT_FLOAT_EQ(session->Window.ViewMa, 64.25f);
  QTest::keyClick(plot.get(), Qt::Key_Right);
  EXPECT_NEAR(session->Plot.Alon, 211, 1e-3);
  QTest::keyClick(plot.get(), Qt::Key_G);
  EXPECT_TRUE(session->Window.EarthOverlay);
  // C switches CLS off; the right click still leaves the view, because it
  // follows SatelliteViewMode.
  QTest::keyClick(plot.get(), Qt::Key_C);
  EXPECT_FALSE(session->Window.ClearScreen);
  ClickImage(Qt::RightButton, Qt::NoModifier, QPoint(400, 300));
  EXPECT_EQ(host.inputPrompts.size(), 1u);  // no second input box
  EXPECT_FALSE(session->Window.SatelliteViewMode);
  EXPECT_TRUE(plot->HintOn());
  // Back on the sky map the Draw reset the attitude from the fields.
  EXPECT_NEAR(session->Plot.Alon, 210, 1e-3);
  EXPECT_EQ(session->Plot.CircleSegments, 600);
  // In the sky map the keys of the table do nothing.
  QTest::keyClick(plot.get(), Qt::Key_Right);
  EXPECT_NEAR(session->Plot.Alon, 210, 1e-3);
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(GimbraWindows, CancelledOrBadOrbitAnswer) {
  StartOnDemo();
  main->Button1->click();
  // Cancel gives the default: the epoch orbit at MA 128.
  ClickImage(Qt::RightButton, Qt::NoModifier, QPoint(400, 300));
  EXPECT_EQ(session->Window.ViewOrbit, 24247);
  EXPECT_FLOAT_EQ(session->Window.ViewMa, 128);
  ClickImage(Qt::RightButton, Qt::NoModifier, QPoint(400, 300));
  // An answer without a comma: the message, and the sky map stays with the
  // state saying so, so the keys do not draw a view that is not shown.
  host.inputAnswers = {"1234"};
  ClickImage(Qt::RightButton, Qt::NoModifier, QPoint(400, 300));
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_FALSE(session->Window.SatelliteViewMode);
  EXPECT_TRUE(plot->HintOn());
}

TEST_F(GimbraWindows, MirrorKeyRedrawsTheSkyMap) {
  StartOnDemo();
  main->Button1->click();
  const int drawsBefore = host.processEventsCalls;
  QTest::keyClick(plot.get(), Qt::Key_F);
  EXPECT_EQ(session->Plot.MirrorSign, -1);
  EXPECT_GT(host.processEventsCalls, drawsBefore);  // a whole Draw ran
  EXPECT_FALSE(session->Plot.DrawInProgress);
}

TEST_F(GimbraWindows, ReportWindowFromTheMenu) {
  StartOnDemo();
  main->ESarcSim1->trigger();  // the orbit box cancelled: the epoch orbit
  ASSERT_TRUE(report->isVisible());
  const std::string& text = report->ReportText();
  EXPECT_EQ(text.rfind("  AO-40 Earth Arc Sensor Simulation Data\r\n", 0), 0u);
  EXPECT_NE(text.find(" Orbit  24247\r\n"), std::string::npos);
  const std::string legend = "\r\n    * = terminator pass ";
  ASSERT_GE(text.size(), legend.size());
  EXPECT_EQ(text.substr(text.size() - legend.size()), legend);
  EXPECT_EQ(report->windowTitle().toStdString(), EsArcCaption);
  EXPECT_TRUE(report->Memo1->toPlainText().startsWith("  AO-40"));
  EXPECT_EQ(report->size(), QSize(467, 395));
}

TEST_F(GimbraWindows, ReportAbandonedWithoutAKepsFile) {
  StartOnDemo();
  fs::remove(fs::path(kepsDir) / "EL-M1-63.kep");
  main->ESarcSim1->trigger();
  EXPECT_FALSE(report->isVisible());
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0], navlib::KepsNotFoundText);
}

// While a Draw runs (its layers let window events run), the commands that
// would change the state under it do nothing.
TEST_F(GimbraWindows, CommandsAreRefusedWhileADrawRuns) {
  StartOnDemo();
  main->Button1->click();  // the plot window exists and shows the sky map
  const int prompts = static_cast<int>(host.inputPrompts.size());
  bool ran = false;
  host.DuringDraw = [&] {
    ran = true;
    EXPECT_TRUE(session->Busy());
    EXPECT_EQ(session->Draw(true), DrawResult::Refused);
    main->Button1->click();
    main->ESarcSim1->trigger();
    ClickImage(Qt::RightButton, Qt::NoModifier, QPoint(400, 300));
    ClickImage(Qt::LeftButton, Qt::ShiftModifier, QPoint(400, 300));
    QTest::keyClick(plot.get(), Qt::Key_F);
  };
  const std::string kepsBefore = [&] {
    std::string b;
    platform::ReadWholeFile(kepsDir + "EL-M1-63.kep", &b);
    return b;
  }();
  main->Button1->click();
  EXPECT_TRUE(ran);
  EXPECT_EQ(static_cast<int>(host.inputPrompts.size()), prompts);
  EXPECT_FALSE(report->isVisible());
  EXPECT_FALSE(session->Window.SatelliteViewMode);
  EXPECT_EQ(session->Plot.MirrorSign, 1);
  std::string kepsAfter;
  platform::ReadWholeFile(kepsDir + "EL-M1-63.kep", &kepsAfter);
  EXPECT_EQ(kepsAfter, kepsBefore);
  EXPECT_FALSE(session->Busy());
}

TEST_F(GimbraWindows, ExitDuringADrawStopsItFirst) {
  StartOnDemo();
  int callsAtExit = 0;
  host.DuringDraw = [&] {
    callsAtExit = host.processEventsCalls;
    main->Exit1->trigger();
    EXPECT_EQ(terminated, 0);  // not yet: the Draw is still on the stack
  };
  store.writes.clear();
  main->Button1->click();
  EXPECT_EQ(terminated, 1);
  EXPECT_EQ(host.processEventsCalls, callsAtExit);  // the Draw ended at that pause
  EXPECT_TRUE(store.writes.empty());
  EXPECT_FALSE(session->Busy());
}

TEST_F(GimbraWindows, ClosingDuringADrawStopsItThenSaves) {
  StartOnDemo();
  host.DuringDraw = [&] {
    main->close();
    EXPECT_EQ(terminated, 0);
    EXPECT_TRUE(main->isVisible());
  };
  store.writes.clear();
  main->Button1->click();
  EXPECT_EQ(terminated, 1);
  EXPECT_FALSE(main->isVisible());
  EXPECT_EQ(store.writes.size(), std::size(kWrittenOrder));
}

TEST_F(GimbraWindows, PlotWindowPositionIsRemembered) {
  store.write(PositionKey, "Gimbra2 Top", "61");
  store.write(PositionKey, "Gimbra2 Left", "62");
  StartOnDemo();
  EXPECT_EQ(plot->pos(), QPoint(62, 61));
  main->Button1->click();
  plot->move(70, 80);
  plot->close();
  EXPECT_FALSE(plot->isVisible());
  EXPECT_EQ(store.values.at({PositionKey, "Gimbra2 Top"}), std::to_string(plot->y()));
  EXPECT_EQ(store.values.at({PositionKey, "Gimbra2 Left"}), std::to_string(plot->x()));
  // The next Draw shows it again.
  main->Button1->click();
  EXPECT_TRUE(plot->isVisible());
}

}  // namespace
}  // namespace gimbra::ui
