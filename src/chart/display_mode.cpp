#include "chart/display_mode.h"

#include <algorithm>
#include <limits>

#include "chart/bar_layout.h"
#include "chart/scrolling.h"
#include "chart/time_axis.h"
#include "common/numeric.h"

namespace velmora::chart {
namespace {

// A scroll position in scroll units. The unit is chosen so that the range fits; the clamp only
// guards against rounding at the very end.
int ScrollUnits(double units) {
  return ToInt32(std::clamp<double>(units, std::numeric_limits<int>::min() / 2,
                                    std::numeric_limits<int>::max() / 2));
}

void PlaceSurface(ChartSurface& surface, double left, double width) {
  surface.Left = left;
  surface.Width = surface.ScaleWidth = width;
  surface.ScaleLeft = left;
}

void ShowMode(const PlanData& data, ChartModel& model, std::int16_t mode, const char* caption) {
  model.modeCaption = caption;
  model.Scale.DisplayMode = mode;
  Disp_Gantt(data, model);
}

}  // namespace

int SurfaceDays(int /*displayMode*/, int dayCount) {
  return dayCount;
}

void SetTimeScrollRange(const PlanData& data, ChartModel& model) {
  const TimeScale& scale = model.Scale;
  // The scroll range ends where the surface ends, at the period's last day in every mode. A
  // period shorter than the viewport still scrolls to its start.
  const int lastDay = SurfaceDays(scale.DisplayMode, data.DayCount) - 2;
  const double low = -2 * scale.DayWidth;
  const double high = std::max(0.0, lastDay * scale.DayWidth - model.Picture1.Width);
  model.HScrollUnit = ScrollUnitFor(low, high);
  model.HScroll1.Min = ScrollUnits(low / model.HScrollUnit);
  model.HScroll1.Max = ScrollUnits(high / model.HScrollUnit);
}

namespace {

// Disp_Gantt, laying the bars out with `layOutBars`: in full, or only rescaled after a change of
// display mode.
using LayOut = void (*)(const PlanData&, ChartModel&);
void RedrawWith(const PlanData& data, ChartModel& model, LayOut layOutBars) {
  TimeScale& scale = model.Scale;
  model.PlatForm.Visible = model.PlatForm2.Visible = model.PlatForm3.Visible = false;
  model.ScrollDays =
      scale.DayWidth != 0 ? model.HScroll1.Value * model.HScrollUnit / scale.DayWidth : 0;
  scale.SetPeriodStart(data.PeriodStartDate());
  scale.SetMode(scale.DisplayMode);
  const double dayWidth = scale.DayWidth;

  model.HScroll1.Value = 0;
  model.ScrollValue = 0;
  SetTimeScrollRange(data, model);

  const double surfaceWidth = SurfaceDays(scale.DisplayMode, data.DayCount) * dayWidth;
  for (ChartSurface* surface : {&model.PlatForm, &model.PlatForm2, &model.PlatForm3}) {
    PlaceSurface(*surface, -2 * dayWidth, surfaceWidth);
  }

  const double p = dayWidth * model.ScrollDays / model.HScrollUnit;
  int value;
  if (p > model.HScroll1.Max) {
    value = model.HScroll1.Max;
  } else if (p < model.HScroll1.Min) {
    value = model.HScroll1.Min;
  } else {
    value = ToInt32(p);
  }
  SetHScroll1Value(data, model, value);

  layOutBars(data, model);

  HideFrom(model.DayLine, 1);
  HideFrom(model.LineName, 1);
  HideFrom(model.LineName2, 1);
  HideFrom(model.HourLine, 1);
  HideFrom(model.FillBox, 1);
  DrawDayLine2(data, model);
  DrawDayLine(data, model);

  model.PlatForm.Visible = model.PlatForm2.Visible = model.PlatForm3.Visible = true;
}

}  // namespace

void Disp_Gantt(const PlanData& data, ChartModel& model) {
  RedrawWith(data, model, LayoutAllBars);
}

void DispDay(const PlanData& data, ChartModel& model) {
  ShowMode(data, model, 1, kDayModeCaption);
}
void Disp3Day(const PlanData& data, ChartModel& model) {
  ShowMode(data, model, 2, kThreeDayModeCaption);
}
void DispWeek(const PlanData& data, ChartModel& model) {
  ShowMode(data, model, 3, kWeekModeCaption);
}
void DispMonth(const PlanData& data, ChartModel& model) {
  ShowMode(data, model, 4, kMonthModeCaption);
}

void DispMode(const PlanData& data, ChartModel& model, int mode) {
  static constexpr const char* kCaptions[] = {kDayModeCaption, kThreeDayModeCaption,
                                              kWeekModeCaption, kMonthModeCaption};
  if (mode < 1 || mode > 4) return;
  model.modeCaption = kCaptions[mode - 1];
  model.Scale.DisplayMode = static_cast<std::int16_t>(mode);
  // The bars were laid out when they last changed; only the scale changes here.
  RedrawWith(data, model, RescaleAllBars);
}

void NextDisplayMode(const PlanData& data, ChartModel& model) {
  const int mode = model.Scale.DisplayMode;
  if (mode >= 1 && mode <= 4) DispMode(data, model, mode % 4 + 1);
}

}  // namespace velmora::chart
