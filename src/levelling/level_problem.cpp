#include "levelling/level_problem.h"

#include <algorithm>
#include <tuple>
#include <unordered_map>

#include "plandata/blank_codes.h"
#include "worktime/work_day.h"

namespace velmora::levelling {
namespace {

bool AnyReceived(const MemberGroup& group) {
  for (int k = 1; k <= group.Stored(); ++k) {
    if (group[k].ReceivedQty != 0) return true;
  }
  return false;
}

std::vector<int> ChosenRows(const PlanData& data, const LevelRequest& request) {
  std::vector<int> rows;
  for (int r = 2; r <= data.MachineRowCount; ++r) {
    if (IsBlank(data.RowCode[static_cast<std::size_t>(r)])) continue;
    if (request.rows.empty() || std::ranges::find(request.rows, r) != request.rows.end()) {
      rows.push_back(r);
    }
  }
  return rows;
}

// A step of the order chain: a loaded plan (a task or one that stays) or an outside one.
struct Step {
  int task = -1;  // -1: it stays
  DateTime start;
  DateTime end;
};

void AddChoices(Task& t, const PlanEntry& p, const std::vector<int>& rows,
                const LevelRequest& request) {
  t.choices.push_back(RowChoice{t.row, p.DurationMinutes, std::nullopt});
  if (!request.otherMachines || !request.cycleOn) return;
  for (int r : rows) {
    if (r == t.row) continue;
    if (auto cycle = request.cycleOn(t.plan, r)) t.choices.push_back({r, cycle->minutes, cycle});
  }
}

// Links each task with the steps above and below it; staying steps bound its times.
void LinkSteps(const PlanData& data, const LevelRequest& request, Problem& problem,
               const std::unordered_map<std::int32_t, int>& taskOfOrder) {
  std::unordered_map<std::int32_t, Step> steps;  // by order number
  std::unordered_map<std::int32_t, std::vector<std::int32_t>> childrenOf;
  auto note = [&](std::int32_t orderNo, std::int32_t parent, Step step) {
    if (orderNo == 0 || step.start.IsZero() || step.end.IsZero()) return;
    if (!steps.emplace(orderNo, step).second) return;
    if (parent != 0) childrenOf[parent].push_back(orderNo);
  };
  for (std::int32_t i = 2; i <= data.PlanCount(); ++i) {
    const PlanEntry& p = data.Plan(PlanIdx{i});
    if (!p.IsOnChart()) continue;
    auto task = taskOfOrder.find(p.OrderNo);
    const int t = task != taskOfOrder.end() &&
                          problem.tasks[static_cast<std::size_t>(task->second)].plan.value == i
                      ? task->second
                      : -1;
    note(p.OrderNo, p.ParentOrderNo, Step{t, p.Start(), p.End()});
  }
  for (const OutsideStep& o : request.outside) {
    note(o.orderNo, o.parentOrderNo, Step{-1, o.start, o.end});
  }
  for (const auto& [parent, children] : childrenOf) {
    auto up = steps.find(parent);
    if (up == steps.end()) continue;
    for (std::int32_t child : children) {
      const Step& down = steps.at(child);
      if (up->second.task < 0 && down.task < 0) continue;
      if (down.task >= 0 && up->second.task >= 0) {
        problem.tasks[static_cast<std::size_t>(down.task)].above.push_back(up->second.task);
        problem.tasks[static_cast<std::size_t>(up->second.task)].below.push_back(down.task);
      } else if (down.task >= 0) {
        DateTime& bound = problem.tasks[static_cast<std::size_t>(down.task)].aboveStayingStart;
        if (bound.IsZero() || up->second.start < bound) bound = up->second.start;
      } else {
        DateTime& bound = problem.tasks[static_cast<std::size_t>(up->second.task)].belowStayingEnd;
        bound = std::max(bound, down.end);
      }
    }
  }
}

// A step is due when its own due date says, or earlier when the steps above it, which wait for
// it, must end by theirs: the order of placing sees the whole chain's due date.
DateTime ChainDue(std::vector<Task>& tasks, int task, std::vector<int>& state) {
  const std::size_t at = static_cast<std::size_t>(task);
  Task& t = tasks[at];
  if (state[at] == 2) return t.chainDue;
  DateTime due = t.due.IsZero() ? DateTime::FromDays(1'000'000) : t.due.AddDays(1);
  if (!t.aboveStayingStart.IsZero()) due = std::min(due, t.aboveStayingStart);
  if (state[at] == 1) return due;  // steps in a circle: the circle is cut here
  state[at] = 1;
  for (int a : t.above) {
    const Task& above = tasks[static_cast<std::size_t>(a)];
    due = std::min(due, ChainDue(tasks, a, state) - (above.end - above.start));
  }
  state[at] = 2;
  return tasks[at].chainDue = due;
}

}  // namespace

std::pair<DateTime, DateTime> LevelWindow(DateTime firstDay, DateTime lastDay) {
  const DateTime dayChange = DateTime::FromSeconds(kProductionDayChange);
  return {firstDay.DatePart() + dayChange, lastDay.DatePart().AddDays(1)};
}

bool MayMove(const PlanEntry& p, DateTime firstDay, DateTime lastDay) {
  if (!p.IsOnChart() || p.IsFixed()) return false;
  if (!p.IsConfirmed() && p.Changed != 1) return false;  // a drop's overlap questions skip it
  if (p.ReceivedQty != 0 || AnyReceived(p.A) || AnyReceived(p.B)) return false;
  const auto [from, to] = LevelWindow(firstDay, lastDay);
  return p.Start() >= from && p.Start() < to;
}

Problem BuildProblem(const PlanData& data, const LevelRequest& request) {
  Problem problem;
  problem.chosenRows = ChosenRows(data, request);
  std::tie(problem.firstDay, problem.lastEnd) = LevelWindow(request.firstDay, request.lastDay);
  // The chosen machine rows by code, the first row of a code as the row lookup takes it.
  std::unordered_map<std::string, int> chosenRowOf;
  for (int r = data.MachineRowCount; r >= 2; --r) {
    if (std::ranges::binary_search(problem.chosenRows, r)) {
      chosenRowOf[data.RowCode[static_cast<std::size_t>(r)]] = r;
    } else {
      chosenRowOf.erase(data.RowCode[static_cast<std::size_t>(r)]);
    }
  }
  auto rowOf = [&](const PlanEntry& p) {
    auto it = chosenRowOf.find(p.MachineCode);
    return it == chosenRowOf.end() || IsBlank(p.MachineCode) ? 0 : it->second;
  };

  std::unordered_map<std::int32_t, int> taskOfOrder;
  std::vector<PlanIdx> staying;
  for (std::int32_t i = 2; i <= data.PlanCount(); ++i) {
    const PlanEntry& p = data.Plan(PlanIdx{i});
    if (!p.IsOnChart()) continue;
    const int row = rowOf(p);
    if (row == 0 || !MayMove(p, request.firstDay, request.lastDay)) {
      staying.push_back(PlanIdx{i});
      continue;
    }
    Task t;
    t.plan = PlanIdx{i};
    t.row = row;
    t.start = p.Start();
    t.end = p.End();
    t.due = p.InitialDueDate;
    if (!IsBlank(p.MoldNo)) t.mold = p.MoldNo;
    AddChoices(t, p, problem.chosenRows, request);
    if (p.OrderNo != 0) taskOfOrder.emplace(p.OrderNo, static_cast<int>(problem.tasks.size()));
    problem.tasks.push_back(std::move(t));
  }
  // Only the rows and molds a moving plan may use are searched: the busy spans of the others
  // would only be copied with every start.
  for (const Task& t : problem.tasks) {
    if (!t.mold.empty()) problem.molds[t.mold];
  }
  for (PlanIdx i : staying) {
    const PlanEntry& p = data.Plan(i);
    if (const int row = rowOf(p); row != 0) problem.rows[row].AddStaying(p.Start(), p.End());
    if (auto mold = problem.molds.find(p.MoldNo); mold != problem.molds.end()) {
      mold->second.AddStaying(p.Start(), p.End());
    }
  }
  LinkSteps(data, request, problem, taskOfOrder);
  std::vector<int> state(problem.tasks.size(), 0);
  for (int t = 0; t < static_cast<int>(problem.tasks.size()); ++t) {
    ChainDue(problem.tasks, t, state);
  }
  return problem;
}

}  // namespace velmora::levelling
