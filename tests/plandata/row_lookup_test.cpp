#include "plandata/row_lookup.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

// Rows: 1 unplanned, 2-3 machines, 4 a department, 5 a subcontractor, 6 filler.
PlanData Rows() {
  PlanData data;
  data.RowCount = 6;
  data.RowCode = {"", "        ", "M01     ", "M02     ", "5", "200101", ""};
  return data;
}

TEST(RowOfCode, ExactComparisonFirstMatchElseUnplanned) {
  const PlanData data = Rows();
  EXPECT_EQ(2, RowOfCode(data, "M01     "));
  EXPECT_EQ(1, RowOfCode(data, "M01"));  // blanks count
  EXPECT_EQ(1, RowOfCode(data, "m01     "));
  EXPECT_EQ(1, RowOfCode(data, "        "));
  EXPECT_EQ(1, RowOfCode(data, "X"));
}

TEST(FindRow, MachineCodeDecidesWhenBothCodesAreGiven) {
  const PlanData data = Rows();
  EXPECT_EQ(3, FindRow(data, "M02     ", "200101"));
  EXPECT_FALSE(FindRow(data, "M09     ", "200101"));
}

TEST(FindRow, EitherCodeMatchesWhenOneIsBlankOrBothAreEqual) {
  const PlanData data = Rows();
  // Walking from the bottom, the subcontractor row is found before the unplanned row.
  EXPECT_EQ(5, FindRow(data, "        ", "200101"));
  EXPECT_EQ(1, FindRow(data, "        ", ""));
  EXPECT_EQ(2, FindRow(data, "M01     ", "  "));
  EXPECT_EQ(4, FindRow(data, "5", "5"));
  EXPECT_EQ(4, FindRow(data, "", "5"));
  EXPECT_FALSE(FindRow(data, "", ""));  // empty codes never match, filler rows are skipped
}

}  // namespace
}  // namespace velmora
