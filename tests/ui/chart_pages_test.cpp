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

TEST(ChartPages, AWeekAcrossALandscapePageAndPagesDownTheRowsOfAWeekFirst) {
  ChartMeasures chart;
  chart.captionWidth = 140;
  chart.headerHeight = 24;
  chart.width = 31 * 192;  // 31 days of a week-mode chart, a week 1344 pixels
  chart.bodyHeight = 48 + 60 * 40;
  chart.firstRowTop = 48;
  chart.rowPitch = 40;
  chart.timeStep = 1344;
  // A4 landscape less 10 mm margins, in points.
  const PageLayout layout = LayOutPages(chart, 785.2, 538.6, 20);
  EXPECT_DOUBLE_EQ(785.2 / 1484, layout.scale);
  EXPECT_EQ(1484, layout.across);
  EXPECT_EQ(5u, layout.times.size());
  // 1017 chart pixels tall, less the title and the time axis: 973, so the top and 23 rows.
  EXPECT_EQ((Spans{{0, 968}, {968, 960}, {1928, 520}}), layout.rows);
  EXPECT_EQ(15, layout.PageCount());
  EXPECT_EQ(0, layout.TimeOf(2).start);
  EXPECT_EQ(1928, layout.RowsOf(2).start);
  EXPECT_EQ(1344, layout.TimeOf(3).start);
  EXPECT_EQ(0, layout.RowsOf(3).start);
  EXPECT_EQ((PageSpan{5376, 576}), layout.TimeOf(14));
}

}  // namespace
}  // namespace velmora::ui
