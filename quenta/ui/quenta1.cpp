#include "quenta/ui/quenta1.h"

#include <algorithm>
#include <clocale>
#include <cmath>
#include <exception>
#include <functional>

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDate>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QStyle>
#include <QTime>

#include "navlib/navlib.h"
#include "navlib/textnum.h"
#include "platform/outputbuffer.h"
#include "platform/settingsstore.h"
#include "platform/uihost.h"
#include "quenta/core/planner.h"
#include "quenta/core/planner_lists.h"
#include "quenta/ui/planner_form.h"
#include "quenta/ui/quenta2.h"

namespace quenta {
namespace {

// Routes one widget's events to a function; true from the function
// swallows the event.
class EventHook : public QObject {
 public:
  using Handler = std::function<bool(QEvent*)>;
  EventHook(QObject* owner, Handler handler) : QObject(owner), handler_(std::move(handler)) {}
  bool eventFilter(QObject*, QEvent* event) override { return handler_(event); }

 private:
  Handler handler_;
};

void Hook(QWidget* widget, EventHook::Handler handler) {
  widget->installEventFilter(new EventHook(widget, std::move(handler)));
}

// List files are single-byte text: shown as UTF-8 where they are valid
// UTF-8, otherwise byte for byte. The window keeps the bytes themselves for
// the run, so a name always selects its own keps file.
QString Shown(const std::string& text) {
  QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  if (s.contains(QChar::ReplacementCharacter)) s = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
  return s;
}

std::string TodayText(int addDays) {
  const QDate d = QDate::currentDate().addDays(addDays);
  return DateEditText(d.year(), d.month(), d.day());
}

std::string NowText() {
  const QTime t = QTime::currentTime();
  return TimeEditText(t.hour(), t.minute());
}

QString Q(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

TQuenta1::TQuenta1(navlib::NavState& nav, Planner& planner, platform::OutputBuffer& output, TQuenta2* output2,
                   platform::SettingsStore& settings, platform::UiHost& host)
    : QMainWindow(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                               Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      nav_(nav),
      planner_(planner),
      output_(output),
      output2_(output2),
      settings_(settings),
      host_(host) {
  setObjectName(QStringLiteral("Quenta1"));
  printHooks = DesktopPrintHooks(this);
  BuildControls();
  FormCreate();
}

TQuenta1::~TQuenta1() = default;

void TQuenta1::BuildControls() {
  setWindowTitle(QStringLiteral(" Quenta    /  VELM"));
  // "MS Sans Serif", 8 points: 11 pixels high.
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(11);
  setFont(font);
  auto* client = new QWidget(this);
  client->setObjectName(QStringLiteral("ClientArea"));
  setCentralWidget(client);

  // The form's geometry is laid out for "MS Sans Serif" 8, whose glyphs are
  // narrower than those of the fonts a Linux desktop has. Every position and
  // size is scaled by how much wider (and taller) the captions come out in
  // the font at hand, so no caption is clipped and no two controls overlap.
  const QFontMetrics fm(font);
  const int indicator = style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth) +
                        style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing) + 2;
  struct Caption {
    const char* text;
    int designWidth;
    int extra;  // room beside the text: a radio button's indicator
  };
  const Caption captions[] = {{"Observer", 55, 0},
                              {"Satellite", 46, 0},
                              {"Time Zone", 59, 0},
                              {"Time Int. (min)", 72, 0},
                              {"Start Date (yyyy,mm,dd)", 124, 0},
                              {"Start Time (hh:mm)", 87, 0},
                              {"Finish Date", 72, 0},
                              {"Finish Time", 63, 0},
                              {"Keps files (Drive\\dir)", 95, 0},
                              {"Max. Squint (deg)", 83, 0},
                              {"Above Earth Horizon", 121, indicator},
                              {"Above Radio Horizon", 121, indicator},
                              {"Visible", 129, indicator},
                              {"All Values", 73, indicator}};
  double sx = 1.0;
  for (const Caption& c : captions)
    sx = std::max(sx, (fm.horizontalAdvance(QString::fromLatin1(c.text)) + c.extra) / static_cast<double>(c.designWidth));
  sx = std::min(sx, 1.6);
  const double sy = std::clamp(fm.height() / 13.0, 1.0, 1.6);
  const auto X = [sx](int v) { return static_cast<int>(std::lround(v * sx)); };
  const auto Y = [sy](int v) { return static_cast<int>(std::lround(v * sy)); };
  const auto place = [X, Y](QWidget* w, int left, int top, int width, int height) {
    w->setGeometry(X(left), Y(top), X(width), Y(height));
  };
  client->setFixedSize(X(398), Y(216));

  auto label = [client, place](const char* name, const char* caption, int left, int top, int width, int height) {
    auto* l = new QLabel(QString::fromLatin1(caption), client);
    l->setObjectName(QString::fromLatin1(name));
    place(l, left, top, width, height);
    // Labels size themselves to their caption, as on the form.
    const QPoint at = l->pos();
    l->adjustSize();
    l->move(at);
    return l;
  };
  auto edit = [client, place](const char* name, const char* text, int left, int top, int width, int height) {
    auto* e = new QLineEdit(QString::fromLatin1(text), client);
    e->setObjectName(QString::fromLatin1(name));
    place(e, left, top, width, height);
    return e;
  };
  auto combo = [client, place](const char* name, int left, int top, int width, int height) {
    auto* c = new QComboBox(client);
    c->setObjectName(QString::fromLatin1(name));
    place(c, left, top, width, height);
    c->setMaxVisibleItems(12);
    return c;
  };

  Label1 = label("Label1", "Observer", 15, 7, 55, 13);
  ListBox1 = combo("ListBox1", 17, 24, 78, 17);
  Label2 = label("Label2", "Satellite", 119, 8, 46, 13);
  ListBox2 = new QListWidget(client);
  ListBox2->setObjectName(QStringLiteral("ListBox2"));
  place(ListBox2, 119, 24, 63, 17);
  ListBox2->setSelectionMode(QAbstractItemView::ExtendedSelection);
  ListBox2->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  ListBox2->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  ListBox2->setUniformItemSizes(true);
  ListBox2->setToolTip(QStringLiteral(" Use Shift/Cntr L-Click to select multiple satellites in R/S mode. "));
  Label3 = label("Label3", "Time Zone", 199, 9, 59, 13);
  ListBox3 = combo("ListBox3", 205, 24, 54, 17);
  for (const std::string& zone : TimeZoneItems()) ListBox3->addItem(Q(zone));
  Label4 = label("Label4", "Time Int. (min)", 276, 9, 72, 13);
  ListBox4 = combo("ListBox4", 282, 24, 56, 17);
  for (const std::string& item : IntervalItems()) ListBox4->addItem(Q(item));

  Label6 = label("Label6", "Start Date (yyyy,mm,dd)", 9, 46, 124, 17);
  Edit2 = edit("Edit2", "1998,08,14", 16, 63, 88, 21);
  Label7 = label("Label7", "Start Time (hh:mm)", 144, 46, 87, 15);
  Edit3 = edit("Edit3", "00:00", 143, 63, 82, 21);
  Label8 = label("Label8", "Finish Date", 8, 89, 72, 14);
  Edit4 = edit("Edit4", "1998,08,14", 18, 103, 88, 21);
  Label9 = label("Label9", "Finish Time", 140, 88, 63, 13);
  Edit5 = edit("Edit5", "23:59", 144, 103, 82, 21);

  GroupBox1 = new QGroupBox(client);
  GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
  place(GroupBox1, 240, 56, 145, 97);
  auto radio = [this, place](const char* name, const char* caption, int left, int top, int width, int height) {
    auto* r = new QRadioButton(QString::fromLatin1(caption), GroupBox1);
    r->setObjectName(QString::fromLatin1(name));
    place(r, left, top, width, height);
    return r;
  };
  RadioButton1 = radio("RadioButton1", "Above Earth Horizon", 8, 16, 121, 17);
  RadioButton2 = radio("RadioButton2", "Above Radio Horizon", 8, 35, 121, 17);
  RadioButton3 = radio("RadioButton3", "Visible", 8, 53, 129, 17);
  RadioButton4 = radio("RadioButton4", "All Values", 8, 72, 73, 17);

  Label5 = label("Label5", "Keps files (Drive\\dir)", 15, 131, 95, 13);
  Edit1 = edit("Edit1", "D:\\Elsets\\files", 16, 146, 113, 21);
  Label10 = label("Label10", "Max. Squint (deg)", 144, 131, 83, 13);
  Edit6 = edit("Edit6", "180", 144, 146, 41, 21);

  Button1 = new QPushButton(QStringLiteral("Calculate"), client);
  Button1->setObjectName(QStringLiteral("Button1"));
  place(Button1, 95, 179, 82, 25);
  Button2 = new QPushButton(QStringLiteral("Stop"), client);
  Button2->setObjectName(QStringLiteral("Button2"));
  place(Button2, 206, 179, 79, 25);

  Menu1 = menuBar()->addMenu(QStringLiteral("Menu"));
  Exit1 = Menu1->addAction(QStringLiteral("Exit"));
  About1 = Menu1->addAction(QStringLiteral("About"));
  Print1 = Menu1->addAction(QStringLiteral("Print"));
  QObject::connect(Exit1, &QAction::triggered, this, [this] { Exit1Click(); });
  QObject::connect(About1, &QAction::triggered, this, [this] { About1Click(); });
  QObject::connect(Print1, &QAction::triggered, this, [this] { Print1Click(); });

  // Tab order: the lists, the edits, the buttons, the squint, the frame.
  QWidget* order[] = {ListBox1, ListBox2, ListBox3, ListBox4, Edit1,        Edit2,        Edit3,        Edit4,
                      Edit5,    Button1,  Button2,  Edit6,    RadioButton1, RadioButton2, RadioButton3, RadioButton4};
  for (std::size_t i = 0; i + 1 < std::size(order); ++i) setTabOrder(order[i], order[i + 1]);

  // Events. The list click handlers run on the operator's choice only, never
  // when start-up sets a selection.
  QObject::connect(ListBox1, &QComboBox::activated, this, [this](int) { ListBox1Click(); });
  QObject::connect(ListBox4, &QComboBox::activated, this, [this](int) { ListBox4Click(); });
  QObject::connect(Edit2, &QLineEdit::textChanged, this, [this](const QString&) { Edit2Change(); });
  // The shared key filter of the date, time and squint edits.
  for (QLineEdit* e : {Edit2, Edit3, Edit4, Edit5, Edit6}) {
    Hook(e, [](QEvent* event) {
      if (event->type() != QEvent::KeyPress) return false;
      const QString text = static_cast<QKeyEvent*>(event)->text();
      if (text.isEmpty()) return false;  // arrows, Delete, Home, ...: not typed characters
      for (const QChar c : text) {
        if (c.unicode() < 0x20 && c != QLatin1Char('\b')) return false;  // control keys
        if (!KeptByKeyFilter(static_cast<char32_t>(c.unicode()))) return true;
      }
      return false;
    });
  }
  auto onMouseDown = [](std::function<void()> handler) {
    return [handler](QEvent* event) {
      if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) handler();
      return false;
    };
  };
  Hook(Edit2, onMouseDown([this] { Edit2MouseDown(); }));
  Hook(Edit3, onMouseDown([this] { Edit3MouseDown(); }));
  Hook(Edit4, onMouseDown([this] { Edit4MouseDown(); }));
  // Calculate runs on the press of any mouse button over the button; the
  // press is taken here, so the button's click only ever comes from the
  // keyboard (Space while it has the focus), which calculates as well.
  Hook(Button1, [this](QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
      Button1MouseDown();
      return true;
    }
    return false;
  });
  QObject::connect(Button1, &QPushButton::clicked, this, [this] { Button1MouseDown(); });
  QObject::connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });

  setFixedSize(sizeHint());
}

