// The satellite view painted by the Qt canvas (a few pixels of the Earth's
// disc, the coastline and the background), and gimbra-cli satview / esarc
// run as a person runs them.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include <QColor>
#include <QImage>

#include "extras_fixture.h"
#include "gimbra/core/satview.h"
#include "platform/atomicfile.h"
#include "platform/qt/qtcanvas.h"

namespace {

using Kind = platform::RecordingCanvas::Kind;

// The same view drawn twice from the same state: once recorded (to know
// where the lines went), once painted.
struct TwoCanvases {
  extrastest::ViewWorld rec;
  QImage image = platform::NewPlotImage(800, 600);

  void Run(bool earth) {
    for (int pass = 0; pass < 2; ++pass) {
      extrastest::ViewWorld w;
      w.inputs.SatSegmentsText = "300";
      if (pass == 0) {
        Draw(rec, earth, rec.canvas);
      } else {
        platform::QtCanvas canvas(&image, 800, 600);
        Draw(w, earth, canvas);
        canvas.finish();
      }
    }
  }

  static void Draw(extrastest::ViewWorld& w, bool earth, platform::Canvas& canvas) {
    w.inputs.SatSegmentsText = "300";
    gimbra::PlotContext ctx{w.nav, w.plot, w.data, canvas, w.host, w.inputs, {}, [&w] { gimbra::FillWorldMap(w.map); }};
    gimbra::SatViewContext view{ctx, w.window, w.observers, w.map};
    ASSERT_EQ(gimbra::DrawPlot(ctx), gimbra::DrawResult::Drawn);
    gimbra::BuildCircleTable(w.plot, w.plot.SatSegments);
    gimbra::BeginSatelliteView(view, 12350, 20);
    // Look at the Earth, with the overlay (keys S/X, ".", ",", G).
    float lat = 0, lon = 0;
    navlib::VectorToLatLon(navlib::CelestialToPlane(w.nav, w.plot.EarthDir), lat, lon);
    w.window.ViewLat = navlib::Deg(lat);
    w.window.ViewLon = navlib::Deg(lon);
    w.window.EarthOverlay = earth;
    gimbra::DrawSatelliteView(view);
  }

  // True when a pixel of the colour lies within one pixel of (x, y).
  bool ColourNear(int x, int y, platform::Color c) const {
    for (int dy = -1; dy <= 1; ++dy) {
      for (int dx = -1; dx <= 1; ++dx) {
        const int px = x + dx, py = y + dy;
        if (px < 0 || py < 0 || px >= image.width() || py >= image.height()) continue;
        const QColor q = image.pixelColor(px, py);
        if (q.red() == c.r && q.green() == c.g && q.blue() == c.b) return true;
      }
    }
    return false;
  }
};

// Midpoints of the lines of one pen drawn after the status panel (the Earth
// overlay) that are at least `length` pixels long.
std::vector<std::pair<int, int>> LongLinesAfterPanel(const platform::RecordingCanvas& c, platform::Color pen,
                                                     int length) {
  std::size_t start = c.ops.size();
  for (std::size_t i = 0; i < c.ops.size(); ++i) {
    if (c.ops[i].kind == Kind::TextOut && c.ops[i].text == "A   M") start = i;
  }
  std::vector<std::pair<int, int>> out;
  for (std::size_t i = start; i < c.ops.size(); ++i) {
    const auto& op = c.ops[i];
    if (op.kind != Kind::LineTo || !(op.pen == pen)) continue;
    if (std::abs(op.x2 - op.x1) + std::abs(op.y2 - op.y1) < length) continue;
    out.emplace_back((op.x1 + op.x2) / 2, (op.y1 + op.y2) / 2);
  }
  return out;
}

TEST(SatelliteViewPixels, EarthDiscMapLineAndBackground) {
  TwoCanvases t;
  t.Run(true);
  // The background outside the 90 deg circle (the frame's corner area) is silver.
  EXPECT_TRUE(t.ColourNear(20, 590, platform::clSilver));
  // The Earth's disc outline is teal, at its angular radius from the
  // Earth's direction, which is the view's centre.
  const double r = t.rec.plot.PlotRadius * std::sin(navlib::Rad(t.rec.plot.EarthAngularRadius));
  const int cx = t.rec.plot.CenterX, cy = t.rec.plot.CenterY;
  int teal = 0;
  for (int k = 0; k < 8; ++k) {
    const double a = k * 0.785398;
    teal += t.ColourNear(cx + static_cast<int>(r * std::cos(a)), cy - static_cast<int>(r * std::sin(a)),
                         platform::clTeal);
  }
  EXPECT_GE(teal, 6) << "disc radius " << r;
  // Coastline segments (teal) and grid lines (grey) of the overlay.
  const auto coast = LongLinesAfterPanel(t.rec.canvas, platform::clTeal, 8);
  ASSERT_GE(coast.size(), 5u);
  int coastHits = 0;
  for (const auto& [x, y] : coast) coastHits += t.ColourNear(x, y, platform::clTeal);
  EXPECT_GE(coastHits * 10, static_cast<int>(coast.size()) * 8);  // a few may be crossed by later lines
  const auto grid = LongLinesAfterPanel(t.rec.canvas, platform::clGray, 3);
  ASSERT_GE(grid.size(), 5u);
  int gridHits = 0;
  for (const auto& [x, y] : grid) gridHits += t.ColourNear(x, y, platform::clGray);
  EXPECT_GE(gridHits * 10, static_cast<int>(grid.size()) * 7);
}

// ---- gimbra-cli ----

struct CliRun {
  int status = -1;
  std::string out, err;
};

CliRun RunCli(const std::string& args) {
  extrastest::TempDir dir;
  const std::string out = dir.Path() + "/out", err = dir.Path() + "/err";
  const std::string cmd = std::string(GIMBRA_CLI) + " " + args + " >" + out + " 2>" + err;
  CliRun r;
  const int raw = std::system(cmd.c_str());
  r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  platform::ReadWholeFile(out, &r.out);
  platform::ReadWholeFile(err, &r.err);
  return r;
}

std::string Common(const std::string& satellite) {
  return "--keps-dir " + extrastest::DataDir() + " --satellite " + satellite + " --date 2018-01-22 --alon 210 --alat -5";
}

TEST(GimbraCli, EsarcPrintsTheReportByteForByte) {
  const CliRun r = RunCli("esarc " + Common("MOLNI") + " --orbit 12350");
  EXPECT_EQ(r.status, 0) << r.err;
  std::string golden;
  ASSERT_TRUE(platform::ReadWholeFile(extrastest::GoldenDir() + "esarc-molni-12350.txt", &golden));
  EXPECT_EQ(r.out, golden);
  EXPECT_EQ(r.err, "");
}

TEST(GimbraCli, EsarcWithoutKepsFileExitsTwoWithTheMessage) {
  const CliRun r = RunCli("esarc " + Common("NOSUCH") + " --orbit 1");
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, std::string(navlib::KepsNotFoundText) + "\n");
}

