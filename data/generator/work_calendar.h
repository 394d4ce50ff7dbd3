#pragma once

#include <vector>

#include "common/datetime.h"
#include "generator/demo_world.h"
#include "generator/random.h"

namespace velmora::demo {

// The company calendar: fixed national holidays, the "Happy Monday" holidays, the New Year,
// summer (お盆) and year-end shutdowns. Weekends are handled by the shift rules.
bool IsCompanyHoliday(DateTime date);

// Calendar rows of every machine for the data range plus a margin on both sides, and each
// machine's working windows (the rows the editor reads: 勤務時間 not 0, start not end).
void BuildCalendars(DemoWorld& world, Random& random);

// The first moment at or after `at` at which a job can start; past the last window, `at`.
DateTime NextWorkingMoment(const std::vector<Window>& windows, DateTime at);
// The moment `minutes` working minutes after `start`; beyond the calendar, plain minutes.
DateTime AddWorkingMinutes(const std::vector<Window>& windows, DateTime start, int minutes);

}  // namespace velmora::demo
