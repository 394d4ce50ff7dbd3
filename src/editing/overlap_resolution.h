#pragma once

#include <string>

#include "editing/edit_context.h"

namespace velmora::editing {

inline constexpr const char* kEarlierOverlapQuestion =
    "移動したよりも前の計画と重複している期間があります。その計画の終了日時をこの計画の開始に設定し"
    "ますか？";
inline constexpr const char* kLaterOverlapQuestion =
    "移動した先の後の計画と重複している期間があります。それらの計画を重複しないように調整しますか"
    "？";
inline constexpr const char* kFirstPlanFixed =
    "先頭の計画が固定されているので、スケジュール調整を行なえません";

// Assigns the plan of bar `bar` to the target row (machine or row code `machine`, destination
// `destination`, empty for a drop), recomputes its end, and resolves overlaps with the plans of
// that row: asks to start it at the end of an earlier plan still running, and to push the later
// plans back one after another up to a fixed plan; a pushed plan that runs into a fixed one
// leaves its machine and is noted in ctx.TakenOff. Every moved bar is laid out again.
void Insert_PlanBarStep2(EditContext& ctx, BarIdx bar, const std::string& machine,
                         const std::string& destination);

}  // namespace velmora::editing
