#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "level_world.h"
#include "plandata/clashes.h"

namespace velmora::test {
namespace {

using levelling::Proposal;

struct RuleCase {
  std::string name;
  std::function<void(LevelWorld&)> build;
  // Start ("mm/dd hh:nn") of every plan after the proposal is applied, in table order.
  std::vector<std::string> starts;
  int clashesAfter = 0;
  int lateAfter = 0;
  std::vector<std::string> stuckKinds = {};
};

const std::vector<RuleCase>& Cases() {
  static const std::vector<RuleCase> cases = {
      {"a plan that is fine stays",
       [](LevelWorld& w) {
         w.Plan("M01     ", "2024/12/03 08:00:00", 120);
         w.Plan("M01     ", "2024/12/03 10:00:00", 120);
       },
       {"12/03 08:00", "12/03 10:00"}},
      {"an overlap moves the later plan behind the earlier, on the shifts",
       [](LevelWorld& w) {
         w.Plan("M01     ", "2024/12/03 10:00:00", 240);
         w.Plan("M01     ", "2024/12/03 13:00:00", 240);
       },
       {"12/03 10:00", "12/03 14:00"}},
      {"a plan pushed past the shift's end starts with the next shift",
       [](LevelWorld& w) {
         w.Plan("M01     ", "2024/12/03 08:00:00", 480);
         w.Plan("M01     ", "2024/12/03 12:00:00", 60);
       },
       {"12/03 08:00", "12/04 08:00"}},
      {"a fixed plan stays and the free one moves",
       [](LevelWorld& w) {
         w.Plan("M01     ", "2024/12/03 08:00:00", 240);
         w.Plan("M01     ", "2024/12/03 10:00:00", 120).FixedFlag = "2";
       },
       {"12/03 12:00", "12/03 10:00"}},
      {"two fixed plans that overlap are left and listed",
       [](LevelWorld& w) {
         w.Plan("M01     ", "2024/12/03 08:00:00", 240).FixedFlag = "2";
         w.Plan("M01     ", "2024/12/03 10:00:00", 120).FixedFlag = "1";
       },
       {"12/03 08:00", "12/03 10:00"},
       1,
       0,
       {"overlap"}},
      {"plans with a received quantity, or tentative and untouched, stay",
       [](LevelWorld& w) {
         w.Plan("M01     ", "2024/12/03 08:00:00", 240).ReceivedQty = 10;
         w.Plan("M01     ", "2024/12/03 10:00:00", 120).ConfirmFlag = "1";
       },
       {"12/03 08:00", "12/03 10:00"},
       1,
       0,
       {"overlap"}},
      {"plans sharing a mold on two machines run one after the other",
       [](LevelWorld& w) {
         w.Plan("M01     ", "2024/12/03 08:00:00", 120).MoldNo = "K1";
         w.Plan("M02     ", "2024/12/03 09:00:00", 120).MoldNo = "K1";
       },
       {"12/03 08:00", "12/03 10:00"}},
      {"the step above starts when the step below has ended",
       [](LevelWorld& w) {
         w.Plan("M01     ", "2024/12/03 08:00:00", 240).ParentOrderNo = 77;
         w.Plan("M02     ", "2024/12/03 09:00:00", 60).OrderNo = 77;
       },
       {"12/03 08:00", "12/03 12:00"}},
      {"a staying step above that starts too early is listed, the step below stays on time",
       [](LevelWorld& w) {
         w.request.firstDay = LevelWorld::Date("2024/12/03");
         w.Plan("M01     ", "2024/12/03 08:00:00", 240).ParentOrderNo = 88;
         w.request.outside.push_back(
             {88, 0, LevelWorld::At("2024/12/03 09:00:00"), LevelWorld::At("2024/12/03 10:00:00")});
       },
       {"12/03 08:00"},
       1,
       0,
       {"order"}},
      {"a late plan trades places with an earlier one that has time to spare",
       [](LevelWorld& w) {
         w.Plan("M01     ", "2024/12/02 08:00:00", 480, "2024/12/10");
         w.Plan("M01     ", "2024/12/03 08:00:00", 480, "2024/12/02");
       },
       {"12/03 08:00", "12/02 08:00"}},
      {"nothing starts before the first day, even when that leaves a plan late",
       [](LevelWorld& w) {
         w.request.firstDay = LevelWorld::Date("2024/12/05");
         w.Plan("M01     ", "2024/12/05 08:00:00", 480, "2024/12/04");
       },
       {"12/05 08:00"},
       0,
       1},
      {"a plan with no room left before the last day's end keeps its place, the others make way",
       [](LevelWorld& w) {
         w.request.firstDay = LevelWorld::Date("2024/12/03");
         w.request.lastDay = LevelWorld::Date("2024/12/03");
         w.Plan("M01     ", "2024/12/03 08:00:00", 480);
         w.Plan("M01     ", "2024/12/03 09:00:00", 60);
       },
       {"12/03 10:00", "12/03 09:00"}},
      {"a plan with no room beside a fixed plan before the last day's end stays, and is listed",
       [](LevelWorld& w) {
         w.request.firstDay = LevelWorld::Date("2024/12/03");
         w.request.lastDay = LevelWorld::Date("2024/12/03");
         w.Plan("M01     ", "2024/12/03 08:00:00", 480).FixedFlag = "2";
         w.Plan("M01     ", "2024/12/03 09:00:00", 60);
       },
       {"12/03 08:00", "12/03 09:00"},
       1,
       0,
       {"overlap"}},
      {"plans of rows not chosen stay",
       [](LevelWorld& w) {
         w.request.rows = {3};
         w.Plan("M01     ", "2024/12/03 08:00:00", 240);
         w.Plan("M01     ", "2024/12/03 10:00:00", 120);
       },
       {"12/03 08:00", "12/03 10:00"}},
      {"another machine takes a plan when allowed and it is then on time",
       [](LevelWorld& w) {
         w.request.firstDay = LevelWorld::Date("2024/12/03");
         w.request.otherMachines = true;
         w.request.cycleOn = [](PlanIdx, int row) -> std::optional<levelling::CycleOn> {
           if (row != 3) return std::nullopt;
           return levelling::CycleOn{10, 10, 480};
         };
         w.Plan("M01     ", "2024/12/03 08:00:00", 480, "2024/12/03");
         w.Plan("M01     ", "2024/12/03 08:00:00", 480, "2024/12/03");
       },
       {"12/03 08:00", "12/03 08:00"}},
  };
  return cases;
}

TEST(LevelRules, EachRuleOnASmallPlan) {
  for (const RuleCase& c : Cases()) {
    SCOPED_TRACE(c.name);
    LevelWorld w;
    c.build(w);
    const std::vector<PlanEntry> before(w.data.PlanTable.begin(), w.data.PlanTable.end());
    const Proposal proposal = w.Level();
    w.Apply(proposal);
    std::vector<std::string> starts;
    for (int i = 2; i <= w.data.PlanCount(); ++i) starts.push_back(w.Start(i));
    EXPECT_EQ(starts, c.starts);
    EXPECT_EQ(proposal.after.clashes, c.clashesAfter);
    EXPECT_EQ(proposal.after.latePlans, c.lateAfter);
    std::vector<std::string> kinds;
    for (const auto& stuck : proposal.stuck) kinds.push_back(stuck.kind);
    EXPECT_EQ(kinds, c.stuckKinds);
    for (const levelling::Move& m : proposal.moves) {
      const PlanEntry& was = before[m.plan.Slot()];
      EXPECT_EQ(m.startBefore, was.Start());
      EXPECT_EQ(m.endAfter, ComputeEndTimeOn(w.data, m.startAfter,
                                             w.Plan(m.plan.value).DurationMinutes, m.machineAfter));
    }
  }
}

TEST(LevelRules, AnotherMachineCarriesItsCycleAndMinutes) {
  LevelWorld w;
  w.request.firstDay = LevelWorld::Date("2024/12/03");
  w.request.otherMachines = true;
  w.request.cycleOn = [](PlanIdx, int row) -> std::optional<levelling::CycleOn> {
    return row == 3 ? std::optional(levelling::CycleOn{12, 24, 300}) : std::nullopt;
  };
  w.Plan("M01     ", "2024/12/03 08:00:00", 480, "2024/12/03");
  w.Plan("M01     ", "2024/12/03 08:00:00", 480, "2024/12/03");
  const int second = w.data.PlanCount();
  const Proposal proposal = w.Level();
  ASSERT_EQ(proposal.moves.size(), 1u);
  const levelling::Move& m = proposal.moves[0];
  EXPECT_EQ(m.plan.value, second);
  EXPECT_EQ(m.machineAfter, "M02     ");
  ASSERT_TRUE(m.cycle.has_value());
  EXPECT_EQ(m.cycle->minutes, 300);
  EXPECT_EQ(w.Start(second), "12/03 08:00");
  EXPECT_EQ(m.endAfter, LevelWorld::At("2024/12/03 13:00:00"));
  EXPECT_EQ(proposal.before.clashes, 1);
  EXPECT_EQ(proposal.after, (levelling::Totals{0, 0, 0, 0, 1}));
}

}  // namespace
}  // namespace velmora::test
