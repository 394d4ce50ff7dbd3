#pragma once

#include "common/questions.h"
#include "db/connection.h"
#include "db/recordset.h"
#include "plandata/plan_data.h"
#include "plandata/row_geometry.h"

namespace velmora {

// Builds row 1 (unplanned) and one row per machine of `lKikaiSet`, reading each machine's
// calendar for day index 0..DayCount. A day whose first shift starts after 10:00:00 is
// told through `questions` and ends the program (ProgramEnd).
void InputTopPosition(PlanData& data, db::Connection& connection, db::Recordset& lKikaiSet,
                      Questions& questions);
// Appends one row per department of `lKikaiSet`.
void InputTopPosition3(PlanData& data, db::Recordset& lKikaiSet);
// Appends one row per subcontractor of `lKikaiSet` and pads the rows to 16.
void InputTopPosition2(PlanData& data, db::Recordset& lKikaiSet);
// Lower y limit of every row, from the bar height and the gap between rows 1 and 2.
void ComputeWorkCenterLimit(PlanData& data, double barHeight);

}  // namespace velmora
