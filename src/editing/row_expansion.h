#pragma once

#include "editing/edit_context.h"

namespace velmora::editing {

inline constexpr const char* kUnplannedNotExpandable = "未計画分は展開できません";
inline constexpr const char* kExpandQuestion = "計画の展開を行ないますか？";
inline constexpr const char* kCountSuffix = "件";

// Lays the plans of `row` out back to back from 08:00 of the period's first day, in their row
// order, after asking. Locked plans and plans that started before the period stay and only move
// the running start; on a machine row a plan that would run into a fixed plan leaves the machine.
void ExpandRow(EditContext& ctx, int row);

}  // namespace velmora::editing
