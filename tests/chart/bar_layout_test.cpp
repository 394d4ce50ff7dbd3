#include "chart/bar_layout.h"

#include <gtest/gtest.h>

#include "chart/display_mode.h"
#include "chart/row_finder.h"
#include "chart_world.h"
#include "common/errors.h"
#include "plandata/row_lookup.h"
#include "support/scripted_messages.h"

namespace velmora::chart {
namespace {

using test::ChartWorld;

class BarLayout : public ::testing::Test {
 protected:
  void SetUp() override {
    w.model.FaultsTo = &test::TestQuestions();
    DispWeek(w.data, w.model);
  }

  int Plan(const std::string& machine, std::string_view start = "2024/12/02 10:00:00",
           std::string_view end = "2024/12/02 14:00:00") {
    return w.AddPlan(machine, start, end);
  }
  void Layout(int i, std::int16_t keep = 0) { LayoutBar(w.data, w.model, PlanIdx{i}, keep); }

  ChartWorld w;
};

TEST_F(BarLayout, MachinePlanSitsOnItsRowAtItsTimes) {
  const int i = Plan("M01     ");
  Layout(i);
  const BarLabel& bar = w.Bar(i);
  EXPECT_EQ(Surface::PlatForm, bar.Container);
  EXPECT_EQ(840 + 2 * 15 - 45, bar.Top);
  EXPECT_EQ(240, bar.Left);
  EXPECT_EQ(480, bar.Width);
  EXPECT_TRUE(bar.Visible);
  EXPECT_EQ(Surface::PlatForm, w.JBar(i).Container);
}

TEST_F(BarLayout, BarsStaggerBySevenBarIndices) {
  std::vector<int> plans;
  for (int n = 0; n < 8; ++n) plans.push_back(Plan("M02     "));  // bar indices 2..9
  for (int i : plans) Layout(i);
  EXPECT_EQ(1440 - 15, w.Bar(plans[0]).Top);  // 2 mod 7 = 2
  EXPECT_EQ(1440 + 45, w.Bar(plans[4]).Top);  // 6 mod 7 = 6
  EXPECT_EQ(1440 - 45, w.Bar(plans[5]).Top);  // 7 mod 7 = 0
  EXPECT_EQ(w.Bar(plans[0]).Top, w.Bar(plans[7]).Top);
  for (std::size_t k = 1; k < 5; ++k) EXPECT_EQ(15, w.Bar(plans[k]).Top - w.Bar(plans[k - 1]).Top);
}

TEST_F(BarLayout, ShortBarsAreWidenedToTheMinimum) {
  const int empty = Plan("M01     ", "2024/12/02 10:00:00", "2024/12/02 10:00:00");
  const int backwards = Plan("M01     ", "2024/12/02 10:00:00", "2024/12/02 09:00:00");
  Layout(empty);
  Layout(backwards);
  EXPECT_EQ(45, w.Bar(empty).Width);
  EXPECT_EQ(45, w.Bar(backwards).Width);
}

TEST_F(BarLayout, UnplannedBarsUseTheFixedBandWhateverTheMode) {
  const int i = Plan("        ", "2024/12/02 12:00:00", "2024/12/09 12:00:00");
  Layout(i);
  const BarLabel& bar = w.Bar(i);
  EXPECT_EQ(Surface::PlatForm2, bar.Container);
  EXPECT_EQ(240 + 2 * 15 - 45 - 180, bar.Top);
  EXPECT_EQ(120, bar.Left);
  EXPECT_EQ(1500, bar.Width);
  DispDay(w.data, w.model);
  EXPECT_EQ(120, w.Bar(i).Left);
  EXPECT_EQ(1500, w.Bar(i).Width);
}

TEST_F(BarLayout, RowFollowsMachineOrDestination) {
  const int lost = Plan("ZZZ     ");
  Layout(lost);
  EXPECT_EQ(Surface::PlatForm2, w.Bar(lost).Container);
  EXPECT_EQ(2 * 15 - 45 - 180, w.Bar(lost).Top);

  const int outside = Plan("        ");
  w.Plan(outside).DestinationCode = "S001";
  Layout(outside);
  EXPECT_EQ(Surface::PlatForm, w.Bar(outside).Container);
  EXPECT_EQ(3240 + 3 * 15 - 45, w.Bar(outside).Top);

  EXPECT_EQ(3240, RowTopOf(w.data, "        ", "S001"));
  EXPECT_EQ(840, RowTopOf(w.data, "M01     ", "S001"));  // a machine wins over its destination
  EXPECT_FALSE(RowTopOf(w.data, "ZZZ", "S001").has_value());
}

TEST_F(BarLayout, BackgroundTellsTheEndAgainstTheDueDate) {
  const int i = Plan("M01     ", "2024/12/02 10:00:00", "2024/12/10 14:00:00");
  auto colourWithDue = [&](std::string_view due) {
    w.Plan(i).InitialDueDate = due.empty() ? DateTime{} : ChartWorld::Date(due);
    Layout(i);
    return w.Bar(i).BackColor;
  };
  EXPECT_EQ(kNoDueDateColor, colourWithDue(""));
  EXPECT_EQ(kOnTimeColor, colourWithDue("2024/12/10"));  // exactly on the due date
  EXPECT_EQ(kOnTimeColor, colourWithDue("2024/12/13"));  // three days before
  EXPECT_EQ(kEarlyColor, colourWithDue("2024/12/14"));   // four days before
  EXPECT_EQ(kLateColor, colourWithDue("2024/12/09"));    // one day after
  EXPECT_EQ(6316287, kLateColor);
  EXPECT_EQ(16777088, kEarlyColor);
  EXPECT_EQ(8454143, kOnTimeColor);
}

TEST_F(BarLayout, TextColourAndBoldFollowConfirmationCycleAndChange) {
  const int i = Plan("M01     ");
  PlanEntry& p = w.Plan(i);
  p.ConfirmFlag = "1";
  p.Changed = 1;
  Layout(i);
  EXPECT_EQ(kBlack, w.Bar(i).ForeColor);
  EXPECT_TRUE(w.Bar(i).Bold);
  EXPECT_TRUE(w.JBar(i).Bold);
  p.ConfirmFlag = "0";
  p.CycleSeconds = 12.5f;
  p.Changed = 0;
  Layout(i);
  EXPECT_EQ(16711680, w.Bar(i).ForeColor);
  EXPECT_FALSE(w.Bar(i).Bold);
  p.CycleSeconds = 0;
  Layout(i);
  EXPECT_EQ(160, w.Bar(i).ForeColor);
}

TEST_F(BarLayout, ConfirmFlagThatIsNoBooleanIsReportedAndTheLayoutGoesOn) {
  const int i = Plan("M01     ");
  w.Plan(i).CycleSeconds = 10;
  w.Plan(i).ConfirmFlag = "0";
  Layout(i);
  w.Plan(i).ConfirmFlag = "";
  w.Plan(i).InitialDueDate = DateTime{};
  w.Plan(i).StartTime = DateTime::FromTime(9, 0, 0);
  test::ScriptedMessages messages;
  Layout(i);
  ASSERT_EQ(1u, messages.shown().size());
  EXPECT_EQ("型が一致しません。", messages.shown()[0].text);
  EXPECT_FALSE(messages.shown()[0].question);
  EXPECT_EQ(Tone::Plain, messages.shown()[0].tone);
  const BarLabel& bar = w.Bar(i);
  EXPECT_EQ(kCycleTextColor, bar.ForeColor);  // the failed step left the colour as it was
  EXPECT_EQ(kNoDueDateColor, bar.BackColor);  // the other steps of the block ran
  EXPECT_TRUE(bar.Visible);
  EXPECT_EQ(600, bar.Width);  // and so did the later blocks
  EXPECT_FALSE(bar.Caption.empty());
}

TEST(ConfirmFlag, ReadsAsABoolean) {
  EXPECT_TRUE(ConfirmFlagIsSet("1"));
  EXPECT_TRUE(ConfirmFlagIsSet("2"));
  EXPECT_TRUE(ConfirmFlagIsSet(" -1 "));
  EXPECT_FALSE(ConfirmFlagIsSet("0"));
  EXPECT_THROW(ConfirmFlagIsSet("True"), ConversionError);
  EXPECT_THROW(ConfirmFlagIsSet(""), ConversionError);
  EXPECT_THROW(ConfirmFlagIsSet("x"), ConversionError);
}

TEST_F(BarLayout, CaptionHasTwoLinesAndShowsReceiptsOnlyWhenThereAreAny) {
  const int i = Plan("M01     ");
  PlanEntry& p = w.Plan(i);
  p.SheetIssueDate = "20241201";
  p.PlanItemCode = "A-100  ";
  p.ModelName = " M1";
  p.ProcessName = "成形 ";
  p.ReceivedQty = 250;
  p.LastResultDate = ChartWorld::Date("2024/12/06");
  p.OrderQty = 1000;
  p.PlanNoText = "123";
  Layout(i);
  EXPECT_EQ("●A-100 M1\r\n成形 250(12/6)/1000 123", w.Bar(i).Caption);
  EXPECT_EQ(w.Bar(i).Caption, w.JBar(i).Caption);

  p.SheetIssueDate = "00000000";
  p.ReceivedQty = 0;
  p.PlanNoText = "";
  Layout(i);
  EXPECT_EQ("A-100 M1\r\n成形 1000 ", w.Bar(i).Caption);
}

TEST_F(BarLayout, HugeStoredTextsAreCutToWhatABarCanShow) {
  const int i = Plan("M01     ");
  PlanEntry& p = w.Plan(i);
  p.SheetIssueDate = "00000000";
  p.PlanItemCode = "   " + std::string(1 << 20, 'X');
  std::string kanji;
  for (int k = 0; k < 300000; ++k) kanji += "成";
  p.ProcessName = kanji;
  p.ModelName = std::string(1 << 20, ' ') + "M1";
  Layout(i);
  const std::string& caption = w.Bar(i).Caption;
  const std::size_t lineEnd = caption.find("\r\n");
  ASSERT_NE(std::string::npos, lineEnd);
  EXPECT_EQ(std::string(kCaptionPieceChars, 'X') + " M1", caption.substr(0, lineEnd));
  EXPECT_EQ(0u, caption.compare(lineEnd + 2, 3 * 4, "成成成成"));
  EXPECT_LT(caption.size(), 4 * kCaptionPieceChars * 4);
}

// A plan centuries away neither stops the chart nor a mode change: its bar waits at the edge
// and the other bars are laid out as usual.
TEST_F(BarLayout, FarDatedPlansStayAtTheEdgeInEveryMode) {
  const int past = Plan("M01     ", "1500/01/01 08:00:00", "1500/01/02 08:00:00");
  const int future = Plan("M02     ", "2024/12/02 08:00:00", "9999/12/31 23:59:59");
  const int usual = Plan("M03     ", "2024/12/02 10:00:00", "2024/12/02 14:00:00");
  w.Plan(past).InitialDueDate = ChartWorld::Date("9999/12/31");
  ASSERT_NO_THROW(Disp_Gantt(w.data, w.model));  // laid out as a load lays them out
  for (int k = 0; k < 4; ++k) {
    ASSERT_NO_THROW(NextDisplayMode(w.data, w.model));
    SCOPED_TRACE(w.model.Scale.DisplayMode);
    EXPECT_TRUE(w.Bar(past).Visible);
    EXPECT_LE(w.Bar(past).Left, w.model.PlatForm.ScaleLeft);
    EXPECT_GE(w.Bar(future).Left + w.Bar(future).Width,
              w.model.PlatForm.ScaleLeft + w.model.PlatForm.ScaleWidth);
    EXPECT_EQ(w.model.Scale.TimeToX(ChartWorld::Date("2024/12/02"), DateTime::FromTime(10, 0, 0),
                                    chart::TimeKind::Rows),
              w.Bar(usual).Left);
  }
}

TEST_F(BarLayout, ProgressBarShowsTheReceivedShareOfTheInnerWidth) {
  const int i = Plan("M01     ");  // 480 twips wide
  PlanEntry& p = w.Plan(i);
  p.OrderQty = 1000;
  p.ReceivedQty = 250;
  Layout(i);
  const BarLabel& progress = w.JBar(i);
  EXPECT_TRUE(progress.Visible);
  EXPECT_EQ(w.Bar(i).Left + 15, progress.Left);
  EXPECT_EQ(w.Bar(i).Top + 15, progress.Top);
  EXPECT_EQ((480 - 30) * 0.25, progress.Width);

  p.ReceivedQty = 1500;
  Layout(i);
  EXPECT_EQ(450, w.JBar(i).Width);

  p.ReceivedQty = 0;
  Layout(i);
  EXPECT_FALSE(w.JBar(i).Visible);
  EXPECT_EQ(0, w.JBar(i).Width);

  p.ReceivedQty = 10;
  p.OrderQty = 0;
  Layout(i);
  EXPECT_FALSE(w.JBar(i).Visible);
}

TEST_F(BarLayout, ProgressBarOfABarNoPlanShowsIsHidden) {
  w.model.CreateBarPair(BarIdx{40});
  w.model.PlanJBar[40].Visible = true;
  PlanBar_Change(w.data, w.model, BarIdx{40});
  EXPECT_FALSE(w.model.PlanJBar[40].Visible);
  EXPECT_EQ(0, w.model.PlanJBar[40].Width);
}

TEST_F(BarLayout, HiddenPlanHidesBothBarsAndNothingElse) {
  const int i = Plan("M01     ");
  w.Plan(i).ReceivedQty = 50;
  Layout(i);
  const BarLabel before = w.Bar(i);
  w.Plan(i).Hidden = 1;
  w.Plan(i).MachineCode = "M02     ";
  Layout(i);
  EXPECT_FALSE(w.Bar(i).Visible);
  EXPECT_FALSE(w.JBar(i).Visible);
  EXPECT_EQ(before.Top, w.Bar(i).Top);
  EXPECT_EQ(before.ZOrder, w.Bar(i).ZOrder);
}

TEST_F(BarLayout, LatestLayoutIsInFrontUnlessTheSurfaceIsKept) {
  const int a = Plan("M01     ");
  const int b = Plan("        ");
  Layout(a);
  Layout(b);
  EXPECT_GT(w.Bar(b).ZOrder, w.Bar(a).ZOrder);
  EXPECT_GT(w.JBar(a).ZOrder, w.Bar(a).ZOrder);
  Layout(a);
  EXPECT_GT(w.Bar(a).ZOrder, w.Bar(b).ZOrder);

  // Keeping the surface: the unplanned bar moved to a machine stays in its band and order.
  const std::uint64_t order = w.Bar(b).ZOrder;
  w.Plan(b).MachineCode = "M03     ";
  Layout(b, 1);
  EXPECT_EQ(Surface::PlatForm2, w.Bar(b).Container);
  EXPECT_EQ(order, w.Bar(b).ZOrder);
  EXPECT_EQ(2040 + 3 * 15 - 45 - 180, w.Bar(b).Top);
}

TEST_F(BarLayout, FullRedrawLaysOutLikeOneBarAtATime) {
  for (const char* machine : {"M01     ", "        ", "M03     ", "30", "ZZZ", "S001"}) {
    const int i = Plan(machine, "2024/12/03 09:30:00", "2024/12/04 11:00:00");
    w.Plan(i).ReceivedQty = 30;
  }
  w.Plan(3).DestinationCode = "S001";
  w.Plan(4).Hidden = 1;
  w.Plan(5).InUse = 0;
  DispWeek(w.data, w.model);
  const std::vector<BarLabel> whole = w.model.PlanBar;
  const std::vector<BarLabel> wholeProgress = w.model.PlanJBar;

  ChartModel single = w.model;
  for (BarLabel& bar : single.PlanBar) bar = BarLabel{};
  for (BarLabel& bar : single.PlanJBar) bar = BarLabel{};
  for (int i = 1; i <= w.data.PlanCount(); ++i) {
    if (w.Plan(i).InUse > 0) LayoutBar(w.data, single, PlanIdx{i}, 0);
  }
  for (int i = 2; i <= w.data.PlanCount(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(whole[i].Container, single.PlanBar[i].Container);
    EXPECT_EQ(whole[i].Top, single.PlanBar[i].Top);
    EXPECT_EQ(whole[i].Left, single.PlanBar[i].Left);
    EXPECT_EQ(whole[i].Width, single.PlanBar[i].Width);
    EXPECT_EQ(whole[i].Visible, single.PlanBar[i].Visible);
    EXPECT_EQ(wholeProgress[i].Width, single.PlanJBar[i].Width);
  }
}

TEST(RowFinder, AnswersAsFindRow) {
  ChartWorld w;
  w.data.RowCode[5] = "M02     ";  // a code on two rows: the lower one wins
  const RowFinder finder(w.data);
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"        ", ""}, {"        ", "S001"},     {"M01     ", "S001"},
      {"M01     ", ""}, {"", "M03     "},         {"ZZZ", "S001"},
      {"ZZZ", ""},      {"M02     ", "M02     "}, {"M02     ", "M01     "},
      {"", ""},         {"S001", "M01     "},     {"  ", "M01     "}};
  for (const auto& [first, second] : cases) {
    SCOPED_TRACE(first + "|" + second);
    EXPECT_EQ(FindRow(w.data, first, second), finder.Find(first, second));
  }
}

}  // namespace
}  // namespace velmora::chart
