#include <cstdint>
#include <string>

#include <gtest/gtest.h>

#include "calendar_world.h"
#include "plandata/plan_end_time.h"

namespace velmora {
namespace {

class WorkDayTest : public ::testing::Test, protected test::CalendarWorld {
 protected:
  // Minutes left and the next production day's start, as "minutes / yyyy/mm/dd hh:nn:ss".
  std::string Left(int row, std::string_view at) {
    DateTime next;
    const std::int32_t minutes = MinutesLeftInWorkDay(CalendarOfRow(data, row), At(at), next);
    return std::to_string(minutes) + " / " + Text(next);
  }
  std::string EndWithin(int row, std::string_view at, std::int32_t minutes) {
    return Text(EndWithinWorkDay(CalendarOfRow(data, row), At(at), minutes));
  }
};

TEST_F(WorkDayTest, NightWindowBelongsToTheDayItStarts) {
  Windows(2, {"08:00:00", "17:00:00", "22:00:00", "06:00:00"});
  EXPECT_EQ("1020 / 2024/04/11 08:00:00", Left(2, "2024/04/10 08:00:00"));
  EXPECT_EQ("420 / 2024/04/11 08:00:00", Left(2, "2024/04/10 23:00:00"));
  EXPECT_EQ("480 / 2024/04/11 08:00:00", Left(2, "2024/04/10 20:00:00"));  // between windows
  // After midnight, before the date's first window: still the previous production day.
  EXPECT_EQ("180 / 2024/04/11 08:00:00", Left(2, "2024/04/11 03:00:00"));
  EXPECT_EQ("0 / 2024/04/11 08:00:00", Left(2, "2024/04/11 07:00:00"));
}

TEST_F(WorkDayTest, OutsideTheCalendar) {
  Windows(2, {"08:00:00", "17:00:00"});
  // Before 08:00 and before day 0's first window: nothing, the walk resumes at that window.
  EXPECT_EQ("0 / 2024/04/08 08:00:00", Left(2, "2024/04/08 07:00:00"));
  EXPECT_EQ("0 / 2024/04/03 08:00:00", Left(2, "2024/04/02 10:00:00"));
  EXPECT_EQ("0 / 2024/04/08 08:00:00", Left(2, "2024/04/07 10:00:00"));
  // After the last day every day offers 960 minutes.
  EXPECT_EQ("480 / 2024/04/14 08:00:00", Left(2, "2024/04/13 09:00:00"));
  EXPECT_EQ("960 / 2024/04/15 08:00:00", Left(2, "2024/04/14 23:00:00"));
}

TEST_F(WorkDayTest, NextDayStartIsAlwaysLaterThanTheMoment) {
  Windows(2, {"09:30:00", "17:00:00"});
  EXPECT_EQ("0 / 2024/04/11 09:30:00", Left(2, "2024/04/11 08:30:00"));
  EXPECT_EQ("0 / 2024/04/08 09:30:00", Left(2, "2024/04/08 08:30:00"));  // day 0
  EXPECT_EQ("90 / 2024/04/12 09:30:00", Left(2, "2024/04/11 15:30:00"));
  // A moment of a date before the next date's later first window is in its own day.
  Windows(3, {"08:00:00", "17:00:00"});
  WindowsOn(3, "2024/04/11", {"10:00:00", "17:00:00"});
  EXPECT_EQ("480 / 2024/04/11 10:00:00", Left(3, "2024/04/10 09:00:00"));
}

TEST_F(WorkDayTest, EmptySlotsAreNotWindowsWhenTheFirstStartsAtMidnight) {
  Windows(2, {"00:00:00", "06:00:00", "08:00:00", "17:00:00"});
  EXPECT_EQ("420 / 2024/04/11 00:00:00", Left(2, "2024/04/10 10:00:00"));
  EXPECT_EQ("900 / 2024/04/11 00:00:00", Left(2, "2024/04/10 00:00:00"));
}

TEST_F(WorkDayTest, RowsWithoutCalendarHaveNoWindows) {
  data.RowCount = 5;
  data.RowCode.resize(6, "D1");
  EXPECT_EQ("0 / 2024/04/11 08:00:00", Left(5, "2024/04/10 10:00:00"));
  EXPECT_EQ("2024/04/10 10:00:00", EndWithin(5, "2024/04/10 10:00:00", 30));
}

}  // namespace
}  // namespace velmora
