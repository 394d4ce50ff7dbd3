#pragma once

#include "app/db/connection.h"
#include "app/db/recordset.h"
#include "plandata/plan_data.h"

namespace velmora {

inline constexpr double kRowPitch = 600;     // twips between the tops of two rows
inline constexpr double kFirstRowTop = 240;  // top of row 1
inline constexpr int kVisibleRows = 16;      // rows shown at a time; the row list is padded to it

// Builds row 1 (unplanned) and one row per machine of `lKikaiSet`, reading each machine's
// calendar for day index 0..DayCount. A day whose first shift starts after 10:00:00 is
// reported and ends the program (ProgramEnd).
void InputTopPosition(PlanData& data, db::Connection& connection, db::Recordset& lKikaiSet);
// Appends one row per department of `lKikaiSet`.
void InputTopPosition3(PlanData& data, db::Recordset& lKikaiSet);
// Appends one row per subcontractor of `lKikaiSet` and pads the rows to 16.
void InputTopPosition2(PlanData& data, db::Recordset& lKikaiSet);
// Lower y limit of every row, from the bar height and the gap between rows 1 and 2.
void ComputeWorkCenterLimit(PlanData& data, double barHeight);

// The row tops of rows built from data: (r - 1) x 600 + 240.
inline double RowTopFor(int r) {
  return (r - 1) * kRowPitch + kFirstRowTop;
}

}  // namespace velmora
