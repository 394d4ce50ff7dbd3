#pragma once

#include "chart/chart_model.h"
#include "plandata/plan_data.h"

namespace velmora::chart {

// The viewport given a window's room: `width` twips across and `rowsHeight` twips for the rows
// area. It shows the whole rows that fit (at least one) and more or less of the time at the
// same scale; the scroll bars take the new ranges and keep their positions where they can.
void FitViewport(const PlanData& data, ChartModel& model, double width, double rowsHeight);

}  // namespace velmora::chart
