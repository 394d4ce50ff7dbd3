#include "ui/chart_pages.h"

#include <gtest/gtest.h>

#include <vector>

namespace velmora::ui {
namespace {

using Spans = std::vector<PageSpan>;

// Pieces must follow each other without gap or overlap and cover [0, size) exactly.
void ExpectTiling(const Spans& spans, int size) {
  int next = 0;
  for (const PageSpan& s : spans) {
    EXPECT_EQ(next, s.start);
    EXPECT_GT(s.length, 0);
    next = s.start + s.length;
  }
  EXPECT_EQ(size, next);
}

TEST(ChartPages, TimeIsCutAtWholeStepsWithAShorterLastPage) {
  struct Case {
    int width;
    double step;
    Spans expected;
  } cases[] = {
      {3000, 1344, {{0, 1344}, {1344, 1344}, {2688, 312}}},    // last partial page
      {2688, 1344, {{0, 1344}, {1344, 1344}}},                 // exact: no empty page
      {1000, 1344, {{0, 1000}}},                               // smaller than a page
      {3000, 1000.4, {{0, 1000}, {1000, 1001}, {2001, 999}}},  // no drift from rounding
      {0, 1344, {{0, 0}}},  // an empty chart still prints one page
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.width);
    EXPECT_EQ(c.expected, SliceTime(c.width, c.step));
  }
  ExpectTiling(SliceTime(1'000'003, 1791.7), 1'000'003);
}

TEST(ChartPages, RowsAreCutOnRowBoundariesOrMidRowWhenNoRowFits) {
  // A body of a 48-pixel top (unplanned band and the rows' top strip), then 40-pixel rows.
  struct Case {
    int height;
    int room;
    Spans expected;
  } cases[] = {
      {48 + 30 * 40, 961, {{0, 928}, {928, 320}}},  // 22 rows, then the last 8
      {48 + 30 * 40, 928, {{0, 928}, {928, 320}}},  // room exactly to a boundary
      {48 + 44 * 40, 928, {{0, 928}, {928, 880}}},  // the second page is full
      {48 + 3 * 40, 961, {{0, 168}}},               // the chart fits one page
      {48 + 2 * 40, 30, {{0, 30}, {30, 18}, {48, 30}, {78, 10}, {88, 30}, {118, 10}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.room);
    const Spans spans = SliceRows(c.height, 48, 40, c.room);
    EXPECT_EQ(c.expected, spans);
    ExpectTiling(spans, c.height);
  }
}

// Paper decides what a page spans: whole days when two or more fit, else whole hours.
TEST(ChartPages, APageSpansTheWholeDaysOrHoursThePaperHolds) {
  struct Case {
    const char* what;
    double room, day;
    double expected;
  } cases[] = {
      {"week on A4: exactly seven days", 806.4, 115.2, 806.4},
      {"week on A3: ten days", 1226.7, 115.2, 1152},
      {"four weeks on A4", 806.4, 28.8, 806.4},
      {"day view on A4: one day as 24 hours", 806.4, 806.4, 806.4},
      {"day view on A3: 36 hours, not one day", 1226.7, 806.4, 1209.6},
      {"a hair short of a day still counts it", 806.39999999, 268.8, 806.4},
      {"less than an hour: what fits", 10, 806.4, 10},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_NEAR(c.expected, PageTimeStep(c.room, c.day, c.day / 24), 1e-6);
  }
}

TEST(ChartPages, TheScaleIsFixedAndPagesRunDownTheRowsOfAStretchFirst) {
  ChartMeasures chart;
  chart.captionWidth = 140;
  chart.headerHeight = 24;
  chart.width = 31 * 115;  // 31 days of a week-mode chart, a day 115 pixels
  chart.bodyHeight = 48 + 60 * 40;
  chart.firstRowTop = 48;
  chart.rowPitch = 40;
  chart.dayWidth = 115;
  chart.hourWidth = 115 / 24.0;
  // A4 landscape less 10 mm margins, in points: 946 pixels across, 805 of them for time.
  const double scale = 785.2 / 946;
  const PageLayout a4 = LayOutPages(chart, scale, 785.2, 538.6, 20);
  EXPECT_DOUBLE_EQ(scale, a4.scale);
  EXPECT_DOUBLE_EQ(946, a4.across);
  EXPECT_DOUBLE_EQ(7 * 115, a4.step);
  EXPECT_EQ(5u, a4.times.size());
  // 648 chart pixels tall, less the title and the time axis: 604, so the top and 13 rows.
  EXPECT_EQ((Spans{{0, 568}, {568, 600}, {1168, 600}, {1768, 600}, {2368, 80}}), a4.rows);
  EXPECT_EQ(25, a4.PageCount());
  EXPECT_EQ(0, a4.TimeOf(4).start);
  EXPECT_EQ(2368, a4.RowsOf(4).start);
  EXPECT_EQ(805, a4.TimeOf(5).start);
  EXPECT_EQ(0, a4.RowsOf(5).start);
  EXPECT_EQ((PageSpan{3220, 345}), a4.TimeOf(24));
  // A3 at the same scale: the same text size, ten days across and more rows down.
  const PageLayout a3 = LayOutPages(chart, scale, 1133.9, 785.2, 20);
  EXPECT_DOUBLE_EQ(scale, a3.scale);
  EXPECT_DOUBLE_EQ(10 * 115, a3.step);
  EXPECT_EQ(4u, a3.times.size());
  EXPECT_LT(a3.rows.size(), a4.rows.size());
}

}  // namespace
}  // namespace velmora::ui
