#include "levelling/leveller.h"

#include <algorithm>
#include <chrono>
#include <tuple>

#include "levelling/level_problem.h"
#include "levelling/placing.h"
#include "levelling/totals.h"
#include "plandata/lateness.h"

namespace velmora::levelling {
namespace {

// The plans as the proposal would leave them, for measuring.
PlanData WithMoves(const PlanData& data, const std::vector<Move>& moves) {
  PlanData after = data;
  for (const Move& m : moves) {
    PlanEntry& p = after.Plan(m.plan);
    p.MachineCode = m.machineAfter;
    p.StartDate = m.startAfter.DatePart();
    p.StartTime = m.startAfter.TimePart();
    p.EndDate = m.endAfter.DatePart();
    p.EndTime = m.endAfter.TimePart();
  }
  return after;
}

std::vector<Move> MovesOf(const PlanData& data, const Schedule& schedule) {
  std::vector<Move> moves;
  for (int i = 0; i < schedule.Count(); ++i) {
    const Task& t = schedule.TaskOf(i);
    const Place& place = schedule.At(i);
    if (!place.placed || (place.choice == 0 && place.start == t.start && place.end == t.end)) {
      continue;
    }
    const PlanEntry& p = data.Plan(t.plan);
    const RowChoice& choice = t.choices[static_cast<std::size_t>(place.choice)];
    Move m;
    m.plan = t.plan;
    m.machineBefore = p.MachineCode;
    m.machineAfter = data.RowCode[static_cast<std::size_t>(choice.row)];
    m.startBefore = t.start;
    m.endBefore = t.end;
    m.startAfter = place.start;
    m.endAfter = place.end;
    m.lateBefore = EndsLate(p, t.end);
    m.lateAfter = EndsLate(p, place.end);
    m.lateMinutesBefore = LateMinutes(p, t.end);
    m.lateMinutesAfter = LateMinutes(p, place.end);
    m.cycle = choice.cycle;
    moves.push_back(std::move(m));
  }
  std::ranges::sort(moves, [](const Move& a, const Move& b) {
    return std::tie(a.startAfter, a.plan) < std::tie(b.startAfter, b.plan);
  });
  return moves;
}

}  // namespace

DateTime FirstLevelDay(const PlanData& data, DateTime today) {
  const DateTime day = today.DatePart();
  if (day > data.PeriodStartDate() && day <= data.PeriodEndDate()) return day;
  return data.PeriodStartDate();
}

Proposal Level(const PlanData& data, const LevelRequest& request) {
  const auto deadline = std::chrono::steady_clock::now() +
                        std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                            std::chrono::duration<double>(std::max(0.0, request.budgetSeconds)));
  Problem problem = BuildProblem(data, request);
  // Two starts: keeping every plan that is fine moves the fewest; placing them all again by
  // due date can leave fewer late where the kept plans stand in the way. Each is improved for
  // half the budget and the better one is proposed.
  Problem byDueDate = problem;
  Schedule kept(data, problem);
  Schedule placed(data, byDueDate);
  Placing keeping(kept);
  keeping.KeepWhatIsFine();
  keeping.PlaceTheRest();
  Placing placing(placed);
  placing.PlaceTheRest();
  const auto halfway =
      std::chrono::steady_clock::now() + (deadline - std::chrono::steady_clock::now()) / 2;
  Proposal proposal;
  proposal.cutByBudget = !keeping.Improve(halfway);
  proposal.cutByBudget = !placing.Improve(deadline) || proposal.cutByBudget;
  const Schedule& schedule = placed.Total() < kept.Total() ? placed : kept;

  proposal.moves = MovesOf(data, schedule);
  proposal.before = Measure(data, problem.chosenRows, request.outside);
  const PlanData after = WithMoves(data, proposal.moves);
  proposal.after = Measure(after, problem.chosenRows, request.outside);
  proposal.after.movedPlans = static_cast<int>(proposal.moves.size());
  proposal.stuck = ClashesOn(after, problem.chosenRows, request.outside);
  // A proposal worse than the plan as it stands is no proposal: nothing moves.
  auto aims = [](const Totals& t) { return std::tie(t.clashes, t.latePlans, t.lateMinutes); };
  if (aims(proposal.before) < aims(proposal.after)) {
    proposal.moves.clear();
    proposal.after = proposal.before;
    proposal.stuck = ClashesOn(data, problem.chosenRows, request.outside);
  }
  return proposal;
}

}  // namespace velmora::levelling
