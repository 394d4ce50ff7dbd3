#include <gtest/gtest.h>

#include <cmath>

#include "chart/display_mode.h"
#include "chart/scrolling.h"
#include "chart_world.h"
#include "common/date_text.h"

namespace velmora::chart {
namespace {

using test::ChartWorld;

TEST(DisplayMode, WeekModeWidthsSurfacesAndScrollRange) {
  ChartWorld w;
  DispWeek(w.data, w.model);
  EXPECT_EQ("１週間表示モード", w.model.modeCaption);
  EXPECT_EQ(3, w.model.Scale.DisplayMode);
  EXPECT_EQ(2880, w.model.Scale.DayWidth);
  EXPECT_EQ(120, w.model.Scale.HourWidth);
  EXPECT_EQ(30, w.model.Scale.FixedHourWidth);
  for (const ChartSurface* s : {&w.model.PlatForm, &w.model.PlatForm2, &w.model.PlatForm3}) {
    EXPECT_EQ(-5760, s->Left);
    EXPECT_EQ(-5760, s->ScaleLeft);
    EXPECT_EQ(21 * 2880, s->Width);
    EXPECT_EQ(21 * 2880, s->ScaleWidth);
    EXPECT_TRUE(s->Visible);
  }
  EXPECT_EQ(-384, w.model.HScroll1.Min);
  EXPECT_EQ((19 * 2880 - 20160) / 15, w.model.HScroll1.Max);
  EXPECT_EQ(0, w.model.HScroll1.Value);
  EXPECT_EQ("2024年12月2日", w.model.DayDispArea);
}

TEST(DisplayMode, ModeButtonCyclesThroughTheFourModes) {
  ChartWorld w;
  DispWeek(w.data, w.model);
  NextDisplayMode(w.data, w.model);
  EXPECT_EQ(4, w.model.Scale.DisplayMode);
  EXPECT_EQ("1ヶ月(４週間)表示モード", w.model.modeCaption);
  EXPECT_EQ(30, w.model.Scale.HourWidth);
  EXPECT_EQ(720, w.model.Scale.DayWidth);
  NextDisplayMode(w.data, w.model);
  EXPECT_EQ(1, w.model.Scale.DisplayMode);
  EXPECT_EQ("１日表示モード", w.model.modeCaption);
  EXPECT_EQ(20160, w.model.Scale.DayWidth);
  EXPECT_EQ(840, w.model.Scale.HourWidth);
  NextDisplayMode(w.data, w.model);
  EXPECT_EQ(2, w.model.Scale.DisplayMode);
  EXPECT_EQ("３日表示モード", w.model.modeCaption);
  EXPECT_EQ(6720, w.model.Scale.DayWidth);
  NextDisplayMode(w.data, w.model);
  EXPECT_EQ(3, w.model.Scale.DisplayMode);
}

// The surfaces and the scroll range cover the whole period in every mode, however long.
TEST(DisplayMode, EveryModeCoversTheWholePeriod) {
  for (const int mode : {1, 2, 3, 4}) {
    EXPECT_EQ(21, SurfaceDays(mode, 21));
    EXPECT_EQ(400, SurfaceDays(mode, 400));
  }
  for (const int days : {21, 100, 400}) {
    ChartWorld w;
    w.data.DayCount = static_cast<std::int16_t>(days);
    w.data.SizeCalendars(w.data.RowCount);
    for (const int mode : {1, 2, 3, 4}) {
      SCOPED_TRACE(std::to_string(days) + " days, mode " + std::to_string(mode));
      ASSERT_NO_THROW(DispMode(w.data, w.model, mode));
      const double day = w.model.Scale.DayWidth;
      EXPECT_EQ(days * day, w.model.PlatForm.Width);
      EXPECT_EQ(days * day, w.model.PlatForm3.Width);
      EXPECT_EQ(std::lround(std::max(0.0, (days - 2) * day - 20160) / w.model.HScrollUnit),
                w.model.HScroll1.Max);
    }
  }
}

// On any screen, in every mode, the chart loads, opens at the period start, and scrolling reaches
// from two days before the start to the period's last day, one pixel a scroll unit.
TEST(DisplayMode, EveryDayIsReachableOnEveryScreenWidth) {
  for (const int pixels : {640, 1920, 2560, 3840, 7680}) {
    for (const char* periodEnd : {"2024/12/04", "2024/12/20", "2025/03/31", "2026/12/01"}) {
      ChartWorld w(0, pixels, periodEnd);
      for (auto* mode : {&DispDay, &Disp3Day, &DispWeek, &DispMonth}) {
        ASSERT_NO_THROW(mode(w.data, w.model));
        const int m = w.model.Scale.DisplayMode;
        SCOPED_TRACE(std::to_string(pixels) + " px, to " + periodEnd + ", mode " +
                     std::to_string(m));
        const ScrollBarState& bar = w.model.HScroll1;
        const double unit = w.model.HScrollUnit;
        const double day = w.model.Scale.DayWidth;
        EXPECT_EQ(kTwipsPerPixel, unit);
        EXPECT_LE(bar.Min, 0);
        EXPECT_GE(bar.Max, 0);
        EXPECT_EQ(0, bar.Value) << "opens at the period start and keeps it";
        EXPECT_EQ("2024年12月2日", w.model.DayDispArea);
        EXPECT_NEAR(-2 * day, bar.Min * unit, unit);

        const int lastDay = w.data.DayCount - 2;
        const double rightEdge = bar.Max * unit + w.model.Picture1.Width;
        EXPECT_GE(rightEdge, lastDay * day - unit) << "the last day is reachable";

        SetHScroll1Value(w.data, w.model, bar.Max);
        EXPECT_NEAR(-2 * day - bar.Max * unit, w.model.PlatForm.Left, 0.5);
        SetHScroll1Value(w.data, w.model, bar.Min);
        EXPECT_NEAR(w.model.PlatForm.ScaleLeft, w.model.PlatForm.Left + bar.Min * unit, 0.5);
        SetHScroll1Value(w.data, w.model, 0);  // the next mode keeps the period start
      }
    }
  }
}

TEST(DisplayMode, ChangingModeKeepsTheDayAtTheLeftEdge) {
  ChartWorld w;
  DispWeek(w.data, w.model);
  SetHScroll1Value(w.data, w.model, 672);  // 3.5 days of 2880 twips
  EXPECT_EQ("2024年12月5日", w.model.DayDispArea);
  DispDay(w.data, w.model);
  EXPECT_EQ(4704, w.model.HScroll1.Value);  // 3.5 days of 20160 twips
  EXPECT_EQ(4704, w.model.ScrollValue);
  EXPECT_EQ(-2 * 20160 - 4704 * 15, w.model.PlatForm.Left);
  EXPECT_EQ(w.model.PlatForm.Left, w.model.PlatForm3.Left);
  EXPECT_EQ(-2 * 20160, w.model.PlatForm2.Left);
  EXPECT_EQ("2024年12月5日", w.model.DayDispArea);

  // 14 days in day mode lie past the end of week mode's range: clamped to its maximum.
  SetHScroll1Value(w.data, w.model, 18816);
  DispWeek(w.data, w.model);
  EXPECT_EQ(w.model.HScroll1.Max, w.model.HScroll1.Value);
  EXPECT_EQ(-5760 - w.model.HScroll1.Max * 15, w.model.PlatForm.Left);
}

// A zoom only moves and stretches the bars: in every mode they stand, stack and show as a full
// layout of the same plan lays them, unplanned, hidden and half-received plans included.
TEST(DisplayMode, AZoomLaysTheBarsAsAFullLayoutDoes) {
  ChartWorld w;
  const std::string machine = w.data.RowCode[2];
  w.AddPlan(machine, "2024/12/02 08:00:00", "2024/12/02 17:00:00");
  w.Plan(w.AddPlan(machine, "2024/12/03 08:00:00", "2024/12/05 12:30:00")).ReceivedQty = 40;
  w.AddPlan(std::string(8, ' '), "2024/12/04 09:00:00", "2024/12/04 10:00:00");
  w.Plan(w.AddPlan(machine, "2024/12/06 08:00:00", "2024/12/06 09:00:00")).Hidden = 1;
  w.AddPlan(machine, "2024/11/28 20:00:00", "2024/12/09 07:00:00");
  DispWeek(w.data, w.model);
  for (const int mode : {1, 2, 4, 3}) {
    SCOPED_TRACE("mode " + std::to_string(mode));
    ChartWorld full = w;
    DispMode(w.data, w.model, mode);
    full.model.Scale.DisplayMode = static_cast<std::int16_t>(mode);
    Disp_Gantt(full.data, full.model);
    for (const auto bars : {&ChartModel::PlanBar, &ChartModel::PlanJBar}) {
      const std::vector<BarLabel>& zoomed = w.model.*bars;
      const std::vector<BarLabel>& laid = full.model.*bars;
      ASSERT_EQ(laid.size(), zoomed.size());
      for (std::size_t b = 0; b < laid.size(); ++b) {
        SCOPED_TRACE("bar " + std::to_string(b));
        EXPECT_EQ(laid[b].Left, zoomed[b].Left);
        EXPECT_EQ(laid[b].Width, zoomed[b].Width);
        EXPECT_EQ(laid[b].Top, zoomed[b].Top);
        EXPECT_EQ(laid[b].ZOrder, zoomed[b].ZOrder);
        EXPECT_EQ(laid[b].Visible, zoomed[b].Visible);
        EXPECT_EQ(laid[b].Container, zoomed[b].Container);
        EXPECT_EQ(laid[b].Caption, zoomed[b].Caption);
      }
    }
  }
}

TEST(Scrolling, HorizontalMovesRowsAndHeaderButNotTheUnplannedBand) {
  ChartWorld w;
  DispWeek(w.data, w.model);
  SetHScroll1Value(w.data, w.model, 200);
  SetHScroll1Value(w.data, w.model, 100);
  EXPECT_EQ(-5760 - 1500, w.model.PlatForm.Left);
  EXPECT_EQ(-5760 - 1500, w.model.PlatForm3.Left);
  EXPECT_EQ(-5760, w.model.PlatForm2.Left);
  SetHScroll1Value(w.data, w.model, -1000);  // held within the bar's range
  EXPECT_EQ(-384, w.model.HScroll1.Value);
  EXPECT_EQ("2024年11月30日", w.model.DayDispArea);
}

TEST(Scrolling, RowScrollShiftsCaptionsAndSurface) {
  ChartWorld few;
  EXPECT_EQ(0, few.model.KScroll.Max);
  EXPECT_FALSE(few.model.KScroll.Enabled);
  EXPECT_EQ("", few.model.MachineName[1]);
  EXPECT_EQ("M01 成形機1", few.model.MachineName[2]);

  ChartWorld many(12);  // 18 rows
  EXPECT_EQ(18, many.data.RowCount);
  EXPECT_EQ(2, many.model.KScroll.Max);
  EXPECT_EQ(15, many.model.KScroll.LargeChange);
  EXPECT_TRUE(many.model.KScroll.Enabled);
  SetKScrollValue(many.data, many.model, 2);
  EXPECT_EQ("M02 成形機2", many.model.MachineName[1]);
  EXPECT_EQ(many.data.RowCaption[18], many.model.MachineName[16]);
  EXPECT_EQ(-1200, many.model.PlatForm.Top);
  SetKScrollValue(many.data, many.model, 9);
  EXPECT_EQ(2, many.model.KScroll.Value);
}

}  // namespace
}  // namespace velmora::chart
