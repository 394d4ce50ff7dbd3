#include "lotdetail/plan_window.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "chart/bar_layout.h"
#include "common/date_text.h"
#include "common/format.h"
#include "common/numeric.h"
#include "common/text.h"
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

// A text box or drop-down with its tab index; -1 when it takes no tab stop.
struct Field {
  const char* name;
  std::string PlanWindow::*text;
  int tabIndex;
};

// The tab order follows the order a scheduler corrects a lot in: dates, then where it runs, then
// how much and how long, then the flags. Item code and model name are corrected rarely and only
// by clicking into them; the display-only boxes take no tab stop.
const std::array<Field, 31> kFields{{
    {"startDate", &PlanWindow::startDate, 0},
    {"startTime", &PlanWindow::startTime, 1},
    {"endDate", &PlanWindow::endDate, 2},
    {"endTime", &PlanWindow::endTime, 3},
    {"machine", &PlanWindow::machine, 4},
    {"destination", &PlanWindow::destination, 5},
    {"orderQty", &PlanWindow::orderQty, 6},
    {"setupMinutes", &PlanWindow::setupMinutes, 7},
    {"cycleSeconds", &PlanWindow::cycleSeconds, 8},
    {"totalMinutes", &PlanWindow::totalMinutes, 9},
    {"workingMinutes", &PlanWindow::workingMinutes, 10},
    {"fixedFlag", &PlanWindow::fixedFlag, 11},
    {"workers", &PlanWindow::workers, 12},
    {"initialDueDate", &PlanWindow::initialDueDate, 13},
    {"itemCode", &PlanWindow::itemCode, 14},
    {"modelName", &PlanWindow::modelName, 15},
    {"orderNo", &PlanWindow::orderNo, -1},
    {"planNo", &PlanWindow::planNo, -1},
    {"process", &PlanWindow::process, -1},
    {"processSeq", &PlanWindow::processSeq, -1},
    {"moldNo", &PlanWindow::moldNo, -1},
    {"planQty", &PlanWindow::planQty, -1},
    {"receivedQty", &PlanWindow::receivedQty, -1},
    {"lastResultDate", &PlanWindow::lastResultDate, -1},
    {"packQty", &PlanWindow::packQty, -1},
    {"cavities", &PlanWindow::cavities, -1},
    {"remainder", &PlanWindow::remainder, -1},
    {"boxCount", &PlanWindow::boxCount, -1},
    {"pieceWeight", &PlanWindow::pieceWeight, -1},
    {"resultMinutes", &PlanWindow::resultMinutes, -1},
    {"moldCycle", &PlanWindow::moldCycle, -1},
}};

constexpr int kLastTabIndex = 13;

const Field* FieldNamed(std::string_view control) {
  for (const Field& f : kFields) {
    if (control == f.name) return &f;
  }
  return nullptr;
}

std::vector<std::string> MemberLines(const MemberGroup& group) {
  std::vector<std::string> lines;
  for (int k = 1; k <= MemberGroup::kSlots; ++k) {
    if (group[k].OrderNo != 0) lines.push_back(MemberLine(group[k]));
  }
  return lines;
}

void AppendList(std::vector<std::pair<std::string, std::string>>& out, const char* name,
                const std::vector<std::string>& lines) {
  for (std::size_t i = 0; i < lines.size(); ++i) {
    out.emplace_back(std::string(name) + "[" + std::to_string(i) + "]", lines[i]);
  }
}

}  // namespace

Packs PacksOf(std::int32_t quantity, std::int32_t packQty) {
  // In 64 bits: the lowest quantity over a pack of -1 does not fit 32.
  if (packQty == 0) return {quantity, 0};
  return {std::int64_t{quantity} % packQty, std::int64_t{quantity} / packQty};
}

std::string NumberText(double value) {
  if (std::isfinite(value) && value == std::trunc(value) && std::fabs(value) < 1e15) {
    return std::to_string(static_cast<long long>(value));
  }
  return ShortestText(value);
}

std::string MemberLine(const Member& m) {
  return std::to_string(m.OrderNo) + " " + Trim(m.ProcessName) + " " + Trim(m.ModelName) + " " +
         std::to_string(m.OrderQty);
}

bool PlanChangeAvailable(const PlanEntry& e) {
  const int a = e.A.Count();
  const int b = e.B.Count();
  if (a + b > 2 || a == b) return false;
  if (a + b == 2) {
    const MemberGroup& group = a == 2 ? e.A : e.B;
    const Member& first = group[group.SlotOfLine(0)];
    const Member& second = group[group.SlotOfLine(1)];
    if (first.ItemCode != second.ItemCode || first.ProcessName == second.ProcessName) {
      return false;
    }
  }
  const std::size_t destination = CharCount(Trim(e.DestinationCode));
  return !(destination >= 1 && destination <= 5);
}

