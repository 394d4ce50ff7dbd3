#include "lotdetail/new_entry.h"

#include <algorithm>
#include <limits>

#include "chart/bar_layout.h"
#include "common/questions.h"
#include "plandata/plan_end_time.h"
#include "worktime/production_minutes.h"

namespace velmora::lotdetail {

std::optional<PlanIdx> LastEntryWithNumber(const PlanData& data, double orderNo) {
  for (std::int32_t i = data.PlanCount(); i >= 1; --i) {
    if (data.PlanTable[static_cast<std::size_t>(i)].OrderNo == orderNo) return PlanIdx{i};
  }
  return std::nullopt;
}

std::optional<PlanIdx> AddEntryCopy(editing::EditContext& ctx, PlanIdx e) {
  PlanData& data = ctx.data;
  std::int32_t largest = 0;
  for (const PlanEntry& p : data.PlanTable) largest = std::max(largest, p.BarIndex);
  if (largest == std::numeric_limits<std::int32_t>::max()) {
    ctx.questions.Tell({kNoBarLeft});
    return std::nullopt;
  }
  PlanEntry copy = data.Plan(e);
  copy.BarIndex = largest + 1;

  // The state undo returns to: the slot in use by nobody, its bar hidden.
  PlanEntry unused;
  unused.BarIndex = copy.BarIndex;
  data.PlanTable.push_back(std::move(unused));
  const PlanIdx n{data.PlanCount()};
  ctx.Edit(n) = std::move(copy);
  ctx.model.CreateBarPair(data.Plan(n).Bar());
  return n;
}

void ScheduleNewEntry(editing::EditContext& ctx, PlanIdx n) {
  PlanEntry& p = ctx.data.Plan(n);
  p.DurationMinutes = ProductionMinutes(p.SetupMinutes, p.CycleSeconds, p.OrderQty);
  const DateTime end = ComputeEndTime(ctx.data, p.Start(), p.DurationMinutes, n);
  p.EndDate = end.DatePart();
  p.EndTime = end.TimePart();
  chart::LayoutBar(ctx.data, ctx.model, n, 0);
}

std::int32_t NextTempOrderNo(PlanData& data) {
  return --data.LastTempOrderNo;
}

std::int32_t FirstMemberNo(const PlanEntry& p) {
  if (const int k = p.A.SlotOfLine(0); k != 0) return p.A[k].OrderNo;
  if (const int k = p.B.SlotOfLine(0); k != 0) return p.B[k].OrderNo;
  return 0;
}

}  // namespace velmora::lotdetail
