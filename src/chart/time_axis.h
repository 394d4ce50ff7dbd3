#pragma once

#include "chart/chart_model.h"
#include "common/datetime.h"
#include "plandata/plan_data.h"

namespace velmora::chart {

// Day and hour lines, their labels (LineName) and the shading on PlatForm for the current
// display mode; returns PlatForm's scale width.
float DrawDayLine(const PlanData& data, ChartModel& model);
// The same labels on the header band PlatForm3 (LineName2).
void DrawDayLine2(const PlanData& data, ChartModel& model);
// One border line per row (Line1), from PlatForm's scale left to x.
void DrawBorderLine(const PlanData& data, ChartModel& model, float x);
// Shade boxes (FillBox) for the non-working hours of day `dayIndex`, whose 08:00:00 line is at
// xd, on every machine row. Boxes are numbered on from `boxNumber`.
void ShadeBox(const PlanData& data, ChartModel& model, int dayIndex, double xd, int& boxNumber);

}  // namespace velmora::chart