PlanWindow::PlanWindow(editing::EditContext& ctx, DateTime today) : ctx_(ctx), today_(today) {}

PlanWindow::~PlanWindow() {
  if (gestureOpen_) ctx_.history.End(ctx_.data);
}

void PlanWindow::Fill(PlanIdx p, std::vector<std::string> relations) {
  const PlanData& data = ctx_.data;
  const PlanEntry& e = data.Plan(p);
  orderNo = std::to_string(e.OrderNo);
  planNo = e.PlanNoText;
  itemCode = e.PlanItemCode;
  modelName = e.ModelName;
  process = e.ProcessName;
  processSeq = std::to_string(e.Seq);
  moldNo = e.MoldNo;
  startDate = FormatSlashDate(e.StartDate);
  startTime = FormatColonTime(e.StartTime);
  endDate = FormatSlashDate(e.EndDate);
  endTime = FormatColonTime(e.EndTime);
  initialDueDate = FormatOptionalSlashDate(e.InitialDueDate);

  machineChoices.clear();
  for (int r = 1; r <= data.MachineRowCount; ++r) {
    machineChoices.push_back(data.RowCode[static_cast<std::size_t>(r)]);
  }
  machine = e.MachineCode;
  destinationChoices.clear();
  for (int r = data.MachineRowCount + 1; r <= data.RowCount; ++r) {
    const std::string& code = data.RowCode[static_cast<std::size_t>(r)];
    if (CharCount(code) > 1) destinationChoices.push_back(code);
  }
  destination = e.DestinationCode;

  fixedFlag = e.FixedFlag;
  orderQty = std::to_string(e.OrderQty);
  planQty = std::to_string(e.PlanQty);
  receivedQty = std::to_string(e.ReceivedQty);
  lastResultDate = FormatOptionalSlashDate(e.LastResultDate);
  packQty = std::to_string(e.PackQty);
  cavities = std::to_string(e.Cavities);
  ShowPacks(e);
  pieceWeight = std::to_string(e.PieceWeight);
  resultMinutes = std::to_string(e.ResultMinutes);
  workers = std::to_string(e.Workers);
  moldCycle = ShortestText(e.MoldCycle);
  setupMinutes = std::to_string(e.SetupMinutes);
  cycleSeconds = ShortestText(e.CycleSeconds);
  totalMinutes = std::to_string(e.DurationMinutes);
  UpdateWorkingMinutes();

  ShowMembers(e);
  JList = std::move(relations);

  addProcesses.Visible = !(data.CategoryCode == "3" || data.CategoryCode == "30");
  Focus = "startDate";

  if (!gestureOpen_) {
    ctx_.history.Begin(ctx_.data);
    gestureOpen_ = true;
  }
  relaid_.assign(1, p);
  shown_.clear();
  NoteShownSince({});
}

std::optional<PlanIdx> PlanWindow::Entry() const {
  const double key = Val(orderNo);
  const PlanData& data = ctx_.data;
  for (std::int32_t i = 1; i <= data.PlanCount(); ++i) {
    if (data.PlanTable[static_cast<std::size_t>(i)].OrderNo == key) return PlanIdx{i};
  }
  return std::nullopt;
}

std::optional<PlanIdx> PlanWindow::LastEntry() const {
  return LastEntryWithNumber(ctx_.data, Val(orderNo));
}

void PlanWindow::ShowMembers(const PlanEntry& e) {
  NList = MemberLines(e.A);
  GList = MemberLines(e.B);
  NListSelected.clear();
  GListSelected.clear();
  changePlan.Enabled = PlanChangeAvailable(e);
}

void PlanWindow::ShowQuantity(const PlanEntry& e) {
  orderQty = std::to_string(e.OrderQty);
  ShowPacks(e);
  NoteShown("orderQty");
}

void PlanWindow::ShowPacks(const PlanEntry& e) {
  const Packs packs = PacksOf(e.OrderQty, e.PackQty);
  remainder = std::to_string(packs.remainder);
  boxCount = std::to_string(packs.boxes);
}

void PlanWindow::ShowLot(const PlanEntry& e) {
  ShowQuantity(e);
  orderNo = std::to_string(e.OrderNo);
  fixedFlag = e.FixedFlag;
  packQty = std::to_string(e.PackQty);
  cavities = std::to_string(e.Cavities);
  pieceWeight = std::to_string(e.PieceWeight);
  resultMinutes = std::to_string(e.ResultMinutes);
  workers = std::to_string(e.Workers);
  moldCycle = ShortestText(e.MoldCycle);
  NoteShown("fixedFlag");
  NoteShown("workers");
}

