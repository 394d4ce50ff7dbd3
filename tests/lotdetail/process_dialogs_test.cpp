// Adding following process steps to a plan and viewing its process chain, over a small database.
#include <gtest/gtest.h>

#include "../editing/editing_world.h"
#include "lotdetail/lot_opening.h"
#include "lotdetail/plan_window.h"
#include "lotdetail/process_dialogs.h"
#include "support/scripted_messages.h"
#include "support/test_db.h"

namespace velmora::test {
namespace {

using lotdetail::AddPlan;
using lotdetail::ShowPlan;

const DateTime kToday = DateTime::FromDate(2024, 12, 5);

// A chain of arrangements 1000 -> 1001 (the plan's member) -> 1002 -> 1003 -> 1004, each step
// with its own process; the plan on M01 holds 1001 alone.
struct ChainWorld {
  explicit ChainWorld(const char* lastCategory = "03") : world(&db.connection()) {
    db.Insert("品目マスタ", {{"品名コード", "P-1"}, {"型番名", "型式B "}});
    Step(1000, 1001, "K0", "切断", "01", "20241201");
    Step(1001, 1002, "K1", "成形", "01", "20241205");
    Step(1002, 1003, "K2", "仕上げ", "01", "20241210");
    Step(1003, 1004, "K3", "検査", "01", "20241211");
    Step(1004, 0, "K4", "梱包", lastCategory, "20241212");
    lot = world.Add("M01     ", "2024/12/03 08:00:00", 120);
    PlanEntry& p = world.Plan(lot);
    p.OrderNo = 1001;
    p.ProcessName = "成形";
    Member& m = p.A.Slot(1);
    m.OrderNo = 1001;
    m.ProcessName = "成形";
    m.ModelName = "型式B";
    m.OrderQty = 100;
  }
  void Step(int no, int next, const char* code, const char* name, const char* category,
            const char* due) {
    db.Insert("手配情報", {{"手配番号", no},
                           {"上位手配番号", next},
                           {"品名コード", "P-1"},
                           {"順序", no - 999},
                           {"工程内容コード", code},
                           {"機械コード", "M0" + std::to_string(no - 999) + "     "},
                           {"ラインコード", "L" + std::to_string(no - 999)},
                           {"納期", due},
                           {"手配数", no - 900},
                           {"受入実績数", 7},
                           {"生産計画番号", 55}});
    db.Insert("工程手順マスタ",
              {{"品名コード", "P-1"}, {"順序", no - 999}, {"工程内容コード", code}});
    db.Insert("工程内容マスタ", {{"工程内容コード", code},
                                 {"工程内容名", std::string(name) + " "},
                                 {"工程分類コード", category}});
  }
  std::shared_ptr<lotdetail::PlanWindow> Window() {
    auto window = lotdetail::OpenPlanWindow(world.editor.Context(), PlanIdx{lot}, kToday);
    window->ShowDialog = [this](std::shared_ptr<DialogModel> d) {
      if (auto a = std::dynamic_pointer_cast<AddPlan>(d)) adding = std::move(a);
      if (auto s = std::dynamic_pointer_cast<ShowPlan>(d)) showing = std::move(s);
    };
    return window;
  }

