#include "lotdetail/lot_split.h"

#include "common/numeric.h"
#include "common/questions.h"
#include "common/text.h"
#include "lotdetail/new_entry.h"
#include "lotdetail/plan_window.h"

namespace velmora::lotdetail {
namespace {

// The original form's control names, which scripts written for it still use.
constexpr ControlAlias kAliases[] = {
    {"Text", 1, "memberNo"},    {"Text", 2, "innerTotal"}, {"Text", 3, "outerTotal"},
    {"Text", 14, "splitCount"}, {"Command", 1, "cancel"},  {"Command", 3, "split"},
};

constexpr std::size_t kCountWidth = 6;
constexpr std::int32_t kLargestCount = 999999;  // what the count field can show

std::int32_t Whole(std::string_view text) {
  return static_cast<std::int32_t>(Val(text));
}

std::string WithCount(std::string_view line, std::string_view count) {
  const std::size_t length = CharCount(line);
  return Left(line, length - 13) + AlignRight(count, kCountWidth) + Right(line, 7);
}

// The total of a list: its non-zero counts, a line repeating the number above it once.
std::string Total(const std::vector<std::string>& lines) {
  std::int64_t sum = 0;
  bool any = false;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::int32_t count = LineCount(lines[i]);
    if (count == 0) continue;
    if (i > 0 && LineNumber(lines[i]) == LineNumber(lines[i - 1])) continue;
    sum += count;
    any = true;
  }
  return any ? std::to_string(sum) : "";
}

// A count that differs from its line's remaining quantity and exceeds it.
bool OverQuantity(const std::vector<std::string>& lines) {
  for (const std::string& line : lines) {
    const std::int32_t count = LineCount(line);
    if (count != LineRemaining(line) && count > LineRemaining(line)) return true;
  }
  return false;
}

bool Whole(const std::vector<std::string>& lines) {
  for (const std::string& line : lines) {
    if (LineCount(line) != LineRemaining(line)) return false;
  }
  return true;
}

// Moves the counted pieces of each member of `from` to `into`, the last line first. A member
// taken whole moves with its number; one taken in part leaves a new member in `into`, copied
// from the member's own source when it is new itself.
void SplitGroup(PlanData& data, MemberGroup& from, MemberGroup& into,
                const std::vector<std::string>& lines) {
  for (int line = static_cast<int>(lines.size()) - 1; line >= 0; --line) {
    const std::int32_t c = LineCount(lines[static_cast<std::size_t>(line)]);
    const int k = from.SlotOfLine(line);
    const int i = into.FirstFree();
    if (c == 0 || k == 0 || i == 0) continue;
    Member& source = from.Slot(k);
    Member& added = into.Slot(i);
    added = source;
    added.OrderQty = c;
    source.OrderQty -= c;
    if (source.OrderQty == 0) {
      from.Remove(k);
      continue;
    }
    added.SourceOrderNo = source.SourceOrderNo != 0 ? source.SourceOrderNo : source.OrderNo;
    added.OrderNo = NextTempOrderNo(data);
  }
}

}  // namespace

std::string SplitLine(const Member& m) {
  return PadRight(std::to_string(m.OrderNo), 9) + Trim(m.ProcessName) + " " + Trim(m.ModelName) +
         AlignRight("0", kCountWidth) + "/" +
         PadRight(std::to_string(m.OrderQty - m.ReceivedQty), 6);
}

std::int32_t LineNumber(std::string_view line) {
  return Whole(Left(line, 8));
}

std::int32_t LineCount(std::string_view line) {
  const std::size_t length = CharCount(line);
  return length < 13 ? 0 : Whole(Mid(line, length - 12, kCountWidth));
}

std::int32_t LineRemaining(std::string_view line) {
  return Whole(Right(line, 6));
}

BunWindow::BunWindow(editing::EditContext& ctx, PlanWindow& window) : ctx_(ctx), window_(window) {}