TEST(GimbraCli, EsarcBadArguments) {
  struct Case {
    const char* name;
    std::string args;
    int status;
  } cases[] = {
      {"missing orbit", "esarc " + Common("MOLNI"), 64},
      {"unknown option", "esarc " + Common("MOLNI") + " --orbit 1 --zoom 2", 64},
      {"orbit not a whole number", "esarc " + Common("MOLNI") + " --orbit 1.5", 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const CliRun r = RunCli(c.args);
    EXPECT_EQ(r.status, c.status) << r.err;
    EXPECT_EQ(r.out, "");
  }
}

TEST(GimbraCli, SatviewWritesThePicture) {
  extrastest::TempDir dir;
  struct Case {
    const char* name;
    std::string extra;
    std::string file;
  } cases[] = {
      {"png, first view", "--orbit 12350 --ma 128", "first.png"},
      {"png, Earth overlay, look direction", "--orbit 12350 --ma 20 --view-lon 290 --view-lat 0 --earth", "earth.png"},
      {"svg", "--orbit 12350 --ma 20 --earth --mirror", "view.svg"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = dir.Path() + "/" + c.file;
    const CliRun r = RunCli("satview " + Common("MOLNI") + " " + c.extra + " --out " + path);
    EXPECT_EQ(r.status, 0) << r.err;
    std::string bytes;
    ASSERT_TRUE(platform::ReadWholeFile(path, &bytes));
    if (c.file.size() > 4 && c.file.substr(c.file.size() - 4) == ".png") {
      QImage image;
      ASSERT_TRUE(image.loadFromData(reinterpret_cast<const uchar*>(bytes.data()), static_cast<int>(bytes.size())));
      EXPECT_EQ(image.width(), 800);
      EXPECT_EQ(image.height(), 600);
    } else {
      EXPECT_NE(bytes.find("<svg"), std::string::npos);
    }
  }
}

TEST(GimbraCli, SatviewFailures) {
  extrastest::TempDir dir;
  const std::string out = " --out " + dir.Path() + "/x.png";
  struct Case {
    const char* name;
    std::string args;
    int status;
  } cases[] = {
      {"no keps file", "satview " + Common("NOSUCH") + " --orbit 1 --ma 0" + out, 2},
      {"missing ma", "satview " + Common("MOLNI") + " --orbit 1" + out, 64},
      {"ma not a number", "satview " + Common("MOLNI") + " --orbit 1 --ma x" + out, 2},
      {"view-lat not a number", "satview " + Common("MOLNI") + " --orbit 1 --ma 0 --view-lat y" + out, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const CliRun r = RunCli(c.args);
    EXPECT_EQ(r.status, c.status) << r.err;
    std::string bytes;
    EXPECT_FALSE(platform::ReadWholeFile(dir.Path() + "/x.png", &bytes));
  }
}

}  // namespace