// ---- start-up ----

void TQuenta1::FormCreate() {
  // Numbers are converted with "." whatever the desktop's regional settings.
  std::setlocale(LC_NUMERIC, "C");

  const StartupSettings stored = ReadStartupSettings(settings_);
  Edit1->setText(Shown(stored.KepsDirectory));
  Edit1->setCursorPosition(0);  // the start of the path shows
  nav_.KepsDir = KepsDirWithSeparator(stored.KepsDirectory);

  const WindowPosition p = ReadWindowPosition(settings_, Form1TopValue, Form1LeftValue);
  move(p.Left, p.Top);

  // A "Horizon.ini" line that does not convert is reported (file and line)
  // and skipped; start-up goes on and applies the stored selections, so the
  // close that follows cannot overwrite them with empty ones.
  const PlannerLists lists = LoadPlannerLists(stored.KepsDirectory, host_);
  planner_.SetLists(lists);
  observers_ = lists.Observers;
  satellites_ = lists.Satellites;
  ListBox1->clear();
  for (const std::string& line : observers_) ListBox1->addItem(Shown(line));
  // The drop-down shows whole observer lines.
  ListBox1->view()->setMinimumWidth(ListBox1->view()->sizeHintForColumn(0) + 24);
  ListBox2->clear();
  for (const std::string& name : satellites_) ListBox2->addItem(Shown(name));

  ApplyStoredSelections();
}

