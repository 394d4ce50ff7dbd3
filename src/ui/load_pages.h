#pragma once

#include <QFont>
#include <QRectF>
#include <string>
#include <vector>

#include "ui/caption_shaper.h"
#include "ui/chart_pages.h"
#include "ui/load_table.h"

class QPainter;

namespace velmora::ui {

// The load table laid on pages after the chart's: a week of days across, as many lines down as
// fit with the total line at the foot of every page. Pages run down the lines of one week before
// the next, as the chart's pages do. Units are points; text is drawn as glyphs of the font's
// character map, so a PDF reader finds every figure.
class LoadPages {
 public:
  // Pages of `pageWidth` x `pageHeight` points in `font`.
  LoadPages(const LoadTable& table, double pageWidth, double pageHeight, const QFont& font);

  int PageCount() const { return static_cast<int>(weeks_.size() * lines_.size()); }
  const std::vector<PageSpan>& Weeks() const { return weeks_; }
  const std::vector<PageSpan>& Lines() const { return lines_; }
  // Page `n`: the title line (`left`, and `right` ending at the page's right edge), the day
  // header, the lines and the total; overloaded cells shaded.
  void Paint(QPainter& painter, int n, const std::string& left, const std::string& right);

 private:
  void PaintLine(QPainter& painter, const LoadTable::Line& line, const PageSpan& week, double top,
                 bool bold);
  void Text(QPainter& painter, const std::string& text, const QRectF& box, Qt::Alignment align,
            bool bold);

  const LoadTable& table_;
  double width_;
  double dayWidth_;
  CaptionShaper shaper_;
  std::vector<PageSpan> weeks_;
  std::vector<PageSpan> lines_;
};

}  // namespace velmora::ui
