#pragma once

#include <cstdint>
#include <optional>

#include "editing/edit_context.h"

namespace velmora::lotdetail {

inline constexpr const char* kSplitQuestion = "この内容で分割を実施しますか？";
inline constexpr const char* kSplitTitle = "分割の確認";
inline constexpr const char* kNoBarLeft =
    "バーの数が上限に達したため、これ以上分けられません。保存してから開き直してください";

// The entry a restructuring dialog works on: the last one carrying the number.
std::optional<PlanIdx> LastEntryWithNumber(const PlanData& data, double orderNo);

// A new entry n = PlanCount + 1, a copy of entry e with the next bar index, its bars created.
// Undo leaves n in the table unused, so an undone split shows nothing and saves nothing.
// Nothing (after telling the user) when the bar indexes are used up.
std::optional<PlanIdx> AddEntryCopy(editing::EditContext& ctx, PlanIdx e);

// A new entry's duration from its quantity, its end laid across its row's shifts from the start
// it was given, and its bar laid out.
void ScheduleNewEntry(editing::EditContext& ctx, PlanIdx n);

// The next temporary arrangement number: -1, -2, ... over the whole run of the program.
std::int32_t NextTempOrderNo(PlanData& data);

// The entry's key: its first group-A member's number, else its first group-B member's.
std::int32_t FirstMemberNo(const PlanEntry& p);

}  // namespace velmora::lotdetail
