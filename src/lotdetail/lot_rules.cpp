#include "lotdetail/lot_rules.h"

#include <cfloat>
#include <cmath>
#include <limits>

#include "common/date_text.h"
#include "common/numeric.h"
#include "common/questions.h"
#include "common/text.h"
#include "editing/day_calendar.h"

namespace velmora::lotdetail {
namespace {

constexpr double kMaxInt32 = std::numeric_limits<std::int32_t>::max();
constexpr double kMaxInt16 = std::numeric_limits<std::int16_t>::max();

// Whether the text is a number that rounds (as the window rounds) to a whole number in [0, high].
bool WholeWithin(std::string_view text, double high) {
  if (!IsNumeric(text)) return false;
  const double v = std::nearbyint(Val(text));
  return v >= 0 && v <= high;
}

struct Rule {
  const char* field;
  const char* message;
};

// The fields the window writes back or computes from, with their refusal.
constexpr Rule kRules[] = {
    {"startDate", kEnterADate},      {"startTime", kEnterADate},
    {"endDate", kEnterADate},        {"endTime", kNotATimeOfDay},
    {"initialDueDate", kEnterADate}, {"orderQty", kQuantityRange},
    {"setupMinutes", kSetupRange},   {"cycleSeconds", kCycleRange},
    {"totalMinutes", kTotalRange},   {"workingMinutes", kWorkingRange},
    {"fixedFlag", kFixedFlagRange},  {"workers", kWorkersRange},
};

}  // namespace

bool LotRules::IsAcceptable(std::string_view field, const std::string& text) {
  if (field == "startDate" || field == "endDate") {
    const auto date = ParseDateText(text);
    return date && IsStorableDate(*date);
  }
  if (field == "initialDueDate") {
    if (Trim(text).empty()) return true;  // no initial due date
    const auto date = ParseDateText(text);
    return date && IsStorableDate(*date);
  }
  if (field == "startTime" || field == "endTime") return editing::ParseTypedTime(text).has_value();
  if (field == "orderQty" || field == "totalMinutes" || field == "workingMinutes" ||
      field == "workers") {
    return WholeWithin(text, kMaxInt32);
  }
  if (field == "setupMinutes") return WholeWithin(text, kMaxInt16);
  if (field == "cycleSeconds") {
    if (!IsNumeric(text)) return false;
    const double v = Val(text);
    return std::isfinite(v) && v >= 0 && v <= FLT_MAX;
  }
  if (field == "fixedFlag") return text == "0" || text == "1" || text == "2";
  return true;
}

std::optional<std::string> LotRules::FieldProblem(std::string_view field) const {
  const std::string* text = fields_.TextOf(field);
  if (text == nullptr) return std::nullopt;
  for (const Rule& rule : kRules) {
    if (field != rule.field) continue;
    if (!IsAcceptable(field, *text)) return std::string(rule.message);
    if (field == "orderQty") {
      // The quantity belongs to the members that stand for the whole lot; a bar of members with
      // quantities of their own has none to give a new one to.
      const auto entry = FirstEntryWithNumber(data_, Val(fields_.orderNo));
      if (entry && std::nearbyint(Val(*text)) != data_.Plan(*entry).OrderQty &&
          !LotMembers(data_.Plan(*entry))) {
        return std::string(kQuantityOfParts);
      }
    }
    return std::nullopt;
  }
  return std::nullopt;
}

bool LotRules::Typed(std::string_view field) const {
  const std::string* text = fields_.TextOf(field);
  const auto it = shown_.find(field);
  return text != nullptr && (it == shown_.end() || it->second != *text);
}

bool LotRules::Confirm(std::string_view field) {
  // What the window itself showed came from the lot; only typed text is the user's to confirm.
  if (!Typed(field)) return true;
  // Digits typed in full width are the same numbers and dates.
  std::string& text = *fields_.TextOf(field);
  if (const std::string narrow = FoldNarrowUpper(text);
      narrow != text && IsAcceptable(field, narrow))
    text = narrow;
  const auto problem = FieldProblem(field);
  if (!problem) return true;
  questions_.Tell({*problem});
  RestoreShown({std::string(field)});
  fields_.Focus = std::string(field);
  return false;
}

void LotRules::RestoreShown(std::initializer_list<std::string> fields) {
  for (const std::string& field : fields) {
    const auto it = shown_.find(field);
    if (it != shown_.end()) *fields_.TextOf(field) = it->second;
  }
}

bool LotRules::ConfirmInputs(std::initializer_list<const char*> fields) {
  for (const char* field : fields) {
    if (!Confirm(field)) return false;
  }
  return true;
}

bool LotRules::ConfirmAll() {
  for (const Rule& rule : kRules) {
    if (!Confirm(rule.field)) return false;
  }
  return true;
}

std::vector<std::string> LotRules::ValueTexts() const {
  std::vector<std::string> texts;
  for (const Rule& rule : kRules) texts.push_back(*fields_.TextOf(rule.field));
  return texts;
}

void LotRules::NoteShownSince(const std::vector<std::string>& before) {
  for (std::size_t i = 0; i < std::size(kRules); ++i) {
    const std::string& now = *fields_.TextOf(kRules[i].field);
    if (i >= before.size() || now != before[i]) shown_[kRules[i].field] = now;
  }
}

void LotRules::NoteShown(std::string_view field) {
  if (const std::string* text = fields_.TextOf(field)) shown_[std::string(field)] = *text;
}

void LotRules::NoteAllShown() {
  shown_.clear();
  NoteShownSince({});
}

bool LotMembers(const PlanEntry& e) {
  for (const MemberGroup* group : {&e.A, &e.B}) {
    for (int k = 1; k <= group->Stored(); ++k) {
      if ((*group)[k].OrderNo != 0 && (*group)[k].OrderQty == e.OrderQty) return true;
    }
  }
  return false;
}

std::optional<PlanIdx> FirstEntryWithNumber(const PlanData& data, double orderNo) {
  for (std::int32_t i = 1; i <= data.PlanCount(); ++i) {
    if (data.PlanTable[static_cast<std::size_t>(i)].OrderNo == orderNo) return PlanIdx{i};
  }
  return std::nullopt;
}

void SetLotQuantity(PlanEntry& e, std::int32_t quantity) {
  for (MemberGroup* group : {&e.A, &e.B}) {
    for (int k = 1; k <= group->Stored(); ++k) {
      if ((*group)[k].OrderNo != 0 && (*group)[k].OrderQty == e.OrderQty) {
        group->Slot(k).OrderQty = quantity;
      }
    }
  }
  e.OrderQty = quantity;
}

}  // namespace velmora::lotdetail
