#include "editing/apply_proposal.h"

#include "chart/bar_layout.h"
#include "editing/drop_target.h"
#include "levelling/leveller.h"

namespace velmora::editing {
namespace {

void PlaceMove(EditContext& ctx, const levelling::Move& move) {
  PlanEntry& p = ctx.Edit(move.plan);
  // A plan that keeps its machine keeps its destination too; only a change of row assigns codes,
  // as a drop onto that row would.
  if (move.machineAfter != p.MachineCode) {
    AssignToRow(ctx.data, p, NormalizeDropTarget(ctx.data, move.machineAfter, ""));
  }
  levelling::TakeTimesOf(move, p);
  ctx.MarkChanged(p);
  chart::LayoutBar(ctx.data, ctx.model, move.plan, 0);
}

}  // namespace

void ApplyProposal(EditContext& ctx, const levelling::Proposal& proposal) {
  GestureScope gesture(ctx);
  for (const levelling::Move& move : proposal.moves) PlaceMove(ctx, move);
}

}  // namespace velmora::editing
