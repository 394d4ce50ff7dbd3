// The levelling proposal on the chart: computed, shown as one undoable step with the old places
// outlined, then kept or dropped. While it is shown nothing else may edit the plans, so that
// dropping it restores exactly the plans it was computed from.
#include <memory>

#include "chart/bar_layout.h"
#include "editing/apply_proposal.h"
#include "editing/stretch_bar.h"
#include "levelling/leveller.h"
#include "plandata/outside_steps.h"
#include "plandata/row_lookup.h"
#include "session/edit_session.h"

namespace velmora {
namespace {

using Target = chart::ChartHit::Target;

// The cycle look-up a drop onto another machine row makes, with the minutes derived from it as
// the drop derives them. Each item, step and row is asked once.
std::function<std::optional<levelling::CycleOn>(PlanIdx, int)> CycleLookUp(
    const PlanData& data, db::Connection& connection) {
  auto cache = std::make_shared<editing::CycleCache>();
  return [&data, &connection, cache](PlanIdx plan, int row) -> std::optional<levelling::CycleOn> {
    const PlanEntry& p = data.Plan(plan);
    const auto& cycle =
        cache->Get(data, connection, p, data.RowCode[static_cast<std::size_t>(row)]);
    PlanEntry there = p;
    if (!editing::ApplyCycle(there, cycle)) return std::nullopt;
    return levelling::CycleOn{there.CycleSeconds, there.MoldCycle, there.DurationMinutes};
  };
}

}  // namespace

const levelling::Proposal& EditSession::ProposeLevel(levelling::LevelRequest request) {
  if (ProposalRefuses()) return proposal_;
  if (Dragging()) editor_.CancelDrag();
  if (connection_ != nullptr) {
    request.outside = ReadOutsideSteps(*connection_, data_);
    if (!request.cycleOn) request.cycleOn = CycleLookUp(data_, *connection_);
  }
  proposal_ = levelling::Level(data_, request);
  if (proposal_.moves.empty()) return proposal_;

  const std::uint64_t made = editor_.History().StepsMade();
  editing::ApplyProposal(editor_.Context(), proposal_);
  // Dropping it undoes one step: that step must be this proposal's.
  proposalShown_ = editor_.History().StepsMade() != made;
  if (proposalShown_) OutlineOldPlaces();
  clashes_.Update(data_);
  load_.Update(data_);
  return proposal_;
}

void EditSession::OutlineOldPlaces() {
  chart_.ProposalOutlines.clear();
  for (const levelling::Move& move : proposal_.moves) {
    chart::ProposalOutline outline;
    outline.plan = move.plan;
    outline.row = RowOfCode(data_, move.machineBefore);
    outline.start = move.startBefore;
    outline.end = move.endBefore;
    chart_.ProposalOutlines.push_back(outline);
  }
  chart::PlaceProposalOutlines(data_, chart_);
}

const levelling::Proposal* EditSession::ShownProposal() const {
  return proposalShown_ ? &proposal_ : nullptr;
}

void EditSession::ApplyProposal() {
  proposalShown_ = false;
  chart_.ProposalOutlines.clear();
}

void EditSession::DropProposal() {
  if (!proposalShown_) return;
  proposalShown_ = false;
  chart_.ProposalOutlines.clear();
  editor_.Undo();
  editor_.History().DropRedo();
  clashes_.Update(data_);
  load_.Update(data_);
}

bool EditSession::ProposalRefuses() {
  if (!proposalShown_) return false;
  questions_.Tell({kProposalShown});
  return true;
}

bool EditSession::ProposalRefuses(const PointerEvent& event) {
  const bool edits = [&] {
    switch (event.hit.target) {
      case Target::PlanBar:
      case Target::PlanJBar:
        return true;  // a drag, or the lot window
      case Target::PlatForm:
        return event.button == editing::kRightButton;  // the day calendar
      case Target::MachineName:
        return event.button == editing::kRightButton ||
               event.kind == PointerEvent::Kind::DoubleClick;  // the row's expansion
      default:
        return false;
    }
  }();
  return edits && ProposalRefuses();
}

}  // namespace velmora
