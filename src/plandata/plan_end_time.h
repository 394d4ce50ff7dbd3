#pragma once

#include <cstdint>
#include <string_view>

#include "common/datetime.h"
#include "plandata/plan_data.h"
#include "worktime/work_day.h"

namespace velmora {

// The calendar of `row` seen from the selected period.
inline RowCalendar CalendarOfRow(const PlanData& data, int row) {
  return RowCalendar{data.Calendars, data.PeriodStartDate(), row};
}

// End of a job of `minutes` working minutes that begins at `start` on the machine of plan
// `planIndex`, laid across that machine's shift windows. 0 minutes count as 480; unplanned and
// one-character machine codes take plain calendar minutes; a negative duration on a machine
// ends at the start. Beyond the calendar a day offers 960 minutes from 08:00:00.
DateTime ComputeEndTime(const PlanData& data, DateTime start, std::int32_t minutes, PlanIdx plan);
// Moves plan `plan` to start at `start`, lays its minutes across its machine's shifts for the
// end, and marks the plan changed and the plan table edited (which enables saving outside the
// inquiry mode).
void StartPlanAt(PlanData& data, PlanIdx plan, DateTime start);

// The same for a plan that would have machine code `machineCode`.
DateTime ComputeEndTimeOn(const PlanData& data, DateTime start, std::int32_t minutes,
                          std::string_view machineCode);
// The same on row `row`, its code already found: for callers that lay many plans on known rows.
DateTime ComputeEndTimeOnRow(const PlanData& data, DateTime start, std::int32_t minutes, int row);

}  // namespace velmora
