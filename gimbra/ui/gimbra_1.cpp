#include "gimbra/ui/gimbra_1.h"

#include <filesystem>

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDate>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>

#include "gimbra/core/esarc.h"
#include "gimbra/core/fieldtext.h"
#include "gimbra/ui/gimbra_2.h"
#include "gimbra/ui/gimbra_3.h"
#include "gimbra/ui/mainsettings.h"
#include "gimbra/ui/session.h"
#include "navlib/textnum.h"
#include "platform/atomicfile.h"
#include "platform/qt/qtcanvas.h"
#include "quenta/core/planner_lists.h"

namespace gimbra::ui {

namespace {

// The form's client area below the menu, at design size.
constexpr int ClientHeight = 247;
// Outer width minus client width: the form's two borders.
constexpr int BorderWidth = 8;

QString Q(const std::string& s) { return QString::fromStdString(s); }
std::string S(const QString& s) { return s.toStdString(); }

const char* const kItemCaptions[9] = {"Mag. Poles",  "Celest. Equat.", "Ecliptic / Sun",
                                      "Sun Sensor",  "Earth MA",       "Squint Data",
                                      "Camera Earth", "Camera Moon",   "Earth Arcs"};
bool GraphItems::*const kItemBoxes[9] = {
    &GraphItems::MagPoles,   &GraphItems::CelestialEquator, &GraphItems::EclipticSun,
    &GraphItems::SunSensor,  &GraphItems::EarthMa,          &GraphItems::SquintData,
    &GraphItems::CameraEarth, &GraphItems::CameraMoon,      &GraphItems::EarthArcs};

int SelectedRow(const QListWidget* list) {
  const auto items = list->selectedItems();
  return items.isEmpty() ? -1 : list->row(items.first());
}

void SelectRow(QListWidget* list, int row) {
  const QSignalBlocker block(list);
  list->clearSelection();
  if (row >= 0 && row < list->count()) {
    list->setCurrentRow(row);
    list->item(row)->setSelected(true);
  }
}

// The keps directory followed by the path separator; only the separator
// when no directory is stored.
std::string WithSeparator(const std::string& dir) {
  const char sep = static_cast<char>(std::filesystem::path::preferred_separator);
  if (!dir.empty() && (dir.back() == sep || dir.back() == '/')) return dir;
  return dir + sep;
}

}  // namespace

TGimbra1::TGimbra1(GimbraSession& session) : session_(session) {
  session_.Main = this;
  BuildControls();
  FormCreate();
}

TGimbra1::~TGimbra1() {
  if (session_.Main == this) session_.Main = nullptr;
}

void TGimbra1::BuildControls() {
  setWindowTitle(Q(MainWindowCaption));
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  QFont font(platform::QtCanvas::FontFamilyFor("MS Sans Serif"));
  font.setPixelSize(11);
  font.setBold(true);
  setFont(font);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, QColor(192, 192, 192));  // clSilver
  setPalette(pal);

  Menu1 = menuBar()->addMenu("Menu");
  About2 = Menu1->addAction("About");
  ESarcSim1 = Menu1->addAction("ESarc Sim");
  Advanced1 = Menu1->addAction("Advanced");
  Exit1 = Menu1->addAction("Exit");
  connect(About2, &QAction::triggered, this, [this] { About2Click(); });
  connect(ESarcSim1, &QAction::triggered, this, [this] { ESarcSim1Click(); });
  connect(Advanced1, &QAction::triggered, this, [this] { Advanced1Click(); });
  connect(Exit1, &QAction::triggered, this, [this] { Exit1Click(); });

  auto* client = new QWidget(this);
  client->setAutoFillBackground(true);
  setCentralWidget(client);