void BunWindow::Fill(const PlanEntry& e) {
  NList.clear();
  GList.clear();
  for (int k = 1; k <= MemberGroup::kSlots; ++k) {
    if (e.A[k].OrderNo != 0) NList.push_back(SplitLine(e.A[k]));
    if (e.B[k].OrderNo != 0) GList.push_back(SplitLine(e.B[k]));
  }
  if (!NList.empty()) List_Click("NList", 0);
}

void BunWindow::List_Click(std::string_view list, int line) {
  const std::vector<std::string>& lines = list == "NList" ? NList : GList;
  (list == "NList" ? NListIndex : GListIndex) = line;
  const std::string& text = lines[static_cast<std::size_t>(line)];
  memberNo = std::to_string(LineNumber(text));
  splitCountEnabled = true;
  splitCount = std::to_string(LineCount(text));
  Focus = "splitCount";
}

void BunWindow::SplitCountEntered() {
  const double typed = Val(splitCount);
  if (!(typed >= 0 && typed <= kLargestCount) || typed != static_cast<std::int32_t>(typed)) {
    ctx_.questions.Tell({kBadCount});
    return;
  }
  const std::string count = std::to_string(static_cast<std::int32_t>(typed));
  const std::int32_t number = Whole(memberNo);
  for (std::vector<std::string>* lines : {&NList, &GList}) {
    for (std::string& line : *lines) {
      if (LineNumber(line) == number) line = WithCount(line, count);
    }
  }
  NListIndex.reset();
  GListIndex.reset();
  memberNo.clear();
  splitCount.clear();
  innerTotal = Total(NList);
  outerTotal = Total(GList);
  splitCountEnabled = false;
  Focus.clear();
}

const char* BunWindow::Refusal() const {
  if (innerTotal.empty() && outerTotal.empty()) return kNoLotChosen;
  if (innerTotal.empty() && !NList.empty()) return kChooseInner;
  if (outerTotal.empty() && !GList.empty()) return kChooseOuter;
  if (!innerTotal.empty() && !outerTotal.empty() && Val(innerTotal) != Val(outerTotal))
    return kRingsDiffer;
  if (OverQuantity(NList)) return kInnerOverQuantity;
  if (OverQuantity(GList)) return kOuterOverQuantity;
  if (Whole(NList) && Whole(GList)) return kWholeLotChosen;
  return nullptr;
}

void BunWindow::SplitLot() {
  if (const char* refusal = Refusal()) {
    ctx_.questions.Tell({refusal});
    return;
  }
  const auto found = window_.LastEntry();
  if (!found) {
    closed_ = true;
    return;
  }
  // The new lot starts where the shortened one ends, so that end must be computable.
  if (!window_.TypedStart()) {
    ctx_.questions.Tell({kEnterADate});
    return;
  }
  // The totals add the counts of different arrangements; more than the lot holds would leave it
  // a negative quantity, and its times a negative duration nothing can store.
  const double total = Val(innerTotal) != 0 ? Val(innerTotal) : Val(outerTotal);
  if (total > ctx_.data.Plan(*found).OrderQty) {
    ctx_.questions.Tell({kSplitOverLot});
    return;
  }
  if (ctx_.questions.Ask({kSplitQuestion, Answer::No, kSplitTitle}) != Answer::Yes) {
    return;
  }
  SplitEntry(*found);
  closed_ = true;
}

void BunWindow::SplitEntry(PlanIdx found) {
  const auto added = AddEntryCopy(ctx_, found);
  if (!added) return;
  PlanData& data = ctx_.data;
  PlanEntry& n = data.Plan(*added);
  PlanEntry& e = ctx_.Edit(found);
  n.A.Clear();
  n.B.Clear();
  if (!innerTotal.empty()) SplitGroup(data, e.A, n.A, NList);
  if (!outerTotal.empty()) SplitGroup(data, e.B, n.B, GList);
  e.OrderNo = FirstMemberNo(e);
  n.OrderNo = FirstMemberNo(n);
  const std::int32_t s = Val(innerTotal) != 0 ? Whole(innerTotal) : Whole(outerTotal);
  n.OrderQty = s;
  n.ReceivedQty = 0;
  e.OrderQty -= s;
  window_.ShowLot(e);
  window_.ShowMembers(e);
  ctx_.MarkChanged(e);
  ctx_.MarkChanged(n);

  const std::optional<DateTime> end = window_.RecomputeFromQuantity(found);
  if (end) {
    n.StartDate = end->DatePart();
    n.StartTime = end->TimePart();
  }
  ScheduleNewEntry(ctx_, *added);
}

