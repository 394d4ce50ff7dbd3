// The lot detail window without a display: filling, the confirmations with Enter, the end-time
// search and the write-back on close.
#include <gtest/gtest.h>

#include <limits>

#include "../editing/editing_world.h"
#include "editing/overlap_resolution.h"
#include "lotdetail/lot_opening.h"
#include "lotdetail/plan_window.h"
#include "support/scripted_messages.h"

namespace velmora::test {
namespace {

using lotdetail::PlanWindow;

const DateTime kToday = DateTime::FromDate(2024, 12, 5);

std::string FieldText(const PlanWindow& win, std::string_view field) {
  for (const auto& [name, text] : win.Show()) {
    if (name == field) return text;
  }
  return "(no field " + std::string(field) + ")";
}

// A chart with one lot on M01 from 12/03 08:00, 120 minutes (setup 20, cycle 30 s, 200 pieces),
// and its window open.
struct LotWorld : EditingWorld {
  LotWorld() {
    lot = Add("M01     ", "2024/12/03 08:00:00", 120);
    PlanEntry& p = Plan(lot);
    p.OrderNo = 1001;
    p.PlanItemCode = "ITEM-1";
    p.ModelName = "型式A";
    p.SetupMinutes = 20;
    p.CycleSeconds = 30;
    p.OrderQty = 200;
    p.PackQty = 30;
    p.Cavities = 3;
    Member& m = p.A.Slot(1);
    m.OrderNo = 1001;
    m.ProcessName = "成形  ";
    m.ModelName = "型式A ";
    m.OrderQty = 200;
    editor.OpenPlan = [this](PlanIdx p) {
      window = lotdetail::OpenPlanWindow(editor.Context(), p, kToday);
    };
    Open();
  }
  // As a double click on the lot's bar opens it.
  std::shared_ptr<PlanWindow> Open() {
    editor.PlanBar_DblClick(Plan(lot).Bar());
    return window;
  }
  void EnterIn(const std::string& field, const std::string& text) {
    window->Type(field, text);
    window->Enter(field);
  }