void TQuenta1::ApplyStoredSelections() {
  const StartupSettings s = ReadStartupSettings(settings_);
  ListBox1->setCurrentIndex(SelectableIndex(s.Observer, ListBox1->count()));
  const int sat = SelectableIndex(s.Satellite, ListBox2->count());
  ListBox2->clearSelection();
  if (sat >= 0) {
    ListBox2->setCurrentRow(sat, QItemSelectionModel::ClearAndSelect);
    ListBox2->scrollToItem(ListBox2->item(sat), QAbstractItemView::PositionAtTop);
  } else {
    ListBox2->setCurrentRow(-1, QItemSelectionModel::Clear);
  }
  ListBox3->setCurrentIndex(SelectableIndex(s.TimeZone, ListBox3->count()));
  ListBox4->setCurrentIndex(SelectableIndex(s.TimeInterval, ListBox4->count()));
  Edit6->setText(Q(std::to_string(s.MaximumSquint)));
  QRadioButton* buttons[] = {RadioButton1, RadioButton2, RadioButton3, RadioButton4};
  if (s.ListType >= 1 && s.ListType <= 4) buttons[s.ListType - 1]->setChecked(true);
}

void TQuenta1::FormShow() {
  Edit2->setText(Q(TodayText(0)));
  Edit4->setText(Q(TodayText(1)));
  Edit3->setText(Q(NowText()));
  ListBox4Click();
}

