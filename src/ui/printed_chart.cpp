#include "ui/printed_chart.h"

#include <algorithm>

#include "chart/display_mode.h"

namespace velmora::ui {

chart::ChartModel PrintedChart(const PlanData& data, const chart::ChartModel& screen) {
  chart::ChartModel printed = screen;
  printed.Picture1.Width = kPrintDayWidthBase;
  printed.Scale.DayWidthBase = static_cast<float>(kPrintDayWidthBase);
  printed.Scale.BandOnRowsScale = true;
  printed.GradeName.Visible = false;
  printed.Preview = {};
  printed.Highlighted.clear();
  printed.ProposalOutlines.clear();
  // The window told the plan's faults when it laid the plan out; paper does not tell them again.
  printed.FaultsTo = nullptr;
  chart::Disp_Gantt(data, printed);
  return printed;
}

ChartFrame PrintedFrame(const PlanData& data, const chart::ChartModel& printed) {
  ChartFrame f;
  // The surfaces begin two days before the period; x = 0 is 08:00 of its first day.
  f.width = std::max(0, data.DayCount - 2) * static_cast<double>(printed.Scale.DayWidth);
  f.rowsHeight = printed.PlatForm.Height;
  f.platFormLeft = printed.PlatForm.ScaleLeft;
  f.platForm2Left = printed.PlatForm2.ScaleLeft;
  f.platForm3Left = printed.PlatForm3.ScaleLeft;
  f.captions = data.RowCaption.size() > 1 ? &data.RowCaption[1] : nullptr;
  f.captionCount = std::min<int>(data.RowCount, static_cast<int>(data.RowCaption.size()) - 1);
  return f;
}

}  // namespace velmora::ui
