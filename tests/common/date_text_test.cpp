#include "common/date_text.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(DateText, StoredDateForm) {
  ASSERT_TRUE(ParseYmd("20240410"));
  EXPECT_EQ("20240410", FormatYmd(*ParseYmd("20240410")));
  EXPECT_FALSE(ParseYmd("00000000"));
  EXPECT_FALSE(ParseYmd("2024041"));
  EXPECT_FALSE(ParseYmd("2024 410"));
  EXPECT_FALSE(ParseYmd("20240230"));
}

TEST(DateText, StoredTimeForm) {
  EXPECT_EQ("083000", FormatHms(*ParseHms("083000")));
  EXPECT_EQ(DateTime::FromTime(8, 30, 0), *ParseHms("083000"));
  EXPECT_FALSE(ParseHms("246000"));
  EXPECT_FALSE(ParseHms("8300"));
}

TEST(DateText, SlashDateAcceptsTypedShortFields) {
  EXPECT_EQ(DateTime::FromDate(2024, 4, 1), *ParseSlashDate("2024/4/1"));
  EXPECT_EQ("2024/04/01", FormatSlashDate(*ParseSlashDate("2024/04/01")));
  EXPECT_FALSE(ParseSlashDate("0000/00/01"));
  EXPECT_FALSE(ParseSlashDate("2024/04/01/"));
  EXPECT_FALSE(ParseSlashDate("2024-04-01"));
  EXPECT_FALSE(ParseSlashDate("abc"));
}

TEST(DateText, ColonTime) {
  EXPECT_EQ("08:30:00", FormatColonTime(*ParseColonTime("08:30:00")));
  EXPECT_EQ(DateTime(), *ParseColonTime("00:00:00"));
  EXPECT_FALSE(ParseColonTime("03:60:00"));
  EXPECT_FALSE(ParseColonTime("08:30"));
}

TEST(DateText, LongDateIsJapanese) {
  EXPECT_EQ("2024年4月10日", FormatLongDate(DateTime::FromDate(2024, 4, 10)));
}

}  // namespace
}  // namespace velmora
