// The plot window's rules without a window: the pointer read-out as the
// inverse of the sky projection, the key table of the satellite view, the
// zoom limits, the orbit/MA answer, and the main window's small rules.
#include <gtest/gtest.h>

#include <cmath>

#include "gimbra/core/plot.h"
#include "gimbra/core/plotwindow.h"
#include "gimbra/ui/mainsettings.h"
#include "navlib/navlib.h"
#include "navlib/textnum.h"
#include "platform/recordingcanvas.h"
#include "platform/uihost.h"

namespace gimbra {
namespace {

// A view as SetUpView and DrawFrame leave it: 800 x 600, zoom 1, the plot
// centre at the given whole degrees.
PlotState ViewAt(float decDeg, float raDeg, int mirror) {
  PlotState p;
  p.PlotWidth = 800;
  p.PlotHeight = 600;
  p.TextRows = 65;
  p.CenterX = 400;
  p.CenterY = 300;
  p.Zoom = 1;
  p.PlotRadius = 300;
  p.MirrorSign = mirror;
  p.CenterDec = decDeg;
  p.CenterRa = raDeg;
  p.ViewCosDec = std::cos(navlib::Rad(decDeg));
  p.ViewNegSinDec = -std::sin(navlib::Rad(decDeg));
  p.ViewCosRa = std::cos(navlib::Rad(raDeg));
  p.ViewNegSinRa = -std::sin(navlib::Rad(raDeg));
  return p;
}

// The unrounded pixel of a unit direction, as DrawSkyCircle computes it
// before truncation.
void ForwardPixel(PlotState& p, const navlib::Vec3& dir, double& x, double& y) {
  p.WorkVec = {dir.x * p.PlotRadius, dir.y * p.PlotRadius, dir.z * p.PlotRadius};
  ProjectToView(p);
  x = p.PlotWidth - (p.CenterX - static_cast<double>(p.LastEast));
  y = p.CenterY - static_cast<double>(p.LastNorth);
}

// Pixel -> direction -> pixel returns to the same pixel, for plain and
// mirrored views and several plot centres.
TEST(GimbraReadout, IsTheInverseOfTheProjection) {
  struct Case {
    const char* name;
    float dec, ra;
    int mirror;
  } cases[] = {
      {"centre on the equator", 0, 0, 1},
      {"northern centre", 37, 123, 1},
      {"southern centre, mirrored", -64, 301, -1},
      {"near the pole", 89, 10, 1},
      {"mirrored equator", 0, 210, -1},
  };
  const int pixels[][2] = {{400, 300}, {401, 300}, {600, 150}, {180, 470}, {400, 1}, {699, 300}, {250, 50}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PlotState p = ViewAt(c.dec, c.ra, c.mirror);
    for (const auto& px : pixels) {
      SCOPED_TRACE(px[0] * 1000 + px[1]);
      navlib::Vec3 dir;
      ASSERT_TRUE(PointerDirection(p, px[0], px[1], dir));
      EXPECT_NEAR(navlib::Length(dir), 1.0, 1e-5);
      double x = 0, y = 0;
      ForwardPixel(p, dir, x, y);
      EXPECT_NEAR(x, px[0], 0.01);
      EXPECT_NEAR(y, px[1], 0.01);
    }
  }
}

// Directions worked out by hand for a centre at declination 0, right
// ascension 0: the centre pixel is (1, 0, 0); the top of the 90 deg circle
// the celestial pole; its right edge right ascension 90 deg (east to the
// right), or, mirrored, its left edge.
TEST(GimbraReadout, HandWorkedDirections) {
  struct Case {
    const char* name;
    int mirror, x, y;
    navlib::Vec3 expected;
  } cases[] = {
      {"centre", 1, 400, 300, {1, 0, 0}},
      {"top of the 90 deg circle", 1, 400, 0, {0, 0, 1}},
      {"bottom", 1, 400, 600, {0, 0, -1}},
      {"right edge, east to the right", 1, 700, 300, {0, 1, 0}},
      {"left edge", 1, 100, 300, {0, -1, 0}},
      {"left edge mirrored is east", -1, 100, 300, {0, 1, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const PlotState p = ViewAt(0, 0, c.mirror);
    navlib::Vec3 dir;
    ASSERT_TRUE(PointerDirection(p, c.x, c.y, dir));
    EXPECT_NEAR(dir.x, c.expected.x, 1e-6);
    EXPECT_NEAR(dir.y, c.expected.y, 1e-6);
    EXPECT_NEAR(dir.z, c.expected.z, 1e-6);
  }
}

// With MirrorSign -1 a point left of the centre reads as the point the same
// distance right of it reads with +1.
TEST(GimbraReadout, MirrorSwapsLeftAndRight) {
  const PlotState plain = ViewAt(23, 47, 1);
  const PlotState mirrored = ViewAt(23, 47, -1);
  for (int d : {1, 37, 150, 290}) {
    SCOPED_TRACE(d);
    navlib::Vec3 a, b;
    ASSERT_TRUE(PointerDirection(plain, 400 + d, 290, a));
    ASSERT_TRUE(PointerDirection(mirrored, 400 - d, 290, b));
    EXPECT_FLOAT_EQ(a.x, b.x);
    EXPECT_FLOAT_EQ(a.y, b.y);
    EXPECT_FLOAT_EQ(a.z, b.z);
  }
}

// Outside the 90 deg circle, and before any view exists (radius 0), there
// is no direction; exactly on the circle the depth is 0.
TEST(GimbraReadout, OutsideTheCircleAndWithoutARadius) {
  PlotState p = ViewAt(0, 0, 1);
  navlib::Vec3 dir{5, 6, 7};
  EXPECT_FALSE(PointerDirection(p, 0, 0, dir));
  EXPECT_FALSE(PointerDirection(p, 701, 300, dir));
  EXPECT_EQ(dir.x, 5);
  ASSERT_TRUE(PointerDirection(p, 700, 300, dir));
  EXPECT_NEAR(dir.x, 0, 1e-7);  // depth 0: perpendicular to the centre direction
  p.PlotRadius = 0;
  EXPECT_FALSE(PointerDirection(p, 400, 300, dir));
}

// The rows of the read-out on a recording canvas: blanked first, then the
// three texts at design y = 504, 540 and 522 (rows 9, 5 and 7).
TEST(GimbraReadout, RowsAreWrittenAtTheirPlaces) {
  navlib::NavState nav;
  navlib::NavInit(nav);
  nav.SunDir = {1, 0, 0};  // the Sun at the plot centre
  PlotState plot = ViewAt(0, 0, 1);
  AttitudeData data;
  platform::RecordingCanvas canvas;
  platform::RecordingUiHost host;
  PlotInputs inputs;
  PlotContext ctx{nav, plot, data, canvas, host, inputs, {}, {}};
  PlotWindowState w;
  w.MouseX = 400;
  w.MouseY = 0;  // the celestial pole, 90 deg from the Sun
  ShowCursorReadout(ctx, w);
  const auto texts = canvas.of(platform::RecordingCanvas::Kind::TextOut);
  ASSERT_EQ(texts.size(), 6u);
  EXPECT_EQ(texts[0].text, std::string(22, ' '));
  EXPECT_EQ(texts[0].y1, 504);
  EXPECT_EQ(texts[1].y1, 522);
  EXPECT_EQ(texts[2].y1, 540);
  EXPECT_EQ(texts[2].text, std::string(27, ' '));
  EXPECT_EQ(texts[3].y1, 504);
  EXPECT_EQ(texts[4].y1, 540);
  EXPECT_EQ(texts[5].y1, 522);
  for (const auto& t : texts) EXPECT_EQ(t.x1, 4);
  // Declination 90, right ascension 0 (hand: the pole); the Sun lies in the
  // plane perpendicular to that axis, so its angle is 0 and the sun-sensor
  // count is 0.
  EXPECT_EQ(texts[5].text, "Dec/Ra   :90.0/0.0");
  EXPECT_EQ(texts[4].text.substr(0, 19), "Sun Angle :0.0/0.0/");
  EXPECT_GE(texts[4].text.size(), 27u);
  EXPECT_NEAR(nav.Elements.Attitude.z, 1.0, 1e-6);
}

// Pointer outside the circle: the rows stay blank and the element attitude
// keeps the last direction.
TEST(GimbraReadout, OutsideLeavesTheAttitude) {
  navlib::NavState nav;
  navlib::NavInit(nav);
  nav.Elements.Attitude = {0.6f, 0.8f, 0};
  PlotState plot = ViewAt(0, 0, 1);
  AttitudeData data;
  platform::RecordingCanvas canvas;
  platform::RecordingUiHost host;
  PlotInputs inputs;
  PlotContext ctx{nav, plot, data, canvas, host, inputs, {}, {}};
  PlotWindowState w;
  w.MouseX = 5;
  w.MouseY = 5;
  ShowCursorReadout(ctx, w);
  EXPECT_EQ(canvas.of(platform::RecordingCanvas::Kind::TextOut).size(), 3u);
  EXPECT_EQ(nav.Elements.Attitude.x, 0.6f);
}

// The key table, with the edge cases of the plot window's description.
TEST(GimbraKeys, TableOfKeys) {
  struct Case {
    const char* name;
    ViewKey key;
    bool shift;
    float alon, alat, viewLon, viewLat, viewMa;
    int viewOrbit;
    // expected
    float eAlon, eAlat, eViewLon, eViewLat, eViewMa;
    int eViewOrbit;
  } cases[] = {
      {"right arrow wraps past 360", ViewKey::Right, false, 359.5f, 0, 0, 0, 0, 5, 0.5f, 0, 0, 0, 0, 5},
      {"360 itself stays until exceeded", ViewKey::Pad6, false, 359.9f, 0, 0, 0, 0, 5, 360.0f, 0, 0, 0, 0, 5},
      {"keypad 4 below 0 wraps", ViewKey::Pad4, false, 0.05f, 0, 0, 0, 0, 5, 359.95f, 0, 0, 0, 0, 5},
      {"left arrow", ViewKey::Left, true, 10, 0, 0, 0, 0, 5, 9, 0, 0, 0, 0, 5},
      {"up arrow has no limit", ViewKey::Up, false, 0, 90, 0, 0, 0, 5, 0, 91, 0, 0, 0, 5},
      {"keypad 2", ViewKey::Pad2, false, 0, 0, 0, 0, 0, 5, 0, -0.1f, 0, 0, 0, 5},
      {"period wraps like Alon", ViewKey::Period, false, 0, 0, 360, 0, 0, 5, 0, 0, 1, 0, 0, 5},
      {"comma below 0", ViewKey::Comma, false, 0, 0, 0.5f, 0, 0, 5, 0, 0, 359.5f, 0, 0, 5},
      {"S", ViewKey::S, false, 0, 0, 0, 89, 0, 5, 0, 0, 0, 90, 0, 5},
      {"X", ViewKey::X, false, 0, 0, 0, -89, 0, 5, 0, 0, 0, -90, 0, 5},
      {"Shift+M past 256 steps the orbit", ViewKey::M, true, 0, 0, 0, 0, 255.9f, 5, 0, 0, 0, 0, 0.15f, 6},
      {"M below 0 steps back", ViewKey::M, false, 0, 0, 0, 0, 0.1f, 5, 0, 0, 0, 0, 255.85f, 4},
      {"K down from 5", ViewKey::K, false, 0, 0, 0, 0, 5, 5, 0, 0, 0, 0, 251, 4},
      {"Shift+K", ViewKey::K, true, 0, 0, 0, 0, 250, 5, 0, 0, 0, 0, 4, 6},
      {"Shift+O", ViewKey::O, true, 0, 0, 0, 0, 0, 5, 0, 0, 0, 0, 0, 6},
      {"O", ViewKey::O, false, 0, 0, 0, 0, 0, 5, 0, 0, 0, 0, 0, 4},
      {"V looks backward, whole degrees", ViewKey::V, false, 0, 0, 10.7f, 20, 0, 5, 0, 0, 190, -20, 0, 5},
      {"V from 190 gives 10, not 10.7", ViewKey::V, false, 0, 0, 190, -20, 0, 5, 0, 0, 10, 20, 0, 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PlotState p;
    PlotWindowState w;
    p.Alon = c.alon;
    p.Alat = c.alat;
    w.ViewLon = c.viewLon;
    w.ViewLat = c.viewLat;
    w.ViewMa = c.viewMa;
    w.ViewOrbit = c.viewOrbit;
    EXPECT_TRUE(ApplyViewKey(p, w, c.key, c.shift));
    EXPECT_NEAR(p.Alon, c.eAlon, 1e-4);
    EXPECT_NEAR(p.Alat, c.eAlat, 1e-4);
    EXPECT_NEAR(w.ViewLon, c.eViewLon, 1e-4);
    EXPECT_NEAR(w.ViewLat, c.eViewLat, 1e-4);
    EXPECT_NEAR(w.ViewMa, c.eViewMa, 1e-4);
    EXPECT_EQ(w.ViewOrbit, c.eViewOrbit);
  }
}

TEST(GimbraKeys, SwitchesAndKeysOutsideTheTable) {
  PlotState p;
  PlotWindowState w;
  EXPECT_TRUE(ApplyViewKey(p, w, ViewKey::C, false));
  EXPECT_TRUE(w.ClearScreen);
  EXPECT_TRUE(ApplyViewKey(p, w, ViewKey::G, true));
  EXPECT_TRUE(w.EarthOverlay);
  EXPECT_FALSE(ApplyViewKey(p, w, ViewKey::F, false));
  EXPECT_FALSE(ApplyViewKey(p, w, ViewKey::Shift, true));
  EXPECT_FALSE(ApplyViewKey(p, w, ViewKey::Other, false));
}

// Zoom: radius and zoom move together by 1.2, and never leave 1 ... 10^6
// pixels; a radius of 0 (no zoom chosen yet) stays 0.
TEST(GimbraKeys, ZoomKeepsRadiusAndZoomInStep) {
  PlotState p;
  PlotWindowState w;
  p.PlotRadius = 300;
  p.Zoom = 1;
  ApplyViewKey(p, w, ViewKey::Z, true);
  EXPECT_EQ(p.PlotRadius, 360);
  EXPECT_FLOAT_EQ(p.Zoom, 1.2f);
  ApplyViewKey(p, w, ViewKey::Z, false);
  EXPECT_EQ(p.PlotRadius, 300);  // trunc(360 x 0.8333333333333334) = 300
  EXPECT_NEAR(p.Zoom, 1.0, 1e-6);

  p.PlotRadius = 1;
  p.Zoom = 0.003f;
  EXPECT_FALSE(ZoomView(p, false));
  EXPECT_EQ(p.PlotRadius, 1);
  EXPECT_FLOAT_EQ(p.Zoom, 0.003f);

  p.PlotRadius = 900000;
  p.Zoom = 3000;
  EXPECT_FALSE(ZoomView(p, true));
  EXPECT_EQ(p.PlotRadius, 900000);
  for (int i = 0; i < 200; ++i) ZoomView(p, true);
  EXPECT_LE(p.PlotRadius, MaxPlotRadius);

  p.PlotRadius = 0;
  p.Zoom = 0;
  EXPECT_FALSE(ZoomView(p, true));
  EXPECT_EQ(p.PlotRadius, 0);
}

TEST(GimbraOrbitMa, AnswersOfTheInputBox) {
  struct Case {
    const char* name;
    const char* answer;
    bool converts;
    int orbit;
    float ma;
  } cases[] = {
      {"orbit and MA", "1234,10", true, 1234, 10},
      {"blanks around", "  24247,128.5 ", true, 24247, 128.5f},
      {"negative MA", "5,-3", true, 5, -3},
      {"no comma", "1234", false, 0, 0},
      {"orbit not a whole number", "12.5,3", false, 0, 0},
      {"MA not a number", "12,x", false, 0, 0},
      {"empty", "", false, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    int orbit = -7;
    float ma = -7;
    if (c.converts) {
      ParseOrbitMa(c.answer, orbit, ma);
      EXPECT_EQ(orbit, c.orbit);
      EXPECT_FLOAT_EQ(ma, c.ma);
    } else {
      EXPECT_THROW(ParseOrbitMa(c.answer, orbit, ma), navlib::ConvertError);
      EXPECT_EQ(orbit, -7);
    }
  }
  navlib::NavState nav;
  nav.Elements.EpochOrbit = 24247.9f;
  EXPECT_EQ(OrbitMaDefaultText(nav), "24247,128");
}

TEST(GimbraMainRules, KeyFilters) {
  struct Case {
    char c;
    bool decimal, integer;
  } cases[] = {
      {'0', true, true}, {'9', true, true}, {'-', true, true}, {'.', true, false},
      {'\b', true, true}, {'\0', true, true}, {'a', false, false}, {',', false, false},
      {'+', false, false}, {' ', false, false}, {'e', false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.c));
    EXPECT_EQ(ui::KeyPasses(c.c, false), c.decimal);
    EXPECT_EQ(ui::KeyPasses(c.c, true), c.integer);
  }
}

TEST(GimbraMainRules, ScreenScaleAndWidths) {
  EXPECT_EQ(ui::ScreenScaleFor(96), 1.0f);
  EXPECT_FLOAT_EQ(ui::ScreenScaleFor(120), 119.0f / 96);  // (ppi - 1) / 96
  EXPECT_EQ(ui::NarrowFormWidth(1), 327);
  EXPECT_EQ(ui::WideFormWidth(1), 481);
  EXPECT_EQ(ui::NarrowFormWidth(119.0f / 96), 405);  // trunc(405.34...)
  std::string caption;
  EXPECT_EQ(ui::SwitchedFormWidth(327, 1, caption), 481);
  EXPECT_EQ(caption, "Normal");
  EXPECT_EQ(ui::SwitchedFormWidth(481, 1, caption), 327);
  EXPECT_EQ(caption, "Advanced");
  EXPECT_EQ(ui::SwitchedFormWidth(400, 1, caption), 327);
  EXPECT_EQ(caption, "Advanced");
}

TEST(GimbraMainRules, PositionsDefaultTo20) {
  platform::MemorySettingsStore store;
  store.write(PositionKey, "Gimbra2 Top", "abc");
  store.write(PositionKey, "Gimbra2 Left", "77");
  const WindowPosition p = ReadWindowPosition(store, "Gimbra2");
  EXPECT_EQ(p.Top, 20);
  EXPECT_EQ(p.Left, 77);
  const WindowPosition q = ReadWindowPosition(store, "Gimbra1");
  EXPECT_EQ(q.Top, 20);
  EXPECT_EQ(q.Left, 20);
}

}  // namespace
}  // namespace gimbra