  int lot = 0;
  std::shared_ptr<PlanWindow> window;
};

TEST(PlanWindowFill, FieldsListsAndButtonsComeFromTheEntry) {
  LotWorld w;
  const PlanWindow& win = *w.window;
  EXPECT_EQ(win.orderNo, "1001");
  EXPECT_EQ(win.startDate + " " + win.startTime, "2024/12/03 08:00:00");
  EXPECT_EQ(win.endDate + " " + win.endTime, "2024/12/03 10:00:00");
  EXPECT_EQ(win.machine, "M01     ");
  EXPECT_EQ(win.totalMinutes + "/" + win.setupMinutes + "/" + win.workingMinutes, "120/20/100");
  EXPECT_EQ(win.cycleSeconds, "30");
  // The pack quantity splits the quantity, on opening as after any change.
  EXPECT_EQ(win.remainder + "/" + win.boxCount, "20/6");
  EXPECT_EQ(win.lastResultDate, "") << "no result date";
  EXPECT_EQ(win.machineChoices,
            (std::vector<std::string>{"        ", "M01     ", "M02     ", "M03     "}));
  EXPECT_EQ(win.destinationChoices, (std::vector<std::string>{"30", "S001"}));
  EXPECT_EQ(win.NList, std::vector<std::string>{"1001 成形 型式A 200"});
  EXPECT_TRUE(win.GList.empty());
  EXPECT_TRUE(win.JList.empty()) << "no database, no relations";
  EXPECT_TRUE(win.addProcesses.Visible);
  EXPECT_EQ(win.finish.Caption, "変更完了");
}

TEST(PlanWindowFill, PacksAreFullPacksAndThePiecesLeftOver) {
  constexpr std::int32_t kLowest = std::numeric_limits<std::int32_t>::min();
  const struct {
    std::int32_t quantity, packQty;
    std::int64_t remainder, boxes;
  } cases[] = {
      {200, 30, 20, 6}, {180, 30, 0, 6}, {29, 30, 29, 0},
      {200, 0, 200, 0}, {0, 30, 0, 0},   {kLowest, -1, 0, std::int64_t{1} << 31},
  };
  for (const auto& c : cases) {
    const lotdetail::Packs packs = lotdetail::PacksOf(c.quantity, c.packQty);
    EXPECT_EQ(packs.remainder, c.remainder) << c.quantity << " by " << c.packQty;
    EXPECT_EQ(packs.boxes, c.boxes) << c.quantity << " by " << c.packQty;
  }
}

TEST(PlanWindowFill, ProcessAddingIsHiddenForMoldingCategories) {
  for (const char* category : {"3", "30", "4"}) {
    LotWorld w;
    w.data.CategoryCode = category;
    EXPECT_EQ(w.Open()->addProcesses.Visible, std::string(category) == "4") << category;
  }
}

TEST(PlanWindowFill, PlanChangeNeedsOneSidedMembersOfOneItemAndNoDepartment) {
  const auto member = [](int no, const char* item, const char* process) {
    Member m;
    m.OrderNo = no;
    m.ItemCode = item;
    m.ProcessName = process;
    return m;
  };
  struct Case {
    const char* name;
    std::vector<Member> a, b;
    const char* destination;
    bool available;
  } cases[] = {
      {"one member", {member(1, "X", "P1")}, {}, "            ", true},
      {"one on each side", {member(1, "X", "P1")}, {member(2, "X", "P2")}, "            ", false},
      {"two processes of one item", {member(1, "X", "P1"), member(2, "X", "P2")}, {}, "", true},
      {"two items", {member(1, "X", "P1"), member(2, "Y", "P2")}, {}, "", false},
      {"one process twice", {member(1, "X", "P1"), member(2, "X", "P1")}, {}, "", false},
      {"three members",
       {member(1, "X", "P1"), member(2, "X", "P2"), member(3, "X", "P3")},
       {},
       "",
       false},
      {"department", {member(1, "X", "P1")}, {}, "30   ", false},
      {"subcontractor", {member(1, "X", "P1")}, {}, "S00001", true},
  };
  for (const Case& c : cases) {
    PlanEntry e;
    for (std::size_t k = 0; k < c.a.size(); ++k) e.A.Slot(static_cast<int>(k) + 1) = c.a[k];
    for (std::size_t k = 0; k < c.b.size(); ++k) e.B.Slot(static_cast<int>(k) + 1) = c.b[k];
    e.DestinationCode = c.destination;
    EXPECT_EQ(lotdetail::PlanChangeAvailable(e), c.available) << c.name;
  }
}

TEST(PlanWindowEnter, TheFocusFollowsTheTabOrderAndWraps) {
  LotWorld w;
  PlanWindow& win = *w.window;
  win.Enter("startDate");
  EXPECT_EQ(win.Focus, "startTime");
  win.Enter("initialDueDate");  // the last tab index
  EXPECT_EQ(win.Focus, "startDate");
  win.Click("itemCode");  // beyond the Enter order
  win.Enter("itemCode");
  EXPECT_EQ(win.Focus, "startDate");
  win.Enter("totalMinutes");
  EXPECT_EQ(win.Focus, "workingMinutes");
}

TEST(PlanWindowEnter, TheEndMovesOnlyAboveThirtyMinutes) {
  for (int minutes : {30, 31}) {
    LotWorld w;
    w.EnterIn("totalMinutes", std::to_string(minutes));
    EXPECT_EQ(w.window->endDate + " " + w.window->endTime,
              minutes == 30 ? "2024/12/03 10:00:00" : "2024/12/03 08:31:00");
    EXPECT_EQ(w.window->workingMinutes, std::to_string(minutes - 20));
  }
}

TEST(PlanWindowEnter, SetupCycleStartAndWorkingMinutesRecomputeTheEnd) {
  LotWorld w;
  PlanWindow& win = *w.window;
  w.EnterIn("cycleSeconds", "60");  // 200 pieces a minute each, plus 20 setup
  EXPECT_EQ(win.totalMinutes + "/" + win.workingMinutes, "220/200");
  EXPECT_EQ(win.endDate + " " + win.endTime, "2024/12/03 11:40:00");
  w.EnterIn("workingMinutes", "470");  // across the 16:00 shift end
  EXPECT_EQ(win.totalMinutes, "490");
  EXPECT_EQ(win.endDate + " " + win.endTime, "2024/12/04 08:10:00");
  w.EnterIn("startDate", "12/4");
  EXPECT_EQ(win.startDate, "2024/12/04");
  EXPECT_EQ(win.endDate + " " + win.endTime, "2024/12/05 08:10:00");
  EXPECT_EQ(win.Focus, "startTime");
  // The entry itself is untouched until the window closes.
  EXPECT_EQ(w.End(w.lot), "12/03 10:00");
}

TEST(PlanWindowEndTime, TheMinutesFollowTheTypedEnd) {
  struct Case {
    const char* name;
    const char* minutes;
    const char* endDate;
    const char* endTime;
    const char* wantMinutes;
    const char* wantEnd;
  } cases[] = {
      {"exact, fewer minutes", "600", "2024/12/03", "12:00", "240", "2024/12/03 12:00"},
      {"exact, more minutes", "120", "2024/12/04", "09:00:00", "540", "2024/12/04 09:00:00"},
      // After the shift: the first count whose end is not earlier, shown as computed.
      {"after the shift", "120", "2024/12/03", "17:00", "481", "2024/12/04 08:01:00"},
      // Within the break: the same.
      {"in the break", "60", "2024/12/03", "12:30", "241", "2024/12/03 13:01:00"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    LotWorld w;
    ScriptedMessages messages;
    messages.Answer(Answer::No);
    // 12/03 works 08:00-12:00 and 13:00-17:00 in this case only.
    if (std::string(c.name) == "in the break") {
      const int day = 3;  // 11/30 + 3
      w.data.ShiftTimes(2, 2, day) = DateTime::FromTime(12, 0, 0);
      w.data.ShiftTimes(2, 3, day) = DateTime::FromTime(13, 0, 0);
      w.data.ShiftTimes(2, 4, day) = DateTime::FromTime(17, 0, 0);
    }
    PlanWindow& win = *w.window;
    win.totalMinutes = c.minutes;
    win.endDate = c.endDate;
    w.EnterIn("endTime", c.endTime);
    EXPECT_EQ(win.totalMinutes, c.wantMinutes);
    EXPECT_EQ(win.endDate + " " + win.endTime, c.wantEnd);
    EXPECT_EQ(win.Focus, "destination");
    EXPECT_EQ(messages.texts(), std::vector<std::string>{lotdetail::kAdjustQuantityQuestion});
  }
}

TEST(PlanWindowEndTime, RefusedEndsChangeNothing) {
  struct Case {
    const char* endDate;
    const char* endTime;
    const char* message;
  } cases[] = {
      {"2024/12/03", "25:00", lotdetail::kNotATimeOfDay},
      {"2024/12/03", "noon", lotdetail::kNotATimeOfDay},
      {"2024/12/03", "08:00", lotdetail::kEndBeforeStart},
      {"2024/12/02", "18:00", lotdetail::kEndBeforeStart},
      // More working minutes than the total can hold: refused instead of searched for ever.
      {"9999/12/31", "23:00", lotdetail::kEndUnreachable},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.endDate) + " " + c.endTime);
    LotWorld w;
    ScriptedMessages messages;
    PlanWindow& win = *w.window;
    win.endDate = c.endDate;
    w.EnterIn("endTime", c.endTime);
    EXPECT_EQ(messages.texts(), std::vector<std::string>{c.message});
    EXPECT_EQ(win.totalMinutes + "/" + win.workingMinutes, "120/100");
    // The end shows what it was before the refused one was typed.
    EXPECT_EQ(win.endDate + " " + win.endTime, "2024/12/03 10:00:00");
    EXPECT_EQ(win.Focus, "endTime");
  }
}

TEST(PlanWindowEndTime, TheQuantityFollowsTheEndAndUndoesWithTheClose) {
  LotWorld w;
  ScriptedMessages messages;
  messages.Answer(Answer::Yes);
  PlanWindow& win = *w.window;
  const std::size_t steps = w.editor.History().Steps();
  w.EnterIn("endTime", "12:00");  // 240 minutes, 220 working: 440 pieces of 30 s
  EXPECT_EQ(win.orderQty, "440");
  EXPECT_EQ(win.remainder + "/" + win.boxCount, "20/14") << "by the pack quantity";
  EXPECT_EQ(w.Plan(w.lot).OrderQty, 440) << "stored at once";
  EXPECT_EQ(w.Plan(w.lot).A[1].OrderQty, 440);
  win.Type("machine", "M02");
  win.Click("finish");
  ASSERT_TRUE(win.Closed());
  EXPECT_EQ(w.Plan(w.lot).MachineCode, "M02     ");
  EXPECT_EQ(w.End(w.lot), "12/03 12:00");
  EXPECT_EQ(w.editor.History().Steps(), steps + 1);
  ASSERT_TRUE(w.editor.Undo());
  EXPECT_EQ(w.Plan(w.lot).OrderQty, 200);
  EXPECT_EQ(w.Plan(w.lot).MachineCode, "M01     ");
  EXPECT_EQ(w.End(w.lot), "12/03 10:00");
}

TEST(PlanWindowClose, WritesBackAndResolvesOverlaps) {
  LotWorld w;
  ScriptedMessages messages;
  EXPECT_EQ(w.Bar(w.lot).BackColor, editing::kOpenedColor);
  const int other = w.Add("M02     ", "2024/12/03 09:00:00", 60);
  messages.Answer(Answer::Yes);
  PlanWindow& win = *w.window;
  win.machine = "M02";
  win.workers = "2";
  win.fixedFlag = "1";
  win.Close();
  EXPECT_TRUE(win.Closed());
  const PlanEntry& p = w.Plan(w.lot);
  EXPECT_EQ(p.MachineCode, "M02     ");
  EXPECT_EQ(p.Workers, 2);
  EXPECT_EQ(p.FixedFlag, "1");
  EXPECT_EQ(p.Changed, 1);
  // The later plan on M02 overlapped and was pushed behind the lot.
  EXPECT_EQ(messages.texts(), std::vector<std::string>{editing::kLaterOverlapQuestion});
  EXPECT_EQ(w.Start(other), "12/03 10:00");
  EXPECT_NE(w.Bar(w.lot).BackColor, editing::kOpenedColor);
}

TEST(PlanWindowClose, EdgeCasesOfTheWriteBack) {
  {
    SCOPED_TRACE("an empty item code writes nothing");
    LotWorld w;
    w.window->itemCode = "";
    w.window->orderQty = "999";
    w.window->Close();
    EXPECT_TRUE(w.window->Closed());
    EXPECT_EQ(w.Plan(w.lot).OrderQty, 200);
    EXPECT_EQ(w.Plan(w.lot).Changed, 0);
    EXPECT_FALSE(w.data.Edits.Edited());
  }
  {
    SCOPED_TRACE("a bad start keeps the window open");
    LotWorld w;
    ScriptedMessages messages;
    w.window->startTime = "8 o'clock";
    w.window->Close();
    EXPECT_FALSE(w.window->Closed());
    EXPECT_EQ(w.window->Focus, "startTime");
    EXPECT_EQ(messages.texts(), std::vector<std::string>{lotdetail::kEnterADate});
    EXPECT_EQ(w.Plan(w.lot).Changed, 0);
  }
  {
    SCOPED_TRACE("only the due date");
    LotWorld w;
    ScriptedMessages messages;
    const double left = w.Bar(w.lot).Left;
    w.window->initialDueDate = "2024/12/10";
    w.window->Close();
    EXPECT_EQ(w.Plan(w.lot).InitialDueDate, w.Date("2024/12/10"));
    EXPECT_EQ(w.Plan(w.lot).Changed, 1);
    EXPECT_TRUE(w.data.Edits.CanSave());
    EXPECT_EQ(w.Start(w.lot), "12/03 08:00");
    EXPECT_EQ(w.Bar(w.lot).Left, left);
    EXPECT_TRUE(messages.texts().empty());
  }
}

// A value the entry or the database cannot hold is refused when it is confirmed, with Enter or
// by the close: the field shows its old value again and nothing of it reaches the entry.
TEST(PlanWindowRules, ValuesTheLotCannotHoldAreRefusedAndTheOldValueKept) {
  struct Case {
    const char* field;
    const char* typed;
    const char* message;
    const char* kept;
  } cases[] = {
      {"cycleSeconds", "1e308", lotdetail::kCycleRange, "30"},
      {"cycleSeconds", "-2", lotdetail::kCycleRange, "30"},
      {"cycleSeconds", "nan", lotdetail::kCycleRange, "30"},
      {"fixedFlag", "あ", lotdetail::kFixedFlagRange, "0"},
      {"fixedFlag", "9", lotdetail::kFixedFlagRange, "0"},
      {"setupMinutes", "-5", lotdetail::kSetupRange, "20"},
      {"setupMinutes", "40000", lotdetail::kSetupRange, "20"},
      {"totalMinutes", "-1", lotdetail::kTotalRange, "120"},
      {"orderQty", "", lotdetail::kQuantityRange, "200"},
      {"orderQty", "3000000000", lotdetail::kQuantityRange, "200"},
      {"workers", "-3", lotdetail::kWorkersRange, "0"},
      {"startDate", "2024/02/30", lotdetail::kEnterADate, "2024/12/03"},
      {"startDate", "0000/00/00", lotdetail::kEnterADate, "2024/12/03"},
      {"endDate", "someday", lotdetail::kEnterADate, "2024/12/03"},
      {"initialDueDate", "2024/13/40", lotdetail::kEnterADate, "2024/12/03"},
      {"startTime", "25:00", lotdetail::kEnterADate, "08:00:00"},
      {"endTime", "noon", lotdetail::kNotATimeOfDay, "10:00:00"},
  };
  for (const bool byEnter : {true, false}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.field) + " " + c.typed + (byEnter ? " + Enter" : " + close"));
      LotWorld w;
      w.Plan(w.lot).FixedFlag = "0";
      w.window = w.Open();
      ScriptedMessages messages;
      PlanWindow& win = *w.window;
      win.Type(c.field, c.typed);
      if (byEnter) {
        win.Enter(c.field);
      } else {
        win.Close();
        EXPECT_FALSE(win.Closed());
      }
      EXPECT_EQ(messages.texts(), std::vector<std::string>{c.message});
      EXPECT_EQ(FieldText(win, c.field), c.kept);
      EXPECT_EQ(win.Focus, c.field);
      win.Close();
      EXPECT_TRUE(win.Closed());
      EXPECT_EQ(w.Plan(w.lot).Changed, 0) << "the old values are the entry's own";
    }
  }
}

