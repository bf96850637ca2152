#include "gimbra/ui/gimbra_2.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "gimbra/ui/gimbra_1.h"
#include "gimbra/ui/session.h"
#include "navlib/textnum.h"
#include "platform/qt/qtcanvas.h"

namespace gimbra::ui {

namespace {

MouseButton ButtonOf(Qt::MouseButton b) {
  if (b == Qt::RightButton) return MouseButton::Right;
  if (b == Qt::LeftButton) return MouseButton::Left;
  return MouseButton::Middle;
}

}  // namespace

PlotImage::PlotImage(TGimbra2& form, QWidget* parent) : QWidget(parent), form_(form) {
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void PlotImage::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawImage(0, 0, form_.Picture());
}

void PlotImage::mouseMoveEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  form_.Image1MouseMove(p.x(), p.y());
}

void PlotImage::mousePressEvent(QMouseEvent* event) {
  form_.FormMouseDown(ButtonOf(event->button()), event->modifiers() & Qt::ShiftModifier,
                      event->modifiers() & Qt::AltModifier);
}

TGimbra2::TGimbra2(GimbraSession& session) : QWidget(nullptr), session_(session) {
  session_.PlotWindow = this;
  setWindowTitle(PlotWindowCaption);
  // A top-level window of its own (no owner): its own task-bar entry.
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  QFont font(platform::QtCanvas::FontFamilyFor("MS Sans Serif"));
  font.setPixelSize(11);
  setFont(font);
  setFocusPolicy(Qt::StrongFocus);

  const float scale = session_.Plot.ScreenScale;
  const int w = static_cast<int>(800 * static_cast<double>(scale));
  const int h = static_cast<int>(600 * static_cast<double>(scale));
  picture_ = platform::NewPlotImage(w, h);
  canvas_ = std::make_unique<platform::QtCanvas>(&picture_, w, h);
  Image1 = new PlotImage(*this, this);
  Image1->setGeometry(7, 7, w, h);
  // The form's client area: the image with a 7-pixel margin and a little
  // more below, as the 823 x 643 outer form leaves.
  setFixedSize(w + 15, h + 16);
  move(453, 40);
  session_.Host.BeforeEvents = [this] { Repaint(); };
  FormCreate();
}

TGimbra2::~TGimbra2() {
  session_.Host.BeforeEvents = nullptr;
  if (session_.PlotWindow == this) session_.PlotWindow = nullptr;
}

platform::Canvas& TGimbra2::Canvas() { return *canvas_; }

void TGimbra2::FormCreate() {
  const WindowPosition pos = ReadWindowPosition(session_.Store, "Gimbra2");
  move(pos.Left, pos.Top);
  SetHint(true);
}

void TGimbra2::FormClose() {
  if (isMinimized() || isMaximized()) return;
  WindowPosition pos;
  pos.Top = y();
  pos.Left = x();
  WriteWindowPosition(session_.Store, "Gimbra2", pos);
  std::string error;
  if (!session_.Store.flush(&error)) session_.Host.showMessage(error);
}

void TGimbra2::closeEvent(QCloseEvent* event) {
  // Closing only hides the window; the next Draw shows it again.
  FormClose();
  event->accept();
}

void TGimbra2::ShowForDraw() {
  if (isMinimized()) {
    showNormal();
  } else {
    show();
  }
  // The offscreen platform of the tests has no stacking order.
  if (QGuiApplication::platformName() != QLatin1String("offscreen")) raise();
}

void TGimbra2::Repaint() {
  if (Image1) Image1->update();
}

void TGimbra2::SetHint(bool on) { Image1->setToolTip(on ? QString::fromUtf8(PlotImageHint) : QString()); }

bool TGimbra2::HintOn() const { return !Image1->toolTip().isEmpty(); }

void TGimbra2::WithContext(const std::function<void(PlotWindowContext&)>& handler) {
  const PlotInputs inputs = session_.Main->ReadControls();
  PlotContext ctx = session_.Context(inputs);
  SatViewContext view{ctx, session_.Window, session_.Observers, session_.Map};
  PlotWindowContext c{view, [this](bool setInProgress) { session_.Draw(setInProgress); },
                      [this](bool on) { SetHint(on); }};
  try {
    handler(c);
  } catch (const navlib::ConvertError& e) {
    session_.Host.showMessage(e.what());
  }
  Repaint();
}

void TGimbra2::Image1MouseMove(int x, int y) {
  WithContext([x, y](PlotWindowContext& c) { PlotImageMouseMove(c, x, y); });
}

void TGimbra2::FormMouseDown(MouseButton button, bool shift, bool alt) {
  WithContext([=](PlotWindowContext& c) { PlotWindowMouseDown(c, button, shift, alt); });
}

void TGimbra2::FormKeyDown(ViewKey key, bool shift) {
  WithContext([=](PlotWindowContext& c) { PlotWindowKeyDown(c, key, shift); });
}

ViewKey TGimbra2::KeyFor(int qtKey, bool keypad) {
  if (keypad) {
    switch (qtKey) {
      case Qt::Key_6: return ViewKey::Pad6;
      case Qt::Key_4: return ViewKey::Pad4;
      case Qt::Key_8: return ViewKey::Pad8;
      case Qt::Key_2: return ViewKey::Pad2;
      default: break;
    }
  }
  switch (qtKey) {
    case Qt::Key_Right: return ViewKey::Right;
    case Qt::Key_Left: return ViewKey::Left;
    case Qt::Key_Up: return ViewKey::Up;
    case Qt::Key_Down: return ViewKey::Down;
    case Qt::Key_Period:
    case Qt::Key_Greater: return ViewKey::Period;
    case Qt::Key_Comma:
    case Qt::Key_Less: return ViewKey::Comma;
    case Qt::Key_S: return ViewKey::S;
    case Qt::Key_X: return ViewKey::X;
    case Qt::Key_Z: return ViewKey::Z;
    case Qt::Key_O: return ViewKey::O;
    case Qt::Key_M: return ViewKey::M;
    case Qt::Key_K: return ViewKey::K;
    case Qt::Key_C: return ViewKey::C;
    case Qt::Key_G: return ViewKey::G;
    case Qt::Key_V: return ViewKey::V;
    case Qt::Key_F: return ViewKey::F;
    case Qt::Key_Shift: return ViewKey::Shift;
    default: return ViewKey::Other;
  }
}

void TGimbra2::keyPressEvent(QKeyEvent* event) {
  const bool shift = event->modifiers() & Qt::ShiftModifier;
  FormKeyDown(KeyFor(event->key(), event->modifiers() & Qt::KeypadModifier), shift);
  if (shift) setCursor(Qt::CrossCursor);
  event->accept();
}

void TGimbra2::keyReleaseEvent(QKeyEvent* event) {
  unsetCursor();
  event->accept();
}

void TGimbra2::mousePressEvent(QMouseEvent* event) {
  // Presses on the form beside the image act like presses on the image.
  FormMouseDown(ButtonOf(event->button()), event->modifiers() & Qt::ShiftModifier,
                event->modifiers() & Qt::AltModifier);
}

}  // namespace gimbra::ui
