#pragma once

#include <ostream>

#include "plandata/plan_data.h"

namespace velmora {

// The loaded state as spreadsheets: one line per plan entry (2..PlanCount), per row, per
// machine row and day of the calendar, and per used member slot of the plan entries (groups A
// then B, free slots left out). Each starts with a header line.
void WritePlansCsv(const PlanData& data, std::ostream& out);
void WriteRowsCsv(const PlanData& data, std::ostream& out);
void WriteCalendarCsv(const PlanData& data, std::ostream& out);
void WriteMembersCsv(const PlanData& data, std::ostream& out);

}  // namespace velmora
