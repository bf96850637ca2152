// The orbit-longitude labels along the orbit plane and the texts of the
// main window's field validators.
#include <clocale>
#include <cmath>

#include <gtest/gtest.h>

#include "gimbra/core/attitudedata.h"
#include "gimbra/core/fieldtext.h"
#include "gimbra/core/plot.h"
#include "navlib/textnum.h"

namespace {

TEST(OrbitLabels, FiveMultiplesOfThirtyStartingFortyToSeventyBelowTheAttitude) {
  // Worked by hand from the labelling rule: start at trunc(ALON - 70),
  // wrapped once into 0 ... 360, moved up to a multiple of 10 and then of 30.
  struct Case {
    const char* name;
    float alon;
    std::array<const char*, 5> texts;
  } cases[] = {
      {"ALON 180", 180, {"120/0", "150/0", "180/0", "210/0", "240/0"}},
      {"ALON 290: reaching 360 by adding 30 is written 360", 290, {"240/0", "270/0", "300/0", "330/0", "360/0"}},
      {"ALON 70 starts at 0", 70, {"0/0", "30/0", "60/0", "90/0", "120/0"}},
      {"ALON 30: trunc(-40) + 360 = 320, moved up to 330", 30, {"330/0", "360/0", "30/0", "60/0", "90/0"}},
      {"ALON 210", 210, {"150/0", "180/0", "210/0", "240/0", "270/0"}},
      {"ALON 75.9: trunc(5.9) = 5", 75.9f, {"30/0", "60/0", "90/0", "120/0", "150/0"}},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.name);
    const auto texts = gimbra::OrbitLabelTexts(k.alon);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(texts[static_cast<std::size_t>(i)], k.texts[static_cast<std::size_t>(i)]);
  }
}

TEST(OrbitLabels, AbsurdAttitudeStillGivesLabelsQuickly) {
  EXPECT_EQ(gimbra::FirstOrbitLabel(NAN) % 30, 0);
  EXPECT_EQ(gimbra::FirstOrbitLabel(1e30f) % 30, 0);
  EXPECT_EQ(gimbra::FirstOrbitLabel(-1e30f) % 30, 0);
}

TEST(FieldTexts, FixedPointWithFourSignificantDigitsAndOneDecimal) {
  struct Case {
    double v;
    int precision;
    const char* text;
  } cases[] = {
      {359.96, 4, "360.0"}, {5, 4, "5.0"}, {330, 4, "330.0"}, {-19, 4, "-19.0"},
      {0, 4, "0.0"},        {267, 4, "267.0"}, {-1, 3, "-1.0"}, {12.345, 3, "12.3"},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.text);
    EXPECT_EQ(gimbra::FormatFixed(k.v, k.precision, 1), k.text);
  }
}

TEST(FieldTexts, ValidatorsOfTheMainWindow) {
  struct Case {
    const char* name;
    std::string (*validate)(const std::string&);
    const char* typed;
    const char* result;
  } cases[] = {
      {"ALON 725 becomes 5.0", gimbra::WrapAlonText, "725", "5.0"},
      {"ALON -30 becomes 330.0", gimbra::WrapAlonText, "-30", "330.0"},
      {"ALON 360 stays 360", gimbra::WrapAlonText, "360", "360"},
      {"ALON inside keeps its text", gimbra::WrapAlonText, "  12.50", "  12.50"},
      {"ALON 1e12 in one step", gimbra::WrapAlonText, "1e12", "280.0"},
      {"ALAT 95 becomes 5.0", gimbra::FoldAlatText, "95", "5.0"},
      {"ALAT -181 becomes -1.0", gimbra::FoldAlatText, "-181", "-1.0"},
      {"ALAT 100 becomes 10.0 (steps of 90)", gimbra::FoldAlatText, "100", "10.0"},
      {"ALAT -100 becomes -10.0", gimbra::FoldAlatText, "-100", "-10.0"},
      {"ALAT 90 stays", gimbra::FoldAlatText, "90", "90"},
      {"Map 20 becomes 36", gimbra::ClampSegmentsText, "20", "36"},
      {"Map 5000 becomes 3000", gimbra::ClampSegmentsText, "5000", "3000"},
      {"Map 35 becomes 36", gimbra::ClampSegmentsText, "35", "36"},
      {"Map 36 stays", gimbra::ClampSegmentsText, "36", "36"},
      {"Map 600 stays", gimbra::ClampSegmentsText, "600", "600"},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.name);
    EXPECT_EQ(k.validate(k.typed), k.result);
  }
}

TEST(FieldTexts, ValidatorOnATextThatIsNoNumberRaisesTheConversionError) {
  EXPECT_THROW(gimbra::WrapAlonText("-"), navlib::ConvertError);
  EXPECT_THROW(gimbra::FoldAlatText("1.2.3"), navlib::ConvertError);
  EXPECT_THROW(gimbra::ClampSegmentsText("12.5"), navlib::ConvertError);
}

TEST(FieldTexts, DecimalPointWhateverTheLocale) {
  // Qt sets the C library's locale from the desktop; a German desktop
  // writes "1,5". The plotter's texts and files keep the point.
  const std::string saved = std::setlocale(LC_ALL, nullptr);
  const bool haveComma = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
  EXPECT_EQ(gimbra::FormatFixed(359.96, 4, 1), "360.0");
  EXPECT_EQ(gimbra::WrapAlonText("-30.5"), "329.5");
  gimbra::AttitudeData d;
  gimbra::ReadAttitudeText("SS 2002, 245.625, 73.5", 0, 0, d, nullptr);
  EXPECT_FLOAT_EQ(d.SunSensorRecords.Items[0].DayOfYear, 245.625f);
  EXPECT_THROW(gimbra::ReadAttitudeText("SS 2002, 245,625, 73", 0, 0, d, nullptr), navlib::ConvertError);
  std::setlocale(LC_ALL, saved.c_str());
  if (!haveComma) GTEST_LOG_(INFO) << "de_DE.UTF-8 not installed; checked in the C locale only";
}

}  // namespace
