#include "ui/chart_pages.h"

#include <algorithm>
#include <cmath>

namespace velmora::ui {

std::vector<PageSpan> SliceTime(int width, double step) {
  std::vector<PageSpan> spans;
  if (width <= 0 || !(step >= 1)) return {PageSpan{0, std::max(0, width)}};
  for (int k = 0;; ++k) {
    const int start = static_cast<int>(std::lround(k * step));
    if (start >= width) break;
    const int end = std::min(width, static_cast<int>(std::lround((k + 1) * step)));
    spans.push_back({start, end - start});
  }
  return spans;
}

std::vector<PageSpan> SliceRows(int height, int firstRowTop, int pitch, int room) {
  if (height <= 0) return {PageSpan{0, 0}};
  room = std::max(1, room);
  pitch = std::max(1, pitch);
  std::vector<PageSpan> spans;
  for (int start = 0; start < height;) {
    const int limit = start + room;
    int end = limit;
    if (limit < height && limit >= firstRowTop) {
      // The last row boundary past `start` that still fits.
      const int boundary = firstRowTop + (limit - firstRowTop) / pitch * pitch;
      if (boundary > start) end = boundary;
    }
    end = std::min(end, height);
    spans.push_back({start, end - start});
    start = end;
  }
  return spans;
}

double PageTimeStep(double room, double dayWidth, double hourWidth) {
  // A hair of slack: paper measured in points seldom holds a whole number of chart pixels.
  constexpr double kSlack = 1e-6;
  const auto whole = [&](double unit) { return std::floor(room / unit * (1 + kSlack)) * unit; };
  if (dayWidth > 0 && whole(dayWidth) >= 2 * dayWidth) return whole(dayWidth);
  if (hourWidth > 0 && whole(hourWidth) >= hourWidth) return whole(hourWidth);
  return std::max(1.0, room);
}

PageLayout LayOutPages(const ChartMeasures& chart, double scale, double pageWidth,
                       double pageHeight, int titleHeight) {
  PageLayout layout;
  layout.scale = scale;
  layout.across = pageWidth / scale;
  layout.step = PageTimeStep(layout.across - chart.captionWidth, chart.dayWidth, chart.hourWidth);
  layout.times = SliceTime(chart.width, layout.step);
  const int room =
      static_cast<int>(std::floor(pageHeight / layout.scale)) - titleHeight - chart.headerHeight;
  layout.rows = SliceRows(chart.bodyHeight, chart.firstRowTop, chart.rowPitch, room);
  return layout;
}

}  // namespace velmora::ui
