#include "chart/twip_to_datetime.h"

#include "chart/bar_layout.h"
#include "chart/time_axis.h"
#include "common/numeric.h"
#include "worktime/worktime.h"

namespace velmora::chart {

void Twip2DateTime(PlanData& data, ChartModel& model, std::int32_t InfoNo, std::int16_t idx) {
  const DateTime origin = ChartOrigin(data);
  const BarLabel& bar = model.Bar(idx);
  // Bars of the unplanned band sit above 300 twips and use its fixed four-week scale.
  const double w = bar.Top > kUnplannedBandTest ? data.HourWidth : data.FixedHourWidth;
  const std::int32_t minutes = ToInt32(bar.Left / w * 60);
  const DateTime start = origin.AddMinutes(minutes);

  PlanEntry& plan = data.PlanTable.at(static_cast<std::size_t>(InfoNo));
  plan.StartTime = start.TimePart();
  plan.StartDate = start.DatePart();
  const DateTime end =
      ComputeEndTime(data, plan.StartDate + plan.StartTime, plan.DurationMinutes, InfoNo);
  plan.EndTime = end.TimePart();
  plan.EndDate = end.DatePart();

  plan.Changed = 1;
  if (!data.InquiryMode()) model.Command8Enabled = true;
}

}  // namespace velmora::chart
