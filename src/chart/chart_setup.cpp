#include "chart/chart_setup.h"

#include "chart/scrolling.h"
#include "common/date_text.h"
#include "common/numeric.h"

namespace velmora::chart {

void TakeViewportScale(PlanData& data, ChartModel& model) {
  data.DisplayMode = 1;
  data.DayWidthBase = static_cast<float>(model.Picture1.ScaleWidth());
  data.DayWidth = data.DayWidthBase;
}

void SetUpRowScroll(const PlanData& data, ChartModel& model) {
  ScrollBarState& bar = model.KScroll;
  if (data.RowCount > kVisibleRows) {
    bar.Max = static_cast<std::int16_t>(data.RowCount - kVisibleRows);
    bar.LargeChange = 15;
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
  model.PlatForm.Height = data.RowCount * kRowPitch + (kRowsAreaHeight - kVisibleRows * kRowPitch);
  for (ChartSurface* surface : {&model.PlatForm, &model.PlatForm2, &model.PlatForm3}) {
    surface->Left = surface->ScaleLeft = -2.0 * data.DayWidth;
    surface->Width = surface->ScaleWidth = 14.0 * data.DayWidth;
  }
}

void SetUpTimeScroll(ChartModel& model) {
  model.HScroll1.Min = ToInt16(model.PlatForm.Left / kTwipsPerScrollUnit);
  model.HScroll1.Max = ToInt16((model.PlatForm.Width + model.PlatForm.Left) / kTwipsPerScrollUnit);
}

}  // namespace velmora::chart
