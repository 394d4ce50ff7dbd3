#include "plandata/plan_end_time.h"

#include <string>

#include "common/text.h"
#include "plandata/row_lookup.h"

namespace velmora {

DateTime ComputeEndTime(const PlanData& data, DateTime start, std::int32_t minutes, PlanIdx plan) {
  return ComputeEndTimeOn(data, start, minutes, data.Plan(plan).MachineCode);
}

DateTime ComputeEndTimeOn(const PlanData& data, DateTime start, std::int32_t minutes,
                          std::string_view code) {
  if (minutes == 0) minutes = kDefaultDurationMinutes;
  // Unplanned plans and one-character codes have no shift windows: plain calendar minutes.
  if (Trim(code).empty() || CharCount(code) == 1) return start.AddMinutes(minutes);
  return EndOnShifts(CalendarOfRow(data, RowOfCode(data, code)), start, minutes);
}

DateTime ComputeEndTimeOnRow(const PlanData& data, DateTime start, std::int32_t minutes,
                             int row) {
  const std::string& code = data.RowCode[static_cast<std::size_t>(row)];
  if (minutes == 0) minutes = kDefaultDurationMinutes;
  if (Trim(code).empty() || CharCount(code) == 1) return start.AddMinutes(minutes);
  return EndOnShifts(CalendarOfRow(data, row), start, minutes);
}

void StartPlanAt(PlanData& data, PlanIdx plan, DateTime start) {
  PlanEntry& p = data.Plan(plan);
  p.StartDate = start.DatePart();
  p.StartTime = start.TimePart();
  const DateTime end = ComputeEndTime(data, p.StartDate + p.StartTime, p.DurationMinutes, plan);
  p.EndDate = end.DatePart();
  p.EndTime = end.TimePart();
  p.Changed = 1;
  data.Edits.MarkEdited();
}

}  // namespace velmora
