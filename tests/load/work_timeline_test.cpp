// The timeline lays a bar's minutes where the shift walk lays them: on seeded random calendars
// (night shifts, windows before 08:00, holidays, days whose first pair is empty, nights that run
// past the next day's first window) every bar ends where EndOnShifts ends it.
#include "load/work_timeline.h"

#include <gtest/gtest.h>

#include <random>

#include "common/date_text.h"
#include "plandata/plan_data.h"

namespace velmora::load {
namespace {

constexpr int kRow = 2;

class RandomCalendars {
 public:
  explicit RandomCalendars(std::uint64_t seed) : random_(seed) {
    data.SetPeriod("2024/04/10", "2024/05/10");
    data.DayCount =
        static_cast<std::int16_t>((data.PeriodEndDate() - data.PeriodStartDate()).Days() + 3);
    data.SizeCalendars(kRow);
    for (int d = 0; d <= data.DayCount; ++d) Day(d);
  }

  int Pick(int from, int to) { return std::uniform_int_distribution<int>(from, to)(random_); }

  PlanData data;

 private:
  void Set(int d, int slot, int minuteOfDay) {
    data.ShiftTimes(kRow, slot, d) = DateTime::FromSeconds((minuteOfDay % 1440) * 60LL);
  }

  void Day(int d) {
    const int kind = Pick(0, 19);
    if (kind < 3) return;  // a holiday
    if (kind == 3) {       // windows without a first one: no shift
      Set(d, 3, 9 * 60);
      Set(d, 4, 12 * 60);
      return;
    }
    const int first = Pick(20, 40) * 15;  // 05:00 .. 10:00
    int cursor = first;
    const int windows = Pick(1, 4);
    for (int k = 1; k <= windows; ++k) {
      const int start = cursor + (k == 1 ? 0 : Pick(0, 12) * 15);
      const int end = start + Pick(2, 40) * 15;
      if (end >= first + 1440) break;  // a day's windows stay within 24 hours of its first
      Set(d, 2 * k - 1, start);
      Set(d, 2 * k, end);
      cursor = end;
    }
  }

  std::mt19937_64 random_;
};

TEST(WorkTimeline, EndsEveryBarWhereTheShiftWalkEndsIt) {
  for (std::uint64_t seed = 1; seed <= 150; ++seed) {
    RandomCalendars world(seed);
    const RowCalendar calendar{world.data.Calendars, world.data.PeriodStartDate(), kRow};
    const WorkTimeline timeline(calendar);
    for (int bar = 0; bar < 150; ++bar) {
      const DateTime start = calendar.DateOfDay(world.Pick(-3, world.data.DayCount + 2))
                                 .AddMinutes(world.Pick(0, 1439));
      const int minutes = world.Pick(-5, 4000);
      std::int64_t laid = 0;
      DateTime previous = start;
      const DateTime end = timeline.Lay(start, minutes, [&](DateTime from, std::int64_t count) {
        EXPECT_GE(from, start);
        EXPECT_GT(count, 0);
        laid += count;
        previous = from;
      });
      const std::string what = "seed " + std::to_string(seed) + ", " + std::to_string(minutes) +
                               " minutes from " + FormatSlashDate(start.DatePart()) + " " +
                               FormatColonTime(start.TimePart());
      ASSERT_EQ(end, EndOnShifts(calendar, start, minutes)) << what;
      ASSERT_EQ(laid, std::max(minutes, 0)) << what;
    }
  }
}

// Laying stops where it is told to, also with no end in sight.
TEST(WorkTimeline, StopsAtTheGivenMoment) {
  RandomCalendars world(7);
  const RowCalendar calendar{world.data.Calendars, world.data.PeriodStartDate(), kRow};
  const WorkTimeline timeline(calendar);
  const DateTime stop = calendar.DateOfDay(5);
  DateTime last;
  const DateTime end = timeline.Lay(
      calendar.DateOfDay(0), std::int64_t{1} << 50,
      [&](DateTime from, std::int64_t) { last = from; }, stop);
  EXPECT_EQ(end, stop);
  EXPECT_LT(last, stop);
}

}  // namespace
}  // namespace velmora::load
