#include "common/numeric.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <limits>

#include "common/errors.h"

namespace velmora {
namespace {

TEST(Val, NumberAtTheStartOfTheText) {
  EXPECT_EQ(3, Val("3"));
  EXPECT_EQ(3, Val("03"));
  EXPECT_EQ(12.5, Val("  12.5kg"));
  EXPECT_EQ(-7, Val("-7 pcs"));
  EXPECT_EQ(0, Val("abc"));
  EXPECT_EQ(0, Val(""));
  EXPECT_EQ(1500, Val("1.5e3"));
  EXPECT_EQ(1, Val("1e"));
}

TEST(Val, EdgesOfTheNumberForm) {
  struct Case {
    const char* text;
    double value;
  };
  const double inf = std::numeric_limits<double>::infinity();
  for (const Case& c : std::initializer_list<Case>{
           {"+5", 5},
           {"\t.5x", 0.5},
           {"5.", 5},
           {"-.5", -0.5},
           {"1.2.3", 1.2},
           {"2E-2", 0.02},
           {"1e+", 1},
           {"0x1A", 0},
           {"inf", 0},
           {"- 5", 0},
           {"1e999", inf},
           {"-1e999", -inf},
           {"1e-999", 0},
           {"0.0000000001e-400", 0},
           {"100000000000000000000e290", inf},
           {"0.001e310", 1e307},
       }) {
    EXPECT_EQ(c.value, Val(c.text)) << c.text;
  }
}

TEST(IsNumeric, WholeTextMustBeANumber) {
  EXPECT_TRUE(IsNumeric(" 083000 "));
  EXPECT_TRUE(IsNumeric("-1.5"));
  EXPECT_FALSE(IsNumeric("12a"));
  EXPECT_FALSE(IsNumeric(""));
  EXPECT_FALSE(IsNumeric("."));
}

TEST(IntegerConversion, TiesRoundToEven) {
  EXPECT_EQ(2, ToInt16(2.5));
  EXPECT_EQ(4, ToInt16(3.5));
  EXPECT_EQ(-2, ToInt32(-2.5));
  EXPECT_EQ(3, ToInt32(2.51));
  EXPECT_EQ(32767, ToInt16(32767.4));
}

TEST(IntegerConversion, OverflowIsAnErrorNotAWrap) {
  EXPECT_THROW(ToInt16(32767.5), ConversionError);
  EXPECT_THROW(ToInt16(-32769), ConversionError);
  EXPECT_THROW(ToInt32(2147483648.0), ConversionError);
  EXPECT_THROW(ToInt32(std::numeric_limits<double>::quiet_NaN()), ConversionError);
  EXPECT_EQ(-32768, ToInt16(-32768.5));  // ties to even stays in range
}

}  // namespace
}  // namespace velmora
