#include "chart/time_scale.h"

#include <algorithm>
#include <cmath>

#include "common/numeric.h"

namespace velmora::chart {

float TimeScale::TimeToX(DateTime date, DateTime time, TimeKind kind) const {
  return TimeToX(date, time, kind == TimeKind::UnplannedBand ? FixedHourWidth : HourWidth);
}

float TimeScale::TimeToX(DateTime date, DateTime time, float hourWidth) const {
  const DateTime moment = date.DatePart() + time.TimePart();
  const double minutes = static_cast<double>(MinutesBetween(ChartOrigin, moment));
  const double x = std::clamp(minutes * hourWidth / 60, -kLimitX, kLimitX);
  return static_cast<float>(RoundHalfEven(x));
}

std::int32_t TimeScale::MinutesAt(double x, float hourWidth) const {
  return ToInt32(x / hourWidth * 60);
}

DateTime TimeScale::TimeAt(double x, TimeKind kind) const {
  return TimeAt(x, kind == TimeKind::UnplannedBand ? FixedHourWidth : HourWidth);
}

DateTime TimeScale::TimeAt(double x, float hourWidth) const {
  return ChartOrigin.AddMinutes(MinutesAt(x, hourWidth));
}

void TimeScale::SetMode(std::int16_t mode) {
  DisplayMode = mode;
  FixedHourWidth = DayWidthBase / 672;
  switch (mode) {
    case 1:
      DayWidth = DayWidthBase;
      HourWidth = DayWidth / 24;
      break;
    case 2:
      DayWidth = DayWidthBase / 3;
      HourWidth = DayWidth / 24;
      break;
    case 3:
      DayWidth = DayWidthBase / 7;
      HourWidth = DayWidth / 24;
      break;
    case 4:
      HourWidth = DayWidthBase / 672;
      DayWidth = HourWidth * 24;
      break;
    default:
      break;
  }
  if (BandOnRowsScale) FixedHourWidth = HourWidth;
}

void TimeScale::SetPeriodStart(DateTime periodStart) {
  ChartOrigin = periodStart.DatePart() + DateTime::FromTime(8, 0, 0);
}

}  // namespace velmora::chart
