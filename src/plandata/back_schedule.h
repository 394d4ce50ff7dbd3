#pragma once

#include "plandata/plan_entry.h"

namespace velmora {

// For an arrangement without a stored duration: computes DurationMinutes from setup, cycle and
// quantity and moves the start back from the end by that many clock minutes, whole hours first
// and then the remaining minutes, borrowing across midnight.
void BackSchedule(PlanEntry& entry);

}  // namespace velmora
