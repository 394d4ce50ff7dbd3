#include "session/edit_session.h"
#include "chart/display_mode.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "chart/bar_layout.h"
#include "generator/demo_generator.h"
#include "lotdetail/plan_window.h"
#include "plandata/blank_codes.h"
#include "session/plan_texts.h"
#include "support/scripted_messages.h"
#include "support/test_db.h"

namespace velmora {
namespace {

using Target = chart::ChartHit::Target;

// The demo plant's molding plans, loaded as the window loads them, on a copy per test.
class EditSessionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static test::TempDir shared;
    static const std::string demo = [] {
      const std::string file = shared.File("demo.db");
      demo::GenerateDemoDatabase(file, demo::DemoOptions{});
      return file;
    }();
    std::filesystem::copy_file(demo, dir_.File("plant.db"));
    connection_.OpenFile(dir_.File("plant.db"));
    command_.ActiveConnection = &connection_;
    PlanData selection;
    selection.PlantCode = 3;
    selection.CategoryCode = "3";
    selection.CategoryCaption = "03 成形";
    selection.SetPeriod("2024/05/14", "2024/05/31");
    selection.SetCommandLine("20240514 3");
    session_ =
        std::make_unique<EditSession>(selection, &connection_, &command_, test::TestQuestions());
    session_->Load();
  }

  // A free plan on a machine row whose bar lies in the chart's rows.
  PlanIdx MovablePlan() const {
    const PlanData& data = session_->Data();
    for (std::int32_t i = 2; i <= data.PlanCount(); ++i) {
      const PlanEntry& p = data.Plan(PlanIdx{i});
      if (p.InUse > 0 && !p.IsFixed() && !IsBlank(p.MachineCode) && p.ReceivedQty == 0 &&
          session_->Chart().Bar(p.Bar()).Container == chart::Surface::PlatForm) {
        return PlanIdx{i};
      }
    }
    throw std::logic_error("the demo plant has no movable plan");
  }

  PointerEvent At(PointerEvent::Kind kind, chart::ChartHit hit, int atX) const {
    PointerEvent event;
    event.kind = kind;
    event.hit = hit;
    event.button = editing::kLeftButton;
    event.atX = atX;
    return event;
  }

  test::TempDir dir_;
  test::ScriptedMessages messages_;
  db::Connection connection_;
  db::Command command_;
  std::unique_ptr<EditSession> session_;
};

// A press and release closer than the click distance is a click: nothing moves and nothing
// becomes unsaved. From the click distance on, the release drops the bar where it is.
TEST_F(EditSessionTest, AReleaseWithinTheClickDistanceIsAClickBeyondItADrop) {
  struct Case {
    int releasedAt;
    bool dropped;
  };
  session_->ClickDistance = 4;
  const PlanIdx plan = MovablePlan();
  const PlanEntry before = session_->Data().Plan(plan);
  const chart::BarLabel bar = session_->Chart().Bar(before.Bar());
  const chart::ChartHit grab{Target::PlanBar, before.Bar().value, bar.Left + 10, bar.Top + 100};
  // A day later on the same row.
  const chart::ChartHit drop{Target::PlatForm, 0, bar.Left + 10 + session_->Chart().Scale.DayWidth,
                             bar.Top + 100};
  for (const Case c : {Case{0, false}, Case{3, false}, Case{4, true}, Case{40, true}}) {
    SCOPED_TRACE(c.releasedAt);
    EXPECT_EQ(Redraw::Chart, session_->Pointer(At(PointerEvent::Kind::Press, grab, 0)));
    EXPECT_TRUE(session_->Dragging());
    EXPECT_FALSE(session_->CanUndo()) << "no undo in the middle of a drag";
    session_->Pointer(At(PointerEvent::Kind::Release, drop, c.releasedAt));

    EXPECT_FALSE(session_->Dragging());
    EXPECT_FALSE(session_->Chart().Preview.Visible);
    EXPECT_EQ(c.dropped, session_->Data().Plan(plan).Start() != before.Start());
    EXPECT_EQ(c.dropped, session_->CanSave());
    EXPECT_EQ(c.dropped, session_->CanUndo());
    if (c.dropped) {
      ASSERT_TRUE(session_->Undo());
      ASSERT_EQ(before.Start(), session_->Data().Plan(plan).Start());
    }
  }
}

