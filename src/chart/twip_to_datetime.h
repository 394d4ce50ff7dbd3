#pragma once

#include <cstdint>

#include "chart/chart_model.h"
#include "plandata/plan_data.h"

namespace velmora::chart {

// Reads the left edge of bar PlanBar(idx) as plan InfoNo's new start, lays its duration across
// the machine's shifts for the end, marks the plan changed and enables the save button (unless
// in inquiry mode).
void Twip2DateTime(PlanData& data, ChartModel& model, std::int32_t InfoNo, std::int16_t idx);

}  // namespace velmora::chart
