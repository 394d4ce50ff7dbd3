#pragma once

#include <ostream>

#include "plandata/plan_data.h"

namespace velmora {

// The clashes of the loaded plan as a spreadsheet, after a header line: the kind ("overlap" on
// one machine row, "mold" for a shared mold, "order" for a step starting before the step below it
// ends), the two arrangement numbers (for "order" the lower step first), the row's code or the
// mold number (for "order" the lower step's row), and the start and end of the time both take.
void WriteConflictsCsv(const PlanData& data, std::ostream& out);

}  // namespace velmora
