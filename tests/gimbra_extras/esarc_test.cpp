// The Earth-sensor arc simulation report: its exact header, the rows, the
// legend, the missed-Earth and equal-gamma cases, the Sun-angle reading and
// the abandoned report when the keps file is missing.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "extras_fixture.h"
#include "gimbra/core/esarc.h"
#include "gimbra/core/fieldtext.h"
#include "navlib/textnum.h"
#include "platform/atomicfile.h"

namespace {

using extrastest::ViewWorld;

// The report's lines, split at CR LF (the last piece is the legend line).
std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> out;
  std::size_t p = 0;
  for (;;) {
    const std::size_t e = text.find("\r\n", p);
    if (e == std::string::npos) {
      out.push_back(text.substr(p));
      return out;
    }
    out.push_back(text.substr(p, e - p));
    p = e + 2;
  }
}

// Lines 13 ... 269 are the rows of m = 0 ... 256.
constexpr int kFirstRow = 13;

struct Row {
  int ma;
  std::string inLower, inUpper, outLower, outUpper;  // value and marker, e.g. "105.7*"
  std::string eclipse;
};

// Columns of a row: " mmm   aaaaaM  aaaaaM   | aaaaaM   aaaaaM     III".
Row ParseRow(const std::string& line) {
  Row r;
  r.ma = std::stoi(line.substr(0, 4));
  r.inLower = line.substr(7, 6);
  r.inUpper = line.substr(15, 6);
  r.outLower = line.substr(26, 6);
  r.outUpper = line.substr(35, 6);
  r.eclipse = line.substr(46);
  return r;
}

gimbra::EsArcResult Report(ViewWorld& w, const std::string& orbit) {
  w.host.inputAnswers = {orbit};
  gimbra::PlotContext ctx = w.Context();
  return gimbra::EsArcReport(ctx, w.window);
}

TEST(EsArcReport, HeaderIsExact) {
  // EL-EQUAT: at mean anomaly 0 of orbit 100 the orbit frame is the celestial
  // frame. ALON 304.2 / ALAT 0.5 lies 69.767 deg from the plane
  // perpendicular to the Sun (tools/reference/esarc_sun_angles.py, ephem):
  // 69.8 after rounding, and the sun sensor reads -999 at 60 deg or more.
  ViewWorld w("EQUAT");
  w.inputs.AlonText = "304.2";
  w.inputs.AlatText = "0.5";
  const auto r = Report(w, "100");
  ASSERT_TRUE(r.Made);
  const std::string header =
      "  AO-40 Earth Arc Sensor Simulation Data\r\n"
      " ----------------------------------------\r\n"
      " Orbit  100\r\n"
      " Alon   304.2\r\n"
      " Alat   0.5\r\n"
      " Sun A  69.8\r\n"
      " SS2    -999.0\r\n"
      "\r\n"
      "        Horizon-IN (+1) |   Horizon-OUT (-1)\r\n"
      "        ES2      ES1    |   ES2      ES1    \r\n"
      "       #19D     #19B    |  #19D     #19B   \r\n"
      "  MA   Lower    Upper   |  Lower    Upper   Eclipse   \r\n"
      " -----------------------+--------------------------\r\n"
      "   0 ";
  EXPECT_EQ(r.Text.substr(0, header.size()), header);
  // The legend after an empty line; every row ends with CR LF and a blank.
  const std::string legend = "\r\n \r\n    * = terminator pass ";
  ASSERT_GE(r.Text.size(), legend.size());
  EXPECT_EQ(r.Text.substr(r.Text.size() - legend.size()), legend);
  EXPECT_EQ(Lines(r.Text).size(), static_cast<std::size_t>(kFirstRow + 257 + 2));
}