void TQuenta1::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (!shown_ && !event->spontaneous()) {
    shown_ = true;
    FormShow();
  }
}

// ---- closing ----

int TQuenta1::CheckedHorizonButton() const {
  if (RadioButton1->isChecked()) return 1;
  if (RadioButton2->isChecked()) return 2;
  if (RadioButton3->isChecked()) return 3;
  if (RadioButton4->isChecked()) return 4;
  return 0;
}

void TQuenta1::FormClose() {
  ClosingControls c;
  c.KepsDirectory = Edit1->text().toStdString();
  c.Observer = ListBox1->currentIndex();
  c.Satellite = ListBox2->currentRow();
  c.TimeZone = ListBox3->currentIndex();
  c.TimeInterval = ListBox4->currentIndex();
  c.MaximumSquint = Edit6->text().toStdString();
  c.CheckedHorizonButton = CheckedHorizonButton();
  WriteStartupSettings(settings_, c);
  // A minimised or maximised window keeps the position stored before.
  if (!(windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen)))
    WriteWindowPosition(settings_, Form1TopValue, Form1LeftValue, WindowPosition{pos().y(), pos().x()});
  std::string error;
  if (!settings_.flush(&error)) host_.showMessage(error);
}

void TQuenta1::closeEvent(QCloseEvent* event) {
  if (planner_.Busy()) planner_.Stop();  // the run ends after its current step
  if (!closed_) {
    closed_ = true;
    FormClose();
  }
  event->accept();
  if (onClosed) onClosed();
}

