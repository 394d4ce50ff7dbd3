#include "editing/row_expansion.h"

#include <string>
#include <vector>

#include "chart/bar_layout.h"
#include "common/questions.h"
#include "editing/plan_order.h"
#include "editing/row_code_at.h"
#include "plandata/plan_end_time.h"
#include "plandata/row_lookup.h"

namespace velmora::editing {
namespace {

// The plans shown on `row`. Merged-away entries (not in use) have no bar and are left alone:
// laying them out again would bring a merged plan back onto the chart.
std::vector<PlanIdx> PlansOfRow(const PlanData& data, int row) {
  std::vector<PlanIdx> plans;
  for (std::int32_t j = 1; j <= data.PlanCount(); ++j) {
    const PlanEntry& p = data.PlanTable[static_cast<std::size_t>(j)];
    if (p.InUse <= 0) continue;
    const std::string& code = IsBlank(p.MachineCode) ? p.DestinationCode : p.MachineCode;
    if (RowOfCode(data, code) == row) plans.push_back(PlanIdx{j});
  }
  return plans;
}

bool IsFixed(const PlanEntry& p) {
  return p.IsFixed();
}

}  // namespace

void ExpandRow(EditContext& ctx, int row) {
  PlanData& data = ctx.data;
  if (row == 1) {
    ctx.questions.Tell({kUnplannedNotExpandable});
    return;
  }
  if (ctx.questions.Ask({kExpandQuestion, Answer::No}) != Answer::Yes) return;
  DateTime cursor = data.PeriodStartDate() + DateTime::FromTime(8, 0, 0);
  std::vector<PlanIdx> plans = PlansOfRow(data, row);
  ctx.questions.Tell({std::to_string(plans.size()) + kCountSuffix});
  SortPlans(data, plans);

  for (std::size_t j = 0; j < plans.size(); ++j) {
    const PlanEntry& current = data.Plan(plans[j]);
    if (current.StartDate < data.PeriodStartDate() || current.IsLocked()) {
      if (current.End() > cursor) cursor = current.End();
      continue;
    }
    PlanEntry& p = ctx.Edit(plans[j]);
    const DateTime saved = cursor;
    p.StartDate = cursor.DatePart();
    p.StartTime = cursor.TimePart();
    cursor = ComputeEndTime(data, cursor, p.DurationMinutes, plans[j]);
    p.EndDate = cursor.DatePart();
    p.EndTime = cursor.TimePart();
    ctx.MarkChanged(p);
    for (std::size_t m = j + 1; m < plans.size(); ++m) {
      const PlanEntry& next = data.Plan(plans[m]);
      if (next.Start() >= p.End()) break;
      if (IsFixed(next)) {
        p.ConfirmFlag = "1";
        p.FixedFlag = "0";
        p.MachineCode = kNoMachine;
        cursor = saved;
      }
    }
    chart::LayoutBar(data, ctx.model, plans[j], 0);
  }
}

}  // namespace velmora::editing
