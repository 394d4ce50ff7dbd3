#pragma once

// The production-day rules over one row's calendar.

#include <cstdint>

#include "common/datetime.h"
#include "worktime/calendar_day.h"
#include "worktime/work_calendars.h"

namespace velmora {

// The next production day begins at 08:00:00 of the following date.
inline constexpr std::int64_t kProductionDayChange = 8 * 3600;
inline constexpr int kDefaultDurationMinutes = 480;  // minutes laid out for a duration of 0
inline constexpr int kOpenDayMinutes = 960;          // working minutes of a day beyond the calendar

// One row's calendar seen from the period, by the calendars' day index.
// Rows without calendar storage have no windows.
struct RowCalendar {
  const WorkCalendars& calendars;
  DateTime periodStart;
  int row;

  std::int64_t DayIndex(DateTime at) const { return CalendarDayOf(periodStart, at); }
  DateTime DateOfDay(std::int64_t d) const { return DateOfCalendarDay(periodStart, d); }
  std::int64_t LastDay() const { return calendars.Days() - 1; }
};

// Working minutes of the row from `at` to the end of the production day containing it (a
// date's windows, including those running past midnight; moments before a date's first window
// belong to the previous date). Sets `nextDayStart` to where the following production day's
// work begins: its first window, or 08:00:00 when it has none or lies outside the calendar, but
// not before this day's windows have ended. Always later than `at`.
std::int32_t MinutesLeftInWorkDay(const RowCalendar& calendar, DateTime at, DateTime& nextDayStart);

// The moment at which `minutes` working minutes, counted from `at` within its production day,
// are used up.
DateTime EndWithinWorkDay(const RowCalendar& calendar, DateTime at, std::int64_t minutes);

// End of a job of `minutes` working minutes that begins at `start`, laid across the row's shift
// windows. A negative duration ends at the start. Beyond the calendar a day offers 960 minutes
// from 08:00:00; days before it hold none.
DateTime EndOnShifts(const RowCalendar& calendar, DateTime start, std::int64_t minutes);

}  // namespace velmora
