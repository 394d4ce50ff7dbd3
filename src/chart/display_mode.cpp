#include "chart/display_mode.h"

#include <algorithm>
#include <limits>

#include "chart/bar_layout.h"
#include "chart/scrolling.h"
#include "chart/time_axis.h"
#include "common/numeric.h"

namespace velmora::chart {
namespace {

// A scroll position in 16-bit units. A very long period on a wide viewport would overflow the
// scroll bar; its far end then stays out of reach instead of stopping the program.
std::int16_t ScrollUnits(double units) {
  return ToInt16(std::clamp<double>(units, std::numeric_limits<std::int16_t>::min(),
                                    std::numeric_limits<std::int16_t>::max()));
}

void SetDayWidths(PlanData& data) {
  switch (data.DisplayMode) {
    case 1:
      data.DayWidth = data.DayWidthBase;
      data.HourWidth = data.DayWidth / 24;
      break;
    case 2:
      data.DayWidth = data.DayWidthBase / 3;
      data.HourWidth = data.DayWidth / 24;
      break;
    case 3:
      data.DayWidth = data.DayWidthBase / 7;
      data.HourWidth = data.DayWidth / 24;
      break;
    case 4:
      data.HourWidth = data.DayWidthBase / 672;
      data.DayWidth = data.HourWidth * 24;
      break;
    default:
      break;
  }
}

void PlaceSurface(ChartSurface& surface, double left, double width) {
  surface.Left = left;
  surface.Width = surface.ScaleWidth = width;
  surface.ScaleLeft = left;
}

void ShowMode(PlanData& data, ChartModel& model, std::int16_t mode, const char* caption) {
  model.Text1 = caption;
  data.DisplayMode = mode;
  Disp_Gantt(data, model);
}

}  // namespace

int SurfaceDays(int displayMode, int dayCount) {
  if (displayMode == 1 && dayCount > 17) return 17;
  if (displayMode == 2 && dayCount > 51) return 51;
  return dayCount;
}

void Disp_Gantt(PlanData& data, ChartModel& model) {
  model.PlatForm.Visible = model.PlatForm2.Visible = model.PlatForm3.Visible = false;
  model.ScrollDays =
      data.DayWidth != 0 ? model.HScroll1.Value * kTwipsPerScrollUnit / data.DayWidth : 0;
  data.FixedHourWidth = data.DayWidthBase / 672;
  SetDayWidths(data);
  const double dayWidth = data.DayWidth;

  model.HScroll1.Value = 0;
  model.ScrollValue = 0;
  model.HScroll1.Min = ScrollUnits(-2 * dayWidth / kTwipsPerScrollUnit);
  // The scroll range ends where the surface ends: day mode shows 15 days after PeriodStart;
  // the other modes their surface days (in mode 2 at most 51, so the bar cannot run past the
  // surface on a long period).
  const int lastDay = data.DisplayMode == 1 ? 15 : SurfaceDays(data.DisplayMode, data.DayCount) - 2;
  model.HScroll1.Max =
      ScrollUnits((lastDay * dayWidth - model.Picture1.Width) / kTwipsPerScrollUnit);

  const double surfaceWidth = SurfaceDays(data.DisplayMode, data.DayCount) * dayWidth;
  for (ChartSurface* surface : {&model.PlatForm, &model.PlatForm2, &model.PlatForm3}) {
    PlaceSurface(*surface, -2 * dayWidth, surfaceWidth);
  }

  const double p = dayWidth * model.ScrollDays / kTwipsPerScrollUnit;
  std::int16_t value;
  if (p > model.HScroll1.Max) {
    value = model.HScroll1.Max;
  } else if (p < model.HScroll1.Min) {
    value = model.HScroll1.Min;
  } else {
    value = ToInt16(p);
  }
  SetHScroll1Value(data, model, value);

  LayoutAllBars(data, model);

  HideFrom(model.DayLine, 1);
  HideFrom(model.LineName, 1);
  HideFrom(model.LineName2, 1);
  HideFrom(model.HourLine, 1);
  HideFrom(model.FillBox, 1);
  DrawDayLine2(data, model);
  DrawDayLine(data, model);

  model.PlatForm.Visible = model.PlatForm2.Visible = model.PlatForm3.Visible = true;
}

void DispDay(PlanData& data, ChartModel& model) {
  ShowMode(data, model, 1, kDayModeCaption);
}
void Disp3Day(PlanData& data, ChartModel& model) {
  ShowMode(data, model, 2, kThreeDayModeCaption);
}
void DispWeek(PlanData& data, ChartModel& model) {
  ShowMode(data, model, 3, kWeekModeCaption);
}
void DispMonth(PlanData& data, ChartModel& model) {
  ShowMode(data, model, 4, kMonthModeCaption);
}

void Command4_Click(PlanData& data, ChartModel& model) {
  switch (data.DisplayMode) {
    case 1:
      Disp3Day(data, model);
      break;
    case 2:
      DispWeek(data, model);
      break;
    case 3:
      DispMonth(data, model);
      break;
    case 4:
      DispDay(data, model);
      break;
    default:
      break;
  }
}

}  // namespace velmora::chart
