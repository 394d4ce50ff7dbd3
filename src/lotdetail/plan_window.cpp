#include "lotdetail/plan_window.h"

#include <algorithm>

#include "common/numeric.h"
#include "common/questions.h"
#include "lotdetail/lot_split.h"
#include "lotdetail/new_entry.h"
#include "lotdetail/plan_change.h"
#include "lotdetail/process_dialogs.h"
#include "lotdetail/process_split.h"

namespace velmora::lotdetail {
namespace {

// The original form's control names, which scripts written for it still use.
constexpr ControlAlias kAliases[] = {
    {"Text", 1, "startTime"},        {"Text", 2, "modelName"},
    {"Text", 3, "orderQty"},         {"Text", 4, "planNo"},
    {"Text", 5, "machine"},          {"Text", 6, "endTime"},
    {"Text", 7, "startDate"},        {"Text", 8, "endDate"},
    {"Text", 9, "process"},          {"Text", 10, "itemCode"},
    {"Text", 11, "initialDueDate"},  {"Text", 12, "destination"},
    {"Text", 13, "setupMinutes"},    {"Text", 14, "orderNo"},
    {"Text", 15, "cycleSeconds"},    {"Text", 16, "totalMinutes"},
    {"Text", 17, "planQty"},         {"Text", 18, "fixedFlag"},
    {"Text", 19, "workingMinutes"},  {"Text", 20, "receivedQty"},
    {"Text", 21, "lastResultDate"},  {"Text", 22, "packQty"},
    {"Text", 23, "processSeq"},      {"Text", 24, "moldCycle"},
    {"Text", 25, "cavities"},        {"Text", 26, "pieceWeight"},
    {"Text", 27, "boxCount"},        {"Text", 28, "remainder"},
    {"Text", 29, "moldNo"},          {"Text", 40, "workers"},
    {"Text", 42, "resultMinutes"},   {"Label", 4, "planNoLabel"},
    {"Command", 1, "finish"},        {"Command", 2, "splitProcesses"},
    {"Command", 3, "splitLot"},      {"Command", 4, "addProcesses"},
    {"Command", 5, "showProcesses"}, {"Command", 6, "changePlan"},
    {"Command", 7, "hide"},
};

}  // namespace

PlanWindow::PlanWindow(editing::EditContext& ctx, DateTime today)
    : ctx_(ctx),
      today_(today),
      rules_(ctx.data, *this, ctx.questions),
      closing_(ctx, *this, rules_) {}

void PlanWindow::Fill(PlanIdx p, std::vector<std::string> relations) {
  ShowEntry(ctx_.data, ctx_.data.Plan(p));
  JList = std::move(relations);
  closing_.Opened(p);
  rules_.NoteAllShown();
}

std::optional<PlanIdx> PlanWindow::Entry() const {
  return FirstEntryWithNumber(ctx_.data, Val(orderNo));
}

std::optional<PlanIdx> PlanWindow::LastEntry() const {
  return LastEntryWithNumber(ctx_.data, Val(orderNo));
}

void PlanWindow::ShowQuantity(const PlanEntry& e) {
  orderQty = std::to_string(e.OrderQty);
  ShowPacks(e);
  rules_.NoteShown("orderQty");
}

void PlanWindow::ShowLot(const PlanEntry& e) {
  ShowQuantity(e);
  ShowLotValues(e);
  rules_.NoteShown("fixedFlag");
  rules_.NoteShown("workers");
}

void PlanWindow::SetFocus(std::string_view control) {
  if (Focus == control) return;
  const bool leavingItemCode = Focus == "itemCode";
  Focus = std::string(control);
  if (leavingItemCode) ItemCodeLeft();
}

void PlanWindow::MoveToNextField() {
  const std::string next = NextInTabOrder(Focus);
  if (!next.empty()) SetFocus(next);
}

void PlanWindow::Finish() {
  closing_.SetHidden(0);
  QueryClose();
}

void PlanWindow::Hide() {
  if (ctx_.questions.Ask({kHideQuestion, Answer::No}) != Answer::Yes) return;
  closing_.SetHidden(1);
  QueryClose();
}

void PlanWindow::Type(std::string_view control, std::string text) {
  std::string* box = TextOf(control);
  if (box == nullptr) Unknown(control);
  SetFocus(control);
  *box = std::move(text);
}

void PlanWindow::Enter(std::string_view control) {
  if (TextOf(control) == nullptr && ButtonOf(control) == nullptr) Unknown(control);
  if (ButtonOf(control) != nullptr) {
    Click(control);  // Enter on a focused button presses it
    return;
  }
  SetFocus(control);
  KeyEnter();
}

void PlanWindow::Click(std::string_view control) {
  if (control == "planNoLabel") return;  // selects planNo's text; nothing else
  if (TextOf(control) != nullptr) {
    SetFocus(control);
    return;
  }
  Button* button = ButtonOf(control);
  if (button == nullptr) Unknown(control);
  if (!button->Visible || !button->Enabled) {
    throw ControlError("ボタン " + std::string(control) + " は押せません");
  }
  SetFocus(control);
  const std::vector<std::string> before = rules_.ValueTexts();
  if (control == "finish") {
    Finish();
  } else if (control == "hide") {
    Hide();
  } else if (control == "showProcesses") {
    if (auto dialog = OpenShowPlan(ctx_, *this); dialog && ShowDialog) ShowDialog(dialog);
  } else {
    // A restructuring computes from the fields: each must hold what the lot can take.
    if (!rules_.ConfirmAll()) return;
    if (control == "splitProcesses") {
      SplitProcesses(ctx_, *this);
    } else {
      std::shared_ptr<DialogModel> dialog;
      if (control == "splitLot") dialog = OpenBunWindow(ctx_, *this);
      if (control == "addProcesses") dialog = OpenAddPlan(ctx_, *this);
      if (control == "changePlan") dialog = OpenPlanChange(ctx_, *this);
      if (dialog && ShowDialog) ShowDialog(std::move(dialog));
    }
  }
  rules_.NoteShownSince(before);
}

void PlanWindow::Select(std::string_view control, const std::vector<int>& lines) {
  const std::vector<std::string>* list = control == "machine"       ? &machineChoices
                                         : control == "destination" ? &destinationChoices
                                                                    : nullptr;
  if (list == nullptr) {
    std::vector<int>* selected = control == "NList"   ? &NListSelected
                                 : control == "GList" ? &GListSelected
                                                      : nullptr;
    if (selected != nullptr) {
      const std::size_t count = (control == "NList" ? NList : GList).size();
      std::vector<int> chosen = lines;
      std::sort(chosen.begin(), chosen.end());
      chosen.erase(std::unique(chosen.begin(), chosen.end()), chosen.end());
      if (!chosen.empty() && (chosen.front() < 0 || chosen.back() >= static_cast<int>(count))) {
        Unsupported(control);
      }
      *selected = std::move(chosen);
      return;
    }
    if (control == "JList") return;
    Unsupported(control);
  }
  if (lines.size() != 1 || lines[0] >= static_cast<int>(list->size())) Unsupported(control);
  SetFocus(control);
  *TextOf(control) = (*list)[static_cast<std::size_t>(lines[0])];
}

std::vector<std::pair<std::string, std::string>> PlanWindow::Show() const {
  std::vector<std::pair<std::string, std::string>> out;
  out.emplace_back("Caption", kPlanWindowCaption);
  for (auto& control : Listing()) out.push_back(std::move(control));
  return out;
}

std::span<const ControlAlias> PlanWindow::Aliases() const {
  return kAliases;
}

}  // namespace velmora::lotdetail