// The press darkens the bar; a drag that moves nothing gives it back its own colour at once, not
// at the next redraw: a refused drop (an end-fixed plan to the unplanned row), a release where
// nothing takes the drop, and a release the chart never saw.
TEST_F(EditSessionTest, ADragThatMovesNothingGivesTheBarBackItsColour) {
  enum class End { RefusedDrop, ReleasedOnNothing, ReleaseLost };
  session_->ClickDistance = 4;
  const PlanIdx plan = MovablePlan();
  session_->Data().Plan(plan).FixedFlag = "1";
  const BarIdx b = session_->Data().Plan(plan).Bar();
  const chart::BarLabel before = session_->Chart().Bar(b);
  const chart::ChartHit grab{Target::PlanBar, b.value, before.Left + 10, before.Top + 100};
  const chart::ChartHit unplanned{Target::PlatForm2, 0, before.Left,
                                  chart::kUnplannedBandHeight / 2};
  for (const End end : {End::RefusedDrop, End::ReleasedOnNothing, End::ReleaseLost}) {
    SCOPED_TRACE(static_cast<int>(end));
    session_->Pointer(At(PointerEvent::Kind::Press, grab, 0));
    ASSERT_EQ(editing::kDragColor, session_->Chart().Bar(b).BackColor);
    session_->Pointer(At(PointerEvent::Kind::Move, unplanned, 40));
    ASSERT_TRUE(session_->DropRefused());
    switch (end) {
      case End::RefusedDrop:
        session_->Pointer(At(PointerEvent::Kind::Release, unplanned, 40));
        break;
      case End::ReleasedOnNothing:
        session_->Pointer(At(PointerEvent::Kind::Release, {}, 40));
        break;
      case End::ReleaseLost: {
        PointerEvent moved = At(PointerEvent::Kind::Move, unplanned, 50);
        moved.button = 0;
        session_->Pointer(moved);
        break;
      }
    }
    EXPECT_FALSE(session_->Dragging());
    const chart::BarLabel& after = session_->Chart().Bar(b);
    EXPECT_EQ(before.BackColor, after.BackColor);
    EXPECT_EQ(before.Left, after.Left);
    EXPECT_EQ(before.Top, after.Top);
    EXPECT_EQ(before.Container, after.Container);
    EXPECT_FALSE(session_->CanSave());
  }
  EXPECT_EQ(messages_.texts(), std::vector<std::string>{editing::kFixedEndToUnplanned});
}

// Without a modal host a dialog stays open on the session for the host to drive; a modal host
// shows it once, and when it returns the dialog is gone and the bar has its colours back.
TEST_F(EditSessionTest, DialogsStayOpenForAScriptAndEndWithAModalHost) {
  const PlanIdx plan = MovablePlan();
  session_->OpenLot(plan);
  auto* window = dynamic_cast<lotdetail::PlanWindow*>(session_->TopDialog());
  ASSERT_NE(nullptr, window);
  window->Close();
  EXPECT_EQ(nullptr, session_->TopDialog());

  int shown = 0;
  session_->ShowModal = [&](const std::shared_ptr<DialogModel>& dialog) {
    ++shown;
    EXPECT_EQ(dialog.get(), session_->TopDialog()) << "the dialog the user acts on";
  };
  session_->OpenLot(plan);
  EXPECT_EQ(1, shown);
  EXPECT_EQ(nullptr, session_->TopDialog());
  const PlanEntry& p = session_->Data().Plan(plan);
  EXPECT_NE(editing::kOpenedColor, session_->Chart().Bar(p.Bar()).BackColor);
}

// A save writes the moved bar, clears its bold caption and the undo history; a reload then
// shows what was saved and nothing is left to save.
TEST_F(EditSessionTest, ASavedDropSurvivesAReload) {
  const PlanIdx plan = MovablePlan();
  const BarIdx bar = session_->Data().Plan(plan).Bar();
  const chart::BarLabel label = session_->Chart().Bar(bar);
  session_->DragAndDrop(
      plan, {Target::PlatForm, 0, label.Left + session_->Chart().Scale.DayWidth, label.Top + 100});
  const DateTime moved = session_->Data().Plan(plan).Start();
  ASSERT_TRUE(session_->Chart().Bar(bar).Bold);
  ASSERT_TRUE(session_->CanSave());

  EXPECT_EQ(saving::SaveResult::Complete, session_->Save());
  EXPECT_FALSE(session_->Chart().Bar(bar).Bold);
  EXPECT_FALSE(session_->CanSave());
  EXPECT_FALSE(session_->CanUndo());

  session_->Reload();
  EXPECT_EQ(moved, session_->Data().Plan(plan).Start());
  EXPECT_FALSE(session_->CanSave());
}

