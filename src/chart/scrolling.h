#pragma once

#include "chart/chart_model.h"
#include "plandata/plan_data.h"

namespace velmora::chart {

// Twips per HScroll1 unit for a range from lowTwips to highTwips: whole pixels, as few as keep
// both ends within the scroll bar's int, so every day of the period stays reachable.
double ScrollUnitFor(double lowTwips, double highTwips);

// HScroll1's Change/Scroll handler: moves PlatForm and PlatForm3 to the scroll bar's value
// (PlatForm2 stays) and shows the long date of the day at the viewport's left edge.
void HScroll1_Change(const PlanData& data, ChartModel& model);

// KScroll's Change/Scroll handler: the row captions and PlatForm's top follow the first
// visible row.
void KScroll_Change(const PlanData& data, ChartModel& model);

// The scroll bar moved to `value` (kept within its range): sets the value and runs its handler.
void SetHScroll1Value(const PlanData& data, ChartModel& model, int value);
void SetKScrollValue(const PlanData& data, ChartModel& model, int value);

}  // namespace velmora::chart
