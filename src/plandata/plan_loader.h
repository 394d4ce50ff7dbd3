#pragma once

#include <string_view>

#include "common/datetime.h"
#include "db/connection.h"
#include "plandata/bar_controls.h"
#include "plandata/plan_data.h"

namespace velmora {

// Loads the arrangements of the selected plant, category and period into PlanTable after the
// placeholder (one entry per arrangement, BarIndex = table index), computing missing durations
// and back-scheduling their starts, then hands each new entry's bar pair to `bars`.
// A value of a loaded row that cannot be taken as it is stored (a missing or unreadable date, key
// or quantity, a flag the program does not know, a number text with anything after the number,
// an infinite or NaN number, also in the joined masters) stops the load with a ConversionError
// naming the table, the row's key and the column.
void ReturnPlanData(PlanData& data, db::Connection& connection, BarControls& bars);

// A stored time column's value: its "00:00:00" form when that is a time of day, otherwise the
// time of day of that many seconds (whole seconds, wrapping around midnight).
DateTime TimeOfStoredValue(std::string_view text);

}  // namespace velmora
