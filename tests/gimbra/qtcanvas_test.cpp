// The Qt canvas on an 800 x 600 image: specific pixels and colours of a
// drawn frame (not a whole-image hash), the opaque text background and the
// single pixels of fill rectangles.
#include <gtest/gtest.h>

#include <QImage>

#include "gimbra/core/plot.h"
#include "platform/qt/qtcanvas.h"
#include "plotfixture.h"

namespace {

QColor At(const QImage& image, int x, int y) { return image.pixelColor(x, y); }
bool Is(const QColor& c, platform::Color want) {
  return c.red() == want.r && c.green() == want.g && c.blue() == want.b;
}
// True when some pixel within `radius` of (x, y) has the colour.
bool Near(const QImage& image, int x, int y, int radius, platform::Color want) {
  for (int dy = -radius; dy <= radius; ++dy) {
    for (int dx = -radius; dx <= radius; ++dx) {
      const int px = x + dx, py = y + dy;
      if (px >= 0 && py >= 0 && px < image.width() && py < image.height() && Is(At(image, px, py), want)) return true;
    }
  }
  return false;
}

TEST(QtCanvas, SinglePixelsLinesAndOpaqueText) {
  QImage image = platform::NewPlotImage();
  {
    platform::QtCanvas c(&image, 800, 600);
    c.setBrushColor(platform::clSilver);
    c.fillRect(0, 0, 800, 600);
    c.setBrushColor(platform::clRed);
    c.fillRect(99, 50, 100, 51);  // exactly one pixel, column 99, row 50
    c.setPenColor(platform::clBlue);
    c.setPenWidth(1);
    c.moveTo(10, 200);
    c.lineTo(60, 200);
    c.setBrushColor(platform::clYellow);
    c.textOut(300, 400, "SUN");
    c.finish();
  }
  EXPECT_TRUE(Is(At(image, 99, 50), platform::clRed));
  EXPECT_TRUE(Is(At(image, 98, 50), platform::clSilver));
  EXPECT_TRUE(Is(At(image, 100, 50), platform::clSilver));
  EXPECT_TRUE(Is(At(image, 99, 49), platform::clSilver));
  EXPECT_TRUE(Is(At(image, 99, 51), platform::clSilver));
  // A one-pixel line without antialiasing: pure blue on its row only.
  EXPECT_TRUE(Is(At(image, 30, 200), platform::clBlue));
  EXPECT_TRUE(Is(At(image, 30, 199), platform::clSilver));
  EXPECT_TRUE(Is(At(image, 30, 201), platform::clSilver));
  // Text over an opaque yellow cell whose top-left corner is (300, 400):
  // the corner is background, black glyph pixels lie inside.
  EXPECT_TRUE(Is(At(image, 300, 400), platform::clYellow));
  bool glyph = false;
  for (int y = 400; y < 415; ++y) {
    for (int x = 300; x < 324; ++x) glyph = glyph || Is(At(image, x, y), platform::clBlack);
  }
  EXPECT_TRUE(glyph);
  EXPECT_TRUE(Is(At(image, 300, 399), platform::clSilver));
  // Only the colours drawn: no blended pixels anywhere.
  for (int y = 0; y < 600; y += 3) {
    for (int x = 0; x < 800; x += 3) {
      const QColor c = At(image, x, y);
      EXPECT_TRUE(Is(c, platform::clSilver) || Is(c, platform::clRed) || Is(c, platform::clBlue) ||
                  Is(c, platform::clYellow) || Is(c, platform::clBlack))
          << x << "," << y;
    }
  }
}

TEST(QtCanvas, FixedsysIsDrawnWithAMonospacedFontOnTheNinePixelGrid) {
  EXPECT_EQ(platform::QtCanvas::FontFamilyFor("Fixedsys"), QStringLiteral("DejaVu Sans Mono"));
  QImage image = platform::NewPlotImage();
  platform::QtCanvas c(&image, 800, 600);
  c.setFont("Fixedsys", 9, true);
  const QFontMetrics fm(QFont(platform::QtCanvas::FontFamilyFor("Fixedsys")));
  (void)fm;
  c.setBrushColor(platform::clSilver);
  c.textOut(0, 0, "0123456789");
  c.finish();
  // Ten characters stay within 90 pixels, the width of ten grid cells.
  bool beyond = false;
  for (int y = 0; y < 16; ++y) {
    for (int x = 90; x < 120; ++x) beyond = beyond || !Is(At(image, x, y), platform::clWhite);
  }
  EXPECT_FALSE(beyond);
}

TEST(QtCanvas, RenderedFrameHasBorderHorizonCircleAndSunMarker) {
  gimbratest::PlotFixture f;
  f.inputs.Items.EclipticSun = true;
  f.inputs.AlonText = "300";  // brings the Sun of 22 January into view for this orbit
  QImage image = platform::NewPlotImage();
  {
    platform::QtCanvas canvas(&image, 800, 600);
    gimbra::PlotContext ctx{f.nav, f.plot, f.data, canvas, f.host, f.inputs, {}, {}};
    ASSERT_EQ(gimbra::DrawPlot(ctx), gimbra::DrawResult::Drawn);
    canvas.finish();
  }
  // Border: the corner pixels and the edges are black.
  for (auto [x, y] : {std::pair{0, 0}, {799, 0}, {799, 599}, {0, 599}, {200, 0}, {0, 300}, {799, 300}, {200, 599}}) {
    SCOPED_TRACE(std::to_string(x) + "," + std::to_string(y));
    EXPECT_TRUE(Is(At(image, x, y), platform::clBlack));
  }
  // Background: silver inside the border, outside the horizon circle.
  EXPECT_TRUE(Is(At(image, 50, 300), platform::clSilver));
  EXPECT_TRUE(Is(At(image, 750, 300), platform::clSilver));
  // Horizon circle: grey, two pixels wide, 300 pixels from (400, 300) on the
  // horizontal through the centre (grid lines may cross it elsewhere).
  EXPECT_TRUE(Near(image, 100, 300, 1, platform::clGray));
  EXPECT_TRUE(Near(image, 700, 300, 1, platform::clGray));
  EXPECT_FALSE(Near(image, 95, 300, 2, platform::clGray));

  // The Sun marker: yellow pixels about 5 pixels around the Sun's pixel,
  // with "SUN" written 9 pixels below and right of the marker's last point.
  navlib::SunPosition(f.nav);
  f.plot.WorkVec = navlib::LatLonToVector(f.nav.SunDec, f.nav.SunRa);
  f.plot.WorkVec = {f.plot.WorkVec.x * 300, f.plot.WorkVec.y * 300, f.plot.WorkVec.z * 300};
  gimbra::ProjectToView(f.plot);
  ASSERT_GT(f.plot.LastDepth, 0) << "the Sun should be in view";
  const int sx = static_cast<int>(f.plot.PlotWidth - (f.plot.CenterX - f.plot.LastEast));
  const int sy = static_cast<int>(f.plot.CenterY - f.plot.LastNorth);
  EXPECT_TRUE(Near(image, sx + 5, sy, 2, platform::clYellow));
  EXPECT_TRUE(Near(image, sx - 5, sy, 2, platform::clYellow));
  EXPECT_TRUE(Near(image, sx, sy - 5, 2, platform::clYellow));
  bool sunText = false;
  for (int y = sy + 9; y < sy + 9 + 15; ++y) {
    for (int x = sx + 14; x < sx + 14 + 24; ++x) sunText = sunText || Is(At(image, x, y), platform::clBlack);
  }
  EXPECT_TRUE(sunText);
  // The picture is not all silver: the grid is grey all over the disc.
  int grey = 0;
  for (int y = 0; y < 600; ++y) {
    for (int x = 100; x < 700; ++x) grey += Is(At(image, x, y), platform::clGray);
  }
  EXPECT_GT(grey, 5000);
}

}  // namespace
