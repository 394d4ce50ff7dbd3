#include "common/format.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

const DateTime kMoment = DateTime::FromDate(2024, 12, 6) + DateTime::FromTime(7, 5, 9);

TEST(FormatDateTime, PatternsOfTheProgram) {
  EXPECT_EQ("20241206", FormatDateTime(kMoment, "yyyymmdd"));
  EXPECT_EQ("2024/12/06", FormatDateTime(kMoment, "yyyy/mm/dd"));
  EXPECT_EQ("07:05:09", FormatDateTime(kMoment, "hh:nn:ss"));
  EXPECT_EQ("070509", FormatDateTime(kMoment, "hhnnss"));
  EXPECT_EQ("12/6", FormatDateTime(kMoment, "m/d"));
  EXPECT_EQ("12/06", FormatDateTime(kMoment, "mm/dd"));
  const DateTime april = DateTime::FromDate(2024, 4, 1);
  EXPECT_EQ("4/1", FormatDateTime(april, "m/d"));
}

TEST(FormatDateTime, MmAfterHoursMeansMinutes) {
  EXPECT_EQ("07:05", FormatDateTime(kMoment, "hh:mm"));
  EXPECT_EQ("2024/12/06 07:05:09", FormatDateTime(kMoment, "yyyy/mm/dd hh:mm:ss"));
}

TEST(FormatDigits, ZeroPatternsPadAndInsertSeparators) {
  EXPECT_EQ("2024/04/10", FormatDigits("20240410", "0000/00/00"));
  EXPECT_EQ("0000/00/00", FormatDigits("00000000", "0000/00/00"));
  EXPECT_EQ("08:30:00", FormatDigits("083000", "00:00:00"));
  EXPECT_EQ("00:00:00", FormatDigits("0", "00:00:00"));
  EXPECT_EQ("03:60:00", FormatDigits("36000", "00:00:00"));
  EXPECT_EQ("03", FormatDigits("3", "00"));
  EXPECT_EQ("30", FormatDigits("30", "00"));
  EXPECT_EQ("123", FormatDigits("123", "00"));
}

TEST(FormatDigits, SurplusDigitsGoInFrontAndTextStaysText) {
  EXPECT_EQ("12345/67/89", FormatDigits("123456789", "0000/00/00"));
  EXPECT_EQ("abc", FormatDigits("abc", "0000/00/00"));
  EXPECT_EQ("", FormatDigits("", "00"));
  EXPECT_EQ("-05", FormatNumber(-5, "00"));
  EXPECT_EQ("04/10", FormatDigits("0410", "00/00"));
}

}  // namespace
}  // namespace velmora
