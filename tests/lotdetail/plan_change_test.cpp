// The plan change over a small bill of materials: opening, entering shares and applying them.
#include <gtest/gtest.h>

#include "common/text.h"
#include "lotdetail/plan_change.h"
#include "restructuring_world.h"
#include "support/scripted_messages.h"
#include "support/test_db.h"

namespace velmora::test {
namespace {

using lotdetail::PlanChange;
using lotdetail::ZLine;

std::string Code(const char* code) {
  return PadRight(code, 25);
}

// Parents P-A (the lot's item), P-B and P-C share component C-1; P-D does too but its routing
// row is deleted. P-B has stock. Existing arrangements: 5001 of P-B without a line, 5002 of
// P-C on line L9, and the lot's own 1001.
struct ChangeWorld {
  explicit ChangeWorld(std::vector<M> members = {{1001, "成形", 500}}, bool secondStep = false) {
    for (const char* parent : {"P-A", "P-B", "P-C", "P-D"}) {
      db.Insert("構成マスタ", {{"上位品名コード", Code(parent)},
                               {"下位品名コード", Code("C-1")},
                               {"生産工場コード", 3}});
      db.Insert("品目マスタ",
                {{"品名コード", Code(parent)}, {"型番名", std::string("親") + (parent + 2)}});
      for (int seq = 1; seq <= (secondStep && parent[2] != 'C' ? 2 : 1); ++seq) {
        db.Insert("工程手順マスタ", {{"品名コード", Code(parent)},
                                     {"順序", seq},
                                     {"生産工場コード", 3},
                                     {"削除フラグ", parent[2] == 'D' ? "1" : "0"}});
      }
    }
    db.Insert("在庫情報",
              {{"品名コード", Code("P-B")}, {"順序", 1}, {"生産工場ｺｰﾄﾞ", 3}, {"現在庫数", 25}});
    Arrangement(5001, "P-B", "", "20241210");
    Arrangement(5002, "P-C", "L9", "20241208");
    Arrangement(1001, "P-A", "", "20241206");
    world = std::make_unique<RestructuringWorld>(members, &db.connection());
    world->data.PlantCode = 3;
    PlanEntry& e = world->Plan(world->lot);
    e.ItemCode = "P-A";
    e.Seq = 1;
  }
  void Arrangement(int no, const char* item, const char* line, const char* due) {
    db.Insert("手配情報", {{"手配番号", no},
                           {"品名コード", Code(item)},
                           {"順序", 1},
                           {"生産工場コード", 3},
                           {"ラインコード", line},
                           {"納期", due},
                           {"手配数", 70}});
  }
  PlanChange& Open() {
    world->window->Click("changePlan");
    return world->Dialog<PlanChange>();
  }
  int LineOf(PlanChange& d, const char* parent) {
    for (std::size_t i = 0; i < d.ZList.size(); ++i) {
      if (ZLine::ParentCode(d.ZList[i]) == parent) return static_cast<int>(i);
    }
    throw std::runtime_error("no line for parent");
  }
  // Enters a share as the user does: the line, the quantity, the date, the machine row.
  void Share(PlanChange& d, const char* parent, int qty, const char* date, int machineRow) {
    d.Select("ZList", {LineOf(d, parent)});
    d.Type("shareQty", std::to_string(qty));
    d.Enter("shareQty");
    d.Type("shareDate", date);
    if (*date != 0) d.Enter("shareDate");
    d.Select("machine", {machineRow - 1});
    d.Enter("machine");
  }

