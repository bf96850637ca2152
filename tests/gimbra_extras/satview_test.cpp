// The satellite view on a recording canvas: the projection about the look
// direction, the Earth points' visibility, the Earth overlay, the observers'
// labels, the status panel, the world-map table and the observer list.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "extras_fixture.h"
#include "gimbra/core/fieldtext.h"
#include "gimbra/core/satview.h"
#include "gimbra/core/worldmap.h"

namespace {

using extrastest::ViewWorld;
using platform::RecordingCanvas;
using Kind = platform::RecordingCanvas::Kind;

// A Draw of the fixture satellite, then the right click into the satellite
// view at (orbit, ma): the way the plot window gets there.
struct SatViewRun : ViewWorld {
  gimbra::PlotContext ctx;
  gimbra::SatViewContext view;
  explicit SatViewRun(const std::string& satellite = "MOLNI")
      : ViewWorld(satellite), ctx(Context()), view{ctx, window, observers, map} {}
  void Start(int orbit, float ma) {
    ASSERT_EQ(gimbra::DrawPlot(ctx), gimbra::DrawResult::Drawn);
    gimbra::BuildCircleTable(plot, plot.SatSegments);
    canvas.clear();
    gimbra::BeginSatelliteView(view, orbit, ma);
  }
  void Redraw() {
    canvas.clear();
    gimbra::DrawSatelliteView(view);
  }
  // The look direction toward the Earth's centre (orbit frame, degrees).
  void LookAtEarth() {
    float lat = 0, lon = 0;
    navlib::VectorToLatLon(navlib::CelestialToPlane(nav, plot.EarthDir), lat, lon);
    window.ViewLat = navlib::Deg(lat);
    window.ViewLon = navlib::Deg(lon);
  }
  // Index of the first status-panel text (the date line at (1, 1)).
  std::size_t StatusIndex() const {
    for (std::size_t i = 0; i < canvas.ops.size(); ++i) {
      const auto& op = canvas.ops[i];
      if (op.kind == Kind::TextOut && op.x1 == 1 && op.y1 == 1) return i;
    }
    return canvas.ops.size();
  }
  int LinesAfterStatus() const {
    int n = 0;
    for (std::size_t i = StatusIndex(); i < canvas.ops.size(); ++i) n += canvas.ops[i].kind == Kind::LineTo;
    return n;
  }
  // Lines of the day/night boundary: blue, after the Moon (white pen), before the panel.
  int BoundaryLines() const {
    const std::size_t end = StatusIndex();
    std::size_t start = 0;
    for (std::size_t i = 0; i < end; ++i) {
      if (canvas.ops[i].pen == platform::clWhite) start = i + 1;
    }
    int n = 0;
    for (std::size_t i = start; i < end; ++i) {
      n += canvas.ops[i].kind == Kind::LineTo && canvas.ops[i].pen == platform::clBlue;
    }
    return n;
  }
  bool HasText(const std::string& t) const {
    for (const auto& op : canvas.of(Kind::TextOut)) {
      if (op.text == t) return true;
    }
    return false;
  }
  // View coordinates (pixels) of a celestial direction.
  void Project(const navlib::Vec3& dir, float& east, float& north, float& depth) {
    plot.WorkVec = {dir.x * plot.PlotRadius, dir.y * plot.PlotRadius, dir.z * plot.PlotRadius};
    gimbra::ProjectToView(plot);
    east = plot.LastEast;
    north = plot.LastNorth;
    depth = plot.LastDepth;
  }
};

TEST(SatelliteView, FirstViewWithAlatZeroPutsTheAxisOnTheNinetyDegreeCircle) {
  SatViewRun run;
  run.inputs.AlatText = "0";
  run.Start(12350, 40);
  EXPECT_FLOAT_EQ(run.window.ViewLon, 300.0f);  // ALON + 90, not wrapped
  EXPECT_FLOAT_EQ(run.window.ViewLat, 0.0f);
  float e = 0, n = 0, d = 0;
  run.Project(run.window.ViewAttitude, e, n, d);
  const double r = run.plot.PlotRadius;
  EXPECT_NEAR(d, 0, 0.002 * r);                // 90 deg from the look direction
  EXPECT_NEAR(std::hypot(e, n), r, 0.002 * r);  // on the 90 deg circle
  EXPECT_TRUE(run.window.ClearScreen);
  EXPECT_FALSE(run.window.EarthOverlay);
}

TEST(SatelliteView, LookingAlongTheAxisPutsItAtTheCentre) {
  SatViewRun run;
  run.Start(12350, 40);
  run.window.ViewLon = run.plot.Alon;
  run.window.ViewLat = run.plot.Alat;
  run.Redraw();
  float e = 0, n = 0, d = 0;
  run.Project(run.window.ViewAttitude, e, n, d);
  EXPECT_NEAR(e, 0, 0.5);
  EXPECT_NEAR(n, 0, 0.5);
  EXPECT_NEAR(d, run.plot.PlotRadius, 0.5);
  // "A" labels the 1.35 deg circle's east point, 12 pixels up and left;
  // that point is 1.35 deg (7 pixels at zoom 1) from the centre.
  bool found = false;
  for (const auto& op : run.canvas.of(Kind::TextOut)) {
    if (op.text != "A") continue;
    found = true;
    EXPECT_NEAR(std::hypot(op.x1 + 12 - run.plot.CenterX, op.y1 + 12 - run.plot.CenterY), 7, 1.5);
  }
  EXPECT_TRUE(found);
}

TEST(SatelliteView, EarthPointsFacingTheSatellite) {
  // Distances in Earth radii by hand, with R the satellite's distance: the
  // point below the satellite R - 1, the one opposite R + 1, a point 90 deg
  // from the sub-satellite point sqrt(R^2 + 1); the Earth's limb, seen at
  // the tangent, sqrt(R^2 - 1), is where facing ends.
  SatViewRun run;
  run.Start(12350, 20);
  const navlib::Vec3 down = run.nav.SatDir;
  const double r = run.window.SatRadiusEarthRadii;
  ASSERT_GT(r, 1.1);
  navlib::Vec3 side;
  navlib::CrossUnit(down, navlib::Vec3{0, 0, 1}, side);
  struct Case {
    const char* name;
    navlib::Vec3 point;
    double distance;
    bool facing;
  } cases[] = {
      {"sub-satellite point", down, r - 1, true},
      {"antipode", {-down.x, -down.y, -down.z}, r + 1, false},
      {"90 deg away", side, std::sqrt(r * r + 1), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    gimbra::EarthPointToView(run.view, c.point);
    EXPECT_NEAR(run.window.EarthPointDistance, c.distance, 1e-4 * r);
    EXPECT_EQ(gimbra::EarthPointFacing(run.view), c.facing);
  }
  // The sub-satellite point is seen in the direction of the Earth's centre.
  gimbra::EarthPointToView(run.view, down);
  const float e1 = run.plot.LastEast, n1 = run.plot.LastNorth, d1 = run.plot.LastDepth;
  float e2 = 0, n2 = 0, d2 = 0;
  run.Project(run.plot.EarthDir, e2, n2, d2);
  EXPECT_NEAR(e1, e2, 0.05);
  EXPECT_NEAR(n1, n2, 0.05);
  EXPECT_NEAR(d1, d2, 0.05);
}

TEST(SatelliteView, EarthInFrontIsDrawnAndEarthBehindIsNot) {
  SatViewRun run;
  run.observers.Entries[0] = {"Fa", 0, 0};
  run.observers.ObserverCount = 1;
  run.Start(12350, 20);
  run.window.EarthOverlay = true;

  run.LookAtEarth();
  run.Redraw();
  EXPECT_GT(run.BoundaryLines() + run.LinesAfterStatus(), 0);
  EXPECT_GT(run.LinesAfterStatus(), 100);  // grid and coastlines

  // The opposite way: the whole Earth lies more than 90 deg from the look.
  run.window.ViewLon += 180;
  run.window.ViewLat = -run.window.ViewLat;
  run.Redraw();
  EXPECT_EQ(run.BoundaryLines(), 0);
  EXPECT_EQ(run.LinesAfterStatus(), 0);
  EXPECT_FALSE(run.HasText("Fa"));
}

TEST(SatelliteView, ObserverLabelOnlyOnTheSideFacingTheSatellite) {
  SatViewRun run;
  run.Start(12350, 20);
  // The sub-satellite point and its antipode, Earth-fixed, geocentric degrees.
  navlib::EarthRotation(run.nav);  // the Earth's turn at the view's moment
  float lat = 0, lon = 0;
  navlib::VectorToLatLon(navlib::CelestialToEarth(run.nav, run.nav.SatDir), lat, lon);
  run.observers.Entries[0] = {"Nr", navlib::Deg(lat), navlib::Deg(lon)};
  run.observers.Entries[1] = {"Fa", -navlib::Deg(lat), navlib::Deg(lon) + 180};
  run.observers.ObserverCount = 2;
  run.window.EarthOverlay = true;
  run.LookAtEarth();
  run.Redraw();
  EXPECT_TRUE(run.HasText("Nr"));
  EXPECT_FALSE(run.HasText("Fa"));
  // The label stands 9 pixels left of the point, which is the Earth's centre on screen.
  for (const auto& op : run.canvas.of(Kind::TextOut)) {
    if (op.text != "Nr") continue;
    EXPECT_NEAR(op.x1 + 9, run.plot.CenterX, 2);
    EXPECT_NEAR(op.y1, run.plot.CenterY, 2);
  }
}

TEST(SatelliteView, WithoutEarthOverlayNothingFollowsThePanel) {
  SatViewRun run;
  run.observers.Entries[0] = {"Ho", 48.15f, 11.58f};
  run.observers.ObserverCount = 1;
  run.Start(12350, 20);
  run.LookAtEarth();
  run.Redraw();
  ASSERT_FALSE(run.canvas.ops.empty());
  const auto& last = run.canvas.ops.back();
  EXPECT_EQ(last.kind, Kind::TextOut);
  EXPECT_EQ(last.text, "A   M");  // the panel's last line
  // Key G: the same view with the grid (grey), the map (teal) and the labels.
  run.window.EarthOverlay = true;
  run.Redraw();
  int grey = 0, teal = 0;
  for (std::size_t i = run.StatusIndex(); i < run.canvas.ops.size(); ++i) {
    const auto& op = run.canvas.ops[i];
    if (op.kind != Kind::LineTo) continue;
    grey += op.pen == platform::clGray;
    teal += op.pen == platform::clTeal;
  }
  EXPECT_GT(grey, 50);
  EXPECT_GT(teal, 50);
}

TEST(SatelliteView, LabelsOnlyForPointsInFrontOfTheViewer) {
  // The orbit frame's x axis points to perigee: looking along it shows
  // "Per" and hides "Apo", looking the other way the reverse.
  struct Case {
    const char* name;
    float viewLon;
    bool perigee, apogee;
  } cases[] = {{"toward perigee", 0, true, false}, {"toward apogee", 180, false, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SatViewRun run;
    run.Start(12350, 64);
    run.window.ViewLon = c.viewLon;
    run.window.ViewLat = 0;
    run.Redraw();
    EXPECT_EQ(run.HasText("Per"), c.perigee);
    EXPECT_EQ(run.HasText("Apo"), c.apogee);
  }
}

TEST(SatelliteView, ApogeeShowsTheSmallestEarth) {
  // MOLNI: a = 26557.1 km from its mean motion of 2.006 rev/day, e = 0.7:
  // at apogee r = 45147 km and the Earth's radius of 6378.14 km spans
  // asin(6378.14 / 45147) = 8.12 deg (by hand).
  SatViewRun run;
  run.Start(12350, 0);
  float smallest = 1e9f, smallestMa = -1;
  for (int ma = 0; ma < 256; ma += 8) {
    run.window.ViewMa = static_cast<float>(ma);
    run.Redraw();
    if (run.plot.EarthAngularRadius < smallest) {
      smallest = run.plot.EarthAngularRadius;
      smallestMa = static_cast<float>(ma);
    }
  }
  EXPECT_EQ(smallestMa, 128.0f);
  EXPECT_NEAR(smallest, 8.12, 0.02);
}

TEST(SatelliteView, SunAngleAndSunOfTheViewsMoment) {
  SatViewRun run;
  run.Start(12350, 64);
  // The Sun direction the view leaves is the one of its own moment.
  const navlib::Vec3 viewSun = run.nav.SunDir;
  navlib::SunPosition(run.nav);
  EXPECT_NEAR(viewSun.x, run.nav.SunDir.x, 1e-3);
  EXPECT_NEAR(viewSun.y, run.nav.SunDir.y, 1e-3);
  EXPECT_NEAR(viewSun.z, run.nav.SunDir.z, 1e-3);
  const double expected = navlib::Deg(std::asin(navlib::Dot(run.window.ViewAttitude, viewSun)));
  EXPECT_NEAR(run.window.SunAngleDeg, expected, 1e-3);
}

TEST(StatusPanel, TextsAndRows) {
  SatViewRun run;
  run.Start(12350, 128.6f);
  const std::size_t first = run.StatusIndex();
  ASSERT_LT(first, run.canvas.ops.size());
  // Design rows y = trunc(9 k), x = 1 (by hand).
  struct Line {
    int y;
    std::string text;
  } want[] = {
      {18, "Alon l/r: 210.0   "}, {31, "Alat u/d: -5.0   "}, {58, "Orbit  O  12350   "},
      {72, "MA     MK 128   "},   {85, "CLS    C  ON "},     {99, "Earth  G  OFF"},
      {112, "Zoom   Z  1.0   "},  {126, "Cr.lon <> 300.0   "}, {139, "Cr.lat SX -5.0   "},
      {153, "View   V  F<>B"},    {166, "View   F  L<>R"},  {180, "|  ||"},
      {193, "A   M"},
  };
  std::vector<RecordingCanvas::Op> texts;
  for (std::size_t i = first; i < run.canvas.ops.size(); ++i) {
    if (run.canvas.ops[i].kind == Kind::TextOut) texts.push_back(run.canvas.ops[i]);
  }
  ASSERT_EQ(texts.size(), 15u);
  EXPECT_EQ(texts[0].text.find(" , "), 19u);  // "2018  Feb  16 [Fri] , hh:mm:ss"
  EXPECT_EQ(texts[3].y1, 45);
  EXPECT_EQ(texts[3].text, "Sun Angle " + gimbra::FormatFixed(run.window.SunAngleDeg, 3, 1) + "   ");
  std::size_t k = 0;
  for (std::size_t i = 1; i < texts.size(); ++i) {
    if (i == 3) continue;
    SCOPED_TRACE(want[k].text);
    EXPECT_EQ(texts[i].x1, 1);
    EXPECT_EQ(texts[i].y1, want[k].y);
    EXPECT_EQ(texts[i].text, want[k].text);
    ++k;
  }
}

// ---- World map ----

struct Polyline {
  std::vector<std::pair<float, float>> points;  // lat, lon
};

std::vector<Polyline> Polylines(const gimbra::WorldMap& m) {
  std::vector<Polyline> out;
  Polyline cur;
  for (int k = 1; k < gimbra::WorldMapSize; ++k) {
    if (gimbra::EndsPolyline(m, k)) {
      if (!cur.points.empty()) out.push_back(cur);
      cur = Polyline();
      continue;
    }
    cur.points.emplace_back(m.WorldMapLat[k], m.WorldMapLon[k]);
  }
  if (!cur.points.empty()) out.push_back(cur);
  return out;
}

TEST(WorldMap, TableHoldsAboutAThousandPointsInAbout37Polylines) {
  gimbra::WorldMap m;
  for (int k = 0; k < gimbra::WorldMapSize; ++k) m.WorldMapLat[k] = m.WorldMapLon[k] = 99;
  gimbra::FillWorldMap(m);
  EXPECT_EQ(m.WorldMapLat[0], 0);
  EXPECT_EQ(m.WorldMapLon[0], 0);
  const auto lines = Polylines(m);
  int points = 0;
  for (const auto& l : lines) {
    EXPECT_GE(l.points.size(), 2u);
    points += static_cast<int>(l.points.size());
    for (const auto& [lat, lon] : l.points) {
      EXPECT_LE(std::fabs(lat), 90.0f);
      EXPECT_GE(lon, -180.0f);
      EXPECT_LE(lon, 360.0f);
      EXPECT_NEAR(lat * 10, std::round(lat * 10), 1e-3);  // one decimal
      EXPECT_NEAR(lon * 10, std::round(lon * 10), 1e-3);
    }
  }
  EXPECT_NEAR(static_cast<int>(lines.size()), 37, 3);
  EXPECT_NEAR(points, 1000, 100);
  EXPECT_EQ(m.WorldMapLat[gimbra::WorldMapSize - 1], 0);  // nothing of the garbage stays
}

TEST(WorldMap, KnownCoastalExtremes) {
  // Geography: Cape Agulhas, Africa's southern tip, 34.83 S 20.0 E; Cabo da
  // Roca, Europe's westernmost mainland point, 9.50 W 38.8 N; Greenland's
  // north coast beyond 83 N. The crude, thinned outline keeps them to a degree.
  gimbra::WorldMap m;
  gimbra::FillWorldMap(m);
  float africaSouth = 0, europeWest = 0, north = -90;
  for (int k = 1; k < gimbra::WorldMapSize; ++k) {
    const float lat = m.WorldMapLat[k], lon = m.WorldMapLon[k];
    if (gimbra::EndsPolyline(m, k)) continue;
    if (lon > 15 && lon < 25 && lat > -45 && lat < africaSouth) africaSouth = lat;
    if (lat > 36 && lat < 44 && lon > -12 && lon < 0 && lon < europeWest) europeWest = lon;
    north = std::max(north, lat);
  }
  EXPECT_NEAR(africaSouth, -34.83, 1.0);
  EXPECT_NEAR(europeWest, -9.50, 1.0);
  EXPECT_GT(north, 83.0f);
}

TEST(WorldMap, PointWithOneZeroCoordinateIsDrawnAndOnlyZeroZeroBreaks) {
  gimbra::WorldMap m;
  m.WorldMapLat[1] = 10;
  m.WorldMapLon[1] = 0;  // on the prime meridian: a point
  m.WorldMapLat[2] = 0;
  m.WorldMapLon[2] = 10;  // on the equator: a point
  EXPECT_FALSE(gimbra::EndsPolyline(m, 1));
  EXPECT_FALSE(gimbra::EndsPolyline(m, 2));
  EXPECT_TRUE(gimbra::EndsPolyline(m, 3));
  EXPECT_TRUE(gimbra::EndsPolyline(m, 0));
}

// ---- Observer list ----

TEST(ObserverList, LinesOfTheListFile) {
  struct Case {
    const char* name;
    std::vector<std::string> lines;
    int count;
    std::string firstLabel;
    float lat, lon;
    bool error;
  } cases[] = {
      {"four fields", {"Home, 40.5, -75.2, 100"}, 1, "Ho", 40.5f, -75.2f, false},
      {"padded as the planner writes", {"  G0CALL        , 52.2170,  0.1100,   30"}, 1, "G0", 52.217f, 0.11f, false},
      {"no comma: skipped", {"Home", "Away, 1, 2, 3"}, 1, "Aw", 1, 2, false},
      {"one comma: skipped", {"Home, 40.5", "Away, 1, 2, 3"}, 1, "Aw", 1, 2, false},
      {"two commas: empty longitude, reported and skipped", {"Home, 40.5, -75.2", "Away, 1, 2, 3"}, 1, "Aw", 1, 2,
       true},
      {"latitude not a number", {"Home, north, 7, 3", "Away, 1, 2, 3"}, 1, "Aw", 1, 2, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    gimbra::ObserverList list;
    const std::string error = gimbra::ParseObserverList(c.lines, list);
    EXPECT_EQ(!error.empty(), c.error) << error;
    ASSERT_EQ(list.ObserverCount, c.count);
    EXPECT_EQ(list.Entries[0].Label, c.firstLabel);
    EXPECT_FLOAT_EQ(list.Entries[0].Lat, c.lat);
    EXPECT_FLOAT_EQ(list.Entries[0].Lon, c.lon);
  }
}

TEST(ObserverList, LinesBeyondTheTwelfthAreIgnored) {
  std::vector<std::string> lines;
  for (int i = 0; i < 15; ++i) lines.push_back("S" + std::to_string(i % 10) + ", " + std::to_string(i) + ", 5, 0");
  gimbra::ObserverList list;
  EXPECT_EQ(gimbra::ParseObserverList(lines, list), "");
  EXPECT_EQ(list.ObserverCount, 12);
  EXPECT_FLOAT_EQ(list.Entries[11].Lat, 11.0f);
}

}  // namespace
