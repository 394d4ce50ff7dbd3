#pragma once

#include "common/questions.h"
#include "db/command.h"
#include "plandata/plan_data.h"

namespace velmora {

// The rows of the selection in load order: the machine query through the shared command, the
// machine rows with their calendars, the department rows, the subcontractor rows (padded to 16),
// then the row limits for bars `barHeight` high. Sets MachineRowCount and DepartmentRowEnd.
void LoadWorkCenterRows(PlanData& data, db::Command& command, double barHeight,
                        Questions& questions);

}  // namespace velmora
