#pragma once

// The calendars' day index: the calendars hold two days before the period's first day, so day 0
// is two days before it and day 2 is the period's first day. Every conversion between a date and
// a day index goes through here.

#include <cstdint>

#include "common/datetime.h"

namespace velmora {

inline constexpr std::int64_t kLeadDays = 2;  // calendar days before the period's first day

inline std::int64_t CalendarDayOf(DateTime periodStart, DateTime date) {
  return (date.DatePart() - periodStart.DatePart()).Days() + kLeadDays;
}

inline DateTime DateOfCalendarDay(DateTime periodStart, std::int64_t day) {
  return periodStart.AddDays(day - kLeadDays);
}

}  // namespace velmora