bool PlanWindow::SelectsAllOnFocus(std::string_view control) {
  static constexpr std::array<std::string_view, 18> kSelecting{
      "startTime",   "modelName",      "orderQty", "machine",      "endTime",
      "startDate",   "endDate",        "process",  "itemCode",     "initialDueDate",
      "destination", "setupMinutes",   "orderNo",  "cycleSeconds", "totalMinutes",
      "fixedFlag",   "workingMinutes", "workers"};
  for (std::string_view name : kSelecting) {
    if (name == control) return true;
  }
  return false;
}

int PlanWindow::TabIndex(std::string_view control) {
  const Field* f = FieldNamed(control);
  return f == nullptr ? -1 : f->tabIndex;
}

void PlanWindow::SetFocus(std::string_view control) {
  if (Focus == control) return;
  const bool leavingItemCode = Focus == "itemCode";
  Focus = std::string(control);
  if (leavingItemCode) ItemCodeLeft();
}

void PlanWindow::MoveToNextField() {
  const Field* current = FieldNamed(Focus);
  int t = (current != nullptr && current->tabIndex >= 0 ? current->tabIndex : -1) + 1;
  if (t > kLastTabIndex) t = 0;
  // Every tab index is tried once; a window where none qualifies keeps its focus.
  for (int tries = 0; tries <= kLastTabIndex; ++tries) {
    for (const Field& f : kFields) {
      if (f.tabIndex == t) {
        SetFocus(f.name);
        return;
      }
    }
    if (++t > kLastTabIndex) t = 0;
  }
}

std::string* PlanWindow::TextOf(std::string_view control) {
  const Field* f = FieldNamed(control);
  return f == nullptr ? nullptr : &(this->*(f->text));
}

Button* PlanWindow::ButtonOf(std::string_view control) {
  if (control == "finish") return &finish;
  if (control == "splitProcesses") return &splitProcesses;
  if (control == "splitLot") return &splitLot;
  if (control == "addProcesses") return &addProcesses;
  if (control == "showProcesses") return &showProcesses;
  if (control == "changePlan") return &changePlan;
  if (control == "hide") return &hide;
  return nullptr;
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
  const std::vector<std::string> before = ValueTexts();
  if (control == "finish") {
    Finish();
  } else if (control == "hide") {
    Hide();
  } else if (control == "showProcesses") {
    if (auto dialog = OpenShowPlan(ctx_, *this); dialog && ShowDialog) ShowDialog(dialog);
  } else {
    // A restructuring computes from the fields: each must hold what the lot can take.
    if (!ConfirmAll()) return;
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
  NoteShownSince(before);
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
  for (const Field& f : kFields) out.emplace_back(f.name, this->*(f.text));
  AppendList(out, "machine", machineChoices);
  AppendList(out, "destination", destinationChoices);
  AppendList(out, "NList", NList);
  AppendList(out, "GList", GList);
  AppendList(out, "JList", JList);
  const std::pair<const char*, const Button*> buttons[] = {{"finish", &finish},
                                                           {"splitProcesses", &splitProcesses},
                                                           {"splitLot", &splitLot},
                                                           {"addProcesses", &addProcesses},
                                                           {"showProcesses", &showProcesses},
                                                           {"changePlan", &changePlan},
                                                           {"hide", &hide}};
  for (const auto& [name, b] : buttons) {
    out.emplace_back(
        name, b->Caption + (b->Visible ? "" : " (非表示)") + (b->Enabled ? "" : " (使用不可)"));
  }
  return out;
}

ControlState PlanWindow::State(std::string_view control) const {
  ControlState state;
  if (const Field* f = FieldNamed(control)) state.Text = this->*(f->text);
  if (control == "machine" || control == "destination") {
    state.Lines = control == "machine" ? machineChoices : destinationChoices;
  } else if (control == "NList" || control == "GList") {
    state.Lines = control == "NList" ? NList : GList;
    state.Selected = control == "NList" ? NListSelected : GListSelected;
  } else if (control == "JList") {
    state.Lines = JList;
  }
  const std::pair<const char*, const Button*> buttons[] = {{"finish", &finish},
                                                           {"splitProcesses", &splitProcesses},
                                                           {"splitLot", &splitLot},
                                                           {"addProcesses", &addProcesses},
                                                           {"showProcesses", &showProcesses},
                                                           {"changePlan", &changePlan},
                                                           {"hide", &hide}};
  for (const auto& [name, b] : buttons) {
    if (control != name) continue;
    state.Text = b->Caption;
    state.Visible = b->Visible;
    state.Enabled = b->Enabled;
  }
  return state;
}

std::span<const ControlAlias> PlanWindow::Aliases() const {
  return kAliases;
}

}  // namespace velmora::lotdetail
