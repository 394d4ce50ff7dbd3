#include "editing/overlap_resolution.h"

#include <vector>

#include "chart/bar_layout.h"
#include "common/questions.h"
#include "editing/drop_target.h"
#include "editing/plan_order.h"
#include "editing/row_code_at.h"
#include "plandata/plan_end_time.h"

namespace velmora::editing {
namespace {

bool IsFixed(const PlanEntry& p) {
  return p.IsFixed();
}

void SetStart(PlanEntry& p, DateTime at) {
  p.StartDate = at.DatePart();
  p.StartTime = at.TimePart();
}

void SetEnd(PlanEntry& p, DateTime at) {
  p.EndDate = at.DatePart();
  p.EndTime = at.TimePart();
}

void RecomputeEnd(const PlanData& data, PlanIdx k, PlanEntry& p) {
  SetEnd(p, ComputeEndTime(data, p.Start(), p.DurationMinutes, k));
}

// The earlier plan of the row still running at k's start; of several, the one ending last (the
// first in table order on a tie).
PlanIdx EarlierOverlap(const PlanData& data, PlanIdx k, const DropTarget& target) {
  const PlanEntry& moved = data.Plan(k);
  PlanIdx found;
  for (std::int32_t j = 1; j <= data.PlanCount(); ++j) {
    const PlanEntry& other = data.PlanTable[static_cast<std::size_t>(j)];
    if (j == k.value || !IsParty(other, target)) continue;
    if (!(other.Start() < moved.Start() && other.End() > moved.Start())) continue;
    if (found.value == 0 || other.End() > data.Plan(found).End()) found = PlanIdx{j};
  }
  return found;
}

// Pushes the later plans back from `cursor`, in their row order, until a fixed plan or one that
// starts after the cursor. A pushed plan that now runs into a fixed plan leaves its machine.
void PushLaterPlans(EditContext& ctx, std::vector<PlanIdx>& later, DateTime cursor) {
  PlanData& data = ctx.data;
  for (std::size_t j = 0; j < later.size(); ++j) {
    const PlanEntry& current = data.Plan(later[j]);
    if (IsFixed(current) || current.Start() >= cursor) {
      if (j == 0 && IsFixed(current)) ctx.questions.Tell({kFirstPlanFixed});
      return;
    }
    PlanEntry& p = ctx.Edit(later[j]);
    SetStart(p, cursor);
    cursor = ComputeEndTime(data, cursor, p.DurationMinutes, later[j]);
    SetEnd(p, cursor);
    ctx.MarkChanged(p);
    for (std::size_t m = j + 1; m < later.size(); ++m) {
      const PlanEntry& next = data.Plan(later[m]);
      if (IsFixed(next) && next.Start() < p.End()) {
        p.MachineCode = kNoMachine;
        ctx.TakenOff.push_back(later[j]);
        break;
      }
    }
    chart::LayoutBar(data, ctx.model, later[j], 0);
  }
}

}  // namespace

void Insert_PlanBarStep2(EditContext& ctx, BarIdx bar, const std::string& machine,
                         const std::string& destination) {
  PlanData& data = ctx.data;
  const PlanIdx k = chart::FindPlanByBar(data, bar);
  if (k.value == 0) return;  // no plan shows this bar: nothing to place
  const DropTarget target = NormalizeDropTarget(data, machine, destination);

  PlanEntry& moved = ctx.Edit(k);
  const PlanEntry before = moved;
  AssignToRow(data, moved, target);
  RecomputeEnd(data, k, moved);

  const PlanIdx earlier = EarlierOverlap(data, k, target);
  if (earlier.value != 0 && ctx.questions.Ask({kEarlierOverlapQuestion}) == Answer::Yes) {
    SetStart(moved, data.Plan(earlier).End());
    RecomputeEnd(data, k, moved);
  }
  // A plan whose place changed here must be saved, however the drop got here.
  if (moved.Start() != before.Start() || moved.End() != before.End() ||
      moved.MachineCode != before.MachineCode || moved.DestinationCode != before.DestinationCode) {
    ctx.MarkChanged(moved);
  }
  chart::LayoutBar(data, ctx.model, k, 0);

  const DateTime kStart = moved.Start();
  const DateTime kEnd = moved.End();
  std::vector<PlanIdx> later;
  bool overlaps = false;
  for (std::int32_t j = 1; j <= data.PlanCount(); ++j) {
    const PlanEntry& other = data.PlanTable[static_cast<std::size_t>(j)];
    if (j == k.value || !IsParty(other, target) || other.Start() < kStart) continue;
    later.push_back(PlanIdx{j});
    if (other.Start() < kEnd) overlaps = true;
  }
  if (!overlaps) return;
  if (ctx.questions.Ask({kLaterOverlapQuestion}) != Answer::Yes) return;
  SortPlans(data, later);
  PushLaterPlans(ctx, later, kEnd);
}

}  // namespace velmora::editing