TEST(PlanWindowRules, AStartWhoseEndPassesTheLastStorableDayIsRefused) {
  LotWorld w;
  ScriptedMessages messages;
  w.window->Type("startDate", "9999/12/31");
  w.window->Type("startTime", "23:30");
  w.window->Close();
  EXPECT_FALSE(w.window->Closed());
  EXPECT_EQ(messages.texts(), std::vector<std::string>{lotdetail::kEndOutOfRange});
  EXPECT_EQ(w.Start(w.lot), "12/03 08:00");
}

TEST(PlanWindowClose, ALookChangesNothing) {
  // A lot on a department row has no machine code at all, and one whose destination is shorter
  // than the drop-down's width: shown and closed as they are, neither moves.
  struct Case {
    const char* name;
    const char* machine;
    const char* destination;
  } cases[] = {
      {"machine", "M01     ", ""}, {"department", "", "30"}, {"short code", "M01     ", "S1"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    LotWorld w;
    w.Plan(w.lot).MachineCode = c.machine;
    w.Plan(w.lot).DestinationCode = c.destination;
    const PlanEntry before = w.Plan(w.lot);
    auto win = w.Open();
    ScriptedMessages messages;
    win->Enter("startDate");
    win->Enter("orderQty");
    win->Close();
    EXPECT_TRUE(win->Closed());
    EXPECT_EQ(w.Plan(w.lot), before);
    EXPECT_FALSE(w.data.Edits.Edited());
    EXPECT_FALSE(w.editor.History().CanUndo());
    EXPECT_TRUE(messages.texts().empty());
  }
}

// The save writes the members' quantities: a typed quantity goes to the members that stand for
// the whole lot, and a bar of members with quantities of their own refuses a new one.
TEST(PlanWindowClose, ATypedQuantityReachesTheLotsMembers) {
  {
    SCOPED_TRACE("one member, the digits typed in full width");
    LotWorld w;
    w.window->Type("orderQty", "５００");
    w.window->Close();
    EXPECT_EQ(w.Plan(w.lot).OrderQty, 500);
    EXPECT_EQ(w.Plan(w.lot).A[1].OrderQty, 500);
    EXPECT_EQ(w.Plan(w.lot).Changed, 1);
  }
  {
    SCOPED_TRACE("inner and outer ring of one lot, and a folded step");
    LotWorld w;
    PlanEntry& p = w.Plan(w.lot);
    const Member first = p.A[1];
    p.B.Slot(1) = first;
    p.B.Slot(1).OrderNo = 1002;
    p.A.Slot(2) = first;
    p.A.Slot(2).OrderNo = 1003;
    p.A.Slot(2).OrderQty = 150;
    auto win = w.Open();
    win->Type("orderQty", "240");
    win->Close();
    const PlanEntry& q = w.Plan(w.lot);
    EXPECT_EQ(std::vector<int>({q.A[1].OrderQty, q.A[2].OrderQty, q.B[1].OrderQty}),
              std::vector<int>({240, 150, 240}));
  }
  {
    SCOPED_TRACE("merged members of their own");
    LotWorld w;
    PlanEntry& p = w.Plan(w.lot);
    p.A.Slot(1).OrderQty = 120;
    const Member first = p.A[1];
    p.A.Slot(2) = first;
    p.A.Slot(2).OrderNo = 1004;
    p.A.Slot(2).OrderQty = 80;
    auto win = w.Open();
    ScriptedMessages messages;
    win->Type("orderQty", "300");
    win->Enter("orderQty");
    EXPECT_EQ(messages.texts(), std::vector<std::string>{lotdetail::kQuantityOfParts});
    EXPECT_EQ(win->orderQty, "200");
  }
}

TEST(PlanWindowClose, HidingAndShowingActOnEveryEntryOfTheArrangement) {
  LotWorld w;
  ScriptedMessages messages;
  const int twin = w.Add("M03     ", "2024/12/04 08:00:00", 60);
  w.Plan(twin).OrderNo = 1001;
  w.Plan(twin).PlanItemCode = "ITEM-1";

  messages.Answer(Answer::No);
  w.window->Click("hide");
  EXPECT_FALSE(w.window->Closed());
  EXPECT_EQ(w.Plan(w.lot).Hidden, 0);

  messages.Answer(Answer::Yes);
  w.window->Click("hide");
  EXPECT_TRUE(w.window->Closed());
  EXPECT_EQ(w.Plan(w.lot).Hidden + w.Plan(twin).Hidden, 2);
  EXPECT_EQ(w.Plan(twin).Changed, 1) << "so the save marks it completed";
  EXPECT_FALSE(w.Bar(twin).Visible);

  auto again = w.Open();
  again->Click("finish");
  EXPECT_TRUE(again->Closed());
  EXPECT_EQ(w.Plan(w.lot).Hidden + w.Plan(twin).Hidden, 0);
  EXPECT_TRUE(w.Bar(twin).Visible);
}

TEST(PlanWindowScript, UnknownControlsAndUnusableButtonsAreRefused) {
  LotWorld w;
  w.data.CategoryCode = "3";
  auto win = w.Open();
  EXPECT_THROW(win->Type("Text99", "x"), ControlError);
  EXPECT_THROW(win->Click("addProcesses"), ControlError);
  win->Select("machine", {2});
  EXPECT_EQ(win->machine, "M02     ");
  EXPECT_THROW(win->Select("machine", {9}), ControlError);
}

}  // namespace
}  // namespace velmora::test
