// What the lot detail window's fields accept: a value the entry and the database can hold. Typed
// text that is not one is refused when it is confirmed (Enter, a computation that takes it, a
// button, the close), and the field shows its text as the window last showed it, so nothing out
// of form ever reaches the entry or the save.
#include <cfloat>
#include <cmath>
#include <limits>

#include "common/date_text.h"
#include "common/msgbox.h"
#include "common/numeric.h"
#include "common/text.h"
#include "editing/day_calendar.h"
#include "lotdetail/plan_window.h"

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

bool PlanWindow::IsAcceptable(std::string_view field, const std::string& text) const {
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

std::optional<std::string> PlanWindow::FieldProblem(std::string_view field) {
  const std::string* text = TextOf(field);
  if (text == nullptr) return std::nullopt;
  for (const Rule& rule : kRules) {
    if (field != rule.field) continue;
    if (!IsAcceptable(field, *text)) return std::string(rule.message);
    if (field == "orderQty") {
      // The quantity belongs to the members that stand for the whole lot; a bar of members with
      // quantities of their own has none to give a new one to.
      const auto entry = Entry();
      if (entry && std::nearbyint(Val(*text)) != ctx_.data.Plan(*entry).OrderQty &&
          !LotMembers(ctx_.data.Plan(*entry))) {
        return std::string(kQuantityOfParts);
      }
    }
    return std::nullopt;
  }
  return std::nullopt;
}

bool PlanWindow::Typed(std::string_view field) {
  const std::string* text = TextOf(field);
  const auto it = shown_.find(field);
  return text != nullptr && (it == shown_.end() || it->second != *text);
}

bool PlanWindow::Confirm(std::string_view field) {
  // What the window itself showed came from the lot; only typed text is the user's to confirm.
  if (!Typed(field)) return true;
  // Digits typed in full width are the same numbers and dates.
  std::string& text = *TextOf(field);
  if (const std::string narrow = FoldNarrowUpper(text);
      narrow != text && IsAcceptable(field, narrow))
    text = narrow;
  const auto problem = FieldProblem(field);
  if (!problem) return true;
  ui::MsgBox(*problem);
  RestoreShown({std::string(field)});
  Focus = std::string(field);
  return false;
}

void PlanWindow::RestoreShown(std::initializer_list<std::string> fields) {
  for (const std::string& field : fields) {
    const auto it = shown_.find(field);
    if (it != shown_.end()) *TextOf(field) = it->second;
  }
}

bool PlanWindow::ConfirmAll() {
  for (const Rule& rule : kRules) {
    if (!Confirm(rule.field)) return false;
  }
  return true;
}

std::vector<std::string> PlanWindow::ValueTexts() {
  std::vector<std::string> texts;
  for (const Rule& rule : kRules) texts.push_back(*TextOf(rule.field));
  return texts;
}

void PlanWindow::NoteShownSince(const std::vector<std::string>& before) {
  for (std::size_t i = 0; i < std::size(kRules); ++i) {
    const std::string& now = *TextOf(kRules[i].field);
    if (i >= before.size() || now != before[i]) shown_[kRules[i].field] = now;
  }
}

void PlanWindow::NoteShown(std::string_view field) {
  if (const std::string* text = TextOf(field)) shown_[std::string(field)] = *text;
}

bool LotMembers(const PlanEntry& e) {
  for (const MemberGroup* group : {&e.A, &e.B}) {
    for (int k = 1; k <= group->Stored(); ++k) {
      if ((*group)[k].OrderNo != 0 && (*group)[k].OrderQty == e.OrderQty) return true;
    }
  }
  return false;
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
