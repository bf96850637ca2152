// Round trips as properties over many generated element sets:
//  - element sets in each published format (two-line, OMM CSV, JSON, XML)
//    imported with quenta-cli's import into keps files and read back with the
//    keps reader: every value reads back as the 32-bit float nearest to the
//    value in the source text;
//  - the plotter's keps writer: a keps file written with a new attitude and
//    read back gives the very floats it was read as, the attitude rounded to
//    4 decimals, and a second save writes an identical file.
// The generator is seeded, so every run checks the same sets.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <sstream>

#include "gimbra/core/kepswriter.h"
#include "navlib/navlib.h"
#include "navlib/textnum.h"
#include "platform/uihost.h"
#include "quenta/import/elementsets.h"
#include "quenta/import/import_command.h"
#include "quenta/import/kepswriter.h"
#include "reliability_fixtures.h"

namespace {

using reltest::TempDir;

// The nearest double of a decimal text, by the C++ library's own conversion
// (an authority independent of the program's readers).
double Decimal(const std::string& text) {
  double v = 0;
  const char* b = text.data();
  while (*b == ' ' || *b == '+') ++b;
  const auto r = std::from_chars(b, text.data() + text.size(), v);
  EXPECT_EQ(r.ec, std::errc()) << text;
  return v;
}

bool SameFloat(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0 || (a == 0 && b == 0); }

// One generated set: the texts of its values as the source file carries
// them, and the values those texts mean.
struct GeneratedSet {
  std::string name;  // at most five characters: one keps file each
  int catalog = 0;
  int year = 0;
  int dayOfYear = 1;       // whole day
  int hour = 0, minute = 0, second = 0, micro = 0;  // OMM epochs
  std::string dayText;     // two-line epoch day "DDD.DDDDDDDD"
  std::string incl, raan, ecc, argp, ma, mm, ndot, nddot;  // OMM texts (two-line texts made from the values)
  int rev = 0;
  double inclV = 0, raanV = 0, eccV = 0, argpV = 0, maV = 0, mmV = 0, ndotV = 0, nddotV = 0;
  long long eccDigits = 0;        // two-line eccentricity digits
  long long ndotDigits = 0;       // two-line first derivative digits
  int nddotMantissa = 0, nddotExponent = 0;
};

// A decimal text of v with a random number of significant digits (3 to 17).
std::string RandomDigits(std::mt19937& rng, double v) {
  std::uniform_int_distribution<int> digits(3, 17);
  return navlib::Format("%.*g", digits(rng), v);
}

GeneratedSet Generate(std::mt19937& rng, int index) {
  GeneratedSet g;
  g.name = navlib::Format("R%03d", index);
  g.catalog = 10000 + index;
  std::uniform_int_distribution<int> yy(0, 99);
  const int y2 = yy(rng);
  g.year = y2 < 57 ? 2000 + y2 : 1900 + y2;
  std::uniform_int_distribution<int> doy(1, 365), h(0, 23), m(0, 59), us(0, 999999);
  g.dayOfYear = doy(rng);
  g.hour = h(rng);
  g.minute = m(rng);
  g.second = m(rng);
  g.micro = us(rng);
  std::uniform_int_distribution<long long> frac8(0, 99999999);
  g.dayText = navlib::Format("%03d.%08lld", g.dayOfYear, frac8(rng));
  std::uniform_int_distribution<long long> deg4(0, 1799999), turn4(0, 3599999), ecc7(0, 9999999),
      mm8(50000000LL, 1699999999LL);
  g.inclV = static_cast<double>(deg4(rng)) / 1e4;
  g.raanV = static_cast<double>(turn4(rng)) / 1e4;
  g.eccDigits = ecc7(rng);
  g.eccV = static_cast<double>(g.eccDigits) / 1e7;
  g.argpV = static_cast<double>(turn4(rng)) / 1e4;
  g.maV = static_cast<double>(turn4(rng)) / 1e4;
  g.mmV = static_cast<double>(mm8(rng)) / 1e8;
  std::uniform_int_distribution<int> revs(0, 99999), mant(0, 99999), ex(0, 9), coin(0, 1);
  g.rev = revs(rng);
  g.ndotDigits = frac8(rng) * (coin(rng) ? 1 : -1);
  g.ndotV = static_cast<double>(g.ndotDigits) / 1e8;
  g.nddotMantissa = mant(rng) * (coin(rng) ? 1 : -1);
  g.nddotExponent = ex(rng);
  g.nddotV = g.nddotMantissa / 1e5 * std::pow(10.0, -g.nddotExponent);
  // OMM texts: the same values with a random number of digits.
  g.incl = RandomDigits(rng, g.inclV);
  g.raan = RandomDigits(rng, g.raanV);
  g.ecc = RandomDigits(rng, g.eccV);
  g.argp = RandomDigits(rng, g.argpV);
  g.ma = RandomDigits(rng, g.maV);
  g.mm = RandomDigits(rng, g.mmV);
  g.ndot = RandomDigits(rng, g.ndotV);
  g.nddot = RandomDigits(rng, g.nddotV);
  return g;
}

// Modulo-10 sum of the digits, each minus sign counting 1 (the two-line checksum).
int Checksum(const std::string& line) {
  int sum = 0;
  for (size_t i = 0; i < 68 && i < line.size(); ++i) {
    if (line[i] >= '0' && line[i] <= '9') sum += line[i] - '0';
    if (line[i] == '-') sum += 1;
  }
  return sum % 10;
}

std::string TwoLineText(const GeneratedSet& g) {
  const char ndotSign = g.ndotDigits < 0 ? '-' : ' ';
  const char nddotSign = g.nddotMantissa < 0 ? '-' : ' ';
  std::string l1 = navlib::Format("1 %05dU 98067A   %02d%s %c.%08lld %c%05d-%d  00000-0 0  999", g.catalog,
                                  g.year % 100, g.dayText.c_str(), ndotSign, std::llabs(g.ndotDigits), nddotSign,
                                  std::abs(g.nddotMantissa), g.nddotExponent);
  std::string l2 = navlib::Format("2 %05d %8.4f %8.4f %07lld %8.4f %8.4f %11.8f%5d", g.catalog, g.inclV, g.raanV,
                                  g.eccDigits, g.argpV, g.maV, g.mmV, g.rev);
  EXPECT_EQ(l1.size(), 68u) << l1;
  EXPECT_EQ(l2.size(), 68u) << l2;
  l1 += static_cast<char>('0' + Checksum(l1));
  l2 += static_cast<char>('0' + Checksum(l2));
  return g.name + "\n" + l1 + "\n" + l2 + "\n";
}

std::string OmmEpoch(const GeneratedSet& g) {
  // Day of year to month and day, by the calendar rules written out here.
  const bool leap = (g.year % 4 == 0 && g.year % 100 != 0) || g.year % 400 == 0;
  const int monthDays[] = {31, leap ? 29 : 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  int d = g.dayOfYear, month = 0;
  while (d > monthDays[month]) d -= monthDays[month++];
  return navlib::Format("%04d-%02d-%02dT%02d:%02d:%02d.%06d", g.year, month + 1, d, g.hour, g.minute, g.second,
                        g.micro);
}

double OmmEpochDay(const GeneratedSet& g) {
  return g.dayOfYear + (g.hour * 3600.0 + g.minute * 60.0 + g.second + g.micro / 1e6) / 86400.0;
}

const char* const kCsvHeader =
    "OBJECT_NAME,OBJECT_ID,EPOCH,MEAN_MOTION,ECCENTRICITY,INCLINATION,RA_OF_ASC_NODE,ARG_OF_PERICENTER,"
    "MEAN_ANOMALY,EPHEMERIS_TYPE,CLASSIFICATION_TYPE,NORAD_CAT_ID,ELEMENT_SET_NO,REV_AT_EPOCH,BSTAR,"
    "MEAN_MOTION_DOT,MEAN_MOTION_DDOT\n";

std::string CsvRow(const GeneratedSet& g) {
  return "\"" + g.name + "\",," + OmmEpoch(g) + "," + g.mm + "," + g.ecc + "," + g.incl + "," + g.raan + "," +
         g.argp + "," + g.ma + ",0,U," + std::to_string(g.catalog) + ",999," + std::to_string(g.rev) + ",0," +
         g.ndot + "," + g.nddot + "\n";
}

std::string JsonObject(const GeneratedSet& g, bool numbersAsText) {
  auto v = [&](const std::string& t) { return numbersAsText ? "\"" + t + "\"" : t; };
  return "{\"OBJECT_NAME\": \"" + g.name + "\", \"OBJECT_ID\": \"\", \"EPOCH\": \"" + OmmEpoch(g) +
         "\", \"MEAN_MOTION\": " + v(g.mm) + ", \"ECCENTRICITY\": " + v(g.ecc) + ", \"INCLINATION\": " +
         v(g.incl) + ", \"RA_OF_ASC_NODE\": " + v(g.raan) + ", \"ARG_OF_PERICENTER\": " + v(g.argp) +
         ", \"MEAN_ANOMALY\": " + v(g.ma) + ", \"EPHEMERIS_TYPE\": 0, \"CLASSIFICATION_TYPE\": \"U\", " +
         "\"NORAD_CAT_ID\": " + std::to_string(g.catalog) + ", \"ELEMENT_SET_NO\": 999, \"REV_AT_EPOCH\": " +
         std::to_string(g.rev) + ", \"BSTAR\": 0, \"MEAN_MOTION_DOT\": " + v(g.ndot) +
         ", \"MEAN_MOTION_DDOT\": " + v(g.nddot) + "}";
}

std::string XmlOmm(const GeneratedSet& g) {
  return "<omm id=\"CCSDS_OMM_VERS\" version=\"2.0\"><header/><body><segment><metadata><OBJECT_NAME>" + g.name +
         "</OBJECT_NAME><OBJECT_ID></OBJECT_ID><CENTER_NAME>EARTH</CENTER_NAME><REF_FRAME>TEME</REF_FRAME>"
         "<TIME_SYSTEM>UTC</TIME_SYSTEM><MEAN_ELEMENT_THEORY>SGP4</MEAN_ELEMENT_THEORY></metadata><data>"
         "<meanElements><EPOCH>" + OmmEpoch(g) + "</EPOCH><MEAN_MOTION>" + g.mm + "</MEAN_MOTION><ECCENTRICITY>" +
         g.ecc + "</ECCENTRICITY><INCLINATION>" + g.incl + "</INCLINATION><RA_OF_ASC_NODE>" + g.raan +
         "</RA_OF_ASC_NODE><ARG_OF_PERICENTER>" + g.argp + "</ARG_OF_PERICENTER><MEAN_ANOMALY>" + g.ma +
         "</MEAN_ANOMALY></meanElements><tleParameters><EPHEMERIS_TYPE>0</EPHEMERIS_TYPE>"
         "<CLASSIFICATION_TYPE>U</CLASSIFICATION_TYPE><NORAD_CAT_ID>" + std::to_string(g.catalog) +
         "</NORAD_CAT_ID><ELEMENT_SET_NO>999</ELEMENT_SET_NO><REV_AT_EPOCH>" + std::to_string(g.rev) +
         "</REV_AT_EPOCH><BSTAR>0</BSTAR><MEAN_MOTION_DOT>" + g.ndot + "</MEAN_MOTION_DOT><MEAN_MOTION_DDOT>" +
         g.nddot + "</MEAN_MOTION_DDOT></tleParameters></data></segment></body></omm>\n";
}

// The fifteen values of a keps file as the keps reader gives them.
bool ReadBack(const std::string& dir, const std::string& name, navlib::ElementSet& out) {
  navlib::NavState nav;
  navlib::NavInit(nav);
  nav.KepsDir = dir;
  nav.SatName = name;
  return navlib::ReadKepsFileUnits(nav, out);
}

enum class Format { TwoLine, Csv, Json, Xml };

struct FormatCase {
  Format format;
  const char* fileName;
};

class ImportRoundTrip : public ::testing::TestWithParam<FormatCase> {};

constexpr int kSetsPerFormat = 250;

TEST_P(ImportRoundTrip, EveryValueReadsBackAsTheNearestFloat) {
  const FormatCase fc = GetParam();
  std::mt19937 rng(20180115u + static_cast<unsigned>(fc.format));
  std::vector<GeneratedSet> sets;
  for (int i = 0; i < kSetsPerFormat; ++i) sets.push_back(Generate(rng, i));

  std::string file;
  if (fc.format == Format::Csv) file = kCsvHeader;
  if (fc.format == Format::Json) file = "[\n";
  if (fc.format == Format::Xml) file = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ndm>\n";
  for (size_t i = 0; i < sets.size(); ++i) {
    switch (fc.format) {
      case Format::TwoLine: file += TwoLineText(sets[i]); break;
      case Format::Csv: file += CsvRow(sets[i]); break;
      case Format::Json: file += (i ? ",\n" : "") + JsonObject(sets[i], i % 2 == 1); break;
      case Format::Xml: file += XmlOmm(sets[i]); break;
    }
  }
  if (fc.format == Format::Json) file += "\n]\n";
  if (fc.format == Format::Xml) file += "</ndm>\n";

  TempDir dir("import");
  const std::string source = dir / fc.fileName;
  reltest::WriteText(source, file);
  std::ostringstream out, err;
  const int code = quenta::RunImportCommandAt({"--keps-dir", dir.str(), source}, out, err, 1.6e9);
  ASSERT_EQ(code, 0) << err.str();

  for (const GeneratedSet& g : sets) {
    SCOPED_TRACE(g.name);
    navlib::ElementSet e;
    ASSERT_TRUE(ReadBack(dir.slash(), g.name, e));
    const bool twoLine = fc.format == Format::TwoLine;
    // Values whose source text is a decimal: the nearest float of that decimal.
    EXPECT_EQ(e.EpochYear, static_cast<float>(g.year));
    const double day = twoLine ? Decimal(g.dayText) : OmmEpochDay(g);
    if (twoLine) {
      EXPECT_TRUE(SameFloat(e.EpochDay, static_cast<float>(day))) << g.dayText;
    } else {
      // An OMM epoch is a calendar time: its day of the year is computed, so
      // within one float step of the value computed here.
      EXPECT_NEAR(e.EpochDay, day, std::nextafter(static_cast<float>(day), 1e9f) - static_cast<float>(day));
    }
    EXPECT_TRUE(SameFloat(e.Inclination, static_cast<float>(twoLine ? g.inclV : Decimal(g.incl))));
    EXPECT_TRUE(SameFloat(e.Raan, static_cast<float>(twoLine ? g.raanV : Decimal(g.raan))));
    EXPECT_TRUE(SameFloat(e.Eccentricity, static_cast<float>(twoLine ? g.eccV : Decimal(g.ecc))));
    EXPECT_TRUE(SameFloat(e.ArgPerigee, static_cast<float>(twoLine ? g.argpV : Decimal(g.argp))));
    EXPECT_TRUE(SameFloat(e.MeanAnomaly, static_cast<float>(twoLine ? g.maV : Decimal(g.ma))));
    EXPECT_TRUE(SameFloat(e.MeanMotion, static_cast<float>(twoLine ? g.mmV : Decimal(g.mm))));
    EXPECT_EQ(e.EpochOrbit, static_cast<float>(g.rev));
    EXPECT_EQ(e.Attitude.x, 0.0f);
    EXPECT_EQ(e.Attitude.y, 0.0f);
    EXPECT_EQ(e.Attitude.z, 0.0f);
    // Derived values: 2 pi times the derivative fields; the semi-major axis
    // from Kepler's third law, a^3 = GM / n^2, with GM = 398600.44 km^3/s^2.
    const double ndot = twoLine ? g.ndotV : Decimal(g.ndot);
    const double nddot = twoLine ? g.nddotV : Decimal(g.nddot);
    EXPECT_NEAR(e.MaTerm2, 2 * M_PI * ndot, 1e-6 * std::fabs(2 * M_PI * ndot) + 1e-30);
    EXPECT_NEAR(e.MaTerm3, 2 * M_PI * nddot, 1e-6 * std::fabs(2 * M_PI * nddot) + 1e-30);
    const double n = (twoLine ? g.mmV : Decimal(g.mm)) * 2 * M_PI / 86400.0;
    EXPECT_NEAR(e.SemiMajorAxis, std::cbrt(398600.44 / (n * n)), 1e-5 * e.SemiMajorAxis);
  }
}

std::string FormatName(const ::testing::TestParamInfo<FormatCase>& info) {
  static const char* const names[] = {"TwoLine", "OmmCsv", "OmmJson", "OmmXml"};
  return names[static_cast<int>(info.param.format)];
}

INSTANTIATE_TEST_SUITE_P(EachFormat, ImportRoundTrip,
                         ::testing::Values(FormatCase{Format::TwoLine, "sets.tle"}, FormatCase{Format::Csv, "sets.csv"},
                                           FormatCase{Format::Json, "sets.json"}, FormatCase{Format::Xml, "sets.xml"}),
                         FormatName);

// ---- The plotter's keps writer ----

// A float drawn from a wide range of magnitudes (1e-12 to 1e6), either sign
// where the field allows it.
float WideFloat(std::mt19937& rng, bool signedValue) {
  std::uniform_real_distribution<double> mag(-12, 6), unit(0, 1);
  double v = std::pow(10.0, mag(rng)) * (1 + unit(rng));
  if (signedValue && unit(rng) < 0.5) v = -v;
  return static_cast<float>(v);
}

TEST(PlotterKepsWriterRoundTrip, ValuesKeptAttitudeRoundedSecondSaveIdentical) {
  std::mt19937 rng(7301);
  std::uniform_real_distribution<double> unit(-1, 1), year(1957, 2099), day(1, 367), turn(0, 360), ecc(0, 0.99),
      mm(0.5, 17);
  TempDir dir("writer");
  for (int i = 0; i < 300; ++i) {
    SCOPED_TRACE(i);
    // The file as someone else wrote it: nine significant digits, the
    // attitude from an earlier save or none.
    const float values[15] = {static_cast<float>(std::trunc(year(rng))),
                              static_cast<float>(day(rng)),
                              static_cast<float>(turn(rng) / 2),
                              static_cast<float>(turn(rng)),
                              static_cast<float>(ecc(rng)),
                              static_cast<float>(turn(rng)),
                              static_cast<float>(turn(rng)),
                              static_cast<float>(mm(rng)),
                              static_cast<float>(std::trunc(turn(rng) * 100)),
                              WideFloat(rng, false),
                              i % 3 ? static_cast<float>(unit(rng)) : 0.0f,
                              i % 3 ? static_cast<float>(unit(rng)) : 0.0f,
                              i % 3 ? static_cast<float>(unit(rng)) : 0.0f,
                              WideFloat(rng, true),
                              WideFloat(rng, true)};
    std::string text;
    for (int k = 0; k < 15; ++k) text += (k ? "," : "") + navlib::Format("%.9g", static_cast<double>(values[k]));
    const std::string name = navlib::Format("W%d", i % 50);  // files are reused and replaced
    reltest::WriteText(dir / ("EL-" + name + ".kep"), text);

    navlib::ElementSet before;
    ASSERT_TRUE(ReadBack(dir.slash(), name, before));

    navlib::NavState nav;
    navlib::NavInit(nav);
    nav.KepsDir = dir.slash();
    nav.SatName = name;
    platform::RecordingUiHost host;
    navlib::Vec3 attitude{static_cast<float>(unit(rng)), static_cast<float>(unit(rng)),
                          static_cast<float>(unit(rng))};
    const gimbra::KepsWriteResult first = gimbra::WriteKepsWithAttitude(nav, attitude, host);
    ASSERT_EQ(first.Status, gimbra::KepsWriteStatus::Written) << first.Message;
    EXPECT_TRUE(host.messages.empty());
    const std::string firstFile = reltest::ReadText(dir / ("EL-" + name + ".kep"));

    navlib::ElementSet after;
    ASSERT_TRUE(ReadBack(dir.slash(), name, after));
    for (int k = 0; k < 15; ++k) {
      SCOPED_TRACE(k);
      if (k >= 10 && k <= 12) {
        // Four decimals: within half a unit of the fourth decimal of the
        // attitude given, and a whole number of ten-thousandths.
        const double a = attitude[k - 10];
        EXPECT_LE(std::fabs(after.Field(k) - a), 0.00005 + 1e-7);
        const double scaled = static_cast<double>(after.Field(k)) * 1e4;
        EXPECT_NEAR(scaled, std::round(scaled), 1e-3);
      } else {
        EXPECT_TRUE(SameFloat(after.Field(k), before.Field(k))) << before.Field(k) << " became " << after.Field(k);
      }
    }

    // Saving the same attitude again writes the very same bytes.
    const gimbra::KepsWriteResult second = gimbra::WriteKepsWithAttitude(nav, attitude, host);
    ASSERT_EQ(second.Status, gimbra::KepsWriteStatus::Written);
    EXPECT_EQ(reltest::ReadText(dir / ("EL-" + name + ".kep")), firstFile);
    // And saving the attitude as read back changes nothing either.
    const gimbra::KepsWriteResult third = gimbra::WriteKepsWithAttitude(nav, after.Attitude, host);
    ASSERT_EQ(third.Status, gimbra::KepsWriteStatus::Written);
    EXPECT_EQ(reltest::ReadText(dir / ("EL-" + name + ".kep")), firstFile);
  }
}

}  // namespace
