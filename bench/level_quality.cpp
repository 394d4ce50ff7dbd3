// The leveller against an exact model: seeded instances of 50 to 500 plans are levelled with
// the default budget of 2 s and solved with MiniZinc/Gecode, and both results are measured
// alike (late plans and minutes late of every plan, fixed ones too; clashes with a movable plan
// in them). Target per instance: minutes late within 10 % of the solver's best (or no more),
// never worse than the loaded plan as the leveller itself judges (clashes, then late plans,
// then minutes), and no clash where the solver has none. The solver's best is the optimum only
// where it says "opt"; elsewhere the optimum may be lower still.
//
//   level_quality [--sizes 50,100,200,500] [--seeds N] [--first-seed S] [--time-limit MS]
//                 [--out DIR] [--plans]
//
// --plans prints every plan as loaded, proposed and solved. Without minizinc the leveller's
// columns are printed and the comparison is skipped.

#include <stdlib.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "common/format.h"
#include "level_instance.h"
#include "levelling/leveller.h"
#include "levelling/totals.h"
#include "minizinc_model.h"
#include "plandata/clashes.h"
#include "plandata/lateness.h"

namespace {

using namespace velmora;
using namespace velmora::bench;

// One plan of an instance measured: what the scheduler would see.
struct Figures {
  int late = 0;
  std::int64_t minutes = 0;
  int clashes = 0;  // overlaps, shared molds and step order with a movable plan in them

