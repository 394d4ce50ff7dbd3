#include "lotdetail/process_split.h"

#include <algorithm>
#include <string>
#include <vector>

#include "chart/bar_layout.h"
#include "common/questions.h"
#include "common/text.h"
#include "lotdetail/new_entry.h"
#include "lotdetail/plan_window.h"

namespace velmora::lotdetail {
namespace {

bool Contains(const std::vector<int>& lines, int line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// Asks about the first selected member whose process also has members that stay behind.
bool AcceptPartialProcess(Questions& questions, const MemberGroup& group,
                          const std::vector<int>& selected, std::size_t lineCount,
                          const char* question) {
  for (int line : selected) {
    const std::string& process = group[group.SlotOfLine(line)].ProcessName;
    for (int other = 0; other < static_cast<int>(lineCount); ++other) {
      if (Contains(selected, other) || group[group.SlotOfLine(other)].ProcessName != process) {
        continue;
      }
      return questions.Ask({Trim(process) + question, Answer::No, kPartialTitle}) == Answer::Yes;
    }
  }
  return true;
}

// Moves the selected members from `from` to `into`, the last line first, so they arrive in
// reverse list order; `from` closes its gaps.
void MoveMembers(MemberGroup& from, MemberGroup& into, const std::vector<int>& selected) {
  for (auto line = selected.rbegin(); line != selected.rend(); ++line) {
    const int k = from.SlotOfLine(*line);
    const int free = into.FirstFree();
    if (k == 0 || free == 0) continue;
    into.Slot(free) = from[k];
    from.Remove(k);
  }
}

// The chosen members move from entry `found` to a new entry one day later; the window shows what
// stays.
void SplitOff(editing::EditContext& ctx, PlanWindow& window, PlanIdx found,
              const std::vector<int>& inner, const std::vector<int>& outer) {
  const auto added = AddEntryCopy(ctx, found);
  if (!added) return;
  PlanEntry& n = ctx.data.Plan(*added);
  PlanEntry& e = ctx.Edit(found);
  n.A.Clear();
  n.B.Clear();
  MoveMembers(e.A, n.A, inner);
  MoveMembers(e.B, n.B, outer);
  e.OrderNo = FirstMemberNo(e);
  n.OrderNo = FirstMemberNo(n);
  n.StartDate = n.StartDate.AddDays(1);
  n.EndDate = n.EndDate.AddDays(1);
  ctx.MarkChanged(e);
  ctx.MarkChanged(n);
  window.orderNo = std::to_string(e.OrderNo);
  window.ShowMembers(e);
  chart::LayoutBar(ctx.data, ctx.model, *added, 0);
}

}  // namespace

void SplitProcesses(editing::EditContext& ctx, PlanWindow& window) {
  const auto found = window.LastEntry();
  if (!found) return;
  const std::vector<int> inner = window.NListSelected;
  const std::vector<int> outer = window.GListSelected;
  const auto hasSeparation = [](const std::vector<std::string>& lines,
                                const std::vector<int>& selected) {
    return std::any_of(selected.begin(), selected.end(), [&](int line) {
      return lines[static_cast<std::size_t>(line)].find(kSeparationMark) != std::string::npos;
    });
  };
  if (inner.empty() && outer.empty()) {
    ctx.questions.Tell({kNoProcessChosen});
    return;
  }
  if (inner.size() == window.NList.size() && outer.size() == window.GList.size()) {
    ctx.questions.Tell({kEveryProcessChosen});
    return;
  }
  if (!inner.empty() && !outer.empty() && Trim(window.itemCode) != kBothRingsItem) {
    ctx.questions.Tell({kOuterRingStays});
    return;
  }
  if (hasSeparation(window.NList, inner) || hasSeparation(window.GList, outer)) {
    ctx.questions.Tell({kSeparationStays});
    return;
  }
  if (ctx.questions.Ask({kSplitQuestion, Answer::No, kSplitTitle}) != Answer::Yes) {
    return;
  }
  {
    const PlanEntry& e = ctx.data.Plan(*found);
    if (!inner.empty() &&
        !AcceptPartialProcess(ctx.questions, e.A, inner, window.NList.size(), kPartialInner)) {
      return;
    }
    if (!outer.empty() &&
        !AcceptPartialProcess(ctx.questions, e.B, outer, window.GList.size(), kPartialOuter)) {
      return;
    }
  }

  SplitOff(ctx, window, *found, inner, outer);
}

}  // namespace velmora::lotdetail
