// The process split and the lot split on a small chart, through the lot detail window.
#include <gtest/gtest.h>

#include "lotdetail/lot_split.h"
#include "lotdetail/new_entry.h"
#include "lotdetail/process_split.h"
#include "restructuring_world.h"
#include "support/scripted_messages.h"

namespace velmora::test {
namespace {

using lotdetail::BunWindow;
using Numbers = std::vector<std::int32_t>;

TEST(ProcessSplit, RefusalsAndDeclinedQuestionsChangeNothing) {
  struct Case {
    const char* name;
    std::vector<M> members;
    std::vector<int> inner, outer;
    std::vector<Answer> answers;
    std::vector<std::string> messages;
  };
  const M in1{1001}, in2{1002, "成形"}, out1{2001, "組付", 100, true};
  const Case cases[] = {
      {"nothing selected", {in1, in2}, {}, {}, {}, {lotdetail::kNoProcessChosen}},
      {"every line of both lists",
       {in1, in2, out1},
       {0, 1},
       {0},
       {},
       {lotdetail::kEveryProcessChosen}},
      {"every line, outer list empty",
       {in1, in2},
       {0, 1},
       {},
       {},
       {lotdetail::kEveryProcessChosen}},
      {"both rings of an ordinary item",
       {in1, in2, out1},
       {0},
       {0},
       {},
       {lotdetail::kOuterRingStays}},
      {"a separation step", {in1, {1002, "分離"}}, {1}, {}, {}, {lotdetail::kSeparationStays}},
      {"the question declined",
       {in1, {1002, "仕上"}},
       {1},
       {},
       {Answer::No},
       {lotdetail::kSplitQuestion}},
      {"the partial process declined",
       {in1, in2},
       {1},
       {},
       {Answer::Yes, Answer::No},
       {lotdetail::kSplitQuestion, std::string("成形") + lotdetail::kPartialInner}},
  };
  for (const Case& c : cases) {
    RestructuringWorld w(c.members);
    ScriptedMessages boxes;
    for (Answer a : c.answers) boxes.Answer(a);
    const PlanEntry before = w.Plan(w.lot);
    const int count = w.data.PlanCount();
    if (!c.inner.empty()) w.window->Select("NList", c.inner);
    if (!c.outer.empty()) w.window->Select("GList", c.outer);
    w.window->Click("splitProcesses");
    EXPECT_EQ(boxes.texts(), c.messages) << c.name;
    EXPECT_EQ(w.data.PlanCount(), count) << c.name;
    EXPECT_TRUE(w.Plan(w.lot) == before) << c.name;
  }
}

TEST(ProcessSplit, SelectedMembersLeaveForANewBarOneDayLater) {
  RestructuringWorld w({{1001},
                        {1002, "仕上"},
                        {1003, "検査"},
                        {1004, "梱包", 100, false, 0, 900},
                        {2001, "組付", 100, true}});
  ScriptedMessages boxes;
  boxes.Answer(Answer::Yes);
  w.window->Select("NList", {3, 1});
  w.window->Click("splitProcesses");

  ASSERT_EQ(boxes.shown().size(), 1u);
  EXPECT_EQ(boxes.shown()[0].title, lotdetail::kSplitTitle);
  const PlanEntry& e = w.Plan(w.lot);
  const PlanEntry& n = w.Last();
  EXPECT_EQ(w.Numbers(e.A), (Numbers{1001, 1003}));
  EXPECT_EQ(w.Numbers(n.A), (Numbers{1004, 1002}));  // the last line arrives first
  EXPECT_EQ(w.Numbers(n.B), Numbers{});
  EXPECT_EQ(n.A[1].SourceOrderNo, 900);  // a member's source travels with it
  EXPECT_EQ(e.A[2].SourceOrderNo, 0);
  EXPECT_EQ(n.OrderNo, 1004);
  EXPECT_EQ(e.OrderNo, 1001);
  EXPECT_EQ(n.BarIndex, e.BarIndex + 1);
  EXPECT_EQ(w.Start(w.data.PlanCount()), "12/04 08:00");
  EXPECT_EQ(w.End(w.data.PlanCount()), "12/04 10:00");
  EXPECT_EQ(w.Start(w.lot), "12/03 08:00");
  EXPECT_EQ(e.Changed + n.Changed, 2);
  EXPECT_TRUE(w.model.Bar(n.Bar()).Visible);
  EXPECT_EQ(w.window->NList.size(), 2u);
  EXPECT_TRUE(w.window->NListSelected.empty());
  EXPECT_EQ(w.window->orderNo, "1001");
}

TEST(ProcessSplit, KeysBothRingsSpecialItemAndPartialProcesses) {
  {  // every inner member leaves: the plan is known by its outer member
    RestructuringWorld w({{1001}, {1002, "仕上"}, {2001, "組付", 100, true}});
    ScriptedMessages boxes;
    boxes.Answer(Answer::Yes);
    w.window->Select("NList", {0, 1});
    w.window->Click("splitProcesses");
    EXPECT_EQ(w.Plan(w.lot).OrderNo, 2001);
    EXPECT_EQ(w.window->orderNo, "2001");
    EXPECT_EQ(w.Last().OrderNo, 1002);
  }
  {  // the one item whose rings may leave together; the partial process is accepted
    RestructuringWorld w(
        {{1001}, {1002}, {1003, "仕上"}, {2001, "組付", 100, true}, {2002, "検査", 100, true}});
    w.window->itemCode = lotdetail::kBothRingsItem;
    ScriptedMessages boxes;
    boxes.Answer(Answer::Yes).Answer(Answer::Yes);
    w.window->Select("NList", {1});
    w.window->Select("GList", {1});
    w.window->Click("splitProcesses");
    EXPECT_EQ(boxes.shown().at(1).title, lotdetail::kPartialTitle);
    EXPECT_EQ(w.Numbers(w.Last().A), Numbers{1002});
    EXPECT_EQ(w.Numbers(w.Last().B), Numbers{2002});
    EXPECT_EQ(w.Numbers(w.Plan(w.lot).B), Numbers{2001});
  }
}

// Each restructuring is part of the window's one undo step: undone, the new entry stays in the
// table unused and off the chart; redone, it is back as it was.
TEST(Restructuring, UndoTakesTheSplitBackWithTheWindow) {
  struct Case {
    const char* name;
    void (*split)(RestructuringWorld&);
  };
  const Case cases[] = {
      {"process split",
       [](RestructuringWorld& w) {
         w.window->Select("NList", {1});
         w.window->Click("splitProcesses");
       }},
      {"lot split",
       [](RestructuringWorld& w) {
         w.window->Click("splitLot");
         auto& bun = w.Dialog<BunWindow>();
         bun.Type("splitCount", "30");
         bun.Enter("splitCount");
         bun.Click("split");
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RestructuringWorld w({{1001}, {1002, "仕上"}});
    ScriptedMessages boxes;
    boxes.Answer(Answer::Yes);
    const PlanEntry before = w.Plan(w.lot);
    c.split(w);
    w.window->Finish();
    const int n = w.data.PlanCount();
    ASSERT_EQ(n, w.lot + 1);
    const PlanEntry after = w.Plan(n);

    ASSERT_TRUE(w.editor.Undo());
    EXPECT_EQ(w.Plan(n).InUse, 0);
    EXPECT_EQ(w.Plan(n).Changed, 0);
    EXPECT_FALSE(w.model.Bar(after.Bar()).Visible);
    EXPECT_TRUE(w.Plan(w.lot) == before);
    EXPECT_FALSE(w.data.Edits.Edited());
    ASSERT_TRUE(w.editor.Redo());
    EXPECT_TRUE(w.Plan(n) == after);
    EXPECT_TRUE(w.model.Bar(after.Bar()).Visible);
  }
}

// --- Lot split ---

TEST(LotSplit, LinesHoldTheirFieldsAtFixedPositions) {
  Member m;
  m.OrderNo = 1001;
  m.ProcessName = " 成形 ";
  m.ModelName = "型式A ";
  m.OrderQty = 120;
  m.ReceivedQty = 20;
  const std::string line = lotdetail::SplitLine(m);
  EXPECT_EQ(line, "1001     成形 型式A     0/100   ");
  EXPECT_EQ(lotdetail::LineNumber(line), 1001);
  EXPECT_EQ(lotdetail::LineCount(line), 0);
  EXPECT_EQ(lotdetail::LineRemaining(line), 100);
  m.OrderNo = -12;
  EXPECT_EQ(lotdetail::LineNumber(lotdetail::SplitLine(m)), -12);
}

// The lot split dialog opened on a lot with the counts typed line by line (-1: left alone).
struct Counted {
  RestructuringWorld w;
  BunWindow* bun = nullptr;

  Counted(const std::vector<M>& members, const std::vector<int>& inner,
          const std::vector<int>& outer = {})
      : w(members) {
    w.window->Click("splitLot");
    bun = &w.Dialog<BunWindow>();
    Count("NList", inner);
    Count("GList", outer);
  }
  void Count(const char* list, const std::vector<int>& counts) {
    for (std::size_t i = 0; i < counts.size(); ++i) {
      if (counts[i] < 0) continue;
      bun->Select(list, {static_cast<int>(i)});
      bun->Type("splitCount", std::to_string(counts[i]));
      bun->Enter("splitCount");
    }
  }
};

TEST(LotSplit, CountsAndTotals) {
  Counted c({{1001, "成形", 100}, {1001, "成形", 100}, {1002, "仕上", 80}}, {-1, 30, 20});
  // Both lines of 1001 take its count; the repeated number is counted once.
  EXPECT_EQ(lotdetail::LineCount(c.bun->NList[0]), 30);
  EXPECT_EQ(c.bun->innerTotal, "50");
  EXPECT_EQ(c.bun->outerTotal, "");
  EXPECT_FALSE(c.bun->splitCountEnabled);
  EXPECT_EQ(c.bun->memberNo, "");

  ScriptedMessages boxes;
  c.bun->Select("NList", {0});
  EXPECT_EQ(c.bun->splitCount, "30");
  for (const char* bad : {"-5", "1.5", "1000000"}) {
    c.bun->Type("splitCount", bad);
    c.bun->Enter("splitCount");
  }
  EXPECT_EQ(boxes.texts(), std::vector<std::string>(3, lotdetail::kBadCount));
  EXPECT_EQ(lotdetail::LineCount(c.bun->NList[0]), 30);
}

TEST(LotSplit, RefusalsChangeNothing) {
  struct Case {
    const char* name;
    std::vector<M> members;
    std::vector<int> inner, outer;
    const char* message;
  };
  const M in{1001, "成形", 100}, out{2001, "組付", 100, true};
  const Case cases[] = {
      {"no counts", {in}, {0}, {}, lotdetail::kNoLotChosen},
      {"outer counted, inner not", {in, out}, {0}, {10}, lotdetail::kChooseInner},
      {"inner counted, outer not", {in, out}, {10}, {}, lotdetail::kChooseOuter},
      {"totals differ", {in, out}, {10}, {20}, lotdetail::kRingsDiffer},
      {"inner over its quantity", {in, out}, {120}, {120}, lotdetail::kInnerOverQuantity},
      {"outer over its quantity",
       {in, {2001, "組付", 50, true}},
       {60},
       {60},
       lotdetail::kOuterOverQuantity},
      {"the whole lot", {in, {1002, "仕上", 40}}, {100, 40}, {}, lotdetail::kWholeLotChosen},
      {"received pieces are not remaining",
       {{1001, "成形", 100, false, 30}},
       {100},
       {},
       lotdetail::kInnerOverQuantity},
  };
  for (const Case& c : cases) {
    Counted s(c.members, c.inner, c.outer);
    ScriptedMessages boxes;
    const PlanEntry before = s.w.Plan(s.w.lot);
    s.bun->Click("split");
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{c.message}) << c.name;
    EXPECT_FALSE(s.bun->Closed()) << c.name;
    EXPECT_EQ(s.w.data.PlanCount(), s.w.lot) << c.name;
    EXPECT_TRUE(s.w.Plan(s.w.lot) == before) << c.name;
  }
}

TEST(LotSplit, WholeMembersMoveAndPartMembersGetTemporaryNumbers) {
  Counted s({{1001, "成形", 200}, {1002, "仕上", 200}, {1003, "検査", 200, false, 0, 777}},
            {50, 200, 50});
  ScriptedMessages boxes;
  boxes.Answer(Answer::Yes);
  s.w.data.LastTempOrderNo = -4;  // an earlier split in this run
  s.bun->Click("split");
  ASSERT_TRUE(s.bun->Closed());

  const PlanEntry& e = s.w.Plan(s.w.lot);
  const PlanEntry& n = s.w.Last();
  // From the last line up: 1003 in part, 1002 whole, 1001 in part.
  EXPECT_EQ(s.w.Numbers(n.A), (Numbers{-5, 1002, -6}));
  EXPECT_EQ(n.A[1].SourceOrderNo, 777);  // copied from the member's own source
  EXPECT_EQ(n.A[2].SourceOrderNo, 0);
  EXPECT_EQ(n.A[3].SourceOrderNo, 1001);
  EXPECT_EQ((std::vector<int>{n.A[1].OrderQty, n.A[2].OrderQty, n.A[3].OrderQty}),
            (std::vector<int>{50, 200, 50}));
  EXPECT_EQ(s.w.Numbers(e.A), (Numbers{1001, 1003}));
  EXPECT_EQ(e.A[1].OrderQty, 150);
  EXPECT_EQ(e.A[2].OrderQty, 150);
  EXPECT_EQ(s.w.data.LastTempOrderNo, -6);
  EXPECT_EQ(n.OrderNo, -5);
  EXPECT_EQ(e.OrderNo, 1001);
  // The total of the first list is the new lot's quantity.
  EXPECT_EQ(n.OrderQty, 300);
  EXPECT_EQ(n.ReceivedQty, 0);
  EXPECT_EQ(e.OrderQty, 300);
  EXPECT_EQ(e.Changed + n.Changed, 2);
}

TEST(LotSplit, TheNewLotStartsWhereTheShortenedOneEnds) {
  Counted s({{1001, "成形", 200}}, {80});
  ScriptedMessages boxes;
  boxes.Answer(Answer::Yes);
  s.bun->Click("split");
  const lotdetail::PlanWindow& win = *s.w.window;
  // 120 pieces at 30 s and 20 minutes of setup: 80 minutes from 08:00.
  EXPECT_EQ(win.orderQty, "120");
  EXPECT_EQ(win.totalMinutes, "80");
  EXPECT_EQ(win.workingMinutes, "60");
  EXPECT_EQ(win.endDate + " " + win.endTime, "2024/12/03 09:20:00");
  EXPECT_EQ(win.remainder + "/" + win.boxCount, "0/4");
  const int n = s.w.data.PlanCount();
  EXPECT_EQ(s.w.Start(n), "12/03 09:20");
  // 80 pieces: 40 + 20 minutes, across the 16:00 close into the next day when needed.
  EXPECT_EQ(s.w.Plan(n).DurationMinutes, 60);
  EXPECT_EQ(s.w.End(n), "12/03 10:20");
  EXPECT_TRUE(s.w.model.Bar(s.w.Plan(n).Bar()).Visible);
  // The entry itself takes the window's times when the window closes.
  s.w.window->Finish();
  EXPECT_EQ(s.w.End(s.w.lot), "12/03 09:20");
}

TEST(LotSplit, TemporaryNumbersRunOnAcrossSplits) {
  RestructuringWorld w({{1001, "成形", 300}});
  ScriptedMessages boxes;
  boxes.Answer(Answer::Yes).Answer(Answer::Yes);
  for (int round = 0; round < 2; ++round) {
    w.window->Click("splitLot");
    auto& bun = w.Dialog<BunWindow>();
    bun.Type("splitCount", "100");
    bun.Enter("splitCount");
    bun.Click("split");
  }
  EXPECT_EQ(w.Plan(w.data.PlanCount() - 1).OrderNo, -1);
  EXPECT_EQ(w.Plan(w.data.PlanCount()).OrderNo, -2);
  EXPECT_EQ(w.Plan(w.lot).A[1].OrderQty, 100);
}

}  // namespace
}  // namespace velmora::test
