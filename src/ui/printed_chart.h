#pragma once

#include "chart/chart_model.h"
#include "plandata/plan_data.h"
#include "ui/chart_frame.h"

namespace velmora::ui {

// The day width printed pages lay the chart at, in twips, in place of the screen's viewport:
// landscape A4 holds one step of every display mode (a day, three days, a week, four weeks)
// with the bar captions at a readable size. It keeps every mode's hour a whole number of twips.
inline constexpr double kPrintDayWidthBase = 2016 * 6;

// The chart as paper shows it, whatever the screen: `screen`'s plan laid out again in its display
// mode at the printed day width, the unplanned band on the rows' scale, nothing pointed at.
chart::ChartModel PrintedChart(const PlanData& data, const chart::ChartModel& screen);

// The printed chart's whole frame: every row, and time from 08:00 of the period's first day
// to the end of its last.
ChartFrame PrintedFrame(const PlanData& data, const chart::ChartModel& printed);

}  // namespace velmora::ui
