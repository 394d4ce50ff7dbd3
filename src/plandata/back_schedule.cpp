#include "plandata/back_schedule.h"

#include "worktime/production_minutes.h"

namespace velmora {

void BackSchedule(PlanEntry& e) {
  e.DurationMinutes = ProductionMinutes(e.SetupMinutes, e.CycleSeconds, e.OrderQty);
  const std::int32_t duration = e.DurationMinutes;

  e.StartDate = duration <= 1440 ? e.EndDate : e.EndDate.AddDays(-(duration / 1440));

  const std::int32_t m = duration % 1440;
  const std::int32_t h = m / 60;
  if (e.EndTime.Hour() < h) {
    e.StartDate = e.StartDate.AddDays(-1);
    e.StartTime = e.EndTime.AddHours(24 - h);
  } else {
    e.StartTime = e.EndTime.AddHours(-h);
  }

  const std::int32_t n = duration % 60;
  if (e.StartTime.Minute() < n) {
    e.StartTime = e.StartTime.AddMinutes(60 - n);
    if (e.StartTime.Hour() == 0) {
      e.StartDate = e.StartDate.AddDays(-1);
      e.StartTime = e.StartTime.AddHours(23);
    } else {
      e.StartTime = e.StartTime.AddHours(-1);
    }
  } else {
    e.StartTime = e.StartTime.AddMinutes(-n);
  }

  e.StartTime = e.StartTime.TimePart();
}

}  // namespace velmora
