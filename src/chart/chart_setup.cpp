#include "chart/chart_setup.h"

#include <algorithm>

#include "chart/scrolling.h"
#include "common/date_text.h"
#include "common/numeric.h"

namespace velmora::chart {

void TakeViewportScale(const PlanData& data, ChartModel& model) {
  model.Scale.SetPeriodStart(data.PeriodStartDate());
  model.Scale.DisplayMode = 1;
  model.Scale.DayWidthBase = static_cast<float>(model.Picture1.ScaleWidth());
  model.Scale.DayWidth = model.Scale.DayWidthBase;
}

void SetUpRowScroll(const PlanData& data, ChartModel& model) {
  ScrollBarState& bar = model.KScroll;
  if (data.RowCount > model.VisibleRows) {
    bar.Max = data.RowCount - model.VisibleRows;
    // A page is the rows shown less one, which stays in view: 15 of 16.
    bar.LargeChange = std::max(1, model.VisibleRows - 1);
    bar.Enabled = true;
  } else {
    bar.Max = 0;
    bar.Enabled = false;
  }
  SetKScrollValue(data, model, 0);
}

void ShowPeriodStart(const PlanData& data, ChartModel& model) {
  model.DayDispArea = FormatLongDate(data.PeriodStartDate());
}

void SetUpSurfaces(const PlanData& data, ChartModel& model) {
  model.PlatForm.Top = 0;
  model.PlatForm.Height = data.RowCount * kRowPitch + kRowsAreaMargin;
  for (ChartSurface* surface : {&model.PlatForm, &model.PlatForm2, &model.PlatForm3}) {
    surface->Left = surface->ScaleLeft = -2.0 * model.Scale.DayWidth;
    surface->Width = surface->ScaleWidth = 14.0 * model.Scale.DayWidth;
  }
}

void SetUpTimeScroll(ChartModel& model) {
  const double low = model.PlatForm.Left;
  const double high = model.PlatForm.Width + model.PlatForm.Left;
  model.HScrollUnit = ScrollUnitFor(low, high);
  model.HScroll1.Min = ToInt32(low / model.HScrollUnit);
  model.HScroll1.Max = ToInt32(high / model.HScrollUnit);
}

}  // namespace velmora::chart
