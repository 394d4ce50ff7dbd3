#include "plandata/plan_entry.h"

#include <gtest/gtest.h>

#include "plandata/plan_data.h"

namespace velmora {
namespace {

TEST(MemberGroup, FreeSlotsReadAsEmptyAndCostNothing) {
  MemberGroup group;
  EXPECT_EQ(0, group[20].OrderNo);
  EXPECT_EQ(0, group.Stored());
  EXPECT_EQ(1, group.FirstFree());
  group.Slot(1).OrderNo = 10;
  EXPECT_EQ(1, group.Stored());
  EXPECT_EQ(2, group.FirstFree());
  group.Slot(3).OrderNo = -1;
  EXPECT_EQ(3, group.Stored());
  EXPECT_EQ(0, group[2].OrderNo);
  EXPECT_EQ(2, group.FirstFree());
  EXPECT_THROW(group.Slot(21), std::out_of_range);
  EXPECT_THROW(group[0], std::out_of_range);
}

TEST(MemberGroup, FullGroupHasNoFreeSlot) {
  MemberGroup group;
  for (int k = 1; k <= MemberGroup::kSlots; ++k) group.Slot(k).OrderNo = k;
  EXPECT_EQ(0, group.FirstFree());
}

TEST(PlanEntry, NinthCharacterChoosesTheGroup) {
  EXPECT_TRUE(PlanEntry::IsGroupB("BX1000-04A"));
  EXPECT_TRUE(PlanEntry::IsGroupB("BX1000-02A"));
  EXPECT_FALSE(PlanEntry::IsGroupB("BX1000-01A"));
  EXPECT_FALSE(PlanEntry::IsGroupB("SHORT"));
}

TEST(PlanData, ResetLeavesThePlaceholderOfBarZero) {
  PlanData data;
  data.PlanTable.resize(10);
  data.ResetPlanTable();
  EXPECT_EQ(1, data.PlanCount());
  EXPECT_EQ(0, data.PlanTable[1].BarIndex);
  EXPECT_EQ("0", data.PlanTable[1].MachineCode);
}

TEST(PlanData, CalendarsGrowByRowKeepingValues) {
  PlanData data;
  data.DayCount = 5;
  data.SizeCalendars(2);
  data.WorkMinutes(2, 5) = 480;
  data.ShiftTimes(2, 8, 5) = DateTime::FromTime(6, 0, 0);
  data.SizeCalendars(4);
  EXPECT_EQ(480, data.WorkMinutes(2, 5));
  EXPECT_EQ(DateTime::FromTime(6, 0, 0), data.ShiftTimes(2, 8, 5));
  EXPECT_EQ(0, data.WorkMinutes(4, 0));
  EXPECT_THROW(data.WorkMinutes(5, 0), std::out_of_range);
  EXPECT_THROW(data.WorkMinutes(1, 6), std::out_of_range);
  EXPECT_THROW(data.ShiftTimes(1, 9, 0), std::out_of_range);
}

TEST(PlanData, PeriodTextsThatAreNotDatesAreReported) {
  PlanData data;
  data.PeriodStart = "2024/04/10";
  data.PeriodEnd = "next week";
  EXPECT_EQ(DateTime::FromDate(2024, 4, 10), data.PeriodStartDate());
  EXPECT_THROW(data.PeriodEndDate(), std::runtime_error);
}

}  // namespace
}  // namespace velmora
