#pragma once

#include <ostream>

#include "chart/chart_model.h"

namespace velmora {

// The chart's plan bars as a spreadsheet: one line per element of the bar array, index 0 up,
// in the coordinates of the bar's surface, after a header line.
void WriteBarsCsv(const chart::ChartModel& model, std::ostream& out);

}  // namespace velmora
