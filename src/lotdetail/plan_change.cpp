#include "lotdetail/plan_change.h"

#include <algorithm>
#include <cmath>

#include "common/date_text.h"
#include "common/format.h"
#include "common/normalize_date.h"
#include "common/numeric.h"
#include "common/questions.h"
#include "common/text.h"
#include "lotdetail/new_entry.h"
#include "lotdetail/plan_window.h"

namespace velmora::lotdetail {
namespace {

// The original form's control names, which scripts written for it still use.
constexpr ControlAlias kAliases[] = {
    {"Text", 1, "memberNo"},       {"Text", 5, "machine"},  {"TextDate", -1, "shareDate"},
    {"TextSuryo", -1, "shareQty"}, {"Command", 1, "split"},
};

constexpr std::size_t kModelWidth = 40;
constexpr std::size_t kParentWidth = 25;
constexpr std::size_t kParentCodeLength = 13;
constexpr std::size_t kNumberWidth = 10;
constexpr std::int64_t kLargestShare = 9999999999;  // what the quantity field can show

// `length` characters from 1-based position (line length - back): the fields are placed from
// the end of the line, so a model name of any length leaves them where they are.
std::string FromEnd(std::string_view line, std::size_t back, std::size_t length) {
  const std::size_t total = CharCount(line);
  if (total <= back) return "";
  return Mid(line, total - back, length);
}

bool IsNoMachine(std::string_view machine) {
  return machine == kNoMachineShown;
}

}  // namespace

std::string ZLine::Make(std::string_view modelName, std::string_view stock,
                        std::string_view parentCode) {
  return PadRight(modelName, kModelWidth) + AlignRight(stock, kNumberWidth) + "/" +
         AlignRight("0", kNumberWidth) + " " + kNoDate + " " + kNoMachineShown + "  " +
         PadRight(parentCode, kParentWidth);
}

std::int64_t ZLine::Quantity(std::string_view line) {
  return static_cast<std::int64_t>(Val(FromEnd(line, 51, kNumberWidth)));
}

std::string ZLine::Date(std::string_view line) {
  return FromEnd(line, 40, 5);
}

std::string ZLine::Machine(std::string_view line) {
  return FromEnd(line, 34, 8);
}

std::string ZLine::ParentCode(std::string_view line) {
  return FromEnd(line, 24, kParentCodeLength);
}

std::string ZLine::ModelName(std::string_view line) {
  return Left(line, kModelWidth);
}

std::string ZLine::WithShare(std::string_view line, std::int64_t quantity, std::string_view date,
                             std::string_view machine) {
  const std::size_t total = CharCount(line);
  return Left(line, total - 52) + AlignRight(std::to_string(quantity), kNumberWidth) + " " +
         std::string(date) + " " + PadRight(machine, 8) + Right(line, 27);
}

PlanChange::PlanChange(editing::EditContext& ctx, PlanWindow& window)
    : ctx_(ctx), window_(window) {}

void PlanChange::AddParent(std::string_view modelName, std::string_view stock,
                           std::string_view parentCode) {
  ZList.push_back(ZLine::Make(modelName, stock, parentCode));
  dates_.emplace_back();
}

void PlanChange::ZList_Click(int line) {
  ZListIndex = line;
  const std::size_t i = static_cast<std::size_t>(line);
  shareQty = std::to_string(ZLine::Quantity(ZList[i]));
  shareDate = dates_[i] ? FormatSlashDate(*dates_[i]) : "";
  Focus = "ZList";
}

void PlanChange::ShareDateEntered() {
  shareDate = NormalizeDateText(shareDate, window_.Today());
  if (ParseDateText(shareDate)) {
    Focus = "machine";
  } else {
    ctx_.questions.Tell({kTypeDateCorrectly});
  }
}

bool PlanChange::MachineSelected() const {
  return std::find(machineChoices.begin(), machineChoices.end(), machine) != machineChoices.end();
}

void PlanChange::MachineEntered() {
  if (!MachineSelected() || !ZListIndex) return;
  const double typed = Val(shareQty);
  const std::optional<DateTime> date = ParseDateText(shareDate);
  if (typed > 0 && !date && !shareDate.empty()) {
    ctx_.questions.Tell({kTypeCorrectDate});
    Focus = "shareDate";
    return;
  }
  // A share is a whole number of pieces; a negative one would let the others exceed the plan.
  if (!(typed >= 0 && typed <= static_cast<double>(kLargestShare)) || typed != std::trunc(typed)) {
    ctx_.questions.Tell({kBadShare});
    Focus = "shareQty";
    return;
  }
  const auto quantity = static_cast<std::int64_t>(typed);
  const std::size_t i = static_cast<std::size_t>(*ZListIndex);
  if (quantity > 0) {
    dates_[i] = date;
    ZList[i] = ZLine::WithShare(ZList[i], quantity, date ? FormatDateTime(*date, "mm/dd") : kNoDate,
                                machine);
  } else {
    dates_[i].reset();
    ZList[i] = ZLine::WithShare(ZList[i], 0, kNoDate, kNoMachineShown);
  }
  shareQty.clear();
  machine.clear();
  Focus = "ZList";
}

const char* PlanChange::Refusal(const PlanEntry& e) {
  std::int64_t sum = 0;
  for (const std::string& line : ZList) sum += ZLine::Quantity(line);
  shareQty = std::to_string(sum);
  if (sum > e.OrderQty) return kSharesOverQuantity;
  // Walk the shares as they will be applied: a share equal to what the first member still
  // holds re-labels the plan, which only one share may do.
  std::int64_t a = e.A[std::max(1, e.A.SlotOfLine(0))].OrderQty;
  std::int64_t b = e.B[std::max(1, e.B.SlotOfLine(0))].OrderQty;
  int whole = 0;
  for (const std::string& line : ZList) {
    const std::int64_t q = ZLine::Quantity(line);
    if (q <= 0) continue;
    if (q == a || q == b) {
      ++whole;
      continue;
    }
    if (a != 0) a -= q;
    if (b != 0) b -= q;
  }
  return whole > 1 ? kOneWholeShare : nullptr;
}

void PlanChange::SplitPlan() {
  const auto found = window_.LastEntry();
  if (!found) {
    closed_ = true;
    return;
  }
  if (const char* refusal = Refusal(ctx_.data.Plan(*found))) {
    ctx_.questions.Tell({refusal});
    return;
  }
  // Shares start from the plan's start and end, so those must be moments.
  if (!window_.TypedStart()) {
    ctx_.questions.Tell({kEnterADate});
    return;
  }
  for (std::size_t line = 0; line < ZList.size(); ++line) {
    const std::int64_t q = ZLine::Quantity(ZList[line]);
    if (q <= 0) continue;
    ZListIndex = static_cast<int>(line);
    shareQty = std::to_string(q);
    shareDate = dates_[line] ? FormatSlashDate(*dates_[line]) : "";
    machine = ZLine::Machine(ZList[line]);
    const PlanEntry& e = ctx_.data.Plan(*found);
    const Member& a = e.A[std::max(1, e.A.SlotOfLine(0))];
    const Member& b = e.B[std::max(1, e.B.SlotOfLine(0))];
    if (q == a.OrderQty || q == b.OrderQty) {
      Relabel(*found, line);
    } else {
      SplitOff(*found, line);
    }
  }
  window_.ShowMembers(ctx_.data.Plan(*found));
  closed_ = true;
}

void PlanChange::Relabel(PlanIdx found, std::size_t line) {
  PlanEntry& e = ctx_.Edit(found);
  const std::string& text = ZList[line];
  // A share without a machine or a date keeps the plan's own.
  if (const std::string machine = ZLine::Machine(text); !IsNoMachine(machine)) {
    e.MachineCode = machine;
  }
  e.DestinationCode.clear();
  window_.machine = e.MachineCode;
  if (dates_[line]) {
    window_.startDate = FormatSlashDate(*dates_[line]);
    window_.NoteShown("startDate");
  }
  window_.EndFromStart(found);
  // The stored codes are padded as the parent's code was read; a cut code would match no row.
  const std::string parent = PadRight(FromEnd(text, 24, kParentWidth), kParentWidth);
  const std::string model = ZLine::ModelName(text);
  for (MemberGroup* group : {&e.A, &e.B}) {
    for (int k = 1; k <= 2; ++k) {
      if ((*group)[k].ItemCode.empty()) continue;
      group->Slot(k).ItemCode = parent;
      group->Slot(k).ModelName = model;
    }
  }
  e.PlanItemCode = parent;
  e.ModelName = model;
  ctx_.MarkChanged(e);
  window_.destination = e.DestinationCode;
  window_.machine = e.MachineCode;
  window_.itemCode = e.PlanItemCode;
  window_.modelName = e.ModelName;
}

void PlanChange::SplitOff(PlanIdx found, std::size_t line) {
  const auto added = AddEntryCopy(ctx_, found);
  if (!added) return;
  PlanData& data = ctx_.data;
  PlanEntry& n = data.Plan(*added);
  PlanEntry& e = ctx_.Edit(found);
  const std::string& text = ZList[line];
  const auto q = static_cast<std::int32_t>(ZLine::Quantity(text));
  const std::string parent = PadRight(FromEnd(text, 24, kParentWidth), kParentWidth);
  const std::string model = ZLine::ModelName(text);
  for (auto [from, into] : {std::pair{&e.A, &n.A}, std::pair{&e.B, &n.B}}) {
    for (int k = 1; k <= MemberGroup::kSlots; ++k) {
      if ((*from)[k].OrderNo == 0) continue;
      Member& source = from->Slot(k);
      Member& added = into->Slot(k);
      added.ModelName = model;
      added.ItemCode = parent;
      added.ProcessName = source.ProcessName;
      added.Seq = source.Seq;
      added.OrderQty = q;
      added.ReceivedQty = 0;
      added.SourceOrderNo = source.SourceOrderNo != 0 ? source.SourceOrderNo : source.OrderNo;
      added.OrderNo = NextTempOrderNo(data);
      source.OrderQty -= q;
    }
  }
  n.OrderNo = FirstMemberNo(n);
  n.PlanItemCode = parent;
  n.ModelName = model;
  n.OrderQty = q;
  n.ReceivedQty = 0;
  e.OrderQty -= q;
  window_.ShowQuantity(e);
  ctx_.MarkChanged(e);
  ctx_.MarkChanged(n);
  if (const std::string machine = ZLine::Machine(text); !IsNoMachine(machine)) {
    n.MachineCode = machine;
  }
  n.DestinationCode.clear();

  const std::optional<DateTime> end = window_.RecomputeFromQuantity(found);
  const DateTime from = end ? *end : e.End();
  // Without a date of its own the share follows the shortened plan.
  n.StartDate = dates_[line] ? *dates_[line] : from.DatePart();
  n.StartTime = from.TimePart();
  ScheduleNewEntry(ctx_, *added);
}

void PlanChange::Type(std::string_view control, std::string text) {
  std::string* box = control == "shareQty"    ? &shareQty
                     : control == "shareDate" ? &shareDate
                     : control == "machine"   ? &machine
                                              : nullptr;
  if (box == nullptr) {
    if (control == "memberNo" || control == "ZList" || control == "MList" || control == "KList") {
      Unsupported(control);
    }
    Unknown(control);
  }
  Focus = std::string(control);
  *box = std::move(text);
}

void PlanChange::Enter(std::string_view control) {
  Focus = std::string(control);
  if (control == "shareQty") {
    ShareQtyEntered();
  } else if (control == "shareDate") {
    ShareDateEntered();
  } else if (control == "machine") {
    MachineEntered();
  } else {
    Click(control);
  }
}

void PlanChange::Click(std::string_view control) {
  if (control == "split") {
    SplitPlan();
  } else if (control == "ZList" || control == "MList" || control == "KList" ||
             control == "memberNo") {
    Unsupported(control);
  } else if (control != "shareQty" && control != "shareDate" && control != "machine") {
    Unknown(control);
  }
}

void PlanChange::Select(std::string_view control, const std::vector<int>& lines) {
  const std::vector<std::string>* list = control == "ZList"     ? &ZList
                                         : control == "machine" ? &machineChoices
                                                                : nullptr;
  if (list == nullptr) {
    // The reference lists are shown disabled.
    if (control == "MList" || control == "KList") {
      throw ControlError(std::string(control) + " は使用できません");
    }
    Unsupported(control);
  }
  if (lines.size() != 1 || lines[0] < 0 || static_cast<std::size_t>(lines[0]) >= list->size()) {
    Unsupported(control);
  }
  if (control == "ZList") {
    ZList_Click(lines[0]);
  } else {
    machine = machineChoices[static_cast<std::size_t>(lines[0])];
    Focus = "machine";
  }
}

ControlState PlanChange::State(std::string_view control) const {
  ControlState state;
  const auto list = [&state](const std::vector<std::string>& lines, std::optional<int> line) {
    state.Lines = lines;
    if (line) state.Selected = {*line};
  };
  if (control == "ZList") list(ZList, ZListIndex);
  if (control == "MList") list(MList, MListIndex);
  if (control == "KList") list(KList, KListIndex);
  state.Enabled = control != "MList" && control != "KList";
  if (control == "memberNo") state.Text = memberNo;
  if (control == "shareQty") state.Text = shareQty;
  if (control == "shareDate") state.Text = shareDate;
  if (control == "machine") {
    state.Text = machine;
    state.Lines = machineChoices;
  }
  return state;
}

std::vector<std::pair<std::string, std::string>> PlanChange::Show() const {
  std::vector<std::pair<std::string, std::string>> out;
  out.emplace_back("Caption", kPlanChangeCaption);
  out.emplace_back("memberNo", memberNo);
  const auto list = [&out](const char* name, const std::vector<std::string>& lines,
                           std::optional<int> selected) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
      const bool chosen = selected && static_cast<std::size_t>(*selected) == i;
      out.emplace_back(std::string(name) + "[" + std::to_string(i) + "]",
                       (chosen ? "* " : "  ") + lines[i]);
    }
  };
  list("ZList", ZList, ZListIndex);
  list("MList", MList, MListIndex);
  list("KList", KList, KListIndex);
  out.emplace_back("shareQty", shareQty);
  out.emplace_back("shareDate", shareDate);
  out.emplace_back("machine", machine);
  out.emplace_back("split", "分割実施");
  return out;
}

std::span<const ControlAlias> PlanChange::Aliases() const {
  return kAliases;
}

}  // namespace velmora::lotdetail
