#include "chart/scrolling.h"

#include <algorithm>
#include <cmath>

#include "common/date_text.h"

namespace velmora::chart {
namespace {

int WithinRange(const ScrollBarState& bar, int value) {
  // A maximum below the minimum (a period shorter than the viewport) still bounds the value.
  const int low = std::min(bar.Min, bar.Max);
  const int high = std::max(bar.Min, bar.Max);
  return std::clamp(value, low, high);
}

// The largest scroll position; a little short of the int's end, so that a step past it cannot
// overflow.
constexpr double kScrollLimit = 1 << 30;

}  // namespace

double ScrollUnitFor(double lowTwips, double highTwips) {
  const double span = std::max(std::abs(lowTwips), std::abs(highTwips));
  const double pixels = std::ceil(span / (kScrollLimit * kTwipsPerPixel));
  return std::max(1.0, pixels) * kTwipsPerPixel;
}

void HScroll1_Change(const PlanData& data, ChartModel& model) {
  const int v = model.HScroll1.Value;
  model.PlatForm.Left += static_cast<double>(model.ScrollValue - v) * model.HScrollUnit;
  model.ScrollValue = v;
  model.PlatForm3.Left = model.PlatForm.Left;
  const double dayWidth = model.Scale.DayWidth;
  const double days =
      dayWidth != 0 ? std::floor(model.ScrollValue * model.HScrollUnit / dayWidth) : 0;
  model.DayDispArea =
      FormatLongDate(data.PeriodStartDate().AddDays(static_cast<std::int64_t>(days)));
}

void KScroll_Change(const PlanData& data, ChartModel& model) {
  const int first = model.KScroll.Value;
  for (int k = 1; k <= model.VisibleRows; ++k) {
    const std::size_t r = static_cast<std::size_t>(first + k);
    model.MachineName[static_cast<std::size_t>(k)] =
        r < data.RowCaption.size() ? data.RowCaption[r] : "";
  }
  model.PlatForm.Top = -first * kRowPitch;
}

void SetHScroll1Value(const PlanData& data, ChartModel& model, int value) {
  model.HScroll1.Value = WithinRange(model.HScroll1, value);
  HScroll1_Change(data, model);
}

void SetKScrollValue(const PlanData& data, ChartModel& model, int value) {
  model.KScroll.Value = WithinRange(model.KScroll, value);
  KScroll_Change(data, model);
}

}  // namespace velmora::chart
