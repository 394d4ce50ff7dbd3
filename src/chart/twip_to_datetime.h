#pragma once

#include <cstdint>

#include "chart/chart_model.h"
#include "plandata/plan_data.h"

namespace velmora::chart {

// Reads the left edge of bar PlanBar(idx) as plan InfoNo's new start, lays its duration across
// the machine's shifts for the end, marks the plan changed and the plan edited (which enables
// saving outside the inquiry mode).
void Twip2DateTime(PlanData& data, ChartModel& model, PlanIdx InfoNo, BarIdx idx);

}  // namespace velmora::chart
