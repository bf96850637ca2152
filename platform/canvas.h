// The drawing surface of the plotter: an 800 x 600 image with a pen, a brush,
// a font and the few operations the plots are made of. The Qt implementation
// paints with QPainter on a QImage (windows, PNG) or a QSvgGenerator (SVG).
#pragma once

#include <cstdint>
#include <string>

namespace platform {

struct Color {
  uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Color&) const = default;
};

// The sixteen standard colour names of the form library.
inline constexpr Color clBlack{0, 0, 0};
inline constexpr Color clMaroon{128, 0, 0};
inline constexpr Color clGreen{0, 128, 0};
inline constexpr Color clOlive{128, 128, 0};
inline constexpr Color clNavy{0, 0, 128};
inline constexpr Color clPurple{128, 0, 128};
inline constexpr Color clTeal{0, 128, 128};
inline constexpr Color clGray{128, 128, 128};
inline constexpr Color clSilver{192, 192, 192};
inline constexpr Color clRed{255, 0, 0};
inline constexpr Color clLime{0, 255, 0};
inline constexpr Color clYellow{255, 255, 0};
inline constexpr Color clBlue{0, 0, 255};
inline constexpr Color clFuchsia{255, 0, 255};
inline constexpr Color clAqua{0, 255, 255};
inline constexpr Color clWhite{255, 255, 255};

class Canvas {
 public:
  virtual ~Canvas() = default;
  virtual void setPenColor(Color c) = 0;
  virtual void setPenWidth(int w) = 0;
  virtual void setBrushColor(Color c) = 0;
  virtual void setFont(const std::string& name, int sizePt, bool fixedPitch) = 0;
  virtual void setFontColor(Color c) = 0;
  virtual void moveTo(int x, int y) = 0;
  // Line from the pen position to (x, y); pen moves there. (The Qt canvas also
  // sets the end pixel, so a closed border has all four corners.)
  virtual void lineTo(int x, int y) = 0;
  // Ellipse inside the box (x1, y1)-(x2, y2): outline with the pen, filled with the brush.
  virtual void ellipse(int x1, int y1, int x2, int y2) = 0;
  // Fills (x1, y1)-(x2, y2), right and bottom edges excluded, with the brush.
  virtual void fillRect(int x1, int y1, int x2, int y2) = 0;
  // Text with its top-left corner at (x, y), over an opaque background of the
  // brush colour; leaves the pen position at the end of the text.
  virtual void textOut(int x, int y, const std::string& text) = 0;
  virtual int width() const = 0;
  virtual int height() const = 0;
};

// A canvas that paints nothing, for commands that need a canvas but no picture
// (the Earth-sensor report) and for timing the geometry without the painter.
class NullCanvas : public Canvas {
 public:
  void setPenColor(Color) override {}
  void setPenWidth(int) override {}
  void setBrushColor(Color) override {}
  void setFont(const std::string&, int, bool) override {}
  void setFontColor(Color) override {}
  void moveTo(int, int) override {}
  void lineTo(int, int) override {}
  void ellipse(int, int, int, int) override {}
  void fillRect(int, int, int, int) override {}
  void textOut(int, int, const std::string&) override {}
  int width() const override { return 800; }
  int height() const override { return 600; }
};

}  // namespace platform