  auto Aims() const { return std::tie(clashes, late, minutes); }
};

bool Movable(const Instance& in, PlanIdx plan) {
  const std::size_t k = plan.Slot() - 2;
  return k < in.plans.size() && !in.plans[k].fixed;
}

Figures Measured(const Instance& in, const PlanData& data) {
  std::vector<int> rows;
  for (int r = 2; r <= data.MachineRowCount; ++r) rows.push_back(r);
  const levelling::Totals totals = levelling::Measure(data, rows, {});
  Figures f{totals.latePlans, totals.lateMinutes, 0};
  for (const Clash& c : FindClashes(data)) {
    if (Movable(in, c.first) || Movable(in, c.second)) ++f.clashes;
  }
  for (std::size_t k = 0; k < in.plans.size(); ++k) {
    const int above = in.plans[k].above;
    if (above < 0) continue;
    const PlanEntry& below = data.Plan(PlanOf(static_cast<int>(k)));
    if (below.End() > data.Plan(PlanOf(above)).Start()) ++f.clashes;
  }
  return f;
}

struct Options {
  std::vector<int> sizes = {50, 100, 200, 500};
  int seeds = 1;
  std::uint32_t firstSeed = 1;
  int limitMs = 60000;
  std::filesystem::path out;
  bool plans = false;  // each plan's places, for a look at a miss
};

Options Parse(int argc, char** argv) {
  Options o;
  for (int i = 1; i < argc; ++i) {
    const std::string flag = argv[i];
    if (flag == "--plans") {
      o.plans = true;
      continue;
    }
    if (i + 1 == argc) break;
    const std::string value = argv[++i];
    if (flag == "--sizes") {
      o.sizes.clear();
      std::istringstream list(value);
      for (std::string size; std::getline(list, size, ',');) o.sizes.push_back(std::stoi(size));
    } else if (flag == "--seeds") {
      o.seeds = std::stoi(value);
    } else if (flag == "--first-seed") {
      o.firstSeed = static_cast<std::uint32_t>(std::stoul(value));
    } else if (flag == "--time-limit") {
      o.limitMs = std::stoi(value);
    } else if (flag == "--out") {
      o.out = value;
    } else {
      std::fprintf(stderr, "level_quality: unknown option %s\n", flag.c_str());
      std::exit(2);
    }
  }
  if (o.out.empty()) {
    char dir[] = "/tmp/velmora-level-quality-XXXXXX";
    o.out = mkdtemp(dir);
  }
  return o;
}

// Whether the proposal meets the target; what it misses, when it does not.
std::string Verdict(const Figures& loaded, const Figures& proposal, const Figures* solver) {
  std::string misses;
  if (loaded.Aims() < proposal.Aims()) misses += " worse-than-loaded";
  if (solver == nullptr) return misses.empty() ? "holds (no solver)" : "MISS:" + misses;
  if (solver->clashes == 0 && proposal.clashes > 0) misses += " clashes";
  if (proposal.minutes > solver->minutes && proposal.minutes * 10 > solver->minutes * 11) {
    misses += " minutes+" + std::to_string(proposal.minutes - solver->minutes);
    if (solver->minutes > 0) {
      misses += "(+" +
                std::to_string((proposal.minutes - solver->minutes) * 100 / solver->minutes) + "%)";
    }
  }
  const std::string note =
      proposal.late > solver->late
          ? " (late plans +" + std::to_string(proposal.late - solver->late) + ")"
          : "";
  return (misses.empty() ? "holds" : "MISS:" + misses) + note;
}

std::string Place(const PlanEntry& p) {
  return FormatDateTime(p.Start(), "mm/dd hh:nn") + "-" + FormatDateTime(p.End(), "mm/dd hh:nn") +
         (IsLate(p) ? " late" : "     ");
}

// Each plan as loaded, as proposed and as solved, with what binds it.
void PrintPlans(const Instance& in, const PlanData& levelled, const PlanData* solved) {
  for (std::size_t k = 0; k < in.plans.size(); ++k) {
    const AxisPlan& a = in.plans[k];
    const PlanIdx plan = PlanOf(static_cast<int>(k));
    std::printf("  %4zu M%02d %4dmin due %s%s mold %-3d above %-4d| %s | %s | %s\n", k,
                a.machine + 1, a.minutes, FormatDateTime(a.due, "mm/dd").c_str(),
                a.fixed ? " fixed" : "      ", a.mold + 1, a.above,
                Place(in.data.Plan(plan)).c_str(), Place(levelled.Plan(plan)).c_str(),
                solved ? Place(solved->Plan(plan)).c_str() : "");
  }
}

void PrintHeader() {
  std::printf("%6s %5s | %-19s | %-33s | %-30s | %s\n", "", "", "loaded", "proposal",
              "solver (Gecode)", "");
  std::printf("%6s %5s | %4s %8s %5s | %4s %8s %5s %5s %6s | %4s %8s %5s %3s %6s | %s\n", "seed",
              "plans", "late", "minutes", "clash", "late", "minutes", "clash", "moved", "ms",
              "late", "minutes", "clash", "opt", "s", "target");
}

void RunOne(const Options& o, int size, std::uint32_t seed, bool solver) {
  const Instance in = MakeInstance(seed, size);
  const Figures loaded = Measured(in, in.data);
  const auto began = std::chrono::steady_clock::now();
  const levelling::Proposal proposal = levelling::Level(in.data, in.request);
  const double ms =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - began).count();
  const PlanData after = levelling::WithMoves(in.data, proposal.moves);
  const Figures levelled = Measured(in, after);
  std::printf("%6u %5d | %4d %8lld %5d | %4d %8lld %5d %5zu %6.0f | ", seed, size, loaded.late,
              static_cast<long long>(loaded.minutes), loaded.clashes, levelled.late,
              static_cast<long long>(levelled.minutes), levelled.clashes, proposal.moves.size(),
              ms);
  std::fflush(stdout);
  if (!solver) {
    std::printf("%-30s | %s\n", "skipped", Verdict(loaded, levelled, nullptr).c_str());
    if (o.plans) PrintPlans(in, after, nullptr);
    return;
  }
  const auto dir = o.out / (std::to_string(size) + "-" + std::to_string(seed));
  const SolverRun run = SolveWithMiniZinc(in, dir, o.limitMs);
  if (!run.found) {
    std::printf("%-30s | %s\n", run.note.c_str(), Verdict(loaded, levelled, nullptr).c_str());
    return;
  }
  const PlanData solved = WithStarts(in, run.starts);
  const Figures exact = Measured(in, solved);
  std::printf("%4d %8lld %5d %3s %6.1f | %s\n", exact.late, static_cast<long long>(exact.minutes),
              exact.clashes, run.optimal ? "yes" : "no", run.seconds,
              Verdict(loaded, levelled, &exact).c_str());
  if (o.plans) PrintPlans(in, after, &solved);
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  const Options o = Parse(argc, argv);
  const bool solver = MiniZincReady();
  if (!solver) {
    std::printf(
        "level_quality: minizinc with Gecode not found (scripts/install-bench-solvers "
        "installs it); the comparison is skipped.\n");
  } else {
    std::printf("level_quality: solver time limit %d ms per instance; models in %s\n", o.limitMs,
                o.out.c_str());
  }
  PrintHeader();
  for (int size : o.sizes) {
    for (int s = 0; s < o.seeds; ++s)
      RunOne(o, size, o.firstSeed + static_cast<std::uint32_t>(s), solver);
  }
  return 0;
}
