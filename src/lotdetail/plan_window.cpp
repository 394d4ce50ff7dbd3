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
    {"Text7", &PlanWindow::Text7, 0},    {"Text1", &PlanWindow::Text1, 1},
    {"Text8", &PlanWindow::Text8, 2},    {"Text6", &PlanWindow::Text6, 3},
    {"Text5", &PlanWindow::Text5, 4},    {"Text12", &PlanWindow::Text12, 5},
    {"Text3", &PlanWindow::Text3, 6},    {"Text13", &PlanWindow::Text13, 7},
    {"Text15", &PlanWindow::Text15, 8},  {"Text16", &PlanWindow::Text16, 9},
    {"Text19", &PlanWindow::Text19, 10}, {"Text18", &PlanWindow::Text18, 11},
    {"Text40", &PlanWindow::Text40, 12}, {"Text11", &PlanWindow::Text11, 13},
    {"Text10", &PlanWindow::Text10, 14}, {"Text2", &PlanWindow::Text2, 15},
    {"Text14", &PlanWindow::Text14, -1}, {"Text4", &PlanWindow::Text4, -1},
    {"Text9", &PlanWindow::Text9, -1},   {"Text23", &PlanWindow::Text23, -1},
    {"Text29", &PlanWindow::Text29, -1}, {"Text17", &PlanWindow::Text17, -1},
    {"Text20", &PlanWindow::Text20, -1}, {"Text21", &PlanWindow::Text21, -1},
    {"Text22", &PlanWindow::Text22, -1}, {"Text25", &PlanWindow::Text25, -1},
    {"Text28", &PlanWindow::Text28, -1}, {"Text27", &PlanWindow::Text27, -1},
    {"Text26", &PlanWindow::Text26, -1}, {"Text42", &PlanWindow::Text42, -1},
    {"Text24", &PlanWindow::Text24, -1},
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
  Text14 = std::to_string(e.OrderNo);
  Text4 = e.PlanNoText;
  Text10 = e.PlanItemCode;
  Text2 = e.ModelName;
  Text9 = e.ProcessName;
  Text23 = std::to_string(e.Seq);
  Text29 = e.MoldNo;
  Text7 = FormatSlashDate(e.StartDate);
  Text1 = FormatColonTime(e.StartTime);
  Text8 = FormatSlashDate(e.EndDate);
  Text6 = FormatColonTime(e.EndTime);
  Text11 = FormatOptionalSlashDate(e.InitialDueDate);

  Text5List.clear();
  for (int r = 1; r <= data.MachineRowCount; ++r) {
    Text5List.push_back(data.RowCode[static_cast<std::size_t>(r)]);
  }
  Text5 = e.MachineCode;
  Text12List.clear();
  for (int r = data.MachineRowCount + 1; r <= data.RowCount; ++r) {
    const std::string& code = data.RowCode[static_cast<std::size_t>(r)];
    if (CharCount(code) > 1) Text12List.push_back(code);
  }
  Text12 = e.DestinationCode;

  Text18 = e.FixedFlag;
  Text3 = std::to_string(e.OrderQty);
  Text17 = std::to_string(e.PlanQty);
  Text20 = std::to_string(e.ReceivedQty);
  Text21 = FormatOptionalSlashDate(e.LastResultDate);
  Text22 = std::to_string(e.PackQty);
  Text25 = std::to_string(e.Cavities);
  ShowPacks(e);
  Text26 = std::to_string(e.PieceWeight);
  Text42 = std::to_string(e.ResultMinutes);
  Text40 = std::to_string(e.Workers);
  Text24 = ShortestText(e.MoldCycle);
  Text13 = std::to_string(e.SetupMinutes);
  Text15 = ShortestText(e.CycleSeconds);
  Text16 = std::to_string(e.DurationMinutes);
  UpdateWorkingMinutes();

  ShowMembers(e);
  JList = std::move(relations);

  Command4.Visible = !(data.CategoryCode == "3" || data.CategoryCode == "30");
  Focus = "Text7";

  if (!gestureOpen_) {
    ctx_.history.Begin(ctx_.data);
    gestureOpen_ = true;
  }
  relaid_.assign(1, p);
  shown_.clear();
  NoteShownSince({});
}

std::optional<PlanIdx> PlanWindow::Entry() const {
  const double key = Val(Text14);
  const PlanData& data = ctx_.data;
  for (std::int32_t i = 1; i <= data.PlanCount(); ++i) {
    if (data.PlanTable[static_cast<std::size_t>(i)].OrderNo == key) return PlanIdx{i};
  }
  return std::nullopt;
}

std::optional<PlanIdx> PlanWindow::LastEntry() const {
  return LastEntryWithNumber(ctx_.data, Val(Text14));
}

