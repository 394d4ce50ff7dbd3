#include "startup/main_form_load.h"

#include "chart/chart_setup.h"
#include "chart/display_mode.h"
#include "chart/time_axis.h"
#include "plandata/plan_loader.h"
#include "plandata/work_center_rows.h"

namespace velmora {

void LoadMainForm(PlanData& data, chart::ChartModel& chart, db::Command& command,
                  Questions& questions) {
  chart::TakeViewportScale(data, chart);  // display mode 1, DayWidthBase from the viewport
  // Machine, department and subcontractor rows with the machines' calendars, and the row limits.
  LoadWorkCenterRows(data, command, chart::kPlanBarHeight, questions);
  chart::SetUpRowScroll(data, chart);
  chart::ShowPeriodStart(data, chart);
  chart::SetUpSurfaces(data, chart);

  data.ResetPlanTable();
  ReturnPlanData(data, *command.ActiveConnection, chart);

  chart.Scale.DisplayMode = 2;
  chart::DrawBorderLine(data, chart, chart::DrawDayLine(data, chart));
  chart::SetUpTimeScroll(chart);
  chart::DispWeek(data, chart);
}

}  // namespace velmora
