// The leveller on the large generated plant (about 20,000 molding plans over a quarter): the
// whole category over its period with the default budget of 2 s and with none (the first placing
// only), and machine rows holding about 1,000 movable plans with the default budget and with a
// tenth of a second.
// Counters: plans that may move, plans moved, late plans and clashes before and after (all
// clashes on the rows, and those with a movable plan in them, which must be none), and whether
// the budget cut the search. The plans must come out of the leveller unchanged.

#include <benchmark/benchmark.h>

#include <map>
#include <vector>

#include "levelling/level_problem.h"
#include "levelling/leveller.h"
#include "loaded_plant.h"
#include "plandata/clashes.h"
#include "yes_to_all.h"

namespace {

using namespace velmora;

bench::YesToAll yes;

bench::LoadedPlant& Plant() {
  static bench::LoadedPlant plant(yes);
  return plant;
}

levelling::LevelRequest Request(const PlanData& data, double budgetSeconds,
                                std::vector<int> rows = {}) {
  levelling::LevelRequest request;
  request.rows = std::move(rows);
  request.firstDay = data.PeriodStartDate();
  request.lastDay = data.PeriodEndDate();
  request.budgetSeconds = budgetSeconds;
  return request;
}

// Machine rows from the top until their movable plans reach `plans`.
std::vector<int> RowsHolding(const PlanData& data, std::size_t plans) {
  std::map<int, std::size_t> movableOn;
  for (const levelling::Task& t : levelling::BuildProblem(data, Request(data, 0)).tasks) {
    ++movableOn[t.row];
  }
  std::vector<int> rows;
  std::size_t held = 0;
  for (const auto& [row, count] : movableOn) {
    if (held >= plans) break;
    rows.push_back(row);
    held += count;
  }
  return rows;
}

// Clashes left with a plan the leveller may move in them: overlaps, shared molds and the step
// order between loaded steps. Its promise is that there are none.
int ClashesOfMovable(const PlanData& data, const levelling::LevelRequest& request,
                     const levelling::Proposal& proposal) {
  const levelling::Problem problem = levelling::BuildProblem(data, request);
  PlanData after = data;
  for (const levelling::Move& m : proposal.moves) {
    PlanEntry& p = after.Plan(m.plan);
    p.StartDate = m.startAfter.DatePart();
    p.StartTime = m.startAfter.TimePart();
    p.EndDate = m.endAfter.DatePart();
    p.EndTime = m.endAfter.TimePart();
  }
  std::vector<bool> movable(after.PlanTable.size(), false);
  for (const levelling::Task& t : problem.tasks) movable[t.plan.Slot()] = true;
  int clashes = 0;
  for (const Clash& c : FindClashes(after)) {
    clashes += movable[c.first.Slot()] || movable[c.second.Slot()] ? 1 : 0;
  }
  for (const levelling::Task& t : problem.tasks) {
    for (int a : t.above) {
      const PlanIdx above = problem.tasks[static_cast<std::size_t>(a)].plan;
      clashes += after.Plan(t.plan).End() > after.Plan(above).Start() ? 1 : 0;
    }
  }
  return clashes;
}

void Level(benchmark::State& state, const levelling::LevelRequest& request) {
  const PlanData& data = Plant().data;
  const std::vector<PlanEntry> before = data.PlanTable;
  levelling::Proposal proposal;
  for (auto _ : state) {
    proposal = levelling::Level(data, request);
    benchmark::DoNotOptimize(proposal.moves.data());
  }
  if (data.PlanTable != before) state.SkipWithError("the leveller changed the plans");
  state.counters["movable"] =
      static_cast<double>(levelling::BuildProblem(data, request).tasks.size());
  state.counters["moved"] = static_cast<double>(proposal.moves.size());
  state.counters["late_before"] = proposal.before.latePlans;
  state.counters["late_after"] = proposal.after.latePlans;
  state.counters["clashes_before"] = proposal.before.clashes;
  state.counters["clashes_after"] = proposal.after.clashes;
  state.counters["movable_clashes_after"] = ClashesOfMovable(data, request, proposal);
  state.counters["cut"] = proposal.cutByBudget ? 1 : 0;
}

void BM_LevelWholeCategory(benchmark::State& state) {
  Level(state, Request(Plant().data, 2.0));
}
BENCHMARK(BM_LevelWholeCategory)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_LevelWholeCategoryWithoutBudget(benchmark::State& state) {
  Level(state, Request(Plant().data, 0));
}
BENCHMARK(BM_LevelWholeCategoryWithoutBudget)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_LevelAbout1000Plans(benchmark::State& state) {
  const PlanData& data = Plant().data;
  static const std::vector<int> rows = RowsHolding(data, 1000);
  Level(state, Request(data, 2.0, rows));
  state.counters["rows"] = static_cast<double>(rows.size());
}
BENCHMARK(BM_LevelAbout1000Plans)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same rows with a tenth of a second: what a quick proposal finds.
void BM_LevelAbout1000PlansIn100ms(benchmark::State& state) {
  const PlanData& data = Plant().data;
  static const std::vector<int> rows = RowsHolding(data, 1000);
  Level(state, Request(data, 0.1, rows));
}
BENCHMARK(BM_LevelAbout1000PlansIn100ms)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