void PlanWindow::ShowMembers(const PlanEntry& e) {
  NList = MemberLines(e.A);
  GList = MemberLines(e.B);
  NListSelected.clear();
  GListSelected.clear();
  Command6.Enabled = PlanChangeAvailable(e);
}

void PlanWindow::ShowQuantity(const PlanEntry& e) {
  Text3 = std::to_string(e.OrderQty);
  ShowPacks(e);
  NoteShown("Text3");
}

void PlanWindow::ShowPacks(const PlanEntry& e) {
  const Packs packs = PacksOf(e.OrderQty, e.PackQty);
  Text28 = std::to_string(packs.remainder);
  Text27 = std::to_string(packs.boxes);
}

void PlanWindow::ShowLot(const PlanEntry& e) {
  ShowQuantity(e);
  Text14 = std::to_string(e.OrderNo);
  Text18 = e.FixedFlag;
  Text22 = std::to_string(e.PackQty);
  Text25 = std::to_string(e.Cavities);
  Text26 = std::to_string(e.PieceWeight);
  Text42 = std::to_string(e.ResultMinutes);
  Text40 = std::to_string(e.Workers);
  Text24 = ShortestText(e.MoldCycle);
  NoteShown("Text18");
  NoteShown("Text40");
}

bool PlanWindow::SelectsAllOnFocus(std::string_view control) {
  static constexpr std::array<std::string_view, 18> kSelecting{
      "Text1",  "Text2",  "Text3",  "Text5",  "Text6",  "Text7",  "Text8",  "Text9",  "Text10",
      "Text11", "Text12", "Text13", "Text14", "Text15", "Text16", "Text18", "Text19", "Text40"};
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
  const bool leavingItemCode = Focus == "Text10";
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
  if (control == "Command1") return &Command1;
  if (control == "Command2") return &Command2;
  if (control == "Command3") return &Command3;
  if (control == "Command4") return &Command4;
  if (control == "Command5") return &Command5;
  if (control == "Command6") return &Command6;
  if (control == "Command7") return &Command7;
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
  if (control == "Label4") return;  // selects Text4's text; nothing else
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
  if (control == "Command1") {
    Command1_Click();
  } else if (control == "Command7") {
    Command7_Click();
  } else if (control == "Command5") {
    if (auto dialog = OpenShowPlan(ctx_, *this); dialog && ShowDialog) ShowDialog(dialog);
  } else {
    // A restructuring computes from the fields: each must hold what the lot can take.
    if (!ConfirmAll()) return;
    if (control == "Command2") {
      SplitProcesses(ctx_, *this);
    } else {
      std::shared_ptr<DialogModel> dialog;
      if (control == "Command3") dialog = OpenBunWindow(ctx_, *this);
      if (control == "Command4") dialog = OpenAddPlan(ctx_, *this);
      if (control == "Command6") dialog = OpenPlanChange(ctx_, *this);
      if (dialog && ShowDialog) ShowDialog(std::move(dialog));
    }
  }
  NoteShownSince(before);
}

void PlanWindow::Select(std::string_view control, const std::vector<int>& lines) {
  const std::vector<std::string>* list = control == "Text5"    ? &Text5List
                                         : control == "Text12" ? &Text12List
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
  AppendList(out, "Text5", Text5List);
  AppendList(out, "Text12", Text12List);
  AppendList(out, "NList", NList);
  AppendList(out, "GList", GList);
  AppendList(out, "JList", JList);
  const std::pair<const char*, const Button*> buttons[] = {
      {"Command1", &Command1}, {"Command2", &Command2}, {"Command3", &Command3},
      {"Command4", &Command4}, {"Command5", &Command5}, {"Command6", &Command6},
      {"Command7", &Command7}};
  for (const auto& [name, b] : buttons) {
    out.emplace_back(
        name, b->Caption + (b->Visible ? "" : " (非表示)") + (b->Enabled ? "" : " (使用不可)"));
  }
  return out;
}

ControlState PlanWindow::State(std::string_view control) const {
  ControlState state;
  if (const Field* f = FieldNamed(control)) state.Text = this->*(f->text);
  if (control == "Text5" || control == "Text12") {
    state.Lines = control == "Text5" ? Text5List : Text12List;
  } else if (control == "NList" || control == "GList") {
    state.Lines = control == "NList" ? NList : GList;
    state.Selected = control == "NList" ? NListSelected : GListSelected;
  } else if (control == "JList") {
    state.Lines = JList;
  }
  const std::pair<const char*, const Button*> buttons[] = {
      {"Command1", &Command1}, {"Command2", &Command2}, {"Command3", &Command3},
      {"Command4", &Command4}, {"Command5", &Command5}, {"Command6", &Command6},
      {"Command7", &Command7}};
  for (const auto& [name, b] : buttons) {
    if (control != name) continue;
    state.Text = b->Caption;
    state.Visible = b->Visible;
    state.Enabled = b->Enabled;
  }
  return state;
}

}  // namespace velmora::lotdetail
