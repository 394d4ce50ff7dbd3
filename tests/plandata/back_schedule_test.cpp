#include "plandata/back_schedule.h"

#include <gtest/gtest.h>

#include "common/date_text.h"

namespace velmora {
namespace {

// An entry ending at `end` on 2024/04/16 whose duration comes out as `setup` minutes (no
// quantity), so each case states the duration directly.
PlanEntry EndingAt(DateTime end, std::int16_t setup) {
  PlanEntry e;
  e.EndDate = DateTime::FromDate(2024, 4, 16);
  e.EndTime = end;
  e.SetupMinutes = setup;
  return e;
}

std::string Start(const PlanEntry& e) {
  return FormatSlashDate(e.StartDate) + " " + FormatColonTime(e.StartTime);
}

TEST(BackSchedule, WorkedExamples) {
  PlanEntry e = EndingAt(DateTime::FromTime(1, 10, 0), 100);
  BackSchedule(e);
  EXPECT_EQ("2024/04/15 23:30:00", Start(e));  // the minutes borrow across midnight

  e = EndingAt(DateTime::FromTime(6, 0, 0), 1500);
  BackSchedule(e);
  EXPECT_EQ("2024/04/15 05:00:00", Start(e));

  e = EndingAt(DateTime::FromTime(10, 0, 0), 30);
  e.OrderQty = 120;  // 5 s per piece without a cycle: 10 minutes
  BackSchedule(e);
  EXPECT_EQ(40, e.DurationMinutes);
  EXPECT_EQ("2024/04/16 09:20:00", Start(e));
}

TEST(BackSchedule, HoursBeforeTheEndHourGoToThePreviousDay) {
  PlanEntry e = EndingAt(DateTime::FromTime(2, 15, 0), 5 * 60 + 15);
  BackSchedule(e);
  EXPECT_EQ("2024/04/15 21:00:00", Start(e));
  EXPECT_EQ(0, e.StartTime.Days());  // a time of day only
}

TEST(BackSchedule, ExactlyOneDayStartsWhereItEnds) {
  PlanEntry e = EndingAt(DateTime::FromTime(9, 0, 0), 1440);
  BackSchedule(e);
  EXPECT_EQ("2024/04/16 09:00:00", Start(e));
}

TEST(BackSchedule, SecondsOfTheEndAreKept) {
  PlanEntry e = EndingAt(DateTime::FromTime(12, 0, 30), 45);
  BackSchedule(e);
  EXPECT_EQ("2024/04/16 11:15:30", Start(e));
}

}  // namespace
}  // namespace velmora
