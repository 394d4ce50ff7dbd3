#pragma once

#include "saving/entries_before.h"
#include "saving/plan_save.h"

namespace velmora::saving {

// The mold conflict questions of the changed entries, in table order, before anything is
// written or locked. A conflict answered No takes both plans off their machines (unless fixed)
// and marks them changed, so memory and database still agree after the stop. Returns the index
// of the entry where the save stops, or PlanCount() + 1 when no conflict was declined.
int AskMoldConflicts(SaveContext& ctx, EntriesBefore& before);

}  // namespace velmora::saving
