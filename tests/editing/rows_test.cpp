#include <gtest/gtest.h>

#include "editing/merge_plans.h"
#include "editing/row_expansion.h"
#include "editing/stretch_bar.h"
#include "editing_world.h"
#include "support/scripted_messages.h"
#include "support/test_db.h"

namespace velmora::test {
namespace {

using editing::kExpandQuestion;

// The cycle for a new row: the item's cycle on a machine (per shot, split by the cavities), the
// process step's productivity elsewhere; a machine without a cycle row only warns.
TEST(StretchBar, TakesTheCycleOfTheNewRow) {
  TestDb db;
  db.Insert(
      "品目別機械別ｻｲｸﾙﾏｽﾀ",
      {{"品名コード", "ITEM-O'1"}, {"順序", 2}, {"機械コード", "M02     "}, {"サイクル", 30}});
  db.Insert("品目別機械別ｻｲｸﾙﾏｽﾀ",
            {{"品名コード", "ITEM-O'1"}, {"順序", 2}, {"機械コード", "M03     "}, {"サイクル", 0}});
  db.Insert(
      "工程手順マスタ",
      {{"品名コード", "ITEM-O'1"}, {"順序", 2}, {"生産工場コード", 3}, {"標準生産性＿機械", 12}});
  struct Case {
    const char* name;
    int row;
    int cavities;
    float cycle;  // afterwards
    float mold;
    std::int32_t minutes;
    bool warned;
  } cases[] = {
      {"machine with a cycle, two cavities", 3, 2, 15, 30, 10 + 15 * 120 / 60, false},
      {"machine with a cycle, cavities 0 count as 1", 3, 0, 30, 30, 10 + 30 * 120 / 60, false},
      {"machine without a cycle row", 4 + 0, 2, 5, 10, 77, false},
      {"department: the step's productivity", 5, 2, 12, 24, 10 + 12 * 120 / 60, false},
      {"subcontractor: the same", 6, 1, 12, 12, 10 + 12 * 120 / 60, false},
      {"unplanned: nothing is looked up", 1, 2, 5, 10, 77, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EditingWorld w(&db.connection());
    ScriptedMessages messages;
    const int p = w.Add("M01     ", "2024/12/02 09:00:00", 77);
    PlanEntry& plan = w.Plan(p);
    plan.ItemCode = "ITEM-O'1";
    plan.Seq = 2;
    plan.Cavities = c.cavities;
    plan.SetupMinutes = 10;
    plan.OrderQty = 120;
    plan.CycleSeconds = 5;
    plan.MoldCycle = 10;
    editing::StretchBar(w.editor.Context(), plan.Bar(), w.data.RowCode[c.row]);
    EXPECT_FLOAT_EQ(plan.CycleSeconds, c.cycle);
    EXPECT_FLOAT_EQ(plan.MoldCycle, c.mold);
    EXPECT_EQ(plan.DurationMinutes, c.minutes);
    EXPECT_TRUE(messages.shown().empty());
  }
  // A machine that never made the item: warned once, nothing changes.
  EditingWorld w(&db.connection());
  ScriptedMessages messages;
  const int p = w.Add("M01     ", "2024/12/02 09:00:00", 77);
  w.Plan(p).ItemCode = "OTHER";
  editing::StretchBar(w.editor.Context(), w.Plan(p).Bar(), "M02     ");
  EXPECT_EQ(messages.texts(), std::vector<std::string>{editing::kNoCycleOnLine});
  EXPECT_EQ(w.Plan(p).DurationMinutes, 77);
}

// A drop on another machine derives the duration there before the end is laid out.
TEST(StretchBar, ADropOnAnotherMachineGetsItsLength) {
  TestDb db;
  db.Insert("品目別機械別ｻｲｸﾙﾏｽﾀ",
            {{"品名コード", "ITEM"}, {"順序", 1}, {"機械コード", "M02     "}, {"サイクル", 60}});
  EditingWorld w(&db.connection());
  ScriptedMessages messages;
  const int p = w.Add("M01     ", "2024/12/02 09:00:00", 30);
  w.Plan(p).ItemCode = "ITEM";
  w.Plan(p).Seq = 1;
  w.Plan(p).OrderQty = 240;
  w.Drag(p, 3, "2024/12/03 14:00");
  EXPECT_EQ(w.Plan(p).DurationMinutes, 240);
  EXPECT_EQ(w.End(p), "12/04 10:00");  // two hours today, two tomorrow from 08:00
  EXPECT_TRUE(messages.shown().empty());
}

// While a drop warns about the new machine, its bar already stands on that machine's row at the
// new time: the plan takes the row's codes only after the warning.
TEST(StretchBar, TheWarnedDropShowsTheBarOnItsNewRow) {
  TestDb db;
  EditingWorld w(&db.connection());
  struct SeenAtMessage : ScriptedMessages {
    EditingWorld& world;
    int plan;
    chart::BarLabel bar;
    SeenAtMessage(EditingWorld& w, int p) : world(w), plan(p) {}
    void Tell(const Message& message) override {
      bar = world.model.Bar(world.Plan(plan).Bar());
      ScriptedMessages::Tell(message);
    }
  };
  const int p = w.Add("M01     ", "2024/12/02 09:00:00", 60);
  w.Plan(p).ItemCode = "NEVER-MADE";
  SeenAtMessage messages(w, p);
  w.Drag(p, 4, "2024/12/03 10:00");
  ASSERT_EQ(messages.texts(), std::vector<std::string>{editing::kNoCycleOnLine});
  const double rowTop = w.data.RowTop[4];
  EXPECT_GE(messages.bar.Top, rowTop - 45) << "on the new row";
  EXPECT_LT(messages.bar.Top, rowTop + chart::kRowPitch - 45);
  EXPECT_DOUBLE_EQ(messages.bar.Left, w.X("2024/12/03 10:00"));
  EXPECT_EQ(w.model.Bar(w.Plan(p).Bar()).Top, messages.bar.Top) << "where it stays";
}

// Members of s that fit t go into t: the same member absorbs, others take free slots.
TEST(Merge, SlotRules) {
  auto member = [](std::int32_t no, const char* item, const char* process, std::int32_t plan,
                   std::int32_t qty, std::int32_t received = 0) {
    Member m;
    m.OrderNo = no;
    m.ItemCode = item;
    m.ProcessName = process;
    m.PlanNo = plan;
    m.OrderQty = qty;
    m.ReceivedQty = received;
    return m;
  };
  struct Case {
    const char* name;
    Member s, t;
    std::vector<std::int32_t> tNumbers;  // order numbers of t's group A afterwards
    std::vector<std::int32_t> tQtys;
    std::int32_t sNumber;  // s's slot afterwards: 0 once its member went over
  } cases[] = {
      {"another member takes the free slot",
       member(11, "BX1000-01A", "成形", 7, 40),
       member(10, "BX1000-11A", "成形", 7, 60),
       {10, 11},
       {60, 40},
       0},
      {"the same member absorbs, the smaller number stays in t, the other follows empty",
       member(9, "BX1000-01A", "成形", 7, 40),
       member(10, "BX1000-01A", "成形", 7, 60),
       {9, 10},
       {100, 0},
       0},
      {"the same member with a larger number: t keeps its own",
       member(12, "BX1000-01A", "成形", 7, 40),
       member(10, "BX1000-01A", "成形", 7, 60),
       {10, 12},
       {100, 0},
       0},
      {"t's new member takes s's number",
       member(12, "BX1000-01A", "成形", 7, 40),
       member(-1, "BX1000-01A", "成形", 7, 60),
       {12},
       {100},
       0},
      {"s's new member disappears into t",
       member(-2, "BX1000-01A", "成形", 7, 40),
       member(10, "BX1000-01A", "成形", 7, 60),
       {10},
       {100},
       0},
      {"another process does not fit and stays",
       member(11, "BX1000-01A", "塗装", 7, 40),
       member(10, "BX1000-11A", "成形", 7, 60),
       {10},
       {60},
       11},
      {"another item kind does not fit",
       member(11, "BX1000-04A", "成形", 7, 40),
       member(10, "BX1000-11A", "成形", 7, 60),
       {10},
       {60},
       11},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EditingWorld w;
    const int t = w.Add("M01     ", "2024/12/02 09:00:00", 60);
    const int s = w.Add("M01     ", "2024/12/03 09:00:00", 60);
    w.Plan(t).FirstProcessName = "成形";
    w.Plan(t).ItemKind = "1";
    w.Plan(t).A.Slot(1) = c.t;
    w.Plan(s).A.Slot(1) = c.s;
    const std::int32_t before = w.Plan(t).OrderQty;
    editing::MergePlans(w.editor.Context(), PlanIdx{s}, PlanIdx{t});
    std::vector<std::int32_t> numbers, qtys;
    for (int e = 1; e <= w.Plan(t).A.Stored(); ++e) {
      numbers.push_back(w.Plan(t).A[e].OrderNo);
      qtys.push_back(w.Plan(t).A[e].OrderQty);
    }
    EXPECT_EQ(numbers, c.tNumbers);
    EXPECT_EQ(qtys, c.tQtys);
    EXPECT_EQ(w.Plan(s).A[1].OrderNo, c.sNumber);
    const bool fits = c.tNumbers.size() > 1 || c.tQtys[0] == 100;
    EXPECT_EQ(w.Plan(t).OrderQty, before + (fits ? 40 : 0));
    EXPECT_EQ(w.Plan(t).Changed, 1);
    // A plan whose member did not fit stays on the chart with it: hidden, its arrangement would
    // vanish from view while still planned, and come back at the next load.
    EXPECT_EQ(w.Plan(s).InUse, fits ? 0 : 1);
    EXPECT_EQ(w.Plan(s).OrderNo, c.sNumber);
    EXPECT_EQ(w.Bar(s).Visible, !fits);
  }
}

TEST(Merge, IsOfferedOnlyForOnePlanNumberWithoutReceipts) {
  struct Case {
    const char* name;
    const char* planS;
    const char* planT;
    std::int32_t received;
    bool offered;
  } cases[] = {
      {"same plan number", "P1", "P1", 0, true},
      {"both empty", "", "", 0, true},
      {"different plan numbers", "P1", "P2", 0, false},
      {"received quantity", "P1", "P1", 5, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EditingWorld w;
    ScriptedMessages messages;
    messages.Answer(Answer::No);
    const int t = w.Add("M02     ", "2024/12/03 09:00:00", 60);
    const int s = w.Add("M01     ", "2024/12/02 09:00:00", 60);
    w.Plan(s).PlanNoText = c.planS;
    w.Plan(t).PlanNoText = c.planT;
    w.Plan(t).ReceivedQty = c.received;
    w.editor.PlanBar_MouseDown(w.Plan(s).Bar(), 1, 0, 0, 100);
    w.editor.PlanBar_DragDrop(w.Plan(t).Bar(), w.Plan(s).Bar(), 0, 100);
    const bool asked = !messages.texts().empty() && messages.texts()[0] == editing::kMergeQuestion;
    EXPECT_EQ(asked, c.offered);
    // Otherwise (or answered No) it is a plain drop at the point on the target bar.
    EXPECT_EQ(w.Plan(s).MachineCode, "M02     ");
    EXPECT_EQ(w.Plan(s).InUse, 1);
  }
}

// Row expansion: back to back from 08:00 of the first day in row order; locked and pre-period
// plans stay and only move the running start.
TEST(Expand, LaysTheRowOutBackToBack) {
  EditingWorld w;
  ScriptedMessages messages;
  messages.Answer(Answer::Yes);
  const int late = w.Add("M01     ", "2024/12/05 09:00:00", 120);
  const int early = w.Add("M01     ", "2024/12/03 09:00:00", 240);
  const int locked = w.Add("M01     ", "2024/12/02 11:00:00", 240);
  w.Plan(locked).FixedFlag = "2";
  const int before = w.Add("M01     ", "2024/11/30 09:00:00", 60);
  const int endFixed = w.Add("M01     ", "2024/12/06 09:00:00", 60);
  w.Plan(endFixed).FixedFlag = "1";
  w.Add("M02     ", "2024/12/04 09:00:00", 60);  // another row
  w.editor.MachineName_DblClick(2);
  EXPECT_EQ(messages.texts(), (std::vector<std::string>{kExpandQuestion, "5件"}));
  EXPECT_EQ(w.Start(before), "11/30 09:00");
  EXPECT_EQ(w.Start(locked), "12/02 11:00");
  EXPECT_EQ(w.Start(early), "12/02 15:00");  // after the locked plan's end
  EXPECT_EQ(w.Start(late), "12/03 11:00");
  EXPECT_EQ(w.Start(endFixed), "12/03 13:00");  // an end-fixed plan moves like a free one
  for (int i : {early, late, endFixed}) EXPECT_EQ(w.Plan(i).Changed, 1);
  EXPECT_EQ(w.Plan(locked).Changed, 0);
  EXPECT_TRUE(w.data.Edits.CanSave());
}

TEST(Expand, APlanRunningIntoAFixedOneLeavesTheMachine) {
  EditingWorld w;
  ScriptedMessages messages;
  messages.Answer(Answer::Yes);
  const int a = w.Add("M01     ", "2024/12/02 08:00:00", 240);
  const int b = w.Add("M01     ", "2024/12/02 10:00:00", 300);  // would run into the fixed one
  const int fixed = w.Add("M01     ", "2024/12/02 14:00:00", 60);
  w.Plan(fixed).FixedFlag = "1";
  const int c = w.Add("M01     ", "2024/12/03 09:00:00", 60);
  w.editor.MachineName_DblClick(2);
  EXPECT_EQ(w.Start(a), "12/02 08:00");
  EXPECT_EQ(w.Plan(b).MachineCode, "        ");
  EXPECT_EQ(w.Plan(b).ConfirmFlag, "1");
  EXPECT_EQ(w.Plan(b).FixedFlag, "0");
  EXPECT_EQ(w.Start(b), "12/02 12:00");      // keeps its new dates
  EXPECT_EQ(w.Start(fixed), "12/02 12:00");  // end-fixed: moved like a free plan
  EXPECT_EQ(w.Start(c), "12/02 13:00");
}

TEST(Expand, RefusalsAndAnswers) {
  struct Case {
    const char* name;
    int caption;
    int scroll;
    std::vector<Answer> answers;
    std::vector<std::string> shown;
  } cases[] = {
      {"the unplanned row", 1, 0, {}, {editing::kUnplannedNotExpandable}},
      {"answered No", 2, 0, {Answer::No}, {kExpandQuestion}},
      {"Enter takes the default No", 2, 0, {}, {kExpandQuestion}},
      {"an empty row counts 0", 4, 0, {Answer::Yes}, {kExpandQuestion, "0件"}},
      {"the caption slot follows the scroll", 1, 1, {Answer::Yes}, {kExpandQuestion, "1件"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EditingWorld w;
    ScriptedMessages messages;
    for (Answer a : c.answers) messages.Answer(a);
    const int p = w.Add("M01     ", "2024/12/03 09:00:00", 60);
    w.model.KScroll.Value = static_cast<std::int16_t>(c.scroll);
    w.editor.MachineName_MouseDown(c.caption, editing::kRightButton);
    EXPECT_EQ(messages.texts(), c.shown);
    EXPECT_EQ(w.Start(p),
              c.shown.size() == 2 && c.shown[1] == "1件" ? "12/02 08:00" : "12/03 09:00");
  }
}

}  // namespace
}  // namespace velmora::test
