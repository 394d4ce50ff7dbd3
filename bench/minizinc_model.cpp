#include "minizinc_model.h"

#include <stdio.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <fstream>
#include <numeric>
#include <sstream>

namespace velmora::bench {
namespace {

// Lexicographic in effect: a late plan outweighs any sum of minutes an instance here reaches,
// and the largest objective stays inside Gecode's integer range.
constexpr int kLateWeight = 1'000'000;

// The model works in units of the greatest common divisor of the durations, the fixed plans'
// starts, the first start and the working day: with lateness growing with the end, some best
// plan starts every plan at the first start or at another plan's end, so the coarser axis loses
// nothing.
constexpr const char* kModel = R"(% Plans on their machines over working time.
include "disjunctive_strict.mzn";

int: n;  % plans that move
int: machines;
int: molds;
int: release; % the first start the leveller allows
int: units;   % working time of the calendar, in units
int: weight;  % of a late plan against its minutes
array[1..n] of int: dur;
array[1..n] of 1..machines: machine;
array[1..n] of 0..molds: mold;  % 0: none
array[1..n] of int: dueUnits;   % the latest end that is on time
array[1..n] of int: dueEnd;     % wall-clock minute at which the due date ends
array[0..units] of int: wallAt; % wall-clock minute of an end after that many units
int: nf;                        % plans that stay
array[1..nf] of int: fixedStart;
array[1..nf] of int: fixedDur;
array[1..nf] of 1..machines: fixedMachine;
array[1..nf] of 0..molds: fixedMold;
int: steps;
array[1..steps] of 1..n: below;
array[1..steps] of 1..n: above;

array[1..n] of var release..units: s;
constraint forall(i in 1..n)(s[i] + dur[i] <= units);

% One plan at a time on resource r of a kind (machines or molds), moving or staying. A resource
% with one plan or none has nothing to order, and Gecode takes no empty arrays.
predicate oneAtATime(array[1..n] of int: uses, array[1..nf] of int: fixedUses, int: r) =
  let {
    array[int] of var int: starts =
      [s[i] | i in 1..n where uses[i] = r] ++ [fixedStart[j] | j in 1..nf where fixedUses[j] = r];
    array[int] of int: durations =
      [dur[i] | i in 1..n where uses[i] = r] ++ [fixedDur[j] | j in 1..nf where fixedUses[j] = r];
  } in if length(durations) > 1 then disjunctive_strict(starts, durations) else true endif;
constraint forall(m in 1..machines)(oneAtATime(machine, fixedMachine, m));
constraint forall(k in 1..molds)(oneAtATime(mold, fixedMold, k));
constraint forall(k in 1..steps)(s[below[k]] + dur[below[k]] <= s[above[k]]);

array[1..n] of var bool: late = [s[i] + dur[i] > dueUnits[i] | i in 1..n];
array[1..n] of var 0..max(wallAt): lateMinutes =
  [max(0, wallAt[s[i] + dur[i]] - dueEnd[i]) | i in 1..n];
var 0..n: latePlans = sum(late);
var 0..n * max(wallAt): minutes = sum(lateMinutes);
var int: objective = weight * latePlans + minutes;

output ["s = \(s);\nlate = \(latePlans);\nminutes = \(minutes);\nobjective = \(objective);\n"];
)";

// The search starts first the plan that can start earliest; the plans are written in order of
// their due dates, so a tie goes to the more urgent. The neighbourhood search keeps about 70 % of
// the best starts at each restart and searches the others again.
constexpr const char* kCompleteSearch =
    "solve :: int_search(s, smallest, indomain_min) minimize objective;\n";
constexpr const char* kNeighbourhoodSearch =
    "include \"gecode.mzn\";\n"
    "array[1..n] of int: y;  % the complete search's best\n"
    "int: bound;             % and its objective, which this search must beat\n"
    "constraint objective < bound;\n"
    "solve :: int_search(s, smallest, indomain_min) :: restart_luby(100)\n"
    "  :: relax_and_reconstruct(s, 70, y) minimize objective;\n";

template <typename F>
void WriteArray(std::ostream& out, const char* name, const std::vector<int>& rows, F value,
                int first = 1) {
  out << name << " = ";
  if (first != 1)
    out << "array1d(" << first << ".." << first + static_cast<int>(rows.size()) - 1 << ", ";
  out << "[";
  for (std::size_t k = 0; k < rows.size(); ++k) out << (k ? ", " : "") << value(rows[k]);
  out << (first != 1 ? "]);\n" : "];\n");
}

// The instance in the model's terms: plan i (from 1) is moving[i - 1] of the instance, times
// are in units of `unit` working minutes.
struct ModelPlans {
  std::vector<int> moving;  // in order of their due dates
  std::vector<int> fixed;
  std::vector<int> modelOf;  // instance plan -> model plan (0: fixed)
  int unit = 0;
  int units = 0;
  std::vector<std::int64_t> wallAt;  // by units from the first day's first minute
};

ModelPlans Sorted(const Instance& in) {
  ModelPlans m;
  m.unit = std::gcd(WorkAxis::kDayMinutes, in.release);
  for (std::size_t k = 0; k < in.plans.size(); ++k) {
    const AxisPlan& p = in.plans[k];
    (p.fixed ? m.fixed : m.moving).push_back(static_cast<int>(k));
    m.unit = std::gcd(m.unit, p.minutes);
    if (p.fixed) m.unit = std::gcd(m.unit, p.start);
  }
  std::ranges::stable_sort(m.moving, [&](int a, int b) {
    return in.plans[static_cast<std::size_t>(a)].due < in.plans[static_cast<std::size_t>(b)].due;
  });
  m.modelOf.assign(in.plans.size(), 0);
  for (std::size_t i = 0; i < m.moving.size(); ++i) {
    m.modelOf[static_cast<std::size_t>(m.moving[i])] = static_cast<int>(i) + 1;
  }
  m.units = in.horizon / m.unit;
  m.wallAt.push_back(0);
  for (int e = 1; e <= m.units; ++e)
    m.wallAt.push_back(in.axis.WallMinutes(in.axis.EndAt(e * m.unit)));
  return m;
}

void WriteData(const Instance& in, const ModelPlans& m, const std::filesystem::path& path) {
  auto at = [&](int k) -> const AxisPlan& { return in.plans[static_cast<std::size_t>(k)]; };
  auto dueEnd = [&](int k) { return in.axis.WallMinutes(at(k).due.AddDays(1)); };
  // On time: ending no later than the last unit that ends before the due date is over.
  auto dueUnits = [&](int k) {
    return std::ranges::upper_bound(m.wallAt, dueEnd(k)) - m.wallAt.begin() - 1;
  };
  std::vector<int> belowSteps;
  for (int k : m.moving) {
    if (at(k).above >= 0) belowSteps.push_back(k);
  }
  std::vector<int> units(m.wallAt.size());
  std::iota(units.begin(), units.end(), 0);
  std::ofstream out(path);
  out << "n = " << m.moving.size() << ";\nmachines = " << in.machines << ";\nmolds = " << in.molds
      << ";\nrelease = " << in.release / m.unit << ";\nunits = " << m.units
      << ";\nweight = " << kLateWeight << ";\n";
  WriteArray(out, "dur", m.moving, [&](int k) { return at(k).minutes / m.unit; });
  WriteArray(out, "machine", m.moving, [&](int k) { return at(k).machine + 1; });
  WriteArray(out, "mold", m.moving, [&](int k) { return at(k).mold + 1; });
  WriteArray(out, "dueUnits", m.moving,
             [&](int k) { return std::max<std::int64_t>(0, dueUnits(k)); });
  WriteArray(out, "dueEnd", m.moving, dueEnd);
  WriteArray(
      out, "wallAt", units, [&](int e) { return m.wallAt[static_cast<std::size_t>(e)]; }, 0);
  out << "nf = " << m.fixed.size() << ";\n";
  WriteArray(out, "fixedStart", m.fixed, [&](int k) { return at(k).start / m.unit; });
  WriteArray(out, "fixedDur", m.fixed, [&](int k) { return at(k).minutes / m.unit; });
  WriteArray(out, "fixedMachine", m.fixed, [&](int k) { return at(k).machine + 1; });
  WriteArray(out, "fixedMold", m.fixed, [&](int k) { return at(k).mold + 1; });
  out << "steps = " << belowSteps.size() << ";\n";
  WriteArray(out, "below", belowSteps,
             [&](int k) { return m.modelOf[static_cast<std::size_t>(k)]; });
  WriteArray(out, "above", belowSteps,
             [&](int k) { return m.modelOf[static_cast<std::size_t>(at(k).above)]; });
}

std::string Joined(const std::vector<int>& values) {
  std::string text;
  for (int v : values) text += (text.empty() ? "" : ", ") + std::to_string(v);
  return text;
}

struct Output {
  std::vector<int> best;  // the last solution printed
  std::int64_t objective = 0;
  bool optimal = false;  // nothing better than `best` exists
  // No solution exists; in the neighbourhood search, none better than its bound.
  bool none = false;
};

// What `command` writes to its standard output.
std::string OutputOf(const std::string& command) {
  std::string text;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return text;
  char buffer[65536];
  while (std::size_t got = fread(buffer, 1, sizeof buffer, pipe)) text.append(buffer, got);
  pclose(pipe);
  return text;
}

Output Run(const std::string& command) {
  Output result;
  const std::string text = OutputOf(command);
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    if (line == "==========") result.optimal = true;
    if (line == "=====UNSATISFIABLE=====") result.none = true;
    if (line.rfind("objective = ", 0) == 0) result.objective = std::stoll(line.substr(12));
    if (line.rfind("s = [", 0) != 0) continue;
    std::replace_if(
        line.begin(), line.end(), [](unsigned char c) { return !std::isdigit(c) && c != '-'; },
        ' ');
    std::istringstream numbers(line);
    result.best.clear();
    for (int v; numbers >> v;) result.best.push_back(v);
  }
  return result;
}

