// Constants, time and day numbers: start-up, day numbers and the date and
// time texts.
#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <cmath>
#include <string>

#include "navlib/navlib.h"
#include "navlib/textnum.h"
#include "navlib_fixtures.h"

using namespace navlib;
namespace chr = std::chrono;

namespace {

// Day number of a civil date from the standard library's proleptic Gregorian
// calendar, anchored at 1995 January 1 = 728309: an independent count.
int CivilDayNumber(int y, unsigned m, unsigned d) {
  const auto anchor = chr::sys_days{chr::year{1995} / chr::January / 1}.time_since_epoch().count();
  const auto day = chr::sys_days{chr::year{y} / chr::month{m} / chr::day{d}}.time_since_epoch().count();
  return static_cast<int>(728309 + (day - anchor));
}

}  // namespace

TEST(NavInit, DerivesTheFourConstantsAsTheirFloats) {
  NavState s;
  s.SatName = "AO-40";
  s.KepsDir = "/tmp/";
  s.IllumText = "ecl";
  s.ZoneText = "UTC";
  s.ModeText = "B";
  NavInit(s);
  // The bracketed float values of the model's constant table.
  EXPECT_FLOAT_EQ(Nc.YearRate, 0.0172027927f);
  EXPECT_FLOAT_EQ(Nc.EarthRate, 6.30038834f);
  EXPECT_FLOAT_EQ(Nc.EarthRateSec, 7.29211606e-05f);
  EXPECT_FLOAT_EQ(Nc.SunMaRate, 0.0172019694f);
  EXPECT_EQ(Nc.Pi, 3.14159274f);
  // Hand check: the Earth turns once per sidereal day of 86164.09 s.
  EXPECT_NEAR(2 * navtest::kPi / Nc.EarthRateSec, 86164.09, 0.1);
  EXPECT_TRUE(s.SatName.empty());
  EXPECT_TRUE(s.KepsDir.empty());
  EXPECT_TRUE(s.IllumText.empty());
  EXPECT_TRUE(s.ZoneText.empty());
  EXPECT_TRUE(s.ModeText.empty());
}