  auto label = [client](const char* text, int x, int y, int w = -1) {
    auto* l = new QLabel(text, client);
    if (w > 0) {
      l->setGeometry(x, y, w, 15);
    } else {
      l->move(x, y);
      l->adjustSize();
    }
    return l;
  };
  auto edit = [this, client](const char* text, int x, int y, int w) {
    auto* e = new QLineEdit(text, client);
    e->setGeometry(x, y, w, 21);
    e->installEventFilter(this);
    return e;
  };
  auto twoLines = [client](const char* text, int x, int y, int w) {
    auto* l = new QLabel(text, client);
    l->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    l->setWordWrap(true);
    l->setGeometry(x, y, w, 28);
    return l;
  };
  auto oneLineList = [client](int x, int y, int w) {
    auto* l = new QListWidget(client);
    l->setGeometry(x, y, w, 22);
    l->setSelectionMode(QAbstractItemView::SingleSelection);
    l->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    l->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    return l;
  };

  Label1 = label("Satellite:", 56, 24);
  ListBox1 = oneLineList(48, 40, 81);
  Label2 = label("Zoom:", 144, 24);
  ListBox2 = oneLineList(136, 40, 57);
  for (const std::string& z : DefaultZoomList()) ListBox2->addItem(Q(z));
  // One row high: the scroll arrows step through the entries.
  const int rowHeight = ListBox2->sizeHintForRow(0) + 2 * ListBox2->frameWidth();
  ListBox1->setFixedHeight(rowHeight);
  ListBox2->setFixedHeight(rowHeight);
  // Narrow enough that the caption wraps after "Segments".
  Label6 = twoLines("   Segments  Map       Sat", 204, 6, 96);
  Edit4 = edit("500", 200, 36, 49);
  Edit8 = edit("150", 256, 36, 49);
  Label3 = label("Calculation Date:", 32, 72);
  Edit1 = edit("", 32, 88, 121);
  Label4 = label("ALON", 184, 72);
  Edit2 = edit("180", 176, 88, 57);
  Label5 = label("ALAT", 248, 72);
  Edit3 = edit("0", 240, 88, 57);
  Label7 = label("Data File Name:", 32, 120);
  Edit5 = edit("AO-10.ang", 32, 136, 121);
  Label8 = twoLines("Earth Sensor \"gamma\"\nLower      Upper", 164, 120, 146);
  Edit6 = edit("95", 176, 152, 57);
  Edit7 = edit("85", 240, 152, 57);
  Label9 = label("Fudge Factors ", 56, 176);
  Label10 = label("ESL (n)   ESU (n)   Sun (deg)", 24, 192);
  Edit9 = edit("0", 28, 208, 45);
  Edit10 = edit("0", 80, 208, 45);
  Edit11 = edit("0", 136, 208, 45);
  Button1 = new QPushButton("Draw", client);
  Button1->setGeometry(200, 208, 75, 25);
  connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });

  GroupBox1 = new QGroupBox("Graph Items", client);
  GroupBox1->setGeometry(328, 0, 129, 241);
  for (int i = 0; i < 9; ++i) {
    CheckBox[i] = new QCheckBox(kItemCaptions[i], GroupBox1);
    CheckBox[i]->setGeometry(10, 20 + 24 * i, 115, 18);
    CheckBox[i]->setChecked(true);
  }

  connect(ListBox1, &QListWidget::itemSelectionChanged, this, [this] { ListBox1Click(); });
}

void TGimbra1::FormCreate() {
  GimbraSession& s = session_;
  // The number conversions of the program read and write "." whatever the
  // desktop's locale (navlib/textnum), so nothing is set here.
  const QScreen* screen = QGuiApplication::primaryScreen();
  s.Plot.ScreenScale = ScreenScaleFor(screen ? static_cast<int>(screen->logicalDotsPerInchX()) : 96);

  s.Nav.KepsDir = WithSeparator(StoredKepsDirectory(s.Store));

  PlotInputs in = ReadControls();
  in.SatelliteList.clear();
  std::string bytes;
  if (platform::ReadWholeFile(s.Nav.KepsDir + "SatList.ini", &bytes)) in.SatelliteList = quenta::ParseListFile(bytes);
  in.ZoomIndex = 2;
  const std::vector<std::string> messages = ReadStartupSettings(s.Store, in);
  WriteControls(in);
  ListBox1Click();
  for (const std::string& m : messages) s.Host.showMessage(m);

  const WindowPosition pos = ReadWindowPosition(s.Store, "Gimbra1");
  move(pos.Left, pos.Top);

  s.Observers = ObserverList();
  if (platform::ReadWholeFile(s.Nav.KepsDir + "ObsList.ini", &bytes)) {
    const std::string obsError = ParseObserverList(quenta::ParseListFile(bytes), s.Observers);
    if (!obsError.empty()) s.Host.showMessage(obsError);
  }

  SetFormWidth(NarrowFormWidth(s.Plot.ScreenScale));
}