// A typed day scrolls the time so that it is the first day shown; a day outside the period or a
// text that is no date is refused with a message and the chart stays where it was.
TEST_F(EditSessionTest, GoingToATypedDay) {
  struct Case {
    const char* typed;
    const char* shown;    // the long date at the left edge afterwards
    const char* refusal;  // the start of the message, or nothing
  };
  const Case cases[] = {
      {"2024/05/20", "2024年5月20日", nullptr},    {"2024/05/14", "2024年5月14日", nullptr},
      {"240522", "2024年5月22日", nullptr},        {"2024/02/30", nullptr, kGoToWhichDate},
      {"5/20", "2024年5月20日", nullptr},          {"521", "2024年5月21日", nullptr},
      {"2024/05/13", nullptr, kDateOutsidePeriod}, {"2024/06/01", nullptr, kDateOutsidePeriod},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    const std::string before = session_->Chart().DayDispArea;
    const std::size_t messages = messages_.texts().size();
    EXPECT_EQ(c.refusal == nullptr, session_->GoToDate(c.typed));
    if (c.refusal == nullptr) {
      EXPECT_EQ(c.shown, session_->Chart().DayDispArea);
      EXPECT_EQ(messages, messages_.texts().size());
    } else {
      EXPECT_EQ(before, session_->Chart().DayDispArea);
      ASSERT_EQ(messages + 1, messages_.texts().size());
      EXPECT_EQ(0u, messages_.texts().back().rfind(c.refusal, 0)) << messages_.texts().back();
    }
  }
  EXPECT_NE(std::string::npos, messages_.texts().back().find("2024/05/14～2024/05/31"))
      << "the refusal names the period";
}

// The wheel and the keys move the rows and the time in steps and stop at the ends; the wheel with
// Ctrl changes the display mode and keeps the moment under the pointer where it was.
TEST_F(EditSessionTest, WheelAndKeysMoveTheChart) {
  chart::ChartModel& chart = session_->Chart();
  const int lastRow = chart.KScroll.Max;
  ASSERT_GE(lastRow, 3) << "the demo plant has rows to scroll";
  session_->WheelRows(-1);
  EXPECT_EQ(3, chart.KScroll.Value);
  session_->Key(ChartKey::Up);
  EXPECT_EQ(2, chart.KScroll.Value);
  session_->WheelRows(5);
  EXPECT_EQ(0, chart.KScroll.Value) << "stops at the first row";
  session_->Key(ChartKey::PageDown);
  EXPECT_EQ(std::min(lastRow, chart::kVisibleRows), chart.KScroll.Value);
  session_->Key(ChartKey::PageUp);
  EXPECT_EQ(0, chart.KScroll.Value);

  session_->Key(ChartKey::End);
  EXPECT_EQ(chart.HScroll1.Max, chart.HScroll1.Value);
  session_->Key(ChartKey::Home);
  EXPECT_EQ("2024年5月14日", chart.DayDispArea) << "the period's first day at the left";
  const int home = chart.HScroll1.Value;
  session_->WheelTime(2);
  session_->Key(ChartKey::Left);
  EXPECT_EQ(home + chart.HScroll1.SmallChange, chart.HScroll1.Value)
      << "a notch or an arrow key moves as the scroll bar's arrow does";

  // Ctrl+wheel in the middle of the viewport: the moment there stays there.
  const double middle = chart.Picture1.Width / 2;
  auto dayAt = [&](double x) {
    return (chart.HScroll1.Value * chart.HScrollUnit + x) / chart.Scale.DayWidth;
  };
  const double before = dayAt(middle);
  session_->WheelZoom(1, middle);
  EXPECT_EQ(2, chart.Scale.DisplayMode);
  EXPECT_NEAR(before, dayAt(middle), chart.HScrollUnit / chart.Scale.DayWidth);
  session_->WheelZoom(5, middle);
  EXPECT_EQ(1, chart.Scale.DisplayMode) << "no closer than a day";
  session_->WheelZoom(-9, middle);
  EXPECT_EQ(4, chart.Scale.DisplayMode);
}

// Zooming out to four weeks with the whole period in view never leaves its first days off the
// left edge, wherever the pointer and the scroll bar were.
TEST_F(EditSessionTest, ZoomingOutToFourWeeksShowsThePeriodsFirstDay) {
  chart::ChartModel& chart = session_->Chart();
  const double width = chart.Picture1.Width;
  for (const int mode : {1, 2, 3}) {
    for (const ChartKey at : {ChartKey::Home, ChartKey::End}) {
      for (const double pointer : {0.0, width / 2, width - chart::kTwipsPerPixel}) {
        SCOPED_TRACE("mode " + std::to_string(mode) + ", pointer " + std::to_string(pointer) +
                     (at == ChartKey::End ? ", at the end" : ", at the start"));
        chart::DispMode(session_->Data(), chart, mode);
        session_->Key(at);
        session_->WheelZoom(mode - 4, pointer);
        ASSERT_EQ(4, chart.Scale.DisplayMode);
        ASSERT_LE((session_->Data().DayCount - 2) * chart.Scale.DayWidth, width)
            << "the whole period fits";
        EXPECT_LE(chart.HScroll1.Value * chart.HScrollUnit, 0);
      }
    }
  }
}

