#pragma once

// The production-day rules over one row's calendar, shared by the public operations. The
// period's first date is parsed once per walk and passed down here.

#include <cstdint>

#include "common/datetime.h"
#include "plandata/plan_data.h"

namespace velmora {

// The next production day begins at 08:00:00 of the following date.
inline constexpr std::int64_t kProductionDayChange = 8 * 3600;

// One row's calendar seen from the period: day index d stands for the date periodStart - 2 + d.
struct RowCalendar {
  const PlanData& data;
  DateTime periodStart;  // data.PeriodStartDate()
  int row;

  std::int64_t DayIndex(DateTime at) const { return (at.DatePart() - periodStart).Days() + 2; }
  DateTime DateOfDay(std::int64_t d) const { return periodStart.AddDays(d - 2); }
};

// As the public operations of the same names. `nextDayStart` is always later than `at`.
std::int32_t MinutesLeftInWorkDay(const RowCalendar& calendar, DateTime at, DateTime& nextDayStart);
DateTime EndWithinWorkDay(const RowCalendar& calendar, DateTime at, std::int64_t minutes);

}  // namespace velmora
