#include "common/datetime.h"

#include <gtest/gtest.h>

#include <limits>

#include "common/date_text.h"
#include "common/errors.h"

namespace velmora {
namespace {

TEST(DateTime, ZeroIsTheStoredFormsZeroDay) {
  EXPECT_EQ("1899/12/30", FormatSlashDate(DateTime()));
  EXPECT_EQ(7, DateTime().Weekday());  // a Saturday
  EXPECT_TRUE(DateTime::FromTime(0, 0, 0).IsZero());
}

TEST(DateTime, CivilRoundTripAcrossLeapYearsAndCenturies) {
  for (int year : {1900, 1999, 2000, 2024, 2100}) {
    for (int month = 1; month <= 12; ++month) {
      for (int day = 1; day <= DaysInMonth(year, month); ++day) {
        const CivilDate c = ToCivil(DateTime::FromDate(year, month, day));
        ASSERT_EQ(year, c.year);
        ASSERT_EQ(month, c.month);
        ASSERT_EQ(day, c.day);
      }
    }
  }
  EXPECT_EQ(29, DaysInMonth(2000, 2));
  EXPECT_EQ(28, DaysInMonth(1900, 2));
}

TEST(DateTime, DateAndTimePartsSplitNegativeMomentsDownwards) {
  const DateTime t = DateTime::FromSeconds(-1);  // 1899-12-29 23:59:59
  EXPECT_EQ(-1, t.Days());
  EXPECT_EQ("23:59:59", FormatColonTime(t.TimePart()));
  EXPECT_EQ("1899/12/29", FormatSlashDate(t.DatePart()));
}

TEST(DateTime, WeekdaysOfKnownDates) {
  EXPECT_EQ(1, DateTime::FromDate(2024, 4, 7).Weekday());   // Sunday
  EXPECT_EQ(4, DateTime::FromDate(2024, 4, 10).Weekday());  // Wednesday
  EXPECT_EQ(7, DateTime::FromDate(2024, 4, 13).Weekday());  // Saturday
}

TEST(DateTime, AddMonthsClampsToTheLastDay) {
  EXPECT_EQ("2024/02/29", FormatSlashDate(DateTime::FromDate(2024, 1, 31).AddMonths(1)));
  EXPECT_EQ("2025/01/15", FormatSlashDate(DateTime::FromDate(2024, 12, 15).AddMonths(1)));
  EXPECT_EQ("2024/05/10", FormatSlashDate(DateTime::FromDate(2024, 4, 10).AddMonths(1)));
}

TEST(DateTime, AddMonthsBackwardsStopsAtYearOne) {
  const DateTime noon = DateTime::FromTime(12, 0, 0);
  EXPECT_EQ(DateTime::FromDate(2023, 12, 31) + noon,
            (DateTime::FromDate(2024, 3, 31) + noon).AddMonths(-3));
  EXPECT_EQ(DateTime::FromDate(1, 1, 31), DateTime::FromDate(2, 1, 31).AddMonths(-12));
  EXPECT_EQ(DateTime::FromDate(1, 1, 1), DateTime::FromDate(1, 12, 1).AddMonths(-11));
  struct Case {
    DateTime from;
    int months;
  };
  for (const Case& c :
       {Case{DateTime::FromDate(1, 1, 1), -1}, Case{DateTime::FromDate(1, 12, 31), -12},
        Case{DateTime::FromDate(2024, 4, 10), -2024 * 12},
        Case{DateTime::FromDate(2024, 4, 10), std::numeric_limits<int>::min()},
        Case{DateTime::FromDays(-800000), 0}}) {
    EXPECT_THROW(c.from.AddMonths(c.months), ConversionError) << c.months;
  }
}

TEST(DateTime, MinutesBetweenCountsBoundaries) {
  const DateTime origin = DateTime::FromDate(2024, 4, 10) + DateTime::FromTime(8, 0, 0);
  EXPECT_EQ(-1, MinutesBetween(origin, origin.AddSeconds(-1)));
  EXPECT_EQ(0, MinutesBetween(origin, origin.AddSeconds(59)));
  EXPECT_EQ(-2880, MinutesBetween(origin, origin.AddDays(-2)));
}

TEST(DateTime, CheckedConstructorsRefuseImpossibleValues) {
  EXPECT_FALSE(DateTime::MakeDate(2023, 2, 29));
  EXPECT_FALSE(DateTime::MakeDate(0, 1, 1));
  EXPECT_FALSE(DateTime::MakeDate(2024, 13, 1));
  EXPECT_FALSE(DateTime::MakeTime(24, 0, 0));
  EXPECT_FALSE(DateTime::MakeTime(3, 60, 0));
  EXPECT_TRUE(DateTime::MakeTime(23, 59, 59));
}

}  // namespace
}  // namespace velmora