TEST(DayNumber, DocumentedValues) {
  struct Case {
    const char* name;
    int y, m, d;
    int expected;
  } cases[] = {
      {"1995 January 0 is the reference day", 1995, 1, 0, 728308},
      {"1995 January 1", 1995, 1, 1, 728309},
      // By hand: 1995..1999 hold 5 * 365 + 1 days, so 2000 January 1 is 728309 + 1826.
      {"2000 January 1", 2000, 1, 1, 730135},
      {"month 1 day 0 is 31 December of the year before", 2002, 1, 0, DayNumber(2001, 12, 31)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(DayNumber(c.y, c.m, c.d), c.expected);
  }
}

TEST(DayNumber, LeapYearsCountTheTwentyNinthOfFebruary) {
  struct Case {
    const char* name;
    int year;
    int daysFrom28FebTo1Mar;
  } cases[] = {
      {"2000 is a leap year", 2000, 2},
      {"2001 is not", 2001, 1},
      {"2024 is", 2024, 2},
      {"2099 is not", 2099, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(DayNumber(c.year, 3, 1) - DayNumber(c.year, 2, 28), c.daysFrom28FebTo1Mar);
  }
}

TEST(DayNumber, AgreesWithTheCivilCalendarFrom1900To2099) {
  // Every date from 1900 March 1 to 2099 December 31 against the standard
  // library's calendar; the weekday of DateText against its weekday too.
  const char* weekdays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  const char* months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  int failures = 0;
  chr::sys_days day{chr::year{1900} / chr::March / 1};
  const chr::sys_days last{chr::year{2099} / chr::December / 31};
  for (; day <= last && failures < 5; day += chr::days{1}) {
    const chr::year_month_day ymd{day};
    const int y = static_cast<int>(ymd.year());
    const int m = static_cast<int>(static_cast<unsigned>(ymd.month()));
    const int d = static_cast<int>(static_cast<unsigned>(ymd.day()));
    const int n = DayNumber(y, m, d);
    char expected[32];
    std::snprintf(expected, sizeof expected, "%d  %s  %02d [%s]", y, months[m - 1], d,
                  weekdays[chr::weekday{day}.c_encoding()]);
    const std::string got = DateText(n);
    if (n != CivilDayNumber(y, static_cast<unsigned>(m), static_cast<unsigned>(d)) || got != expected) {
      ++failures;
      ADD_FAILURE() << "date " << expected << ": DayNumber " << n << ", DateText \"" << got << "\"";
    }
  }
  EXPECT_EQ(failures, 0);
}

TEST(DateText, DocumentedExamples) {
  struct Case {
    const char* name;
    int dayNumber;
    const char* expected;
  } cases[] = {
      {"1995 January 1 was a Sunday", 728309, "1995  Jan  01 [Sun]"},
      {"the reference day is 31 December 1994, a Saturday", 728308, "1994  Dec  31 [Sat]"},
      {"2000 February 29 was a Tuesday", DayNumber(2000, 2, 29), "2000  Feb  29 [Tue]"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(DateText(c.dayNumber), c.expected);
  }
}

TEST(DateText, AbsurdDayNumbersGiveSomeTextWithoutFault) {
  for (int n : {0, -1, -728308, INT_MIN + 1000, INT_MAX - 1000, 1, 100000000}) {
    SCOPED_TRACE(n);
    const std::string t = DateText(n);
    EXPECT_FALSE(t.empty());
    EXPECT_EQ(t.back(), ']');
  }
}

TEST(TimeText, ExactBinaryFractionsOfADay) {
  struct Case {
    const char* name;
    float fraction;
    const char* expected;
  } cases[] = {
      {"midnight", 0.0f, "00:00:00"},
      {"noon", 0.5f, "12:00:00"},
      {"three quarters", 0.75f, "18:00:00"},
      {"1/64 day is 22.5 minutes", 0.015625f, "00:22:30"},
      {"1/128 day is 11.25 minutes", 0.0078125f, "00:11:15"},
      {"noon plus 1/32 day", 0.53125f, "12:45:00"},
      {"a whole day gives hour 24", 1.0f, "24:00:00"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(TimeText(c.fraction), c.expected);
  }
}

TEST(TimeText, NonFiniteFractionGivesTextWithoutFault) {
  EXPECT_EQ(TimeText(std::nanf("")).size(), 8u);
  EXPECT_FALSE(TimeText(1e30f).empty());
}

TEST(ParseDate, TenAndElevenLetterFormsGiveTheSameDay) {
  const int aug10 = DayNumber(2002, 8, 10);
  struct Case {
    const char* name;
    const char* text;
    int expected;
  } cases[] = {
      {"date field form", "2002-08-10", aug10},
      {"report form surrounded by blanks", "  2002 Aug 10  ", aug10},
      {"any letters at positions 5 and 8", "2002/08.10", aug10},
      {"report form, December", "1999 Dec 31", DayNumber(1999, 12, 31)},
      {"report form, January", "2024 Jan 01", DayNumber(2024, 1, 1)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ParseDate(c.text), c.expected);
  }
}

TEST(ParseDate, TextsThatDoNotConvertRaiseTheConversionError) {
  struct Case {
    const char* name;
    const char* text;
  } cases[] = {
      {"letter in the month", "2002-0a-10"},
      {"letter in the year", "20x2-08-10"},
      {"missing day", "2002 Aug"},
      {"month in lower case", "2002 aug 10"},
      {"unknown month", "2002 Xyz 10"},
      {"empty", ""},
      {"blanks only", "          "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_THROW(ParseDate(c.text), ConvertError);
  }
}

TEST(ParseDate, ErrorMessageNamesTheText) {
  try {
    ParseDate("2002-0a-10");
    FAIL() << "no error";
  } catch (const ConvertError& e) {
    EXPECT_STREQ(e.what(), "'0a' is not a valid integer value");
  }
}

TEST(NormalizeTime, MovesWholeDaysOutOfTheFraction) {
  struct Case {
    const char* name;
    float dayNum, dayFrac;
    float expectedNum, expectedFrac;
  } cases[] = {
      {"a quarter day before midnight", 740000, -0.25f, 739999, 0.75f},
      {"two and a half days", 740000, 2.5f, 740002, 0.5f},
      {"already normal", 740000, 0.3f, 740000, 0.3f},
      {"exactly one day", 740000, 1.0f, 740001, 0.0f},
      {"minus three and a half", 740000, -3.5f, 739996, 0.5f},
      // The loop of +-1 in float would never end here: 1.7e7 - 1 == 1.7e7.
      {"huge fraction ends at once", 10, 1.7e7f, 17000010, 0.0f},
      {"a hair before midnight is midnight", 740000, -1e-9f, 740000, 0.0f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    NavState s;
    s.DayNum = c.dayNum;
    s.DayFrac = c.dayFrac;
    NormalizeTime(s);
    EXPECT_EQ(s.DayNum, c.expectedNum);
    EXPECT_FLOAT_EQ(s.DayFrac, c.expectedFrac);
    EXPECT_GE(s.DayFrac, 0.0f);
    EXPECT_LT(s.DayFrac, 1.0f);
  }
}

TEST(NormalizeTime, NonFiniteFractionIsLeftAlone) {
  NavState s;
  s.DayNum = 740000;
  s.DayFrac = std::numeric_limits<float>::infinity();
  NormalizeTime(s);
  EXPECT_EQ(s.DayNum, 740000.0f);
}

TEST(RoundToInt, TruncatesXPlusOneHalfTowardZero) {
  struct Case {
    const char* name;
    float x;
    int expected;
  } cases[] = {
      {"2.3", 2.3f, 2},
      {"2.5 rounds up", 2.5f, 3},
      {"2.7", 2.7f, 3},
      {"0.49", 0.49f, 0},
      // Not rounding to nearest for negatives: the reports print it so.
      {"-2.3 gives -1", -2.3f, -1},
      {"-2.7 gives -2", -2.7f, -2},
      {"NaN is guarded", std::nanf(""), 0},
      {"beyond int saturates", 1e20f, INT_MAX},
      {"below int saturates", -1e20f, INT_MIN},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(RoundToInt(c.x), c.expected);
  }
}

TEST(TimeDiffText, BorrowsAcrossSecondsMinutesAndMidnight) {
  struct Case {
    const char* name;
    const char* first;
    const char* second;
    const char* expected;
  } cases[] = {
      {"over midnight, short first form", "23:50", "00:10:30", "00:20:30"},
      {"same time", "10:00:00", "10:00:00", "00:00:00"},
      {"borrow seconds and minutes", "08:15:45", "09:10:15", "00:54:30"},
      {"one second short of a day", "12:00", "11:59:59", "23:59:59"},
      {"both short", "06:30", "07:45", "01:15:00"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(TimeDiffText(c.first, c.second), c.expected);
  }
}

TEST(TimeDiffText, NonNumericGroupsRaise) {
  EXPECT_THROW(TimeDiffText("ab:cd", "00:00"), ConvertError);
  EXPECT_THROW(TimeDiffText("10:00", "10:xx:00"), ConvertError);
  EXPECT_THROW(TimeDiffText("", "10:00"), ConvertError);
}

TEST(ParseTime, HoursMinutesSecondsToFractionOfDay) {
  struct Case {
    const char* name;
    const char* text;
    float expected;
  } cases[] = {
      {"six o'clock is a quarter day", "06:00:00", 0.25f},
      {"12:45 is 17/32 day", "12:45:00", 0.53125f},
      {"one second", "00:00:01", static_cast<float>(1.0 / 86400.0)},
      {"22:30 of minutes", "00:22:30", 0.015625f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_FLOAT_EQ(ParseTime(c.text), c.expected);
  }
}

TEST(ParseTime, NonNumericGroupsRaise) {
  for (const char* t : {"6:00:00", "06:00", "aa:00:00", "06:00:0x", ""}) {
    SCOPED_TRACE(t);
    EXPECT_THROW(ParseTime(t), ConvertError);
  }
}
