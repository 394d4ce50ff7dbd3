#pragma once

#include <memory>

#include "editing/edit_context.h"
#include "lotdetail/plan_window.h"

namespace velmora::lotdetail {

inline constexpr const char* kDiscardQuestion = "変更を保存せずに破棄しますか？";

// The lot detail window of plan p as the chart opens it: every field filled and the order
// relations read (none without a database).
std::shared_ptr<PlanWindow> OpenPlanWindow(editing::EditContext& ctx, PlanIdx p, DateTime today);

// KTbun double click: whether the loaded plan may be thrown away and loaded again. Unsaved
// edits ask first (No by default); without them the answer is yes at once.
bool ConfirmDiscard(const PlanData& data, Questions& questions);

}  // namespace velmora::lotdetail
