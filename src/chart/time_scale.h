#pragma once

#include <cstdint>
#include <string_view>

#include "common/datetime.h"

namespace velmora::chart {

// Which of the chart's two scales a moment is placed on.
enum class TimeKind {
  Rows,           // the machine rows: HourWidth
  UnplannedBand,  // the unplanned band: FixedHourWidth
};

// The chart's time scale: the display mode, its day and hour widths in twips, and the origin
// x = 0 at 08:00:00 of the period start. Every conversion between moments and x goes through it.
struct TimeScale {
  std::int16_t DisplayMode = 0;  // 1 day, 2 three days, 3 week, 4 four weeks
  float DayWidthBase = 0;        // the viewport's width
  float DayWidth = 0;
  float HourWidth = 0;
  float FixedHourWidth = 0;  // the unplanned band's four-week scale: DayWidthBase / 672
  DateTime ChartOrigin;
  // The unplanned band on the rows' scale instead of its own: printed pages cut the band at
  // their edges as they cut the rows.
  bool BandOnRowsScale = false;

  // x lies within +-kLimitX: a moment centuries away is placed at the edge instead of
  // overflowing, so one far-dated plan never stops the chart.
  static constexpr double kLimitX = 1.0e9;

  // The moment's x on the rows' scale or on the unplanned band's fixed scale.
  float TimeToX(DateTime date, DateTime time, TimeKind kind) const;
  // The same on a given hour width.
  float TimeToX(DateTime date, DateTime time, float hourWidth) const;
  // Whole minutes from the origin to x on a given hour width (rounded half to even).
  std::int32_t MinutesAt(double x, float hourWidth) const;
  // The moment at x, to the whole minute: the other direction of TimeToX.
  DateTime TimeAt(double x, TimeKind kind) const;
  DateTime TimeAt(double x, float hourWidth) const;

  // Day and hour widths of `mode` from DayWidthBase, and the fixed hour width.
  void SetMode(std::int16_t mode);
  // The chart origin of a period that starts on `periodStart`.
  void SetPeriodStart(DateTime periodStart);
};

}  // namespace velmora::chart
