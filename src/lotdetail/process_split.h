#pragma once

#include "editing/edit_context.h"

namespace velmora::lotdetail {

class PlanWindow;

inline constexpr const char* kNoProcessChosen = "分割する工程を指定してください";
inline constexpr const char* kEveryProcessChosen = "すべての工程を指定する事はできません";
inline constexpr const char* kOuterRingStays = "外輪は分割する事はできません";
inline constexpr const char* kSeparationStays = "分離工程は分割する事はできません";
inline constexpr const char* kSeparationMark = "分離";
inline constexpr const char* kPartialInner =
    "の工程(内輪)で指定されていない物がありますがよろしいですか？";
inline constexpr const char* kPartialOuter =
    "の工程(外輪)で指定されていない物がありますがよろしいですか？";
inline constexpr const char* kPartialTitle = "特殊分割の確認";
// The one item whose inner and outer members may leave together.
inline constexpr const char* kBothRingsItem = "1012001500011";

// "×工程分割": the members selected in the window's lists leave the plan for a new plan one day
// later, with a bar of its own. The window stays open on what remains.
void SplitProcesses(editing::EditContext& ctx, PlanWindow& window);

}  // namespace velmora::lotdetail
