#include "chart/twip_to_datetime.h"

#include "chart/bar_layout.h"
#include "plandata/plan_end_time.h"

namespace velmora::chart {

void Twip2DateTime(PlanData& data, ChartModel& model, PlanIdx InfoNo, BarIdx idx) {
  const BarLabel& bar = model.Bar(idx);
  // Bars of the unplanned band sit above 300 twips and use its fixed four-week scale.
  const TimeScale& scale = model.Scale;
  const float w = bar.Top > kUnplannedBandTest ? scale.HourWidth : scale.FixedHourWidth;
  const DateTime start = scale.ChartOrigin.AddMinutes(scale.MinutesAt(bar.Left, w));

  PlanEntry& plan = data.Plan(InfoNo);
  plan.StartTime = start.TimePart();
  plan.StartDate = start.DatePart();
  const DateTime end =
      ComputeEndTime(data, plan.StartDate + plan.StartTime, plan.DurationMinutes, InfoNo);
  plan.EndTime = end.TimePart();
  plan.EndDate = end.DatePart();

  plan.Changed = 1;
  data.Edits.MarkEdited();
}

}  // namespace velmora::chart
