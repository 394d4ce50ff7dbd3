#include "automation/conflicts_csv.h"

#include <gtest/gtest.h>

#include <sstream>

namespace velmora {
namespace {

// The step order's clashes come after the others, named "order", the lower step first.
TEST(ConflictsCsv, StepOrderClashesFollowTheOthersLowerStepFirst) {
  PlanData data;
  data.RowCount = 2;
  data.MachineRowCount = 2;
  data.RowCode = {"", "", "M01     "};
  data.ResetPlanTable();
  const auto add = [&](std::int32_t orderNo, std::int32_t parent, int from, int to) {
    PlanEntry& e = data.PlanTable.emplace_back();
    e.OrderNo = orderNo;
    e.ParentOrderNo = parent;
    e.InUse = 1;
    e.MachineCode = "M01     ";
    e.StartDate = e.EndDate = DateTime::FromDate(2024, 4, 10);
    e.StartTime = DateTime::FromTime(from, 0, 0);
    e.EndTime = DateTime::FromTime(to, 0, 0);
  };
  add(300632, 300645, 8, 12);
  add(300645, 0, 10, 14);
  std::ostringstream out;
  WriteConflictsCsv(data, out);
  EXPECT_EQ(
      "Kind,OrderNo1,OrderNo2,Row,Start,End\r\n"
      "overlap,300632,300645,M01,2024/04/10 10:00:00,2024/04/10 12:00:00\r\n"
      "order,300632,300645,M01,2024/04/10 10:00:00,2024/04/10 12:00:00\r\n",
      out.str());
}

}  // namespace
}  // namespace velmora
