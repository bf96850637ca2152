// Canvas over QPainter on any paint device: a QImage of 800 x 600 for the
// plot window and PNG files, a QSvgGenerator for SVG files (coordinates in
// image pixels). No antialiasing, so single pixels and one-pixel lines are
// what the plot draws; "Fixedsys" is drawn with DejaVu Sans Mono.
#pragma once

#include <memory>
#include <string>

#include <QFont>
#include <QPainter>
#include <QPoint>
#include <QPolygon>

#include "platform/canvas.h"

class QPaintDevice;
class QImage;

namespace platform {

class QtCanvas : public Canvas {
 public:
  // Paints on device, which must outlive the canvas; width and height are
  // the drawing area in pixels.
  QtCanvas(QPaintDevice* device, int width, int height);
  ~QtCanvas() override;

  void setPenColor(Color c) override;
  void setPenWidth(int w) override;
  void setBrushColor(Color c) override;
  void setFont(const std::string& name, int sizePt, bool fixedPitch) override;
  void setFontColor(Color c) override;
  void moveTo(int x, int y) override;
  void lineTo(int x, int y) override;
  void ellipse(int x1, int y1, int x2, int y2) override;
  void fillRect(int x1, int y1, int x2, int y2) override;
  void textOut(int x, int y, const std::string& text) override;
  int width() const override { return width_; }
  int height() const override { return height_; }

  // Ends painting (the device may then be saved); the canvas must not be
  // drawn on afterwards.
  void finish();

  // The font family standing in for a requested one: "Fixedsys" and
  // "MS Sans Serif" have no Linux counterpart of that name.
  static QString FontFamilyFor(const std::string& name);

 private:
  void applyPen();
  // Consecutive lines are collected into one polyline and drawn when
  // anything else happens: far fewer painter calls, and one SVG element
  // per run of lines.
  void flush();

  QPainter painter_;
  int width_, height_;
  QColor penColor_{0, 0, 0};
  int penWidth_ = 1;
  QColor brushColor_{255, 255, 255};
  QColor fontColor_{0, 0, 0};
  QPoint pos_{0, 0};
  QPolygon pending_;
};

// An 800 x 600 (or any size) RGB image filled white.
QImage NewPlotImage(int width = 800, int height = 600);

}  // namespace platform