TEST(EsArcReport, SunAngleAndSunSensorReading) {
  // Expected Sun angles: tools/reference/esarc_sun_angles.py (python3-ephem),
  // to 0.1 deg for the library's low-precision Sun.
  struct Case {
    const char* name;
    const char* alon;
    const char* alat;
    double sunAngleDeg;
    bool sensorBlind;  // 60 deg or more either way: SS2 -999.0
  } cases[] = {
      {"axis at the Sun", "304.2", "-19.5", 89.763, true},
      {"axis away from the Sun", "124.2", "19.5", -89.763, true},
      {"Sun in the spin plane", "34.2", "0", -0.042, false},
      {"50 deg", "304.2", "20.5", 49.767, false},
      {"70 deg", "304.2", "0.5", 69.767, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ViewWorld w("EQUAT");
    w.inputs.AlonText = c.alon;
    w.inputs.AlatText = c.alat;
    const auto r = Report(w, "100");
    ASSERT_TRUE(r.Made);
    EXPECT_NEAR(w.window.SunAngleDeg, c.sunAngleDeg, 0.1);
    const std::vector<std::string> lines = Lines(r.Text);
    EXPECT_EQ(lines[5], " Sun A  " + gimbra::FormatFixed(w.window.SunAngleDeg, 4, 1));
    if (c.sensorBlind) {
      EXPECT_EQ(lines[6], " SS2    -999.0");
    } else {
      EXPECT_NE(lines[6], " SS2    -999.0");
    }
  }
}

TEST(EsArcReport, LastRowIsMeanAnomalyZeroOfTheNextOrbit) {
  ViewWorld a, b;
  const auto ra = Report(a, "12350");
  const auto rb = Report(b, "12351");
  ASSERT_TRUE(ra.Made);
  ASSERT_TRUE(rb.Made);
  const std::string last = Lines(ra.Text)[kFirstRow + 256];
  const std::string first = Lines(rb.Text)[kFirstRow];
  EXPECT_EQ(last.substr(0, 4), " 256");
  EXPECT_EQ(first.substr(0, 4), "   0");
  EXPECT_EQ(last.substr(4), first.substr(4));
  // The rows count 0 ... 256 in order.
  const std::vector<std::string> lines = Lines(ra.Text);
  for (int m = 0; m <= 256; ++m) EXPECT_EQ(ParseRow(lines[kFirstRow + m]).ma, m);
}

TEST(EsArcReport, SensorThatMissesTheEarthShowsMinusOneWithoutMarkers) {
  // A 2 deg cone about an axis in the orbit plane's normal direction never
  // reaches the Earth's disc (at most 35 deg across from 11,000 km).
  ViewWorld w;
  w.inputs.AlonText = "0";
  w.inputs.AlatText = "90";
  w.inputs.UpperGammaText = "2";
  const auto r = Report(w, "12350");
  ASSERT_TRUE(r.Made);
  const std::vector<std::string> lines = Lines(r.Text);
  int upperCrossings = 0;
  for (int m = 0; m <= 256; ++m) {
    const Row row = ParseRow(lines[kFirstRow + m]);
    // The first gamma field ("U-gamma") feeds both Lower columns.
    EXPECT_EQ(row.inLower, " -1.0 ") << "row " << m;
    EXPECT_EQ(row.outLower, " -1.0 ") << "row " << m;
    if (row.inUpper != " -1.0 ") ++upperCrossings;
  }
  EXPECT_GT(upperCrossings, 0);  // the 85 deg cone does cross the limb somewhere
}

TEST(EsArcReport, EqualGammasGiveEqualColumns) {
  ViewWorld w;
  w.inputs.UpperGammaText = "85";
  w.inputs.LowerGammaText = "85.0";
  const auto r = Report(w, "12350");
  ASSERT_TRUE(r.Made);
  const std::vector<std::string> lines = Lines(r.Text);
  int crossings = 0;
  for (int m = 0; m <= 256; ++m) {
    const Row row = ParseRow(lines[kFirstRow + m]);
    EXPECT_EQ(row.inLower, row.inUpper) << "row " << m;
    EXPECT_EQ(row.outLower, row.outUpper) << "row " << m;
    if (row.inLower != " -1.0 ") ++crossings;
  }
  EXPECT_GT(crossings, 0);
}

TEST(EsArcReport, CancelGivesTheEpochOrbit) {
  ViewWorld w;
  gimbra::PlotContext ctx = w.Context();
  const auto r = gimbra::EsArcReport(ctx, w.window);  // no answer queued: Cancel
  ASSERT_TRUE(r.Made);
  EXPECT_EQ(Lines(r.Text)[2], " Orbit  12345");
  ASSERT_EQ(w.host.inputPrompts.size(), 1u);
  EXPECT_EQ(w.host.inputPrompts[0], "Enter Orbit Number");
}

TEST(EsArcReport, GammasOfThePlotStayInDegrees) {
  ViewWorld w;
  const auto r = Report(w, "12350");
  ASSERT_TRUE(r.Made);
  EXPECT_FLOAT_EQ(w.plot.UpperGamma, 95.0f);
  EXPECT_FLOAT_EQ(w.plot.LowerGamma, 85.0f);
}

TEST(EsArcReport, MissingKepsFileAbandonsTheReport) {
  ViewWorld w("NOSUCH");
  const auto r = Report(w, "1");
  EXPECT_FALSE(r.Made);
  EXPECT_TRUE(r.Text.empty());
  ASSERT_EQ(w.host.messages.size(), 1u);
  EXPECT_EQ(w.host.messages[0], navlib::KepsNotFoundText);
}

TEST(EsArcReport, OrbitThatIsNotAWholeNumberRaisesTheConversionError) {
  struct Case {
    const char* name;
    const char* answer;
  } cases[] = {{"decimal", "12.5"}, {"text", "abc"}, {"empty", ""}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ViewWorld w;
    EXPECT_THROW(Report(w, c.answer), navlib::ConvertError);
  }
  ViewWorld w;
  w.inputs.UpperGammaText = "9o";
  EXPECT_THROW(Report(w, "12350"), navlib::ConvertError);
}

TEST(TurnTo256, RoundsToATenthOfA256th) {
  // trunc(angle x 128 / pi x 10 + 0.5) x 0.1, by hand.
  struct Case {
    float angleRad;
    float expected;
  } cases[] = {
      {-1.0f, -1.0f},                  // "no crossing" stays
      {0.0f, 0.0f},
      {3.14159274f, 128.0f},           // half a turn
      {1.57079637f, 64.0f},            // a quarter
      {0.0123f, 0.5f},                 // 5.011 tenths + 0.5 -> 5
      {6.2f, 252.6f},                  // 2526.15... + 0.5 -> 2526
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.angleRad);
    EXPECT_NEAR(gimbra::TurnTo256(c.angleRad), c.expected, 1e-4);
  }
}

TEST(EsArcReport, GoldenText) {
  ViewWorld w;
  const auto r = Report(w, "12350");
  ASSERT_TRUE(r.Made);
  std::string golden;
  ASSERT_TRUE(platform::ReadWholeFile(extrastest::GoldenDir() + "esarc-molni-12350.txt", &golden));
  const std::vector<std::string> want = Lines(golden), got = Lines(r.Text);
  for (std::size_t i = 0; i < want.size() && i < got.size(); ++i) {
    ASSERT_EQ(got[i], want[i]) << "line " << i + 1 << "\nExpected: " << want[i] << "\nGot back: " << got[i];
  }
  EXPECT_EQ(got.size(), want.size());
  EXPECT_EQ(r.Text, golden);
}

}  // namespace
