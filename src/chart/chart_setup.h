#pragma once

#include "chart/chart_model.h"
#include "plandata/plan_data.h"

namespace velmora::chart {

// The chart's steps of the main window's load, in the order the load runs them.

// The viewport's scale width becomes the base day width and the period start the chart origin;
// the chart starts in mode 1.
void TakeViewportScale(const PlanData& data, ChartModel& model);

// KScroll after the rows are built: it moves only when there are more than 16 rows (with 16 or
// fewer it is disabled). Its value 0 runs its handler, so the row captions are shown at once.
void SetUpRowScroll(const PlanData& data, ChartModel& model);

// DayDispArea shows PeriodStart's long date.
void ShowPeriodStart(const PlanData& data, ChartModel& model);

// The three surfaces 14 days wide from two days before PeriodStart; PlatForm tall enough for
// every row.
void SetUpSurfaces(const PlanData& data, ChartModel& model);

// HScroll1's range from PlatForm's position and width.
void SetUpTimeScroll(ChartModel& model);

}  // namespace velmora::chart
