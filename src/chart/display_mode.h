#pragma once

#include "chart/chart_model.h"
#include "plandata/plan_data.h"

namespace velmora::chart {

// Captions of the display modes, written to modeCaption.
inline constexpr const char* kDayModeCaption = "１日表示モード";
inline constexpr const char* kThreeDayModeCaption = "３日表示モード";
inline constexpr const char* kWeekModeCaption = "１週間表示モード";
inline constexpr const char* kMonthModeCaption = "1ヶ月(４週間)表示モード";
inline constexpr const char* kModeButtonCaption = "表示モード変更";

// Width of the surfaces in days for a display mode: the whole period in every mode.
int SurfaceDays(int displayMode, int dayCount);

// HScroll1's range for the display mode and the viewport width: from two days before the period
// to where the surface ends.
void SetTimeScrollRange(const PlanData& data, ChartModel& model);

// Applies DisplayMode and redraws everything: day and hour widths, scroll range (keeping the
// day at the left edge), surfaces, every bar, the axis and the shading.
void Disp_Gantt(const PlanData& data, ChartModel& model);

// The four display modes: caption, DisplayMode, Disp_Gantt.
void DispDay(const PlanData& data, ChartModel& model);
void Disp3Day(const PlanData& data, ChartModel& model);
void DispWeek(const PlanData& data, ChartModel& model);
void DispMonth(const PlanData& data, ChartModel& model);

// Display mode 1..4 by its number, for a chart whose bars are laid out (a zoom): only their
// places change. Any other number changes nothing.
void DispMode(const PlanData& data, ChartModel& model, int mode);

// The mode button ("表示モード変更"): the next display mode, 1 -> 2 -> 3 -> 4 -> 1.
void NextDisplayMode(const PlanData& data, ChartModel& model);

}  // namespace velmora::chart