void TGimbra1::FormShow() {
  const QDate today = QDate::currentDate();
  Edit1->setText(Q(DateFieldText(today.year(), today.month(), today.day())));
}

void TGimbra1::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  // Shown by the program, not restored from the task bar.
  if (!event->spontaneous() && !shown_) {
    shown_ = true;
    FormShow();
  }
}

void TGimbra1::FormClose() {
  WriteStartupSettings(session_.Store, ReadControls());
  if (!isMinimized() && !isMaximized()) {
    WindowPosition pos;
    pos.Top = y();
    pos.Left = x();
    WriteWindowPosition(session_.Store, "Gimbra1", pos);
  }
  std::string error;
  if (!session_.Store.flush(&error)) session_.Host.showMessage(error);
}

void TGimbra1::closeEvent(QCloseEvent* event) {
  if (session_.Busy()) {
    // The Draw stops first; the window closes when it has ended.
    event->ignore();
    session_.AfterStoppingDraw([this] { close(); });
    return;
  }
  FormClose();
  event->accept();
  if (session_.Terminate) session_.Terminate();
}

void TGimbra1::ListBox1Click() {
  const int row = SelectedRow(ListBox1);
  if (row >= 0) session_.Nav.SatName = S(ListBox1->item(row)->text());
  Edit5->setText(Q(session_.Nav.SatName + ".ang"));
}

void TGimbra1::Button1Click() {
  // Refused while a Draw runs (this one would run inside its pause).
  if (session_.Busy()) return;
  session_.Draw(true);
}

void TGimbra1::ShowError(const std::exception& e) { session_.Host.showMessage(e.what()); }

void TGimbra1::Edit4Exit(QLineEdit* edit) {
  try {
    edit->setText(Q(ClampSegmentsText(S(edit->text()))));
  } catch (const navlib::ConvertError& e) {
    ShowError(e);
  }
}

void TGimbra1::Edit2Exit() {
  try {
    Edit2->setText(Q(WrapAlonText(S(Edit2->text()))));
  } catch (const navlib::ConvertError& e) {
    ShowError(e);
  }
}

void TGimbra1::Edit3Exit() {
  try {
    Edit3->setText(Q(FoldAlatText(S(Edit3->text()))));
  } catch (const navlib::ConvertError& e) {
    ShowError(e);
  }
}

bool TGimbra1::eventFilter(QObject* watched, QEvent* event) {
  auto* edit = qobject_cast<QLineEdit*>(watched);
  if (!edit) return QMainWindow::eventFilter(watched, event);
  if (event->type() == QEvent::KeyPress) {
    const bool integerOnly = edit == Edit4 || edit == Edit8;
    const bool filtered = integerOnly || edit == Edit2 || edit == Edit3 || edit == Edit6;
    auto* key = static_cast<QKeyEvent*>(event);
    const QString text = key->text();
    // Only typed characters are filtered; editing keys and shortcuts pass.
    if (filtered && text.size() == 1 && !(key->modifiers() & (Qt::ControlModifier | Qt::MetaModifier))) {
      const QChar c = text.at(0);
      const bool printable = c.unicode() >= 0x20 && c.unicode() != 0x7f;
      if (printable && (c.unicode() > 0x7e || !KeyPasses(static_cast<char>(c.unicode()), integerOnly))) return true;
    }
  } else if (event->type() == QEvent::FocusOut) {
    if (edit == Edit4 || edit == Edit8) Edit4Exit(edit);
    if (edit == Edit2) Edit2Exit();
    if (edit == Edit3) Edit3Exit();
  }
  return QMainWindow::eventFilter(watched, event);
}