std::string Command(const std::filesystem::path& model,
                    const std::vector<std::filesystem::path>& data, int limitMs) {
  std::string command = "minizinc --solver gecode -p 1 -a --time-limit " + std::to_string(limitMs);
  command += " '" + model.string() + "'";
  for (const auto& file : data) command += " '" + file.string() + "'";
  return command + " 2>>'" + (model.parent_path() / "solver.err").string() + "'";
}

}  // namespace

bool MiniZincReady() {
  return OutputOf("minizinc --solvers 2>/dev/null").find("org.gecode.gecode") != std::string::npos;
}

SolverRun SolveWithMiniZinc(const Instance& in, const std::filesystem::path& dir, int limitMs) {
  std::filesystem::create_directories(dir);
  const ModelPlans m = Sorted(in);
  const std::filesystem::path data = dir / "data.dzn";
  WriteData(in, m, data);
  std::ofstream(dir / "complete.mzn") << kModel << kCompleteSearch;
  std::ofstream(dir / "neighbourhood.mzn") << kModel << kNeighbourhoodSearch;

  const auto began = std::chrono::steady_clock::now();
  Output out = Run(Command(dir / "complete.mzn", {data}, limitMs / 3));
  if (!out.best.empty() && !out.optimal) {
    std::ofstream(dir / "seed.dzn")
        << "y = [" << Joined(out.best) << "];\nbound = " << out.objective << ";\n";
    Output lns =
        Run(Command(dir / "neighbourhood.mzn", {data, dir / "seed.dzn"}, limitMs - limitMs / 3));
    if (!lns.best.empty()) out.best = lns.best;
    // Gecode says the search is complete only when it is, relaxations or not.
    out.optimal = lns.optimal || lns.none;
  }
  SolverRun run;
  run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
  run.optimal = out.optimal;
  run.found = out.best.size() == m.moving.size();
  if (!run.found) {
    run.note = "no solution (see " + (dir / "solver.err").string() + ")";
    return run;
  }
  for (const AxisPlan& p : in.plans) run.starts.push_back(p.start);
  for (std::size_t i = 0; i < m.moving.size(); ++i) {
    run.starts[static_cast<std::size_t>(m.moving[i])] = out.best[i] * m.unit;
  }
  return run;
}

}  // namespace velmora::bench
