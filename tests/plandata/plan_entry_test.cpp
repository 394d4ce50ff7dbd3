#include "plandata/plan_entry.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "common/date_text.h"
#include "common/errors.h"
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

// The period as users type it: every form a date is written in is a date; anything else, and an
// end before the start, is refused with a message that says so.
TEST(PlanData, SetPeriodAcceptsTheUsualDateFormsAndRefusesTheRest) {
  struct Case {
    const char* start;
    const char* end;
    const char* startDate;  // nullptr: refused
    const char* message;    // part of the refusal
  };
  const Case cases[] = {
      {"2024/04/10", "2024/05/10", "2024/04/10", nullptr},
      {"2024/4/1", "2024/4/1", "2024/04/01", nullptr},
      {"2024-04-10", "2024-5-1", "2024/04/10", nullptr},
      {"2024.4.10", "2024.04.30", "2024/04/10", nullptr},
      {"2024年4月10日", "2024年5月1日", "2024/04/10", nullptr},
      {" 2024/04/10 ", "2024/04/11", "2024/04/10", nullptr},
      {"2024/13/01", "2024/12/01", nullptr, "開始日「2024/13/01」は日付ではありません"},
      {"2024/04/10", "next week", nullptr, "終了日「next week」は日付ではありません"},
      {"2024/04/10", "2024/04-30", nullptr, "日付ではありません"},
      {"20240410", "2024/04/30", nullptr, "日付ではありません"},
      {"2024/04/10", "2024/04/09", nullptr, "終了日が開始日より前です"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.start) + " .. " + c.end);
    PlanData data;
    if (c.startDate != nullptr) {
      data.SetPeriod(c.start, c.end);
      EXPECT_EQ(c.startDate, FormatSlashDate(data.PeriodStartDate()));
      EXPECT_EQ(c.start, data.PeriodStart());
      EXPECT_FALSE(PeriodProblem(c.start, c.end));
    } else {
      ASSERT_TRUE(PeriodProblem(c.start, c.end));
      EXPECT_THAT(*PeriodProblem(c.start, c.end), ::testing::HasSubstr(c.message));
      EXPECT_THROW(data.SetPeriod(c.start, c.end), ConversionError);
      EXPECT_TRUE(data.PeriodStart().empty());
    }
  }
}

}  // namespace
}  // namespace velmora