  TestDb db;
  EditingWorld world;
  int lot = 0;
  std::shared_ptr<AddPlan> adding;
  std::shared_ptr<ShowPlan> showing;
};

TEST(AddPlan, RefusesPlansWithoutExactlyOneKnownMember) {
  struct Case {
    const char* name;
    void (*change)(ChainWorld&);
    const char* message;
  };
  const Case cases[] = {
      {"two members", [](ChainWorld& c) { c.world.Plan(c.lot).B.Slot(1).OrderNo = 1002; },
       lotdetail::kCannotAddProcess},
      {"no member", [](ChainWorld& c) { c.world.Plan(c.lot).A.Slot(1) = Member{}; },
       lotdetail::kCannotAddProcess},
      {"unknown arrangement", [](ChainWorld& c) { c.world.Plan(c.lot).A.Slot(1).OrderNo = 4242; },
       lotdetail::kNoArrangementToAdd},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    ScriptedMessages boxes;
    ChainWorld c;
    k.change(c);
    c.Window()->Click("addProcesses");
    EXPECT_EQ(c.adding, nullptr);
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{k.message});
  }
}

TEST(AddPlan, ListsFollowingStepsUpToAMoldingCategory) {
  for (const char* category : {"03", "30"}) {
    SCOPED_TRACE(category);
    ChainWorld c(category);
    c.Window()->Click("addProcesses");
    ASSERT_NE(c.adding, nullptr);
    EXPECT_EQ(c.adding->memberNo, "1001 ");
    EXPECT_EQ(c.adding->NList.Lines,
              (std::vector<std::string>{"1001 成形", "1002 仕上げ", "1003 検査"}));
    EXPECT_EQ(c.adding->NList.Ticked, (std::vector<bool>{true, false, false}));
  }
}

TEST(ProcessChains, AChainThatLoopsBackEndsInsteadOfHanging) {
  ChainWorld c;
  c.db.connection().ExecuteScript(
      "UPDATE 手配情報 SET 上位手配番号=1000 WHERE 手配番号=1003;"
      "UPDATE 手配情報 SET 上位手配番号=1001 WHERE 手配番号=1000;");
  auto window = c.Window();
  window->Click("addProcesses");
  ASSERT_NE(c.adding, nullptr);
  EXPECT_EQ(c.adding->NList.Lines,
            (std::vector<std::string>{"1001 成形", "1002 仕上げ", "1003 検査", "1000 切断"}));
  window->Click("showProcesses");
  ASSERT_NE(c.showing, nullptr);
  EXPECT_EQ(c.showing->NList.Lines.size(), 4u + 3u);
}

TEST(ProcessLists, TickingALineTicksExactlyTheLinesUpToIt) {
  lotdetail::ChainList list;
  for (const char* line : {"a", "b", "c", "d", "e"}) list.Add(line);
  list.ItemCheck(3);
  EXPECT_EQ(list.Ticked, (std::vector<bool>{true, true, true, true, false}));
  list.ItemCheck(2);  // clearing line 2's tick
  EXPECT_EQ(list.Ticked, (std::vector<bool>{true, true, true, false, false}));
  EXPECT_EQ(list.TickedCount(), 3);
}

TEST(AddPlan, FoldingTwoStepsGivesThreeMembersAndAMixedProcess) {
  ScriptedMessages boxes;
  ChainWorld c;
  auto window = c.Window();
  window->Click("addProcesses");
  ASSERT_NE(c.adding, nullptr);

  c.adding->Click("add");
  EXPECT_EQ(boxes.texts(), std::vector<std::string>{lotdetail::kNoProcessAdded});
  EXPECT_FALSE(c.adding->Closed()) << "nothing ticked beyond the plan's own step";

  c.adding->Check("NList", 2);
  c.adding->Click("add");
  EXPECT_TRUE(c.adding->Closed());
  const PlanEntry& p = c.world.Plan(c.lot);
  EXPECT_EQ(p.ProcessName, "混合");
  EXPECT_EQ(p.A[2].OrderNo, 1002);
  EXPECT_EQ(p.A[3].OrderNo, 1003);
  EXPECT_EQ(p.A[4].OrderNo, 0);
  const Member& m = p.A[3];
  EXPECT_EQ(m.ProcessName + "|" + m.ModelName + "|" + m.ItemCode, "検査 |型式B |P-1");
  EXPECT_EQ(m.Seq, 4);
  EXPECT_EQ(m.PlanNo, 55);
  EXPECT_EQ(m.OrderQty, 103);
  EXPECT_EQ(m.ReceivedQty, 7);
  EXPECT_EQ(window->NList, (std::vector<std::string>{"1001 成形 型式B 100", "1002 仕上げ 型式B 102",
                                                     "1003 検査 型式B 103"}));
}

TEST(AddPlan, CancelLeavesThePlanAlone) {
  ChainWorld c;
  c.Window()->Click("addProcesses");
  c.adding->Check("NList", 1);
  c.adding->Click("cancel");
  EXPECT_TRUE(c.adding->Closed());
  EXPECT_EQ(c.world.Plan(c.lot).ProcessName, "成形");
  EXPECT_EQ(c.world.Plan(c.lot).A[2].OrderNo, 0);
}

TEST(ShowPlan, ListsEarlierStepsAboveAndLaterOnesBelowTheMember) {
  ChainWorld c;
  c.Window()->Click("showProcesses");
  ASSERT_NE(c.showing, nullptr);
  EXPECT_EQ(c.showing->memberNo, "1001 ");
  EXPECT_EQ(c.showing->NList.Lines, (std::vector<std::string>{
                                        "12/01 1000 P-1 L1 切断",
                                        "12/05 1001 P-1 M02      成形",
                                        "12/10 1002 P-1 M03      仕上げ",
                                        "12/11 1003 P-1 M04      検査",
                                    }));
}

TEST(ShowPlan, ShowsTheMemberEvenOfAMoldingCategory) {
  ChainWorld c;
  c.world.Plan(c.lot).A.Slot(1).OrderNo = 1004;
  c.Window()->Click("showProcesses");
  ASSERT_NE(c.showing, nullptr);
  ASSERT_FALSE(c.showing->NList.Lines.empty());
  EXPECT_EQ(c.showing->NList.Lines.back(), "12/12 1004 P-1 M05      梱包");
}

}  // namespace
}  // namespace velmora::test
