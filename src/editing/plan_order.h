#pragma once

#include <vector>

#include "plandata/plan_data.h"

namespace velmora::editing {

// Whether plan a goes before plan b on one row: the earlier start; on an equal start the shorter
// duration when both are known and differ, otherwise the smaller order quantity.
bool ComesFirst(const PlanEntry& a, const PlanEntry& b);

// Stable bubble sort of plan indexes by ComesFirst; equal plans keep their order.
void SortPlans(const PlanData& data, std::vector<PlanIdx>& plans);

}  // namespace velmora::editing
