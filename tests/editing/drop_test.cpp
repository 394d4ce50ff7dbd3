#include <gtest/gtest.h>

#include "editing/overlap_resolution.h"
#include "editing_world.h"
#include "support/scripted_messages.h"

namespace velmora::test {
namespace {

using editing::kEarlierOverlapQuestion;
using editing::kLaterOverlapQuestion;

// A drop on each kind of row gives the plan that row's codes, its new start from the drop point,
// an end over that row's shifts, and marks it for the save.
TEST(Drop, EachKindOfRowGivesItsCodesAndTimes) {
  struct Case {
    const char* name;
    int row;  // 0: below every row
    const char* machine;
    const char* destination;
    const char* start;
    const char* end;
  } cases[] = {
      {"another machine", 3, "M02     ", "            ", "12/03 09:00", "12/03 11:00"},
      {"department", 5, "", "30", "12/03 09:00", "12/03 11:00"},
      {"subcontractor", 6, "        ", "S001", "12/03 09:00", "12/03 11:00"},
      {"unplanned", 1, "        ", "            ", "", ""},
      {"below the rows", 0, "        ", "", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EditingWorld w;
    ScriptedMessages messages;
    const int p = w.Add("M01     ", "2024/12/02 08:00:00", 120, "S001");
    if (c.row == 1) {
      w.editor.PlanBar_MouseDown(w.Plan(p).Bar(), 1, 0, 0, 180);
      w.editor.PlatForm2_DragDrop(w.Plan(p).Bar(), 3000, 300);
    } else if (c.row == 0) {
      w.editor.PlanBar_MouseDown(w.Plan(p).Bar(), 1, 0, 0, 180);
      w.editor.PlatForm_DragDrop(w.Plan(p).Bar(), w.X("2024/12/03 09:00"), 16 * 600 + 300);
    } else {
      w.Drag(p, c.row, "2024/12/03 09:00");
    }
    const PlanEntry& plan = w.Plan(p);
    EXPECT_EQ(plan.MachineCode, c.machine);
    EXPECT_EQ(plan.DestinationCode, c.destination);
    if (*c.start) {
      EXPECT_EQ(w.Start(p), c.start);
      EXPECT_EQ(w.End(p), c.end);
    }
    EXPECT_EQ(plan.Changed, 1);
    EXPECT_TRUE(w.data.Edits.CanSave());
    EXPECT_TRUE(messages.shown().empty());  // no cycle look-up without a database, no question
    EXPECT_FALSE(w.editor.Pointer().Dragged);
  }
}

// The unplanned band has its own four-week scale: 30 twips an hour.
TEST(Drop, OnTheUnplannedBandReadsItsScale) {
  EditingWorld w;
  const int p = w.Add("M01     ", "2024/12/02 08:00:00", 120);
  w.editor.PlanBar_MouseDown(w.Plan(p).Bar(), 1, 0, 0, 180);
  w.editor.PlatForm3_DragDrop(w.Plan(p).Bar(), 30 * 26, 100);  // header band: same as the band
  EXPECT_EQ(w.Start(p), "12/03 10:00");
  EXPECT_EQ(w.End(p), "12/03 12:00");  // no machine: plain minutes
  EXPECT_EQ(w.Bar(p).Container, chart::Surface::PlatForm2);
}

TEST(Drop, EndFixedPlansAreRefusedLaterAndToTheUnplannedRow) {
  struct Case {
    const char* name;
    int row;
    const char* at;
    const char* message;  // "" when it moves
    const char* machine;
    const char* start;
  } cases[] = {
      {"earlier on another machine", 3, "2024/12/02 09:00", "", "M02     ", "12/02 09:00"},
      {"later on its row", 2, "2024/12/04 09:00", editing::kFixedEndMovedLater, "M01     ",
       "12/03 10:00"},
      {"later on another machine", 3, "2024/12/04 09:00", editing::kFixedEndMovedLater, "M01     ",
       "12/03 10:00"},
      {"to the unplanned row", 1, "2024/12/02 09:00", editing::kFixedEndToUnplanned, "M01     ",
       "12/03 10:00"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EditingWorld w;
    ScriptedMessages messages;
    const int p = w.Add("M01     ", "2024/12/03 10:00:00", 60);
    w.Plan(p).FixedFlag = "1";
    const chart::BarLabel before = w.Bar(p);
    if (c.row == 1) {
      w.editor.PlanBar_MouseDown(w.Plan(p).Bar(), 1, 0, 0, 180);
      w.editor.PlatForm2_DragDrop(w.Plan(p).Bar(), 100, 300);
    } else {
      w.Drag(p, c.row, c.at);
    }
    EXPECT_EQ(w.Plan(p).MachineCode, c.machine);
    EXPECT_EQ(w.Start(p), c.start);
    if (*c.message) {
      ASSERT_EQ(messages.texts(), std::vector<std::string>{c.message});
      EXPECT_EQ(w.Plan(p).Changed, 0);
      // Not left in the dark grey of the press.
      EXPECT_EQ(w.Bar(p).BackColor, before.BackColor);
      EXPECT_EQ(w.Bar(p).Left, before.Left);
    } else {
      EXPECT_TRUE(messages.shown().empty());
    }
  }
}

TEST(Drop, LockedPlansAreNeitherHighlightedNorDragged) {
  EditingWorld w;
  const int p = w.Add("M01     ", "2024/12/03 10:00:00", 60);
  w.Plan(p).FixedFlag = "2";
  const chart::Color colour = w.Bar(p).BackColor;
  w.editor.PlanBar_MouseDown(w.Plan(p).Bar(), 1, 0, 250, 100);
  EXPECT_FALSE(w.editor.Pointer().Dragged);
  EXPECT_EQ(w.Bar(p).BackColor, colour);
  EXPECT_EQ(w.editor.Pointer().GrabOffsetX, 250);
  EXPECT_EQ(w.editor.Pointer().GrabRowCode, "M01     ");
}

// Plans on M02: a (09:00-11:00) and b (11:00-12:00); the moved plan of 60 minutes lands at
// 10:00, inside a, and its end 11:00 touches b's start.
struct OverlapCase {
  const char* name;
  const char* at;
  std::vector<Answer> answers;
  std::vector<std::string> questions;
  const char* moved;  // start of the moved plan afterwards
  const char* a;
  const char* b;
};

TEST(Drop, OverlapQuestionsAndTheirAnswers) {
  const OverlapCase cases[] = {
      {"earlier yes, later yes: behind a, b pushed",
       "2024/12/03 10:00",
       {Answer::Yes, Answer::Yes},
       {kEarlierOverlapQuestion, kLaterOverlapQuestion},
       "12/03 11:00",
       "12/03 09:00",
       "12/03 12:00"},
      {"earlier no, later yes: stays inside a, b pushed",
       "2024/12/03 10:30",
       {Answer::No, Answer::Yes},
       {kEarlierOverlapQuestion, kLaterOverlapQuestion},
       "12/03 10:30",
       "12/03 09:00",
       "12/03 11:30"},
      {"earlier no, later no: overlapping stays",
       "2024/12/03 10:30",
       {Answer::No, Answer::No},
       {kEarlierOverlapQuestion, kLaterOverlapQuestion},
       "12/03 10:30",
       "12/03 09:00",
       "12/03 11:00"},
      {"in a free gap: no question",
       "2024/12/03 13:00",
       {},
       {},
       "12/03 13:00",
       "12/03 09:00",
       "12/03 11:00"},
      {"before both: only the later question, both pushed",
       "2024/12/03 08:30",
       {Answer::Yes},
       {kLaterOverlapQuestion},
       "12/03 08:30",
       "12/03 09:30",
       "12/03 11:30"},
  };
  for (const OverlapCase& c : cases) {
    SCOPED_TRACE(c.name);
    EditingWorld w;
    ScriptedMessages messages;
    for (Answer answer : c.answers) messages.Answer(answer);
    const int a = w.Add("M02     ", "2024/12/03 09:00:00", 120);
    const int b = w.Add("M02     ", "2024/12/03 11:00:00", 60);
    const int k = w.Add("M01     ", "2024/12/02 09:00:00", 60);
    w.Drag(k, 3, c.at);
    EXPECT_EQ(messages.texts(), c.questions);
    EXPECT_EQ(w.Start(k), c.moved);
    EXPECT_EQ(w.Start(a), c.a);
    EXPECT_EQ(w.Start(b), c.b);
    // Every plan whose dates moved is marked for the save.
    for (int i : {a, b})
      EXPECT_EQ(w.Plan(i).Changed, w.Start(i) != (i == a ? "12/03 09:00" : "12/03 11:00"));
  }
}

// Who takes part: plans of the target row in use that are confirmed or changed.
TEST(Drop, OnlyConfirmedOrChangedPlansOfTheRowAreAskedAbout) {
  struct Case {
    const char* name;
    const char* confirm;
    std::uint8_t changed;
    std::int16_t inUse;
    bool asked;
  } cases[] = {
      {"confirmed", "2", 0, 1, true},
      {"changed", "1", 1, 1, true},
      {"neither", "1", 0, 1, false},
      {"not in use", "2", 0, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EditingWorld w;
    ScriptedMessages messages;
    const int other = w.Add("M02     ", "2024/12/03 09:00:00", 120);
    w.Plan(other).ConfirmFlag = c.confirm;
    w.Plan(other).Changed = c.changed;
    w.Plan(other).InUse = c.inUse;
    const int k = w.Add("M01     ", "2024/12/02 09:00:00", 60);
    w.Drag(k, 3, "2024/12/03 08:30");
    EXPECT_EQ(!messages.shown().empty(), c.asked);
  }
  // Department rows never ask: their plans have no machine and the target no destination.
  EditingWorld w;
  ScriptedMessages messages;
  w.Add("", "2024/12/03 09:00:00", 120, "30");
  const int k = w.Add("M01     ", "2024/12/02 09:00:00", 60);
  w.Drag(k, 5, "2024/12/03 08:30");
  EXPECT_TRUE(messages.shown().empty());
}

// Later plans with an equal start are pushed shorter first, then smaller quantity first.
TEST(Drop, PushOrderOnEqualStarts) {
  struct Case {
    const char* name;
    int durationX, qtyX, durationY, qtyY;
    bool xFirst;
  } cases[] = {
      {"shorter first", 90, 500, 60, 100, false},
      {"equal durations: smaller quantity", 60, 50, 60, 100, true},
      {"an unknown duration: smaller quantity", 0, 500, 60, 100, false},
      {"all equal: table order", 60, 100, 60, 100, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EditingWorld w;
    ScriptedMessages messages;
    messages.Answer(Answer::Yes);
    const int x = w.Add("M02     ", "2024/12/03 10:00:00", c.durationX);
    const int y = w.Add("M02     ", "2024/12/03 10:00:00", c.durationY);
    w.Plan(x).OrderQty = c.qtyX;
    w.Plan(y).OrderQty = c.qtyY;
    const int k = w.Add("M01     ", "2024/12/02 09:00:00", 60);
    w.Drag(k, 3, "2024/12/03 09:30");
    const int first = c.xFirst ? x : y;
    EXPECT_EQ(w.Start(first), "12/03 10:30");
    EXPECT_EQ(w.Start(c.xFirst ? y : x), w.End(first));
  }
}

TEST(Drop, PushStopsAtAFixedPlan) {
  // The first later plan is fixed: nothing is pushed, the user is told.
  {
    EditingWorld w;
    ScriptedMessages messages;
    messages.Answer(Answer::Yes);
    const int fixed = w.Add("M02     ", "2024/12/03 10:00:00", 60);
    w.Plan(fixed).FixedFlag = "2";
    const int k = w.Add("M01     ", "2024/12/02 09:00:00", 60);
    w.Drag(k, 3, "2024/12/03 09:30");
    EXPECT_EQ(messages.texts(),
              (std::vector<std::string>{kLaterOverlapQuestion, editing::kFirstPlanFixed}));
    EXPECT_EQ(w.Start(fixed), "12/03 10:00");
  }
  // A pushed plan that now runs into a fixed one leaves its machine; the next continue from it.
  EditingWorld w;
  ScriptedMessages messages;
  messages.Answer(Answer::Yes);
  const int a = w.Add("M02     ", "2024/12/03 10:00:00", 60);
  const int fixed = w.Add("M02     ", "2024/12/03 11:15:00", 60);
  w.Plan(fixed).FixedFlag = "1";
  const int k = w.Add("M01     ", "2024/12/02 09:00:00", 60);
  w.Drag(k, 3, "2024/12/03 09:30");
  EXPECT_EQ(w.Start(a), "12/03 10:30");
  EXPECT_EQ(w.Plan(a).MachineCode, "        ");
  EXPECT_EQ(w.Bar(a).Container, chart::Surface::PlatForm2);
  EXPECT_EQ(std::vector<PlanIdx>{PlanIdx{a}}, w.editor.Context().TakenOff)
      << "noted for the window";
  EXPECT_EQ(w.Start(fixed), "12/03 11:15");
}

// A bar without a plan (its entry merged away and the bar reused) must not touch the placeholder.
TEST(Drop, ABarWithoutAPlanChangesNothing) {
  EditingWorld w;
  ScriptedMessages messages;
  const int p = w.Add("M01     ", "2024/12/02 09:00:00", 60);
  const BarIdx orphan{static_cast<std::int16_t>(w.Plan(p).BarIndex + 1)};
  w.model.CreateBarPair(orphan);
  const PlanEntry placeholder = w.data.PlanTable[1];
  w.editor.PlanBar_MouseDown(orphan, 1, 0, 0, 100);
  w.editor.PlatForm_DragDrop(orphan, 5000, w.RowY(3));
  w.editor.PlanBar_DragDrop(w.Plan(p).Bar(), orphan, 0, 100);
  w.editor.RightButtonDown(orphan);
  EXPECT_TRUE(w.data.PlanTable[1] == placeholder);
  EXPECT_FALSE(w.data.Edits.Edited());
}

}  // namespace
}  // namespace velmora::test

namespace velmora::test {
namespace {

// While a bar is dragged the preview shows where it would land and which plans the questions
// would name; the table stays as it is and nothing is asked.
TEST(Preview, ShowsTheLandingAndThePlansConcerned) {
  struct Case {
    const char* name;
    int row;
    const char* at;
    const char* fixed;
    bool refused;
    double width;  // twips: 2 per minute in week mode
    int marked;
  } cases[] = {
      {"inside a, before b: both concerned", 3, "2024/12/03 10:30", "0", false, 120, 2},
      {"a free gap", 3, "2024/12/03 13:00", "0", false, 120, 0},
      {"across the night: the shifts of the row", 3, "2024/12/03 15:30", "0", false, 17 * 60 * 2,
       0},
      {"the unplanned band: its fixed width", 1, "2024/12/03 10:30", "0", false, 1500, 0},
      {"end-fixed moved later", 3, "2024/12/04 10:30", "1", true, 120, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EditingWorld w;
    ScriptedMessages messages;
    const int a = w.Add("M02     ", "2024/12/03 09:00:00", 120);
    const int b = w.Add("M02     ", "2024/12/03 11:00:00", 60);
    const int k = w.Add("M01     ", "2024/12/03 09:00:00", 60);
    w.Plan(k).FixedFlag = c.fixed;
    const std::vector<PlanEntry> before(w.data.PlanTable);
    w.editor.PlanBar_MouseDown(w.Plan(k).Bar(), 1, 0, 0, 180);
    if (c.row == 1) {
      w.editor.UpdatePreview(w.model.Scale.TimeToX(w.At(std::string(c.at) + ":00").DatePart(),
                                                   w.At(std::string(c.at) + ":00").TimePart(),
                                                   chart::TimeKind::UnplannedBand),
                             300);
    } else {
      w.editor.UpdatePreview(w.X(c.at), w.RowY(c.row));
    }
    const chart::DropPreview& preview = w.model.Preview;
    EXPECT_TRUE(preview.Visible);
    EXPECT_EQ(preview.Refused, c.refused);
    EXPECT_NEAR(preview.Width, c.width, 1);
    EXPECT_EQ(preview.Marked.size(), static_cast<std::size_t>(c.marked));
    if (c.marked == 2) {
      EXPECT_EQ(preview.Marked, (std::vector<BarIdx>{w.Plan(b).Bar(), w.Plan(a).Bar()}));
    }
    EXPECT_TRUE(w.data.PlanTable == before);
    EXPECT_TRUE(messages.shown().empty());
    w.editor.CancelDrag();
    EXPECT_FALSE(preview.Visible);
  }
}

}  // namespace
}  // namespace velmora::test
