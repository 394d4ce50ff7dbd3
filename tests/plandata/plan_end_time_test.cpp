#include <cstdint>
#include <stdexcept>
#include <string>

#include <gtest/gtest.h>

#include "../worktime/calendar_world.h"
#include "plandata/plan_end_time.h"

namespace velmora {
namespace {

class ComputeEndTimeTest : public ::testing::Test, protected test::CalendarWorld {
 protected:
  std::string End(const std::string& code, std::string_view start, std::int32_t minutes) {
    return Text(ComputeEndTime(data, At(start), minutes, Plan(code)));
  }
};

TEST_F(ComputeEndTimeTest, DayShiftsCarryTheRestIntoTheNextDay) {
  Windows(2, {"08:00:00", "12:00:00", "13:00:00", "17:00:00"});
  EXPECT_EQ("2024/04/11 12:00:00", End("M01     ", "2024/04/10 10:00:00", 600));
  // Exactly the rest of the day ends at the last window's end, not at the next day's start.
  EXPECT_EQ("2024/04/10 17:00:00", End("M01     ", "2024/04/10 10:00:00", 360));
  EXPECT_EQ("2024/04/10 13:30:00", End("M01     ", "2024/04/10 12:15:00", 30));  // lunch break
  // 0 minutes are laid out as 480.
  EXPECT_EQ("2024/04/11 10:00:00", End("M01     ", "2024/04/10 10:00:00", 0));
  // Seconds of the start are kept.
  EXPECT_EQ("2024/04/10 10:01:30", End("M01     ", "2024/04/10 10:00:30", 1));
}

TEST_F(ComputeEndTimeTest, PlansWithoutShiftWindowsTakeCalendarMinutes) {
  Windows(2, {"08:00:00", "17:00:00"});
  EXPECT_EQ("2024/04/11 03:00:00", End("        ", "2024/04/10 10:00:00", 1020));
  EXPECT_EQ("2024/04/11 03:00:00", End("5", "2024/04/10 10:00:00", 1020));
  EXPECT_EQ("2024/04/10 18:00:00", End("        ", "2024/04/10 10:00:00", 0));
  EXPECT_EQ("2024/04/10 09:30:00", End("        ", "2024/04/10 10:00:00", -30));
  // On a machine a negative duration ends at the start.
  EXPECT_EQ("2024/04/10 10:00:00", End("M01     ", "2024/04/10 10:00:00", -30));
}

TEST_F(ComputeEndTimeTest, NightShiftCrossesMidnight) {
  Windows(2, {"08:00:00", "17:00:00", "22:00:00", "06:00:00"});
  EXPECT_EQ("2024/04/11 02:00:00", End("M01     ", "2024/04/10 23:00:00", 180));
  EXPECT_EQ("2024/04/11 06:00:00", End("M01     ", "2024/04/10 23:00:00", 420));
  EXPECT_EQ("2024/04/11 09:00:00", End("M01     ", "2024/04/10 23:00:00", 480));
  // Started in the early morning: the rest of the night window, then the next day.
  EXPECT_EQ("2024/04/11 04:40:00", End("M01     ", "2024/04/11 03:00:00", 100));
  EXPECT_EQ("2024/04/11 08:20:00", End("M01     ", "2024/04/11 03:00:00", 200));
}

TEST_F(ComputeEndTimeTest, DayWithoutShiftsIsSkipped) {
  Windows(2, {"08:00:00", "17:00:00"});
  WindowsOn(2, "2024/04/11", {});
  EXPECT_EQ("2024/04/12 17:00:00", End("M01     ", "2024/04/10 16:00:00", 600));
}

TEST_F(ComputeEndTimeTest, UnknownCodeRunsOnTheUnplannedRowAndBeyondTheCalendar) {
  Windows(2, {"08:00:00", "17:00:00"});
  // Row 1 has no windows: nothing until 04/14 (beyond the calendar), then 960 a day from 08:00.
  EXPECT_EQ("2024/04/15 08:40:00", End("X99     ", "2024/04/10 10:00:00", 1000));
  // Beyond the calendar the first day counts from the start itself.
  EXPECT_EQ("2024/04/15 02:00:00", End("M01     ", "2024/04/14 10:00:00", 960));
  EXPECT_EQ("2024/04/17 08:01:00", End("M01     ", "2024/04/14 10:00:00", 3 * 960 + 1));
  // A duration of years is reached in one step.
  EXPECT_EQ("2024/07/04 00:00:00", End("M01     ", "2024/04/14 10:00:00", 81 * 960));
}

TEST_F(ComputeEndTimeTest, StartBeforeTheCalendarWaitsForItsFirstWindow) {
  Windows(2, {"08:00:00", "17:00:00"});
  EXPECT_EQ("2024/04/08 09:00:00", End("M01     ", "2024/04/08 07:00:00", 60));
  EXPECT_EQ("2024/04/08 09:00:00", End("M01     ", "2024/04/01 10:00:00", 60));
  // A plan without a start date (zero) does not walk from 1899 day by day.
  EXPECT_EQ("2024/04/08 09:00:00", Text(ComputeEndTime(data, DateTime{}, 60, Plan("M01     "))));
}

TEST_F(ComputeEndTimeTest, FirstWindowAfterEightResumesAtThatWindow) {
  Windows(2, {"09:30:00", "17:00:00"});
  EXPECT_EQ("2024/04/11 10:30:00", End("M01     ", "2024/04/10 16:00:00", 120));
  EXPECT_EQ("2024/04/11 10:30:00", End("M01     ", "2024/04/11 08:30:00", 60));
  EXPECT_EQ("2024/04/08 10:00:00", End("M01     ", "2024/04/08 08:30:00", 30));  // day 0
  // A day's own moment before the next date's later first window stays in its own day.
  Windows(3, {"08:00:00", "17:00:00"});
  WindowsOn(3, "2024/04/11", {"10:00:00", "17:00:00"});
  EXPECT_EQ("2024/04/10 10:00:00", End("M02     ", "2024/04/10 09:00:00", 60));
}

TEST_F(ComputeEndTimeTest, FirstWindowBeforeEightIsNotSkipped) {
  Windows(2, {"06:00:00", "14:00:00", "14:00:00", "22:00:00"});
  EXPECT_EQ("2024/04/11 07:00:00", End("M01     ", "2024/04/10 21:00:00", 120));
}

TEST_F(ComputeEndTimeTest, NightWindowPastEightCountsOnce) {
  Windows(2, {"09:00:00", "17:00:00", "20:00:00", "08:30:00"});
  // 04/10 10:00 to 04/11 08:30 holds 420 + 750 minutes; the next 30 follow the 09:00 start.
  EXPECT_EQ("2024/04/11 08:30:00", End("M01     ", "2024/04/10 10:00:00", 1170));
  EXPECT_EQ("2024/04/11 09:30:00", End("M01     ", "2024/04/10 10:00:00", 1200));
}

TEST_F(ComputeEndTimeTest, MidnightWindowsOfARoundTheClockMachine) {
  // Three shifts recorded per date: the first starts at 00:00:00, the last ends at 00:00:00.
  Windows(2, {"00:00:00", "08:00:00", "08:00:00", "16:00:00", "16:00:00", "00:00:00"});
  EXPECT_EQ("2024/04/11 10:00:00", End("M01     ", "2024/04/10 10:00:00", 1440));
  EXPECT_EQ("2024/04/12 01:00:00", End("M01     ", "2024/04/10 23:00:00", 1560));
}

TEST_F(ComputeEndTimeTest, PlanIndexOutsideThePlanTableThrows) {
  EXPECT_THROW(ComputeEndTime(data, At("2024/04/10 10:00:00"), 60, PlanIdx{99}), std::out_of_range);
  EXPECT_THROW(ComputeEndTime(data, At("2024/04/10 10:00:00"), 60, PlanIdx{-1}), std::out_of_range);
}

}  // namespace
}  // namespace velmora
