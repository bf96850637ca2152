// A Canvas that records every call, for tests: the lines drawn (with the
// pen they were drawn with), the pixels and rectangles filled, the ellipses
// and the texts, in order.
#pragma once

#include <string>
#include <vector>

#include "platform/canvas.h"

namespace platform {

class RecordingCanvas : public Canvas {
 public:
  enum class Kind { MoveTo, LineTo, Ellipse, FillRect, TextOut };
  struct Op {
    Kind kind;
    int x1 = 0, y1 = 0;   // LineTo: start (the pen position); others: first corner or point
    int x2 = 0, y2 = 0;   // LineTo: end; Ellipse, FillRect: second corner
    std::string text;
    Color pen, brush;
    int penWidth = 1;
  };

  std::vector<Op> ops;
  Color pen{0, 0, 0};
  int penWidth = 1;
  Color brush{255, 255, 255};
  Color fontColor{0, 0, 0};
  std::string fontName;
  int fontSize = 0;
  int penX = 0, penY = 0;
  int w = 800, h = 600;

  void setPenColor(Color c) override { pen = c; }
  void setPenWidth(int width) override { penWidth = width; }
  void setBrushColor(Color c) override { brush = c; }
  void setFont(const std::string& name, int sizePt, bool) override {
    fontName = name;
    fontSize = sizePt;
  }
  void setFontColor(Color c) override { fontColor = c; }
  void moveTo(int x, int y) override {
    add(Kind::MoveTo, x, y, x, y, {});
    penX = x;
    penY = y;
  }
  void lineTo(int x, int y) override {
    add(Kind::LineTo, penX, penY, x, y, {});
    penX = x;
    penY = y;
  }
  void ellipse(int x1, int y1, int x2, int y2) override { add(Kind::Ellipse, x1, y1, x2, y2, {}); }
  void fillRect(int x1, int y1, int x2, int y2) override { add(Kind::FillRect, x1, y1, x2, y2, {}); }
  void textOut(int x, int y, const std::string& text) override {
    add(Kind::TextOut, x, y, x, y, text);
    // The recorder has no font; it moves the pen 8 pixels a character.
    penX = x + 8 * static_cast<int>(text.size());
    penY = y;
  }
  int width() const override { return w; }
  int height() const override { return h; }

  // The calls of one kind, in order.
  std::vector<Op> of(Kind k) const {
    std::vector<Op> out;
    for (const Op& op : ops) {
      if (op.kind == k) out.push_back(op);
    }
    return out;
  }
  void clear() { ops.clear(); }

 private:
  void add(Kind k, int x1, int y1, int x2, int y2, const std::string& text) {
    ops.push_back(Op{k, x1, y1, x2, y2, text, pen, brush, penWidth});
  }
};

}  // namespace platform
