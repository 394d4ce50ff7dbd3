#pragma once

#include <vector>

namespace velmora::ui {

// The whole chart's measures in its own pixels, as laying it on pages needs them.
struct ChartMeasures {
  int captionWidth = 0;  // the row caption column, repeated on every page
  int headerHeight = 0;  // the time axis band, repeated on every page
  int width = 0;         // the chart area right of the captions: time
  int bodyHeight = 0;    // below the header: the unplanned band, then the rows
  int firstRowTop = 0;   // body y where the first row starts; rows follow every rowPitch
  int rowPitch = 0;
  double dayWidth = 0;  // chart pixels of a day and of an hour in the display mode
  double hourWidth = 0;
};

// A piece of the chart area (across) or of the body (down), in chart pixels.
struct PageSpan {
  int start = 0;
  int length = 0;
  bool operator==(const PageSpan&) const = default;
};

// Where each page's piece of the chart comes from. Pages run down the rows of one stretch of
// time before moving on to the next stretch: the shop floor reads a week, then the next.
struct PageLayout {
  double scale = 1;   // page units per chart pixel
  double across = 0;  // chart pixels a page holds across
  double step = 0;    // chart pixels of time a page shows right of the captions
  std::vector<PageSpan> times;
  std::vector<PageSpan> rows;

  int PageCount() const { return static_cast<int>(times.size() * rows.size()); }
  const PageSpan& TimeOf(int page) const { return times[page / rows.size()]; }
  const PageSpan& RowsOf(int page) const { return rows[page % rows.size()]; }
};

// Cuts [0, width) into pieces that start at whole multiples of `step` (rounded): the last one
// may be shorter. An empty chart still gets one empty piece, so it prints as one page.
std::vector<PageSpan> SliceTime(int width, double step);

// Cuts [0, height) into pieces of at most `room` pixels that end on row boundaries
// (firstRowTop + k * pitch); a piece where not even one row fits is cut at `room` instead.
std::vector<PageSpan> SliceRows(int height, int firstRowTop, int pitch, int room);

// The chart pixels of time a page `room` pixels wide shows: as many whole days as fit when two
// or more do, otherwise as many whole hours (a day view shows a day and a half on wider paper
// rather than one day with a blank beside it). Never less than what fits of one hour.
double PageTimeStep(double room, double dayWidth, double hourWidth);

// Lays the chart on pages of `pageWidth` x `pageHeight` units at `scale` page units per chart
// pixel, the same on every paper: right of the caption column a page shows the whole days or
// hours that fit; below a title line of `titleHeight` chart pixels and the header band, the body
// takes as many whole rows as fit.
PageLayout LayOutPages(const ChartMeasures& chart, double scale, double pageWidth,
                       double pageHeight, int titleHeight);

}  // namespace velmora::ui
