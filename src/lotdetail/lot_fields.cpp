#include "lotdetail/lot_fields.h"

#include <array>
#include <cmath>

#include "common/date_text.h"
#include "common/format.h"
#include "common/numeric.h"
#include "common/text.h"

namespace velmora::lotdetail {
namespace {

// A text box or drop-down with its tab index; -1 when it takes no tab stop.
struct Field {
  const char* name;
  std::string LotFields::*text;
  int tabIndex;
};

// The tab order follows the order a scheduler corrects a lot in: dates, then where it runs, then
// how much and how long, then the flags. Item code and model name are corrected rarely and only
// by clicking into them; the display-only boxes take no tab stop.
const std::array<Field, 31> kFields{{
    {"startDate", &LotFields::startDate, 0},
    {"startTime", &LotFields::startTime, 1},
    {"endDate", &LotFields::endDate, 2},
    {"endTime", &LotFields::endTime, 3},
    {"machine", &LotFields::machine, 4},
    {"destination", &LotFields::destination, 5},
    {"orderQty", &LotFields::orderQty, 6},
    {"setupMinutes", &LotFields::setupMinutes, 7},
    {"cycleSeconds", &LotFields::cycleSeconds, 8},
    {"totalMinutes", &LotFields::totalMinutes, 9},
    {"workingMinutes", &LotFields::workingMinutes, 10},
    {"fixedFlag", &LotFields::fixedFlag, 11},
    {"workers", &LotFields::workers, 12},
    {"initialDueDate", &LotFields::initialDueDate, 13},
    {"itemCode", &LotFields::itemCode, 14},
    {"modelName", &LotFields::modelName, 15},
    {"orderNo", &LotFields::orderNo, -1},
    {"planNo", &LotFields::planNo, -1},
    {"process", &LotFields::process, -1},
    {"processSeq", &LotFields::processSeq, -1},
    {"moldNo", &LotFields::moldNo, -1},
    {"planQty", &LotFields::planQty, -1},
    {"receivedQty", &LotFields::receivedQty, -1},
    {"lastResultDate", &LotFields::lastResultDate, -1},
    {"packQty", &LotFields::packQty, -1},
    {"cavities", &LotFields::cavities, -1},
    {"remainder", &LotFields::remainder, -1},
    {"boxCount", &LotFields::boxCount, -1},
    {"pieceWeight", &LotFields::pieceWeight, -1},
    {"resultMinutes", &LotFields::resultMinutes, -1},
    {"moldCycle", &LotFields::moldCycle, -1},
}};

constexpr int kLastTabIndex = 13;

constexpr std::pair<const char*, Button LotFields::*> kButtons[] = {
    {"finish", &LotFields::finish},
    {"splitProcesses", &LotFields::splitProcesses},
    {"splitLot", &LotFields::splitLot},
    {"addProcesses", &LotFields::addProcesses},
    {"showProcesses", &LotFields::showProcesses},
    {"changePlan", &LotFields::changePlan},
    {"hide", &LotFields::hide},
};

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

void LotFields::ShowEntry(const PlanData& data, const PlanEntry& e) {
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
  orderQty = std::to_string(e.OrderQty);
  planQty = std::to_string(e.PlanQty);
  receivedQty = std::to_string(e.ReceivedQty);
  lastResultDate = FormatOptionalSlashDate(e.LastResultDate);
  ShowPacks(e);
  ShowLotValues(e);
  setupMinutes = std::to_string(e.SetupMinutes);
  cycleSeconds = ShortestText(e.CycleSeconds);
  totalMinutes = std::to_string(e.DurationMinutes);
  workingMinutes = NumberText(Val(totalMinutes) - Val(setupMinutes));
  ShowMembers(e);
  addProcesses.Visible = !(data.CategoryCode == "3" || data.CategoryCode == "30");
  Focus = "startDate";
}

void LotFields::ShowMembers(const PlanEntry& e) {
  NList = MemberLines(e.A);
  GList = MemberLines(e.B);
  NListSelected.clear();
  GListSelected.clear();
  changePlan.Enabled = PlanChangeAvailable(e);
}

void LotFields::ShowPacks(const PlanEntry& e) {
  const Packs packs = PacksOf(e.OrderQty, e.PackQty);
  remainder = std::to_string(packs.remainder);
  boxCount = std::to_string(packs.boxes);
}

void LotFields::ShowLotValues(const PlanEntry& e) {
  orderNo = std::to_string(e.OrderNo);
  fixedFlag = e.FixedFlag;
  packQty = std::to_string(e.PackQty);
  cavities = std::to_string(e.Cavities);
  pieceWeight = std::to_string(e.PieceWeight);
  resultMinutes = std::to_string(e.ResultMinutes);
  workers = std::to_string(e.Workers);
  moldCycle = ShortestText(e.MoldCycle);
}

std::string* LotFields::TextOf(std::string_view control) {
  const Field* f = FieldNamed(control);
  return f == nullptr ? nullptr : &(this->*(f->text));
}

const std::string* LotFields::TextOf(std::string_view control) const {
  const Field* f = FieldNamed(control);
  return f == nullptr ? nullptr : &(this->*(f->text));
}

Button* LotFields::ButtonOf(std::string_view control) {
  for (const auto& [name, button] : kButtons) {
    if (control == name) return &(this->*button);
  }
  return nullptr;
}

std::vector<std::pair<std::string, std::string>> LotFields::Listing() const {
  std::vector<std::pair<std::string, std::string>> out;
  for (const Field& f : kFields) out.emplace_back(f.name, this->*(f.text));
  AppendList(out, "machine", machineChoices);
  AppendList(out, "destination", destinationChoices);
  AppendList(out, "NList", NList);
  AppendList(out, "GList", GList);
  AppendList(out, "JList", JList);
  for (const auto& [name, button] : kButtons) {
    const Button& b = this->*button;
    out.emplace_back(name,
                     b.Caption + (b.Visible ? "" : " (非表示)") + (b.Enabled ? "" : " (使用不可)"));
  }
  return out;
}

ControlState LotFields::StateOf(std::string_view control) const {
  ControlState state;
  if (const std::string* text = TextOf(control)) state.Text = *text;
  if (control == "machine" || control == "destination") {
    state.Lines = control == "machine" ? machineChoices : destinationChoices;
  } else if (control == "NList" || control == "GList") {
    state.Lines = control == "NList" ? NList : GList;
    state.Selected = control == "NList" ? NListSelected : GListSelected;
  } else if (control == "JList") {
    state.Lines = JList;
  }
  for (const auto& [name, button] : kButtons) {
    if (control != name) continue;
    const Button& b = this->*button;
    state.Text = b.Caption;
    state.Visible = b.Visible;
    state.Enabled = b.Enabled;
  }
  return state;
}

bool LotFields::SelectsAllOnFocus(std::string_view control) {
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

int LotFields::TabIndex(std::string_view control) {
  const Field* f = FieldNamed(control);
  return f == nullptr ? -1 : f->tabIndex;
}

std::string LotFields::NextInTabOrder(std::string_view control) {
  const Field* current = FieldNamed(control);
  int t = (current != nullptr && current->tabIndex >= 0 ? current->tabIndex : -1) + 1;
  if (t > kLastTabIndex) t = 0;
  // Every tab index is tried once.
  for (int tries = 0; tries <= kLastTabIndex; ++tries) {
    for (const Field& f : kFields) {
      if (f.tabIndex == t) return f.name;
    }
    if (++t > kLastTabIndex) t = 0;
  }
  return "";
}

}  // namespace velmora::lotdetail