void BunWindow::Type(std::string_view control, std::string text) {
  if (control != "splitCount") {
    if (control == "memberNo" || control == "innerTotal" || control == "outerTotal")
      Unsupported(control);
    Unknown(control);
  }
  if (!splitCountEnabled) throw ControlError("splitCount は使用できません");
  Focus = "splitCount";
  splitCount = std::move(text);
}

void BunWindow::Enter(std::string_view control) {
  if (control == "splitCount") {
    if (!splitCountEnabled) throw ControlError("splitCount は使用できません");
    SplitCountEntered();
    return;
  }
  Click(control);
}

void BunWindow::Click(std::string_view control) {
  if (control == "split") {
    SplitLot();
  } else if (control == "cancel") {
    Cancel();
  } else if (control == "NList" || control == "GList" || control == "splitCount") {
    Unsupported(control);  // a list line is clicked with select
  } else {
    Unknown(control);
  }
}

void BunWindow::Select(std::string_view control, const std::vector<int>& lines) {
  if (control != "NList" && control != "GList") Unsupported(control);
  const std::size_t count = (control == "NList" ? NList : GList).size();
  if (lines.size() != 1 || lines[0] < 0 || static_cast<std::size_t>(lines[0]) >= count) {
    Unsupported(control);
  }
  List_Click(control, lines[0]);
}

ControlState BunWindow::State(std::string_view control) const {
  ControlState state;
  if (control == "NList" || control == "GList") {
    state.Lines = control == "NList" ? NList : GList;
    const std::optional<int>& line = control == "NList" ? NListIndex : GListIndex;
    if (line) state.Selected = {*line};
  } else if (control == "splitCount") {
    state.Text = splitCount;
    state.Enabled = splitCountEnabled;
  } else if (control == "memberNo" || control == "innerTotal" || control == "outerTotal") {
    state.Text = control == "memberNo"     ? memberNo
                 : control == "innerTotal" ? innerTotal
                                           : outerTotal;
  }
  return state;
}

std::vector<std::pair<std::string, std::string>> BunWindow::Show() const {
  std::vector<std::pair<std::string, std::string>> out;
  out.emplace_back("Caption", kLotSplitCaption);
  out.emplace_back("memberNo", memberNo);
  out.emplace_back("splitCount", splitCount + (splitCountEnabled ? "" : " (使用不可)"));
  out.emplace_back("innerTotal", innerTotal);
  out.emplace_back("outerTotal", outerTotal);
  for (std::size_t i = 0; i < NList.size(); ++i) {
    out.emplace_back("NList[" + std::to_string(i) + "]", NList[i]);
  }
  for (std::size_t i = 0; i < GList.size(); ++i) {
    out.emplace_back("GList[" + std::to_string(i) + "]", GList[i]);
  }
  out.emplace_back("split", "分割実施");
  out.emplace_back("cancel", "分割キャンセル");
  return out;
}

std::shared_ptr<BunWindow> OpenBunWindow(editing::EditContext& ctx, PlanWindow& window) {
  const auto found = window.LastEntry();
  if (!found) return nullptr;
  auto dialog = std::make_shared<BunWindow>(ctx, window);
  dialog->Fill(ctx.data.Plan(*found));
  return dialog;
}

std::span<const ControlAlias> BunWindow::Aliases() const {
  return kAliases;
}

}  // namespace velmora::lotdetail