// ---- clicks and the mouse helpers ----

void TQuenta1::ListBox1Click() {
  if (RadioHorizonEnabled(ListBox1->currentIndex())) {
    RadioButton2->setEnabled(true);
  } else {
    RadioButton2->setEnabled(false);
    if (RadioButton2->isChecked()) RadioButton1->setChecked(true);
  }
}

void TQuenta1::ListBox4Click() {
  const bool enabled = VisibleAndAllValuesEnabled(ListBox4->currentIndex());
  RadioButton3->setEnabled(enabled);
  RadioButton4->setEnabled(enabled);
}

void TQuenta1::Edit2MouseDown() {
  Edit2->setText(Q(TodayText(0)));
  Edit4->setText(Q(TodayText(1)));
}

void TQuenta1::Edit3MouseDown() { Edit3->setText(Q(ToggledStartTime(Edit3->text().toStdString(), NowText()))); }

void TQuenta1::Edit4MouseDown() { Edit4->setText(Edit2->text()); }

void TQuenta1::Edit2Change() {}

// ---- menu ----

void TQuenta1::Exit1Click() { close(); }

void TQuenta1::About1Click() { host_.showMessage(AboutText()); }

void TQuenta1::Print1Click() {
  QFont viewFont(QStringLiteral("DejaVu Sans Mono"));
  viewFont.setPixelSize(12);
  if (output2_) viewFont = output2_->RichEdit1->font();
  lastPrintOutcome = PrintOutputText(output_.Text(), viewFont, host_, printHooks);
}

// ---- the run ----

PlanInputs TQuenta1::ReadInputs() const {
  PlanInputs in;
  in.ObserverLines = observers_;
  in.ObserverIndex = ListBox1->currentIndex();
  in.SatelliteNames = satellites_;
  in.SatelliteSelected.assign(satellites_.size(), false);
  for (int i = 0; i < ListBox2->count() && i < static_cast<int>(satellites_.size()); ++i)
    in.SatelliteSelected[static_cast<std::size_t>(i)] = ListBox2->item(i)->isSelected();
  in.SatelliteIndex = ListBox2->currentRow();
  in.ZoneIndex = ListBox3->currentIndex();
  in.IntervalIndex = ListBox4->currentIndex();
  in.StartDate = Edit2->text().toStdString();
  in.StartTime = Edit3->text().toStdString();
  in.FinishDate = Edit4->text().toStdString();
  in.FinishTime = Edit5->text().toStdString();
  in.MaxSquint = Edit6->text().toStdString();
  in.AboveEarthHorizon = RadioButton1->isChecked();
  in.AboveRadioHorizon = RadioButton2->isChecked();
  in.VisibleOnly = RadioButton3->isChecked();
  in.AllValues = RadioButton4->isChecked();
  return in;
}

void TQuenta1::Button1MouseDown() {
  // A Calculate while a run is in progress does nothing: the run's pauses
  // let this press through, and a second run inside the first would share
  // its state.
  if (planner_.Busy()) return;
  const PlanInputs inputs = ReadInputs();
  if (output2_) output2_->CalculateStarting();
  try {
    const CalculateResult r = planner_.Calculate(inputs);
    if (!r.Refused && r.SatelliteIndex >= 0 && r.SatelliteIndex < ListBox2->count())
      ListBox2->setCurrentRow(r.SatelliteIndex, QItemSelectionModel::NoUpdate);
  } catch (const navlib::ConvertError& e) {
    host_.showMessage(e.what());
  } catch (const std::exception& e) {
    host_.showMessage(e.what());
  }
}

void TQuenta1::Button2Click() { planner_.Stop(); }

}  // namespace quenta
