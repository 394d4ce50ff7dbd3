#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <vector>

#include "level_world.h"
#include "levelling/level_problem.h"
#include "plandata/clashes.h"

namespace velmora::test {
namespace {

const char* const kMachines[] = {"M01     ", "M02     ", "M03     "};

// A crowded fortnight: plans on three machines with due dates, some fixed, some sharing molds,
// some chained as steps, a few of them tentative or received.
void Fill(LevelWorld& w, std::uint32_t seed) {
  std::mt19937 random(seed);
  auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  const int count = 12 + pick(30);
  for (int k = 0; k < count; ++k) {
    const int day = 2 + pick(12);
    const std::string start = "2024/12/" + std::string(day < 10 ? "0" : "") + std::to_string(day) +
                              " " + (pick(2) ? "08" : "12") + ":00:00";
    const int dueDay = std::min(20, day + pick(4));
    const std::string due =
        "2024/12/" + std::string(dueDay < 10 ? "0" : "") + std::to_string(dueDay);
    PlanEntry& p = w.Plan(kMachines[pick(3)], start, 60 * (1 + pick(12)), due);
    if (pick(8) == 0) p.FixedFlag = pick(2) ? "1" : "2";
    if (pick(5) == 0) p.MoldNo = "K" + std::to_string(pick(3));
    if (pick(12) == 0) p.ConfirmFlag = "1";
    if (pick(15) == 0) p.ReceivedQty = 5;
    if (k > 0 && pick(4) == 0) {
      // The step above an earlier plan.
      const int below = 2 + pick(k);
      w.Plan(below).ParentOrderNo = p.OrderNo;
    }
  }
  if (pick(2)) w.request.firstDay = LevelWorld::Date("2024/12/04");
  // Room enough after the plans that every plan finds a place inside the window.
  w.request.lastDay = LevelWorld::Date("2025/01/31");
  w.request.budgetSeconds = 0.3;
}

bool Movable(const LevelWorld& w, const PlanEntry& p) {
  return levelling::MayMove(p, w.request.firstDay, w.request.lastDay);
}

TEST(LevelProperty, RandomPlansKeepEveryRule) {
  for (std::uint32_t seed = 1; seed <= 150; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    LevelWorld w;
    Fill(w, seed);
    const std::vector<PlanEntry> before = w.data.PlanTable;
    const levelling::Proposal proposal = w.Level();
    w.Apply(proposal);

    std::set<std::int32_t> moved;
    for (const levelling::Move& m : proposal.moves) {
      const PlanEntry& was = before[m.plan.Slot()];
      moved.insert(m.plan.value);
      EXPECT_TRUE(Movable(w, was)) << "a plan that must stay moved: " << m.plan.value;
      EXPECT_GE(m.startAfter, w.request.firstDay);
    }
    // Overlaps and shared molds are left only among plans that stay.
    for (const Clash& c : FindClashes(w.data)) {
      if (c.kind == Clash::Kind::Overlap || c.kind == Clash::Kind::Mold) {
        const bool firstMoves = Movable(w, before[c.first.Slot()]);
        const bool secondMoves = Movable(w, before[c.second.Slot()]);
        EXPECT_FALSE(firstMoves || secondMoves)
            << "clash between " << c.first.value << " and " << c.second.value;
      }
    }
    // The step order holds between loaded steps where either may move.
    for (int i = 2; i <= w.data.PlanCount(); ++i) {
      const PlanEntry& below = w.data.Plan(PlanIdx{i});
      for (int j = 2; j <= w.data.PlanCount(); ++j) {
        const PlanEntry& above = w.data.Plan(PlanIdx{j});
        if (below.ParentOrderNo == 0 || below.ParentOrderNo != above.OrderNo) continue;
        if (!Movable(w, before[static_cast<std::size_t>(i)]) &&
            !Movable(w, before[static_cast<std::size_t>(j)])) {
          continue;
        }
        // A staying step may leave no room: then the proposal lists it.
        bool listed = false;
        for (const auto& s : proposal.stuck) listed |= s.kind == "order";
        EXPECT_TRUE(above.Start() >= below.End() || listed)
            << i << " below " << j << " movable " << Movable(w, before[static_cast<std::size_t>(i)])
            << Movable(w, before[static_cast<std::size_t>(j)]);
      }
    }
    // Never worse than the plan as it stood, and the totals say what the table shows.
    EXPECT_LE(
        std::tie(proposal.after.clashes, proposal.after.latePlans, proposal.after.lateMinutes),
        std::tie(proposal.before.clashes, proposal.before.latePlans, proposal.before.lateMinutes));
    EXPECT_EQ(proposal.after.movedPlans, static_cast<int>(moved.size()));
    int late = 0;
    for (int i = 2; i <= w.data.PlanCount(); ++i) {
      const PlanEntry& p = w.data.Plan(PlanIdx{i});
      late += p.End().DatePart() > p.InitialDueDate ? 1 : 0;
    }
    EXPECT_EQ(proposal.after.latePlans, late);
  }
}

}  // namespace
}  // namespace velmora::test
