#pragma once

#include <string>

#include "chart/time_scale.h"
#include "common/datetime.h"
#include "plandata/plan_data.h"

namespace velmora::editing {

// Where a bar dropped with the pointer at `pointerX` on row `rowCode` lands: its left edge (the
// pointer less where the bar was grabbed), the row's top, whether the row is the unplanned band,
// and the start that left edge stands for on that row's scale. The drop preview and the drop take
// the plan's start from here; the bar is then laid out from the plan.
struct DropPlace {
  double left = 0;
  double rowTop = 0;
  bool band = false;
  DateTime start;
};
DropPlace PlaceOfDrop(const PlanData& data, const chart::TimeScale& scale, double pointerX,
                      double grabOffsetX, const std::string& rowCode);

}  // namespace velmora::editing
