#pragma once

#include <cstdint>

#include "common/datetime.h"
#include "plandata/plan_data.h"

namespace velmora {

inline constexpr int kDefaultCycleSeconds = 5;       // seconds per piece when the cycle is 0
inline constexpr int kDefaultDurationMinutes = 480;  // minutes laid out for a duration of 0
inline constexpr int kOpenDayMinutes = 960;          // working minutes of a day beyond the calendar

// Production length in minutes: the whole minutes (rounded down) of quantity x cycle seconds,
// plus setup; 5 seconds a piece when the cycle is 0. The cycle counts as the decimal it was
// entered as (0.7, not the single's 0.69999998). ConversionError when the result does not fit
// 32 bits.
std::int32_t ProductionMinutes(std::int16_t setupMinutes, float cycleSeconds,
                               std::int32_t quantity);

// End of a job of `minutes` working minutes that begins at `start` on the machine of plan
// `planIndex`, laid across that machine's shift windows. 0 minutes count as 480; unplanned and
// one-character machine codes take plain calendar minutes; a negative duration on a machine
// ends at the start. Beyond the calendar a day offers 960 minutes from 08:00:00.
DateTime ComputeEndTime(const PlanData& data, DateTime start, std::int32_t minutes, int planIndex);

// Working minutes of `row` from `at` to the end of the production day containing it (a date's
// windows, including those running past midnight; moments before a date's first window belong
// to the previous date). Sets `nextDayStart` to where the following production day's work
// begins: its first window, or 08:00:00 when it has none or lies outside the calendar, but not
// before this day's windows have ended. Always later than `at`.
std::int32_t MinutesLeftInWorkDay(const PlanData& data, DateTime at, int row,
                                  DateTime& nextDayStart);

// The moment at which `minutes` working minutes, counted from `at` within its production day,
// are used up.
DateTime EndWithinWorkDay(const PlanData& data, DateTime at, int row, std::int32_t minutes);

}  // namespace velmora