void TGimbra1::SetFormWidth(int width) {
  formWidth_ = width;
  const int client = width - BorderWidth;
  const int height = ClientHeight + menuBar()->sizeHint().height();
  setFixedSize(client, height);
}

void TGimbra1::Advanced1Click() {
  std::string caption;
  SetFormWidth(SwitchedFormWidth(formWidth_, session_.Plot.ScreenScale, caption));
  Advanced1->setText(Q(caption));
}

void TGimbra1::About2Click() { session_.Host.showMessage(AboutText); }

void TGimbra1::ESarcSim1Click() {
  // The report moves the library's time and attitude: not under a running Draw.
  if (session_.Busy()) return;
  const PlotInputs inputs = ReadControls();
  PlotContext ctx = session_.Context(inputs);
  try {
    const EsArcResult result = EsArcReport(ctx, session_.Window);
    if (result.Made && session_.Report) session_.Report->ShowReport(result.Text);
  } catch (const navlib::ConvertError& e) {
    ShowError(e);
  }
}

void TGimbra1::Exit1Click() {
  // Ends the program without writing the settings; a running Draw stops first.
  session_.AfterStoppingDraw([this] {
    if (session_.Terminate) session_.Terminate();
  });
}

PlotInputs TGimbra1::ReadControls() const {
  PlotInputs in;
  in.SatelliteList.clear();
  for (int i = 0; i < ListBox1->count(); ++i) in.SatelliteList.push_back(S(ListBox1->item(i)->text()));
  in.SatelliteIndex = SelectedRow(ListBox1);
  in.ZoomList.clear();
  for (int i = 0; i < ListBox2->count(); ++i) in.ZoomList.push_back(S(ListBox2->item(i)->text()));
  in.ZoomIndex = SelectedRow(ListBox2);
  in.MapSegmentsText = S(Edit4->text());
  in.SatSegmentsText = S(Edit8->text());
  in.CalcDateText = S(Edit1->text());
  in.AlonText = S(Edit2->text());
  in.AlatText = S(Edit3->text());
  in.DataFileName = S(Edit5->text());
  in.UpperGammaText = S(Edit6->text());
  in.LowerGammaText = S(Edit7->text());
  in.EslFudgeText = S(Edit9->text());
  in.EsuFudgeText = S(Edit10->text());
  in.SunFudgeText = S(Edit11->text());
  for (int i = 0; i < 9; ++i) in.Items.*kItemBoxes[i] = CheckBox[i]->isChecked();
  return in;
}

void TGimbra1::WriteControls(const PlotInputs& in) {
  {
    const QSignalBlocker block(ListBox1);
    ListBox1->clear();
    for (const std::string& name : in.SatelliteList) ListBox1->addItem(Q(name));
  }
  SelectRow(ListBox1, in.SatelliteIndex);
  SelectRow(ListBox2, in.ZoomIndex);
  Edit4->setText(Q(in.MapSegmentsText));
  Edit8->setText(Q(in.SatSegmentsText));
  Edit1->setText(Q(in.CalcDateText));
  Edit2->setText(Q(in.AlonText));
  Edit3->setText(Q(in.AlatText));
  Edit5->setText(Q(in.DataFileName));
  Edit6->setText(Q(in.UpperGammaText));
  Edit7->setText(Q(in.LowerGammaText));
  Edit9->setText(Q(in.EslFudgeText));
  Edit10->setText(Q(in.EsuFudgeText));
  Edit11->setText(Q(in.SunFudgeText));
  for (int i = 0; i < 9; ++i) CheckBox[i]->setChecked(in.Items.*kItemBoxes[i]);
}

}  // namespace gimbra::ui
