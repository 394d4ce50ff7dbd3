#include "common/normalize_date.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

const DateTime kToday = DateTime::FromDate(2024, 4, 10);

std::string Normalize(std::string_view input) {
  return NormalizeDateText(input, kToday);
}

TEST(NormalizeDateText, OneOrTwoDigitsAreADayOfThisMonth) {
  EXPECT_EQ("2024/04/15", Normalize("15"));
  EXPECT_EQ("2024/04/05", Normalize("5"));
  EXPECT_EQ("2024/04/10", Normalize("31")) << "April has no 31st: today";
  EXPECT_EQ("2024/04/10", Normalize("00"));
}

TEST(NormalizeDateText, TwoDigitsAboveThirtyOneAreMonthAndDay) {
  EXPECT_EQ("2024/04/05", Normalize("45"));
  EXPECT_EQ("2024/03/02", Normalize("32"));
  EXPECT_EQ("2024/09/09", Normalize("99"));
}

TEST(NormalizeDateText, ThreeOrFourDigitsAreMonthAndDayOfThisYear) {
  EXPECT_EQ("2024/12/31", Normalize("1231"));
  EXPECT_EQ("2024/04/01", Normalize("401"));
  EXPECT_EQ("2024/04/10", Normalize("1301"));
}

TEST(NormalizeDateText, SixDigitsTakeTheCenturyFromTheYearWindow) {
  // Window for 2024: 1975 .. 2074.
  EXPECT_EQ("2024/04/01", Normalize("240401"));
  EXPECT_EQ("1975/04/01", Normalize("750401"));
  EXPECT_EQ("2074/04/01", Normalize("740401"));
  EXPECT_EQ("2004/04/01", Normalize("40401"));
  // Window for 2000: 1951 .. 2050.
  EXPECT_EQ("2050/01/01", NormalizeDateText("500101", DateTime::FromDate(2000, 1, 1)));
  EXPECT_EQ("1951/01/01", NormalizeDateText("510101", DateTime::FromDate(2000, 1, 1)));
}

TEST(NormalizeDateText, EightDigitsAreTakenAsTheyStand) {
  EXPECT_EQ("2023/12/31", Normalize("20231231"));
  EXPECT_EQ("2024/02/29", Normalize("20240229"));
  EXPECT_EQ("2024/04/10", Normalize("20230229"));
  EXPECT_EQ("2024/04/10", Normalize("20241301")) << "month 13";
  EXPECT_EQ("0123/12/31", Normalize("1231231")) << "seven digits: a three-digit year";
}

TEST(NormalizeDateText, EmptyOrTooLongGivesToday) {
  EXPECT_EQ("2024/04/10", Normalize(""));
  EXPECT_EQ("2024/04/10", Normalize("   "));
  EXPECT_EQ("2024/04/10", Normalize("202404011"));
  EXPECT_EQ("2024/04/10", Normalize("99999999999999999999999"));
  EXPECT_EQ("2024/04/05", Normalize(" 45 "));
}

TEST(NormalizeDateText, OneSeparatorIsMonthAndDayOfThisYear) {
  EXPECT_EQ("2024/04/01", Normalize("4/1"));
  EXPECT_EQ("2024/12/25", Normalize("12-25"));
  EXPECT_EQ("2024/04/10", Normalize("4/31"));
  EXPECT_EQ("2024/04/10", Normalize("4/"));
  EXPECT_EQ("2024/04/10", Normalize("99999999999/1"));
}

TEST(NormalizeDateText, TwoOrThreeSeparatorsAreYearMonthDay) {
  EXPECT_EQ("2024/04/01", Normalize("24.4.1"));
  EXPECT_EQ("1980/04/01", Normalize("80.4.1"));
  EXPECT_EQ("2023/01/05", Normalize("2023-1-5"));
  EXPECT_EQ("0024/04/01", Normalize("024/4/1")) << "three characters: the year as it stands";
  EXPECT_EQ("2024/04/01", Normalize("2024/04/01/09")) << "a fourth part is ignored";
  EXPECT_EQ("2024/04/10", Normalize("4//1")) << "empty month";
}

TEST(NormalizeDateText, FourOrMoreSeparatorsGiveToday) {
  EXPECT_EQ("2024/04/10", Normalize("2024/4/1/0/0"));
  EXPECT_EQ("2024/04/10", Normalize("...."));
}

TEST(NormalizeDateText, FullWidthDigitsCountAsDigitsOtherCharactersSeparate) {
  EXPECT_EQ("2024/04/05", Normalize("４５"));
  EXPECT_EQ("2024/12/31", Normalize("１２３１"));
  EXPECT_EQ("2024/04/01", Normalize("２０２４／４／１"));
  EXPECT_EQ("2024/04/01", Normalize("2024年4月1日"))
      << "the trailing 日 makes an empty fourth part";
  EXPECT_EQ("2024/04/10", Normalize("4月1日")) << "year 4 -> 2004, month 1, empty day";
}

// The date box of the chart: the period, not today, fills in what the text leaves out.
TEST(TypedDayOfPeriod, TakesTheYearAndMonthFromThePeriod) {
  const auto d = [](int y, int m, int day) { return DateTime::FromDate(y, m, day); };
  const struct {
    DateTime first, last;
    const char* typed;
    std::optional<DateTime> day;
  } cases[] = {
      {d(2023, 5, 1), d(2023, 5, 31), "5/20", d(2023, 5, 20)},
      {d(2023, 5, 1), d(2023, 5, 31), "520", d(2023, 5, 20)},
      {d(2023, 5, 1), d(2023, 5, 31), "20", d(2023, 5, 20)},
      {d(2023, 5, 1), d(2023, 5, 31), "2024/05/20", d(2024, 5, 20)},  // outside, as typed
      {d(2023, 5, 1), d(2023, 5, 31), "6/3", d(2023, 6, 3)},
      {d(2024, 12, 16), d(2025, 1, 15), "12/20", d(2024, 12, 20)},
      {d(2024, 12, 16), d(2025, 1, 15), "1/10", d(2025, 1, 10)},
      {d(2024, 12, 16), d(2025, 1, 15), "5", d(2025, 1, 5)},
      {d(2024, 12, 16), d(2025, 1, 15), "11/30", d(2024, 11, 30)},  // outside: the first year
      {d(2023, 12, 16), d(2024, 3, 15), "2/29", d(2024, 2, 29)},    // no such day in 2023
      {d(2023, 5, 1), d(2023, 5, 31), "2/30", std::nullopt},
      {d(2023, 5, 1), d(2023, 5, 31), "x/y/z/w/v", std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.day, TypedDayOfPeriod(c.typed, c.first, c.last)) << c.typed;
  }
}

}  // namespace
}  // namespace velmora
