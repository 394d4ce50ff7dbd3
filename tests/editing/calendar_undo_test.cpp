#include <gtest/gtest.h>

#include "common/text.h"
#include "editing/day_calendar.h"
#include "editing/overlap_resolution.h"
#include "editing_world.h"
#include "plandata/calendar_rows.h"
#include "support/scripted_messages.h"

namespace velmora::test {
namespace {

constexpr int kM01 = 2;
// Day index of 2024/12/03: the period starts 12/02, index 0 is two days before.
constexpr int kDec3 = 3;

// A right press on the rows opens the day calendar of a machine's production day.
TEST(DayCalendar, OpensOnTheProductionDayOfMachineRows) {
  struct Case {
    const char* name;
    int row;
    const char* at;
    int day;  // -1: nothing opens
  } cases[] = {
      {"08:00 is the same day", kM01, "2024/12/03 08:00", kDec3},
      {"07:59 is the previous day", kM01, "2024/12/03 07:59", kDec3 - 1},
      {"the unplanned row", 1, "2024/12/03 09:00", -1},
      {"a department", 5, "2024/12/03 09:00", -1},
      {"a subcontractor", 6, "2024/12/03 09:00", -1},
      {"below the rows", 0, "2024/12/03 09:00", -1},
      {"before the calendar", kM01, "2024/11/20 09:00", -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EditingWorld w;
    w.data.ShiftTimes(kM01, 3, kDec3) = DateTime::FromTime(17, 0, 0);
    w.data.ShiftTimes(kM01, 4, kDec3) = DateTime::FromTime(20, 30, 0);
    const double y = c.row == 0 ? 16 * 600 + 300 : w.RowY(c.row);
    w.editor.PlatForm_MouseDown(editing::kRightButton, 0, w.X(c.at), y);
    if (c.day < 0) {
      EXPECT_EQ(w.dialog, nullptr);
      continue;
    }
    ASSERT_NE(w.dialog, nullptr);
    EXPECT_EQ(w.dialog->DateNum, c.day);
    EXPECT_EQ(w.dialog->MachineNo, kM01);
    if (c.day == kDec3) {
      const std::array<std::string, 8> boxes = {"08:00:00", "16:00:00", "17:00:00", "20:30:00",
                                                "00:00:00", "",         "",         ""};
      EXPECT_EQ(w.dialog->PlanTime, boxes);
      EXPECT_EQ(w.dialog->PlanSum, "480");
    }
  }
  EditingWorld w;  // the left button opens nothing
  w.editor.PlatForm_MouseDown(editing::kLeftButton, 0, w.X("2024/12/03 09:00"), w.RowY(kM01));
  EXPECT_EQ(w.dialog, nullptr);
}

TEST(DayCalendar, EnterWritesATimeInFullOrRefuses) {
  struct Case {
    const char* typed;
    const char* after;
    const char* message;
    const char* focus;
  } cases[] = {
      {"8:5", "08:05:00", "", "PlanTime(3)"},
      {" 17:30 ", "17:30:00", "", "PlanTime(3)"},
      {"", "", "", "PlanTime(3)"},
      {"25:00", "25:00", editing::kEnterATime, "PlanTime(2)"},
      {"8時", "8時", editing::kEnterATime, "PlanTime(2)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    EditingWorld w;
    ScriptedMessages messages;
    editing::LinePlanWindow window(w.editor.Context());
    window.Type("PlanTime(2)", c.typed);
    window.Enter("PlanTime(2)");
    EXPECT_EQ(window.PlanTime[2], c.after);
    EXPECT_EQ(window.Focus, c.focus);
    EXPECT_EQ(messages.texts().size(), *c.message ? 1u : 0u);
  }
  EditingWorld w;
  editing::LinePlanWindow window(w.editor.Context());
  window.Enter("PlanTime(7)");
  EXPECT_EQ(window.Focus, "PlanSum");
}

// The day as typed is stored when the calendar table can give it back as shown; otherwise the
// dialog says why and nothing is stored.
TEST(DayCalendar, StoringRules) {
  using Boxes = std::vector<std::pair<int, const char*>>;
  struct Case {
    const char* name;
    Boxes boxes;
    const char* sum;
    std::int16_t changed;
    std::string message;
  } cases[] = {
      {"no change leaves the day unmarked", {}, "480", 0, ""},
      {"a new end time", {{1, "15:00"}}, "480", 1, ""},
      {"clearing a box stores 00:00:00", {{1, ""}}, "480", 1, ""},
      {"only the minutes", {}, "420", 1, ""},
      {"a third and fourth window",
       {{2, "17:00"}, {3, "19:00"}, {4, "19:30"}, {5, "21:00"}, {6, "21:30"}, {7, "23:00"}},
       "720",
       1,
       ""},
      {"not a time: nothing stored", {{1, "abc"}}, "420", 0, editing::kNotATime},
      {"minutes beyond the day's counter", {}, "99999", 0, editing::kMinutesTooLarge},
      {"negative minutes", {}, "-5", 0, editing::kMinutesTooLarge},
      {"a first shift after 10:00", {{0, "10:01"}}, "480", 0, kFirstShiftLate},
      {"a window after an empty one",
       {{0, ""}, {1, ""}, {2, "17:00"}, {3, "20:00"}},
       "180",
       0,
       kShiftGap},
      {"a window starting as it ends", {{1, "08:00"}}, "480", 0, kShiftEndsEqual},
      {"windows no row order can give back",
       {{2, "07:00"}, {3, "07:30"}, {4, "06:00"}, {5, "06:30"}},
       "540",
       0,
       kShiftOrder},
      {"windows without minutes",
       {},
       "0",
       0,
       std::string(kTooFewMinutes) + "1" + kTooFewMinutesEnd},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EditingWorld w;
    ScriptedMessages messages;
    w.editor.PlatForm_MouseDown(editing::kRightButton, 0, w.X("2024/12/03 09:00"), w.RowY(kM01));
    ASSERT_NE(w.dialog, nullptr);
    const auto before = w.data.ShiftTimes(kM01, 2, kDec3);
    for (const auto& [box, text] : c.boxes)
      w.dialog->Type("PlanTime(" + std::to_string(box) + ")", text);
    w.dialog->Type("PlanSum", c.sum);
    w.dialog->Click("storeDay");
    EXPECT_EQ(w.data.CalendarChanged(kM01, kDec3), c.changed);
    EXPECT_EQ(w.dialog->Closed(), c.message.empty());
    EXPECT_EQ(messages.texts(),
              c.message.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.message});
    if (!c.message.empty()) {
      EXPECT_EQ(w.data.ShiftTimes(kM01, 2, kDec3), before);
      continue;
    }
    EXPECT_EQ(w.data.WorkMinutes(kM01, kDec3), std::stoi(c.sum));
    for (const auto& [box, text] : c.boxes) {
      EXPECT_EQ(FormatColonTime(w.data.ShiftTimes(kM01, box + 1, kDec3)),
                *text ? std::string(text) + ":00" : "00:00:00");
    }
    EXPECT_EQ(w.data.Edits.Edited(), c.changed == 1);
  }
}

// The new shifts take effect for the next end: a plan dropped on that day ends by them.
TEST(DayCalendar, LaterEndsFollowTheNewShifts) {
  EditingWorld w;
  w.editor.PlatForm_MouseDown(editing::kRightButton, 0, w.X("2024/12/03 09:00"), w.RowY(kM01));
  w.dialog->Type("PlanTime(1)", "12:00");
  w.dialog->Click("storeDay");
  const int p = w.Add("M02     ", "2024/12/02 09:00:00", 240);
  w.Drag(p, kM01, "2024/12/03 10:00");
  EXPECT_EQ(w.End(p), "12/04 10:00");  // two hours on the 3rd, two on the 4th
}

// Undo restores entries, bars, calendars and the save button exactly; redo repeats.
TEST(Undo, EachKindOfStepUndoesAndRedoes) {
  struct Case {
    const char* name;
    std::function<void(EditingWorld&, int, int)> gesture;
  } cases[] = {
      {"a drop with a push",
       [](EditingWorld& w, int k, int) {
         ScriptedMessages messages;
         messages.Answer(Answer::Yes).Answer(Answer::Yes);
         w.Drag(k, 3, "2024/12/03 10:00");
       }},
      {"a merge",
       [](EditingWorld& w, int k, int b) {
         ScriptedMessages messages;
         messages.Answer(Answer::Yes);
         w.editor.PlanBar_MouseDown(w.Plan(k).Bar(), 1, 0, 0, 100);
         w.editor.PlanBar_DragDrop(w.Plan(b).Bar(), w.Plan(k).Bar(), 0, 100);
       }},
      {"a row expansion",
       [](EditingWorld& w, int, int) {
         ScriptedMessages messages;
         messages.Answer(Answer::Yes);
         w.editor.MachineName_DblClick(3);
       }},
      {"a day calendar",
       [](EditingWorld& w, int, int) {
         w.editor.PlatForm_MouseDown(2, 0, w.X("2024/12/03 09:00"), w.RowY(3));
         w.dialog->Type("PlanTime(1)", "10:00");
         w.dialog->Click("storeDay");
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EditingWorld w;
    w.Add("M02     ", "2024/12/03 09:00:00", 120);
    const int b = w.Add("M02     ", "2024/12/03 11:00:00", 60);
    const int k = w.Add("M01     ", "2024/12/02 09:00:00", 60);
    const PlanData before = w.data;
    std::vector<chart::BarLabel> barsBefore = w.model.PlanBar;
    c.gesture(w, k, b);
    const PlanData after = w.data;
    EXPECT_TRUE(w.editor.History().CanUndo());
    EXPECT_TRUE(w.data.Edits.CanSave());

    ASSERT_TRUE(w.editor.Undo());
    EXPECT_TRUE(w.data.PlanTable == before.PlanTable);
    EXPECT_EQ(w.data.CalendarChanged(3, kDec3), 0);
    EXPECT_EQ(w.data.ShiftTimes(3, 2, kDec3), DateTime::FromTime(16, 0, 0));
    EXPECT_FALSE(w.data.Edits.CanSave());
    for (std::size_t i = 2; i < barsBefore.size(); ++i) {
      EXPECT_EQ(w.model.PlanBar[i].Left, barsBefore[i].Left);
      EXPECT_EQ(w.model.PlanBar[i].Visible, barsBefore[i].Visible);
      EXPECT_EQ(w.model.PlanBar[i].BackColor, barsBefore[i].BackColor);
      EXPECT_EQ(w.model.PlanBar[i].Caption, barsBefore[i].Caption);
    }
    EXPECT_FALSE(w.editor.Undo());
    ASSERT_TRUE(w.editor.Redo());
    EXPECT_TRUE(w.data.PlanTable == after.PlanTable);
    EXPECT_EQ(w.data.ShiftTimes(3, 2, kDec3), after.ShiftTimes(3, 2, kDec3));
    EXPECT_TRUE(w.data.Edits.CanSave());
    EXPECT_FALSE(w.editor.Redo());
  }
}

TEST(Undo, NewGesturesClearRedoAndTheHistoryKeepsItsLastSteps) {
  EditingWorld w;
  ScriptedMessages messages;
  const int p = w.Add("M01     ", "2024/12/02 09:00:00", 60);
  w.Drag(p, 2, "2024/12/03 09:00");
  w.Drag(p, 2, "2024/12/04 09:00");
  w.editor.Undo();
  w.Drag(p, 2, "2024/12/05 09:00");
  EXPECT_FALSE(w.editor.History().CanRedo());
  w.editor.Undo();
  EXPECT_EQ(w.Start(p), "12/03 09:00");

  // A refused drop changes nothing and makes no step.
  w.Plan(p).FixedFlag = "1";
  const std::size_t steps = w.editor.History().Steps();
  w.Drag(p, 2, "2024/12/06 09:00");
  EXPECT_EQ(w.editor.History().Steps(), steps);
  w.Plan(p).FixedFlag = "0";

  for (int i = 0; i < 150; ++i) w.Drag(p, 2, i % 2 ? "2024/12/03 09:00" : "2024/12/04 09:00");
  int undone = 0;
  while (w.editor.Undo()) ++undone;
  EXPECT_GE(undone, 100);
}

TEST(Pointer, AutoScrollEverySecondDragOverInTheZones) {
  EditingWorld w(nullptr);
  w.model.KScroll.Max = 3;
  const int p = w.Add("M01     ", "2024/12/02 09:00:00", 60);
  w.editor.PlanBar_MouseDown(w.Plan(p).Bar(), 1, 0, 0, 100);
  auto rowsY = [&](double viewportY) { return viewportY - w.model.PlatForm.Top; };
  std::vector<int> values;
  for (int i = 0; i < 8; ++i) {
    w.editor.PlatForm_DragOver(rowsY(chart::kRowsAreaHeight - 30));  // bottom zone
    values.push_back(w.model.KScroll.Value);
  }
  EXPECT_EQ(values, (std::vector<int>{0, 1, 1, 2, 2, 3, 3, 3}));
  values.clear();
  for (int i = 0; i < 8; ++i) {
    w.editor.PlatForm_DragOver(rowsY(100));  // top zone
    values.push_back(w.model.KScroll.Value);
  }
  EXPECT_EQ(values, (std::vector<int>{3, 2, 2, 1, 1, 0, 0, 0}));
  w.editor.PlatForm_DragOver(rowsY(3000));  // the middle does nothing
  EXPECT_EQ(w.model.KScroll.Value, 0);
}

TEST(Pointer, TheCaptionBoxFollowsThePointerOverBars) {
  EditingWorld w;
  const int p = w.Add("M01     ", "2024/12/02 09:00:00", 600);
  const chart::BarLabel& bar = w.Bar(p);
  w.editor.PlanBar_MouseMove(w.Plan(p).Bar(), 0, 0, 1300, 100);
  const chart::CaptionBox& box = w.model.GradeName;
  EXPECT_TRUE(box.Visible);
  EXPECT_EQ(box.Left, bar.Left + 1200 + 750);
  EXPECT_EQ(box.Top, bar.Top + bar.Height + 400);
  EXPECT_EQ(box.Text, bar.Caption);
  EXPECT_EQ(box.Width, 80.0 * CharCount(bar.Caption));
  w.editor.PlatForm_MouseMove();
  EXPECT_FALSE(box.Visible);
}

}  // namespace
}  // namespace velmora::test
