#pragma once

#include <string_view>

#include "chart/chart_model.h"
#include "common/datetime.h"
#include "plandata/plan_data.h"

namespace velmora::chart {

// x = 0 of the chart: 08:00:00 of PeriodStart.
DateTime ChartOrigin(const PlanData& data);

// Chart x (twips) of the moment date + time of day. Kind "2" measures on the unplanned band's
// fixed four-week scale (FixedHourWidth), any other kind on the current HourWidth.
float TimeToX(const PlanData& data, DateTime date, DateTime time, std::string_view kind);
// The same from a known origin and scale, for callers that place many bars at once.
float TimeToX(DateTime origin, float hourWidth, DateTime date, DateTime time);

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