// The caption box beside the pointer shows the bar as the lot window left it, before the pointer
// moves again.
TEST_F(EditSessionTest, TheCaptionBoxFollowsAnEditInTheLotWindow) {
  const PlanIdx plan = MovablePlan();
  const BarIdx bar = session_->Data().Plan(plan).Bar();
  const chart::BarLabel& label = session_->Chart().Bar(bar);
  const chart::CaptionBox& box = session_->Chart().GradeName;
  PointerEvent hover;
  hover.kind = PointerEvent::Kind::Move;
  hover.hit = {Target::PlanBar, bar.value, label.Left + 10, label.Top + 100};
  session_->Pointer(hover);
  ASSERT_TRUE(box.Visible);
  ASSERT_EQ(label.Caption, box.Text);

  session_->ShowModal = [](const std::shared_ptr<DialogModel>& window) {
    window->Type("orderQty", "1234");
    window->Close();
  };
  session_->OpenLot(plan);
  ASSERT_NE(std::string::npos, label.Caption.find("1234")) << label.Caption;
  EXPECT_EQ(label.Caption, box.Text);
}

}  // namespace
}  // namespace velmora

namespace velmora {
namespace {

std::vector<std::string> Texts(const PlanData& data, const std::vector<Clash>& clashes) {
  std::vector<std::string> texts;
  for (const Clash& clash : clashes) texts.push_back(ClashLine(data, clash).text);
  return texts;
}

// The kept clash list and the unsaved changes follow a drop, its undo and its redo; the tip
// names the moved lot; a line's plan is scrolled into view and outlined until the next press.
TEST_F(EditSessionTest, ListsTipsAndRevealFollowTheEdits) {
  const PlanData& data = session_->Data();
  const std::vector<std::string> loaded = Texts(data, session_->Clashes());
  EXPECT_EQ(Texts(data, FindClashes(data)), loaded);
  EXPECT_TRUE(UnsavedLines(data).empty());

  const PlanIdx plan = MovablePlan();
  const PlanEntry& entry = data.Plan(plan);
  const chart::BarLabel label = session_->Chart().Bar(entry.Bar());
  session_->DragAndDrop(plan, {Target::PlatForm, 0,
                               label.Left + 2 * session_->Chart().Scale.DayWidth, label.Top + 100});
  const std::vector<std::string> dropped = Texts(data, session_->Clashes());
  EXPECT_EQ(Texts(data, FindClashes(data)), dropped);
  ASSERT_FALSE(UnsavedLines(data).empty());
  EXPECT_EQ(UnsavedLines(data).front().text.rfind(std::to_string(entry.OrderNo), 0), 0u);
  EXPECT_TRUE(session_->TakeTakenOff().empty()) << "no fixed plan followed";
  EXPECT_EQ("機械から外れました: " + std::to_string(entry.OrderNo) + ", " +
                std::to_string(data.Plan(PlanIdx{1}).OrderNo),
            TakenOffText(data, {plan, PlanIdx{1}}));
  const std::string tip = session_->TipFor(entry.Bar());
  EXPECT_NE(tip.find("手配番号: " + std::to_string(entry.OrderNo)), std::string::npos) << tip;
  EXPECT_NE(tip.find("未保存"), std::string::npos) << tip;

  ASSERT_TRUE(session_->Undo());
  EXPECT_EQ(loaded, Texts(data, session_->Clashes()));
  EXPECT_TRUE(UnsavedLines(data).empty());
  ASSERT_TRUE(session_->Redo());
  EXPECT_EQ(dropped, Texts(data, session_->Clashes()));

  // Far away first, then the plan shown: its row among the rows in view, its start on screen.
  session_->Key(ChartKey::End);
  session_->ScrollToRow(0);
  session_->Reveal({plan});
  const chart::ChartModel& chart = session_->Chart();
  ASSERT_EQ(std::vector<BarIdx>{entry.Bar()}, chart.Highlighted);
  const chart::BarLabel& bar = chart.PlanBar[entry.Bar().Slot()];
  const double x = chart.PlatForm.Left + bar.Left - chart.PlatForm.ScaleLeft;
  EXPECT_GE(x, 0);
  EXPECT_LT(x, chart.Picture1.Width);
  const double y = chart.PlatForm.Top + bar.Top;
  EXPECT_GE(y, 0);
  EXPECT_LT(y, chart.RowsAreaHeight());
  session_->Pointer(At(PointerEvent::Kind::Press, {Target::PlatForm, 0, 0, 0}, 0));
  EXPECT_TRUE(chart.Highlighted.empty());
}

}  // namespace
}  // namespace velmora
