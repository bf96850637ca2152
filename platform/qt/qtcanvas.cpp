#include "platform/qt/qtcanvas.h"

#include <cmath>

#include <QFontMetrics>
#include <QImage>
#include <QPaintDevice>
#include <QPen>

namespace platform {

namespace {

QColor ToQColor(Color c) { return QColor(c.r, c.g, c.b); }

}  // namespace

QtCanvas::QtCanvas(QPaintDevice* device, int width, int height)
    : painter_(device), width_(width), height_(height) {
  painter_.setRenderHint(QPainter::Antialiasing, false);
  painter_.setRenderHint(QPainter::TextAntialiasing, false);
  painter_.setClipRect(QRect(0, 0, width_, height_));
  applyPen();
  painter_.setBrush(QBrush(brushColor_));
  setFont("Fixedsys", 9, true);
}

QtCanvas::~QtCanvas() { finish(); }

void QtCanvas::finish() {
  if (!painter_.isActive()) return;
  flush();
  painter_.end();
}

void QtCanvas::flush() {
  if (pending_.size() >= 2) painter_.drawPolyline(pending_);
  pending_.clear();
}

QString QtCanvas::FontFamilyFor(const std::string& name) {
  if (name == "Fixedsys" || name == "Courier" || name == "Courier New") return QStringLiteral("DejaVu Sans Mono");
  if (name == "MS Sans Serif") return QStringLiteral("DejaVu Sans");
  return QString::fromStdString(name);
}

void QtCanvas::applyPen() {
  flush();
  QPen pen(penColor_);
  pen.setWidth(penWidth_);
  // One-pixel lines cover both end pixels (a flat cap would leave out the
  // first pixel of lines drawn right to left, and with it a corner of the
  // border); wider lines get round ends so that the segments of a circle
  // join without gaps.
  if (penWidth_ <= 1) {
    pen.setCapStyle(Qt::SquareCap);
  } else {
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
  }
  painter_.setPen(pen);
}

void QtCanvas::setPenColor(Color c) {
  if (ToQColor(c) == penColor_) return;
  penColor_ = ToQColor(c);
  applyPen();
}

void QtCanvas::setPenWidth(int w) {
  if ((w < 1 ? 1 : w) == penWidth_) return;
  penWidth_ = w < 1 ? 1 : w;
  applyPen();
}

void QtCanvas::setBrushColor(Color c) {
  if (ToQColor(c) == brushColor_) return;
  flush();
  brushColor_ = ToQColor(c);
  painter_.setBrush(QBrush(brushColor_));
}

void QtCanvas::setFont(const std::string& name, int sizePt, bool fixedPitch) {
  flush();
  QFont font(FontFamilyFor(name));
  // Points at 96 pixels per inch, plus one pixel: DejaVu Sans Mono at 13
  // pixels advances about 8 pixels a character, as the 9-pixel text grid
  // of the plot expects.
  font.setPixelSize(static_cast<int>(std::lround(sizePt * 96.0 / 72.0)) + 1);
  font.setFixedPitch(fixedPitch);
  if (fixedPitch) font.setStyleHint(QFont::Monospace);
  font.setStyleStrategy(QFont::NoAntialias);
  painter_.setFont(font);
}

void QtCanvas::setFontColor(Color c) { fontColor_ = ToQColor(c); }

void QtCanvas::moveTo(int x, int y) {
  const QPoint to(x, y);
  if (to != pos_) flush();
  pos_ = to;
}

void QtCanvas::lineTo(int x, int y) {
  const QPoint to(x, y);
  if (to == pos_) return;
  if (pending_.isEmpty()) pending_ << pos_;
  pending_ << to;
  pos_ = to;
}

void QtCanvas::ellipse(int x1, int y1, int x2, int y2) {
  flush();
  // The box's right and bottom edges lie outside, as with fillRect.
  painter_.drawEllipse(QRect(QPoint(x1, y1), QPoint(x2 - 1, y2 - 1)));
}

void QtCanvas::fillRect(int x1, int y1, int x2, int y2) {
  if (x2 <= x1 || y2 <= y1) return;
  flush();
  painter_.fillRect(QRect(x1, y1, x2 - x1, y2 - y1), brushColor_);
}

void QtCanvas::textOut(int x, int y, const std::string& text) {
  flush();
  const QString s = QString::fromStdString(text);
  const QFontMetrics fm(painter_.font());
  const int w = fm.horizontalAdvance(s);
  // Opaque background of the brush colour behind the text cell.
  painter_.fillRect(QRect(x, y, w, fm.height()), brushColor_);
  const QPen pen = painter_.pen();
  painter_.setPen(fontColor_);
  painter_.drawText(QPoint(x, y + fm.ascent()), s);
  painter_.setPen(pen);
  pos_ = QPoint(x + w, y);
}

QImage NewPlotImage(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(Qt::white);
  return image;
}

}  // namespace platform
