#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "load/load_model.h"
#include "plandata/plan_data.h"

namespace velmora {

// The load of the period as a spreadsheet, after a header line: one line per machine,
// department and subcontractor row (in row order) and day of the period: the row's code as
// rows.csv has it, the day (yyyy/mm/dd: from its 08:00 to the next day's), the available
// minutes (empty without a calendar), the used minutes, the whole percent (empty without
// available minutes), and the bars with minutes that day with their quantity.
void WriteLoadCsv(const PlanData& data, const load::LoadModel& load, std::ostream& out);

// One line of load.csv: nothing when the row carries no load or the day lies outside the
// calendar.
std::optional<std::vector<std::string>> LoadCsvFields(const PlanData& data,
                                                      const load::LoadModel& load, int row,
                                                      DateTime day);

}  // namespace velmora
