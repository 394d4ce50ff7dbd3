#pragma once

#include <cstdint>

#include "common/datetime.h"
#include "plandata/plan_data.h"

namespace velmora {

inline constexpr int kDefaultCycleSeconds = 5;       // seconds per piece when the cycle is 0
inline constexpr int kDefaultDurationMinutes = 480;  // minutes laid out for a duration of 0
inline constexpr int kOpenDayMinutes = 960;          // working minutes of a day beyond the calendar

// Production length in minutes: the whole minutes of quantity x cycle seconds, plus setup.
std::int32_t ProductionMinutes(std::int16_t setupMinutes, float cycleSeconds, std::int32_t quantity);

// End of a job of `minutes` working minutes that begins at `start` on the machine of plan
// `planIndex`, laid across that machine's shift windows.
DateTime ComputeEndTime(const PlanData& data, DateTime start, std::int32_t minutes, int planIndex);

// Working minutes of `row` from `at` to the end of the production day containing it; sets
// `nextDayStart` to the moment the following production day begins.
std::int32_t MinutesLeftInWorkDay(const PlanData& data, DateTime at, int row, DateTime& nextDayStart);

// The moment at which `minutes` working minutes, counted from `at` within its production day,
// are used up.
DateTime EndWithinWorkDay(const PlanData& data, DateTime at, int row, std::int32_t minutes);

}  // namespace velmora
