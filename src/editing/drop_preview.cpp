#include "editing/drop_preview.h"

#include <cmath>

#include "chart/bar_layout.h"
#include "editing/chart_editor.h"
#include "editing/drop_place.h"
#include "editing/drop_target.h"
#include "editing/row_code_at.h"
#include "plandata/plan_end_time.h"

namespace velmora::editing {

void DropPreviewer::Reset() {
  cycles_.Clear();
  rows_.clear();
}

const std::vector<PlanIdx>& DropPreviewer::PlansOn(const PlanData& data, const std::string& machine,
                                                   const std::string& destination) {
  const auto key = std::make_pair(machine, destination);
  auto found = rows_.find(key);
  if (found != rows_.end()) return found->second;
  const DropTarget target{machine, destination};
  std::vector<PlanIdx> plans;
  for (std::int32_t j = 1; j <= data.PlanCount(); ++j) {
    if (IsParty(data.PlanTable[static_cast<std::size_t>(j)], target)) plans.push_back(PlanIdx{j});
  }
  return rows_.emplace(key, std::move(plans)).first->second;
}

void DropPreviewer::Update(EditContext& ctx, const PointerState& pointer, double x, double y) {
  chart::DropPreview& preview = ctx.model.Preview;
  preview.Visible = false;
  preview.Marked.clear();
  if (!pointer.Dragged) return;
  const PlanData& data = ctx.data;
  const PlanIdx k = chart::FindPlanByBar(data, *pointer.Dragged);
  if (k.value == 0) return;
  PlanEntry moved = data.Plan(k);
  const chart::BarLabel& bar = ctx.model.Bar(moved.Bar());

  const std::string code = RowCodeAt(data, y);
  const DropPlace place = PlaceOfDrop(data, ctx.model.Scale, x, pointer.GrabOffsetX, code);
  const double newLeft = place.left;
  const double rowTop = place.rowTop;
  const bool band = place.band;
  const DateTime start = place.start;
  const bool toUnplanned = IsBlank(code);
  preview.Refused = moved.IsEndFixed() && (toUnplanned || newLeft > bar.Left);

  if (code != pointer.GrabRowCode && !toUnplanned && ctx.connection != nullptr) {
    ApplyCycle(moved, cycles_.Get(data, *ctx.connection, moved, code));
  }
  const DropTarget target = NormalizeDropTarget(data, code, "");
  AssignToRow(data, moved, target);
  const DateTime end = ComputeEndTimeOn(data, start, moved.DurationMinutes, moved.MachineCode);

  preview.Visible = true;
  preview.Start = start;
  preview.End = end;
  preview.MachineCode = moved.MachineCode;
  preview.DestinationCode = moved.DestinationCode;
  preview.Minutes = moved.DurationMinutes;
  preview.Container = band ? chart::Surface::PlatForm2 : chart::Surface::PlatForm;
  preview.Top = rowTop - 45 + (band ? -chart::kUnplannedLift : 0);
  preview.Left = newLeft;
  const chart::TimeScale& scale = ctx.model.Scale;
  constexpr chart::TimeKind rows = chart::TimeKind::Rows;
  preview.Width =
      band ? chart::kUnplannedBarWidth
           : std::max<double>(chart::kMinimumBarWidth,
                              scale.TimeToX(end.DatePart(), end.TimePart(), rows) -
                                  scale.TimeToX(start.DatePart(), start.TimePart(), rows));
  if (preview.Refused) return;

  // The plans the questions would name: the earlier one still running at the start, and the
  // later ones starting before the end.
  PlanIdx earlier;
  for (PlanIdx j : PlansOn(data, target.machine, target.destination)) {
    if (j == k) continue;
    const PlanEntry& other = data.Plan(j);
    if (other.Start() < start && other.End() > start) {
      if (earlier.value == 0 || other.End() > data.Plan(earlier).End()) earlier = j;
    } else if (other.Start() >= start && other.Start() < end) {
      preview.Marked.push_back(other.Bar());
    }
  }
  if (earlier.value != 0) preview.Marked.push_back(data.Plan(earlier).Bar());
}

}  // namespace velmora::editing
