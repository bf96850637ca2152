// gimbra-cli render: options, exit status, messages and the files it writes,
// run as a person runs it (the program itself) and through its functions.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include "gimbra/cli/cliargs.h"
#include "gimbra/cli/render.h"
#include "plotfixture.h"

namespace {

using gimbra::cli::ParseOptions;

struct CliRun {
  int status;
  std::string err;
};

CliRun RunCli(const QStringList& args) {
  QProcess p;
  p.start(QStringLiteral(GIMBRA_CLI), args);
  p.waitForFinished(60000);
  return {p.exitCode(), p.readAllStandardError().toStdString()};
}

QStringList DemoArgs(const QString& out) {
  return {"render",   "--keps-dir", QString::fromStdString(gimbratest::SourceDir() + "data/demo-keps"),
          "--satellite", "M1-63",   "--date",
          "2018-01-22", "--alon",    "210",
          "--alat",   "-5",         "--out",
          out};
}

std::string ReadFile(const QString& path) {
  std::ifstream in(path.toStdString(), std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(RenderOptions, ParserAcceptsValuesFlagsAndEqualsSigns) {
  const std::vector<gimbra::cli::CliOption> table = {{"out", true, true}, {"mirror", false, false}, {"zoom", true, false}};
  struct Case {
    const char* name;
    std::vector<std::string> args;
    bool ok;
    const char* error;
  } cases[] = {
      {"value and flag", {"--out", "a.png", "--mirror"}, true, ""},
      {"equals sign", {"--out=a.png", "--zoom=2"}, true, ""},
      {"unknown option", {"--out", "a.png", "--colour", "red"}, false, "unknown option --colour"},
      {"missing value", {"--out"}, false, "--out needs a value"},
      {"stray word", {"--out", "a.png", "extra"}, false, "unexpected argument 'extra'"},
      {"required option missing", {"--mirror"}, false, "--out is required"},
      {"flag with a value", {"--out", "a.png", "--mirror=yes"}, false, "--mirror takes no value"},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.name);
    gimbra::cli::ParsedArgs parsed;
    std::string error;
    EXPECT_EQ(ParseOptions(k.args, table, parsed, &error), k.ok);
    EXPECT_EQ(error, k.error);
    if (k.ok) {
      EXPECT_EQ(parsed.Get("out"), "a.png");
    }
  }
}

TEST(RenderOptions, ValuesPassTheFieldValidatorsAndTakeTheirDefaults) {
  gimbra::cli::ParsedArgs parsed;
  ASSERT_TRUE(ParseOptions({"--keps-dir", "k", "--satellite", "AO-10", "--date", "2002-08-10", "--alon", "725",
                            "--alat", "-181", "--map", "20", "--sat", "5000", "--items", "ecliptic, earth-arcs",
                            "--out", "x.SVG"},
                           gimbra::cli::RenderOptionTable(), parsed, nullptr));
  gimbra::cli::RenderRequest r;
  std::string why;
  ASSERT_TRUE(gimbra::cli::BuildRenderRequest(parsed, r, &why)) << why;
  EXPECT_EQ(r.Inputs.AlonText, "5.0");
  EXPECT_EQ(r.Inputs.AlatText, "-1.0");
  EXPECT_EQ(r.Inputs.MapSegmentsText, "36");
  EXPECT_EQ(r.Inputs.SatSegmentsText, "3000");
  EXPECT_EQ(r.Inputs.DataFileName, "AO-10.ang");
  EXPECT_EQ(r.Inputs.ZoomList[static_cast<std::size_t>(r.Inputs.ZoomIndex)], "1");
  EXPECT_EQ(r.Inputs.UpperGammaText, "95");
  EXPECT_EQ(r.Inputs.LowerGammaText, "85");
  EXPECT_TRUE(r.Inputs.Items.EclipticSun);
  EXPECT_TRUE(r.Inputs.Items.EarthArcs);
  EXPECT_FALSE(r.Inputs.Items.MagPoles);
  EXPECT_FALSE(r.Mirror);
  EXPECT_EQ(gimbra::cli::KepsDirWithSeparator("k"), "k/");
  EXPECT_EQ(gimbra::cli::KepsDirWithSeparator("k/"), "k/");
}

TEST(RenderCli, DrawsTheDemoIntoAPngOfEightHundredBySixHundred) {
  QTemporaryDir dir;
  const QString out = dir.filePath("demo.png");
  QStringList args = DemoArgs(out);
  args << "--items"
       << "mag-poles,celestial-equator,ecliptic,sun-sensor,earth-ma,squint,camera-earth,camera-moon,earth-arcs";
  const CliRun run = RunCli(args);
  EXPECT_EQ(run.status, 0) << run.err;
  QImage image(out);
  ASSERT_FALSE(image.isNull());
  EXPECT_EQ(image.width(), 800);
  EXPECT_EQ(image.height(), 600);
  EXPECT_EQ(image.pixelColor(0, 0), QColor(0, 0, 0));
  EXPECT_EQ(image.pixelColor(50, 300), QColor(192, 192, 192));
  // The layers' colours are there: maroon sun-sensor, olive Earth-sensor,
  // teal squint, navy camera-Earth, purple camera-Moon, fuchsia and red Earth arcs.
  for (QColor want : {QColor(128, 0, 0), QColor(128, 128, 0), QColor(0, 128, 128), QColor(0, 0, 128),
                      QColor(128, 0, 128), QColor(255, 0, 255), QColor(255, 0, 0)}) {
    bool found = false;
    for (int y = 0; y < 600 && !found; ++y) {
      for (int x = 0; x < 800 && !found; ++x) found = image.pixelColor(x, y) == want;
    }
    EXPECT_TRUE(found) << want.name().toStdString();
  }
}

TEST(RenderCli, SvgCarriesTheCanvasCallsInImagePixels) {
  QTemporaryDir dir;
  const QString out = dir.filePath("demo.svg");
  QStringList args = DemoArgs(out);
  args << "--items" << "earth-arcs";
  const CliRun run = RunCli(args);
  EXPECT_EQ(run.status, 0) << run.err;
  const std::string svg = ReadFile(out);
  EXPECT_NE(svg.find("viewBox=\"0 0 800 600\""), std::string::npos);
  // The border's first line and the background rectangle, at the positions drawn.
  EXPECT_NE(svg.find("points=\"0,0 799,0 799,599 0,599 0,0 \""), std::string::npos);
  EXPECT_NE(svg.find("<rect x=\"0\" y=\"0\" width=\"800\" height=\"600\""), std::string::npos);
  // Single pixels of the Earth-arc locus are one-by-one rectangles.
  EXPECT_NE(svg.find("width=\"1\" height=\"1\""), std::string::npos);
  EXPECT_NE(svg.find("CENTER"), std::string::npos);
}

TEST(RenderCli, MessagesAndExitStatus) {
  QTemporaryDir dir;
  const QString out = dir.filePath("x.png");
  struct Case {
    const char* name;
    QStringList replace;  // option, value
    int status;
    const char* err;
  } cases[] = {
      {"keps file missing", {"--satellite", "NOSAT"}, 2, "      Keps file not found!\n Run set-up or generate kep files!\n"},
      {"date not a number", {"--date", "20x8-01-22"}, 2, "'20x8' is not a valid integer value\n"},
      {"ALON not a number", {"--alon", "-"}, 2, "'-' is not a valid floating point value\n"},
      {"zoom not in the list", {"--zoom", "4"}, 64, "gimbra-cli render: --zoom must be one of"},
      {"unknown graph item", {"--items", "ecliptic,stars"}, 64, "gimbra-cli render: unknown graph item 'stars'"},
      {"output neither png nor svg", {"--out", "x.jpg"}, 64, "gimbra-cli render: --out must name"},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.name);
    QStringList args = DemoArgs(out);
    const int at = args.indexOf(k.replace[0]);
    if (at >= 0) {
      args[at + 1] = k.replace[1];
    } else {
      args << k.replace;
    }
    const CliRun run = RunCli(args);
    EXPECT_EQ(run.status, k.status);
    EXPECT_EQ(run.err.rfind(k.err, 0), 0u) << run.err;
    EXPECT_FALSE(QFile::exists(out));  // a Draw a message ended writes nothing
  }
  const CliRun none = RunCli({});
  EXPECT_EQ(none.status, 64);
  const CliRun unknown = RunCli({"paint"});
  EXPECT_EQ(unknown.status, 64);
}

TEST(RenderCli, MirrorFlipsThePicture) {
  QTemporaryDir dir;
  const QString plain = dir.filePath("plain.png"), mirrored = dir.filePath("mirrored.png");
  EXPECT_EQ(RunCli(DemoArgs(plain) << "--items" << "ecliptic").status, 0);
  EXPECT_EQ(RunCli(DemoArgs(mirrored) << "--items" << "ecliptic" << "--mirror").status, 0);
  const QImage a(plain), b(mirrored);
  ASSERT_FALSE(a.isNull());
  ASSERT_FALSE(b.isNull());
  // The ecliptic's blue pixels on one side appear on the other.
  int blueLeftA = 0, blueLeftB = 0;
  for (int y = 0; y < 600; ++y) {
    for (int x = 101; x < 400; ++x) {
      blueLeftA += a.pixelColor(x, y) == QColor(0, 0, 255);
      blueLeftB += b.pixelColor(x, y) == QColor(0, 0, 255);
    }
  }
  EXPECT_NE(blueLeftA, blueLeftB);
}

}  // namespace
