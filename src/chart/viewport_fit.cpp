#include "chart/viewport_fit.h"

#include <algorithm>
#include <cmath>

#include "chart/chart_setup.h"
#include "chart/display_mode.h"
#include "chart/scrolling.h"

namespace velmora::chart {

void FitViewport(const PlanData& data, ChartModel& model, double width, double rowsHeight) {
  model.Picture1.Width = std::max(kTwipsPerPixel, width);
  model.SetVisibleRows(static_cast<int>(std::floor((rowsHeight - kRowsAreaMargin) / kRowPitch)));

  const int firstRow = model.KScroll.Value;
  SetUpRowScroll(data, model);
  SetKScrollValue(data, model, firstRow);

  // The left edge stays at the same moment, even if the range needs another unit.
  const double left = model.ScrollValue * model.HScrollUnit;
  SetTimeScrollRange(data, model);
  model.ScrollValue = static_cast<int>(std::lround(left / model.HScrollUnit));
  SetHScroll1Value(data, model, model.ScrollValue);
}

}  // namespace velmora::chart
