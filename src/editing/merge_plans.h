#pragma once

#include "editing/edit_context.h"

namespace velmora::editing {

inline constexpr const char* kMergeQuestion = "この２つの計画を合体させますか？";

// Moves the members of plan s that fit plan t (same process as t's first, same item kind) into
// t: the quantities add up, a member already in t absorbs the same member of s, the rest take
// free slots. s then leaves the chart; when some of its members did not fit (another process or
// item kind, or no free slot) they stay on s's bar, which stays on the chart with what is left.
void MergePlans(EditContext& ctx, PlanIdx s, PlanIdx t);

}  // namespace velmora::editing
