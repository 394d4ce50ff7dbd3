#include "levelling/leveller.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <memory>
#include <tuple>

#include "levelling/level_problem.h"
#include "levelling/placing.h"
#include "levelling/schedule.h"
#include "levelling/totals.h"
#include "plandata/lateness.h"

namespace velmora::levelling {
namespace {

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

using Clock = std::chrono::steady_clock;

// Shuffled starts tried at most: enough for small plans to settle; larger ones stop at half the
// budget first.
constexpr std::uint32_t kShuffledStarts = 1000;
// Shuffled starts in a row that found nothing better end the shuffling: the orders near the due
// dates have been seen.
constexpr std::uint32_t kFruitlessStarts = 100;

enum class StartKind { Keep, Near, First };

// One start of the search, owning the busy spans its places are taken from.
struct Start {
  std::unique_ptr<Problem> problem;
  std::unique_ptr<Schedule> schedule;
  std::unique_ptr<Placing> placing;
};

Start Begin(const PlanData& data, const Problem& problem, StartKind kind, std::uint32_t seed) {
  Start start;
  start.problem = std::make_unique<Problem>(problem);
  start.schedule = std::make_unique<Schedule>(data, *start.problem);
  start.placing = std::make_unique<Placing>(*start.schedule, kind == StartKind::First);
  if (seed != 0) start.placing->Shuffle(seed);
  if (kind == StartKind::Keep) start.placing->KeepWhatIsFine();
  start.placing->PlaceTheRest();
  return start;
}

}  // namespace

void TakeTimesOf(const Move& move, PlanEntry& p) {
  if (move.cycle) {
    p.CycleSeconds = move.cycle->cycleSeconds;
    p.MoldCycle = move.cycle->moldCycle;
    p.DurationMinutes = move.cycle->minutes;
  }
  p.StartDate = move.startAfter.DatePart();
  p.StartTime = move.startAfter.TimePart();
  p.EndDate = move.endAfter.DatePart();
  p.EndTime = move.endAfter.TimePart();
}

PlanData WithMoves(const PlanData& data, const std::vector<Move>& moves) {
  PlanData after = data;
  for (const Move& m : moves) {
    PlanEntry& p = after.Plan(m.plan);
    p.MachineCode = m.machineAfter;
    TakeTimesOf(m, p);
  }
  return after;
}

DateTime FirstLevelDay(const PlanData& data, DateTime today) {
  const DateTime day = today.DatePart();
  if (day > data.PeriodStartDate() && day <= data.PeriodEndDate()) return day;
  return data.PeriodStartDate();
}

Proposal Level(const PlanData& data, const LevelRequest& request) {
  const auto deadline =
      Clock::now() + std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                         std::chrono::duration<double>(std::max(0.0, request.budgetSeconds)));
  const Problem problem = BuildProblem(data, request);
  // The proposal is measured after the search as the plans are measured now: that time is kept
  // out of the search's share of the budget, with a start's time for settling.
  const auto measuring = Clock::now();
  Proposal proposal;
  const std::vector<StuckClash> clashesBefore =
      ClashesOn(data, problem.chosenRows, request.outside);
  proposal.before = Measure(data, problem.chosenRows, clashesBefore);
  const auto measured = Clock::now();
  // Starts: keeping every plan that is fine moves the fewest; placing them all again by due
  // date, near where they stood or where each ends first, can leave fewer late where kept plans
  // or gaps stand in the way; then, for half the budget, orders near the due dates. The best
  // start is improved for the rest of the budget, then every plan goes back as near to where it
  // stood as that leaves free.
  Start best = Begin(data, problem, StartKind::Keep, 0);
  const auto started = Clock::now();
  const auto searchEnd = deadline - 3 * (measured - measuring) - (started - measured);
  for (StartKind kind : {StartKind::Near, StartKind::First}) {
    Start start = Begin(data, problem, kind, 0);
    if (start.schedule->Total() < best.schedule->Total()) best = std::move(start);
  }
  const auto halfway = Clock::now() + (searchEnd - Clock::now()) / 2;
  std::uint32_t lastBetter = 0;
  for (std::uint32_t seed = 1;
       seed <= kShuffledStarts && seed - lastBetter <= kFruitlessStarts && Clock::now() < halfway;
       ++seed) {
    Start start = Begin(data, problem, StartKind::First, seed);
    if (start.schedule->Total() < best.schedule->Total()) {
      best = std::move(start);
      lastBetter = seed;
    }
  }
  proposal.cutByBudget = !best.placing->Improve(searchEnd);
  best.placing->Settle();
  const Schedule& schedule = *best.schedule;

  proposal.moves = MovesOf(data, schedule);
  const PlanData after = WithMoves(data, proposal.moves);
  proposal.stuck = ClashesOn(after, problem.chosenRows, request.outside);
  proposal.after = Measure(after, problem.chosenRows, proposal.stuck);
  proposal.after.movedPlans = static_cast<int>(proposal.moves.size());
  // A proposal worse than the plan as it stands is no proposal: nothing moves.
  auto aims = [](const Totals& t) { return std::tie(t.clashes, t.latePlans, t.lateMinutes); };
  if (aims(proposal.before) < aims(proposal.after)) {
    proposal.moves.clear();
    proposal.after = proposal.before;
    proposal.stuck = clashesBefore;
  }
  return proposal;
}

}  // namespace velmora::levelling