  TestDb db;
  std::unique_ptr<RestructuringWorld> world;
};

TEST(PlanChangeLines, FieldsSitAtTheirPositionsFromTheEnd) {
  const std::string line = ZLine::Make("親B", "25", Code("P-B"));
  EXPECT_EQ(CharCount(line), 103u);
  EXPECT_EQ(line, PadRight("親B", 40) + "        25/         0 --/-- --------  " + Code("P-B"));
  const std::string shared = ZLine::WithShare(line, 300, "12/10", "M02     ");
  EXPECT_EQ(ZLine::Quantity(shared), 300);
  EXPECT_EQ(ZLine::Date(shared), "12/10");
  EXPECT_EQ(ZLine::Machine(shared), "M02     ");
  EXPECT_EQ(ZLine::ParentCode(shared), "P-B          ");
  EXPECT_EQ(ZLine::ModelName(shared), PadRight("親B", 40));
}

TEST(PlanChangeOpen, ParentsArrangementsAndMachines) {
  ChangeWorld c;
  PlanChange& d = c.Open();
  ASSERT_EQ(d.ZList.size(), 3u);  // P-D's routing row is deleted
  EXPECT_EQ(d.ZList[static_cast<std::size_t>(c.LineOf(d, "P-B          "))],
            ZLine::Make("親B", "25", Code("P-B")));
  EXPECT_EQ(ZLine::Quantity(d.ZList[0]), 0);
  EXPECT_EQ(d.memberNo, "1001 ");
  // Not on a line: 5001; on one: 5002 by its line, the loaded lot by its machine, selected.
  EXPECT_EQ(d.MList, std::vector<std::string>{"12/10 5001 親B 70"});
  EXPECT_EQ(d.KList,
            (std::vector<std::string>{"12/06 1001 M01 型式A 500", "12/08 5002 L9 親C 70"}));
  EXPECT_EQ(d.KListIndex, 0);
  EXPECT_FALSE(d.MListIndex);
  EXPECT_EQ(d.machineChoices, c.world->window->machineChoices);
}

TEST(PlanChangeOpen, TwoStepPlansNeedParentsWithBothSteps) {
  ChangeWorld c({{1001, "成形", 500}, {1002, "仕上", 500}}, true);
  c.world->Plan(c.world->lot).A.Slot(2).ItemCode = "ITEM-0001";
  PlanChange& d = c.Open();
  EXPECT_EQ(d.ZList.size(), 2u);  // P-C has the first step only
  EXPECT_THROW(c.LineOf(d, "P-C          "), std::runtime_error);
}

TEST(PlanChangeOpen, RefusedWithoutParents) {
  for (const char* item : {"P-X", "P-A"}) {
    ChangeWorld c;
    c.world->Plan(c.world->lot).ItemCode = item;
    // The lot's step is one no parent has.
    if (std::string(item) == "P-A") c.world->Plan(c.world->lot).A.Slot(1).Seq = 7;
    ScriptedMessages boxes;
    c.world->window->Click("changePlan");
    EXPECT_EQ(boxes.texts(),
              std::vector<std::string>{std::string(item) == "P-X" ? lotdetail::kNoBillOfMaterials
                                                                  : lotdetail::kSequenceMismatch});
    EXPECT_FALSE(c.world->dialog);
  }
}

TEST(PlanChangeShares, EnteringAShareWritesItsLine) {
  ChangeWorld c;
  PlanChange& d = c.Open();
  ScriptedMessages boxes;
  c.Share(d, "P-B          ", 300, "2024/12/10", 3);
  std::string line = d.ZList[static_cast<std::size_t>(c.LineOf(d, "P-B          "))];
  EXPECT_EQ(ZLine::Quantity(line) * 1000 + 0, 300000);
  EXPECT_EQ(ZLine::Date(line) + ZLine::Machine(line), "12/10M02     ");
  EXPECT_EQ(d.shareQty + d.machine, "");
  EXPECT_EQ(d.Focus, "ZList");
  d.Select("ZList", {c.LineOf(d, "P-B          ")});
  EXPECT_EQ(d.shareQty + " " + d.shareDate, "300 2024/12/10");

  // A date that is no date, and a quantity that is no count, are refused; 0 clears the share.
  d.Type("shareDate", "2024/13/45");
  d.Select("machine", {1});
  d.Enter("machine");
  d.shareDate = "";
  d.Type("shareQty", "-5");
  d.Select("machine", {1});
  d.Enter("machine");
  EXPECT_EQ(boxes.texts(),
            (std::vector<std::string>{lotdetail::kTypeCorrectDate, lotdetail::kBadShare}));
  d.Type("shareQty", "0");
  d.Enter("machine");
  line = d.ZList[static_cast<std::size_t>(c.LineOf(d, "P-B          "))];
  EXPECT_EQ(ZLine::Quantity(line), 0);
  EXPECT_EQ(ZLine::Date(line) + ZLine::Machine(line), "--/----------");
}

TEST(PlanChangeApply, WholeSharesRelabelAndPartSharesBecomeNewLots) {
  struct Share {
    const char* parent;
    int qty;
    const char* date;
    int machineRow;
  };
  struct Case {
    const char* name;
    std::vector<Share> shares;
    std::vector<std::string> messages;
    int newLots;
    const char* lotItem;  // the lot's item afterwards
    int lotQty;
  };
  const Case cases[] = {
      {"the whole lot to one parent", {{"P-B          ", 500, "2024/12/10", 3}}, {}, 0, "P-B", 500},
      {"part and rest",
       {{"P-B          ", 300, "2024/12/10", 3}, {"P-C          ", 200, "", 4}},
       {},
       1,
       "P-C",
       200},
      {"a zero share is skipped", {{"P-B          ", 0, "", 2}}, {}, 0, "P-A", 500},
      {"over the lot",
       {{"P-B          ", 300, "", 2}, {"P-C          ", 300, "", 2}},
       {lotdetail::kSharesOverQuantity},
       0,
       "P-A",
       500},
      {"two parts",
       {{"P-B          ", 200, "", 2}, {"P-C          ", 100, "2024/12/12", 4}},
       {},
       2,
       "P-A",
       200},
  };
  for (const Case& c : cases) {
    ChangeWorld w;
    PlanChange& d = w.Open();
    for (const Share& s : c.shares) w.Share(d, s.parent, s.qty, s.date, s.machineRow);
    ScriptedMessages boxes;
    const int before = w.world->data.PlanCount();
    d.Click("split");
    EXPECT_EQ(boxes.texts(), c.messages) << c.name;
    EXPECT_EQ(d.Closed(), c.messages.empty()) << c.name;
    EXPECT_EQ(w.world->data.PlanCount() - before, c.newLots) << c.name;
    const PlanEntry& e = w.world->Plan(w.world->lot);
    EXPECT_EQ(Trim(e.A[1].ItemCode == "ITEM-0001" ? "P-A" : e.A[1].ItemCode), c.lotItem) << c.name;
    EXPECT_EQ(e.A[1].OrderQty, c.lotQty) << c.name;
    EXPECT_EQ(e.OrderQty, c.lotQty) << c.name;
  }
}

TEST(PlanChangeApply, ANewLotCarriesTheParentTheDateAndTheMachine) {
  ChangeWorld w;
  PlanChange& d = w.Open();
  w.Share(d, "P-B          ", 300, "2024/12/10", 3);
  w.Share(d, "P-C          ", 200, "2024/12/11", 4);
  d.Click("split");
  const PlanEntry& e = w.world->Plan(w.world->lot);
  const PlanEntry& n = w.world->Last();
  EXPECT_EQ(n.A[1].OrderNo, -1);
  EXPECT_EQ(n.A[1].SourceOrderNo, 1001);
  EXPECT_EQ(n.A[1].ItemCode, Code("P-B"));
  EXPECT_EQ(n.A[1].ModelName, PadRight("親B", 40));
  EXPECT_EQ(n.A[1].OrderQty, 300);
  EXPECT_EQ(n.OrderNo, -1);
  EXPECT_EQ(n.OrderQty, 300);
  EXPECT_EQ(n.PlanItemCode, Code("P-B"));
  EXPECT_EQ(n.MachineCode, "M02     ");
  EXPECT_EQ(n.Changed, 1);
  // The rest re-labels the lot: its parent, machine and start; the window shows them.
  EXPECT_EQ(e.A[1].ItemCode, Code("P-C"));
  EXPECT_EQ(e.MachineCode, "M03     ");
  EXPECT_EQ(e.DestinationCode, "");
  const lotdetail::PlanWindow& win = *w.world->window;
  EXPECT_EQ(win.itemCode, Code("P-C"));
  EXPECT_EQ(win.startDate, "2024/12/11");
  EXPECT_EQ(win.orderQty, "200");
  // The lot shrank to 200 pieces: 100 + 20 minutes from 08:00; the new lot starts on its own
  // date at the time the shortened lot ended, 150 + 20 minutes long.
  EXPECT_EQ(win.totalMinutes, "120");
  EXPECT_EQ(w.world->Start(w.world->data.PlanCount()), "12/10 10:00");
  EXPECT_EQ(w.world->End(w.world->data.PlanCount()), "12/10 12:50");

  // The change undoes with the window that made it.
  w.world->window->Finish();
  ASSERT_TRUE(w.world->editor.Undo());
  EXPECT_EQ(w.world->Plan(w.world->lot).A[1].ItemCode, "ITEM-0001");
  EXPECT_EQ(w.world->Plan(w.world->lot).OrderQty, 500);
  EXPECT_EQ(w.world->Last().InUse, 0);
}

}  // namespace
}  // namespace velmora::test
