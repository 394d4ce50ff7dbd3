#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "db/connection.h"
#include "plandata/plan_data.h"

namespace velmora::saving {

inline constexpr const char* kOthersChangedQuestion =
    "次の手配は、読み込んだ後に他の利用者が変更しています。";
inline constexpr const char* kOverwriteQuestion = "上書きして保存しますか？";
inline constexpr int kListedAtMost = 10;

// A machine's calendar day: (row, day index).
using DayOf = std::pair<int, int>;

// Stored rows as another program left them since this copy read them: arrangements by number
// with their fingerprint now (nothing when the row is gone), calendar days with theirs.
struct OthersChanges {
  std::map<std::int32_t, std::optional<std::uint64_t>> arrangements;
  std::map<DayOf, std::uint64_t> days;

  bool Empty() const { return arrangements.empty() && days.empty(); }
  // Takes the other's rows in: what the user agreed to write over.
  void Add(const OthersChanges& more);
};

// The stored rows the save is about to write: the existing arrangements of `entries` (new
// members have no row yet) and the calendar `days`.
struct RowsToWrite {
  std::vector<std::int32_t> arrangements;
  std::vector<DayOf> days;
};
RowsToWrite RowsWrittenBy(const PlanData& data, const std::vector<int>& entries,
                          const std::vector<DayOf>& days);

// The rows among `rows` whose stored values differ from what this copy last saw of them, or
// from what the user agreed to write over (`accepted`). Rows this copy never read are not
// checked. Reads every row: for the question, once a writer has found one changed.
OthersChanges FindOthersChanges(db::Connection& connection, const PlanData& data,
                                const RowsToWrite& rows, const OthersChanges& accepted);

// The question before writing over them: the arrangement numbers and the days ("機械コード
// yyyy/mm/dd"), at most ten, then how many more.
std::string OverwriteQuestionText(const PlanData& data, const OthersChanges& changes);

// What this copy holds a stored row to be: the version the user agreed to write over, else the
// one it read (nothing inside: gone). Nothing at all for a row this copy never read.
std::optional<std::optional<std::uint64_t>> ExpectedArrangement(const PlanData& data,
                                                                const OthersChanges& accepted,
                                                                std::int32_t number);
std::optional<std::uint64_t> ExpectedDay(const PlanData& data, const OthersChanges& accepted,
                                         const DayOf& day);

// The fingerprints of rows as stored now: arrangements by number, and days. After this copy
// wrote them, they count as read.
std::unordered_map<std::int32_t, std::uint64_t> ArrangementVersions(
    db::Connection& connection, const std::vector<std::int32_t>& numbers);
std::uint64_t DayVersion(db::Connection& connection, const PlanData& data, const DayOf& day);

// Thrown by the writers when a row about to be written is not as this copy holds it: the save
// lets go of the database, finds every such row and asks.
struct OthersChangedDuringSave {};

}  // namespace velmora::saving
