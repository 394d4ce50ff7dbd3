#include <cmath>
#include <cstdint>
#include <limits>

#include <gtest/gtest.h>

#include "common/errors.h"
#include "worktime/production_minutes.h"

namespace velmora {
namespace {

constexpr std::int32_t kMaxQuantity = std::numeric_limits<std::int32_t>::max();

TEST(ProductionMinutes, WholeMinutesOfCycleTimesQuantityPlusSetup) {
  EXPECT_EQ(238, ProductionMinutes(30, 12.5f, 1000));  // 12500 s = 208.3 minutes, + 30
  EXPECT_EQ(208, ProductionMinutes(0, 12.5f, 1001));   // 12512.5 s, rounded down
  EXPECT_EQ(5, ProductionMinutes(5, 0.5f, 100));       // under a minute of work
  EXPECT_EQ(-1, ProductionMinutes(0, 12.5f, -1));      // rounded down, not towards zero
}

TEST(ProductionMinutes, ZeroCycleTakesFiveSecondsAPiece) {
  EXPECT_EQ(8, ProductionMinutes(0, 0.0f, 100));  // 500 s
  EXPECT_EQ(40, ProductionMinutes(30, 0.0f, 120));
  EXPECT_EQ(8, ProductionMinutes(0, -0.0f, 100));
}

TEST(ProductionMinutes, CycleCountsAsTheEnteredDecimal) {
  // The singles are a little below 0.7, 0.29 and 1.13; the whole-minute products must not
  // lose a minute to that.
  EXPECT_EQ(7, ProductionMinutes(0, 0.7f, 600));
  EXPECT_EQ(29, ProductionMinutes(0, 0.29f, 6000));
  EXPECT_EQ(113, ProductionMinutes(0, 1.13f, 6000));
  EXPECT_EQ(1, ProductionMinutes(0, 0.1f, 600));
  EXPECT_EQ(0, ProductionMinutes(0, 0.1f, 599));
  // A cycle derived by division keeps its single's digits: 35 / 3 is 11.666667.
  EXPECT_EQ(70, ProductionMinutes(0, 35.0f / 3.0f, 360));
  EXPECT_EQ(0, ProductionMinutes(0, 1e-30f, kMaxQuantity));
  EXPECT_EQ(1000, ProductionMinutes(0, 1e4f, 6));
}

TEST(ProductionMinutes, LargeQuantitiesDoNotOverflow) {
  // quantity x 5 is beyond 32 bits, the minutes are not.
  EXPECT_EQ(178956970, ProductionMinutes(0, 0.0f, kMaxQuantity));
  EXPECT_EQ(178956970 + 32767, ProductionMinutes(32767, 0.0f, kMaxQuantity));
  EXPECT_EQ(357913941, ProductionMinutes(0, 10.0f, kMaxQuantity));
}

TEST(ProductionMinutes, ResultBeyond32BitsIsAConversionError) {
  EXPECT_THROW(ProductionMinutes(0, 3600.0f, kMaxQuantity), ConversionError);
  EXPECT_THROW(ProductionMinutes(0, 3e38f, 1), ConversionError);
  EXPECT_THROW(ProductionMinutes(0, std::nanf(""), 1), ConversionError);
  EXPECT_THROW(ProductionMinutes(0, std::numeric_limits<float>::infinity(), 1), ConversionError);
}

}  // namespace
}  // namespace velmora
