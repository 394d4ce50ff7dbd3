#include "ui/chart_painter.h"

#include <QPainter>
#include <algorithm>
#include <limits>

#include "ui/fixed_mark_painting.h"
#include "ui/surface_area.h"

namespace velmora::ui {

using chart::BarLabel;
using chart::ChartModel;
using chart::Surface;

namespace {

constexpr int kBarTextLeft = 2;     // pixels from a bar's left edge to its caption
constexpr int kProgressAlpha = 90;  // the progress bar darkens the bar's colour under it
constexpr int kGlyphReach = 16;     // pixels: wider and taller than any caption glyph

}  // namespace

void ChartPainter::PaintBars(QPainter& painter, const ChartModel& model, Surface surface,
                             const SurfaceArea& area) {
  items_.clear();
  // Bars just outside the area count too: they decide whether a glyph reaching into the area
  // is covered, as they do when the whole picture is painted.
  const double reach = kGlyphReach * chart::kTwipsPerPixel;
  auto collect = [&](const std::vector<BarLabel>& bars, bool progress) {
    for (std::size_t i = 0; i < bars.size(); ++i) {
      const BarLabel& bar = bars[i];
      if (bar.Visible && bar.Container == surface && bar.Width > 0 &&
          area.Shows(bar.Left - reach, bar.Top - reach, bar.Width + 2 * reach,
                     bar.Height + 2 * reach)) {
        items_.push_back({bar.ZOrder, static_cast<int>(i), progress,
                          area.Rect(bar.Left, bar.Top, bar.Width, bar.Height)});
      }
    }
  };
  collect(model.PlanBar, false);
  collect(model.PlanJBar, true);
  std::sort(items_.begin(), items_.end(), [](const BarItem& a, const BarItem& b) {
    return a.z != b.z ? a.z < b.z : a.progress < b.progress;
  });
  coverBars_.clear();
  for (const BarItem& item : items_) coverBars_.push_back({item.rect, item.progress});
  cover_.Compute(coverBars_, area.clip, {firstBaseline_, lineStep_, 1}, kGlyphReach);

  textLeft_ = area.shown.left();
  for (std::size_t k = 0; k < items_.size(); ++k) PaintBar(painter, model, k);
}

void ChartPainter::PaintBar(QPainter& painter, const ChartModel& model, std::size_t item) {
  const BarItem& it = items_[item];
  const std::size_t i = static_cast<std::size_t>(it.index);
  const BarLabel& bar = it.progress ? model.PlanJBar[i] : model.PlanBar[i];
  const QRect& r = it.rect;
  // A bar that later plan bars cover wholly where it can show is not filled: crowded rows stack
  // hundreds of bars over one another. (Its glyphs' ink may reach past it; the lines decide.)
  if (!cover_.FillHidden(item)) {
    painter.fillRect(r, ToQColor(bar.BackColor, it.progress ? kProgressAlpha : 255));
  }
  PaintFixedMark(painter, bar.Pinned, r);
  // Captions are shaped only for bars with a line left to show: most of a crowded row's are not.
  if (cover_.LineHidden(item, 0) && cover_.LineHidden(item, 1)) return;
  // A progress bar repeats its bar's caption within the bar's extent: one shaping serves both.
  const BarLabel& owner = model.PlanBar[i];
  const bool shared = !it.progress || (bar.Caption == owner.Caption && bar.Bold == owner.Bold);
  const ShapedCaption& caption =
      shared ? shaper_.OfBar(it.index, owner) : shaper_.OfProgressBar(it.index, bar);
  if (caption.lines[0].runs.empty() && caption.lines[1].runs.empty()) return;
  painter.setPen(PenOf(bar.ForeColor));
  // The progress bar lies one pixel right and down of its bar; its caption is drawn where the
  // bar's is, so the two read as one text. A bar that starts left of what the screen or page
  // shows has its caption at the left edge of what is shown.
  const int shift = it.progress ? 1 : 0;
  const QPoint first(std::max(r.left() - shift, textLeft_) + kBarTextLeft,
                     r.top() + firstBaseline_ - shift);
  for (int n = 0; n < BarCover::kLines; ++n) {
    const ShapedLine& line = caption.lines[n];
    if (line.runs.empty() || cover_.LineHidden(item, n)) continue;
    DrawVisibleGlyphs(painter, line, first + QPoint(0, n * lineStep_), r.right() + 1,
                      cover_.Covered(item, n));
  }
}

void ChartPainter::DrawVisibleGlyphs(QPainter& painter, const ShapedLine& line, QPoint baseline,
                                     int right, std::span<const std::pair<int, int>> covered) {
  auto cover = covered.begin();
  int coveredUpTo = std::numeric_limits<int>::min();  // merged end of the spans passed so far
  for (const ShapedLine::Run& run : line.runs) {
    const qsizetype count = run.glyphs.size();
    qsizetype start = 0;
    auto flush = [&](qsizetype end) {
      if (end <= start) return;
      fittingRun_.setRawFont(run.font);
      fittingRun_.setRawData(run.glyphs.constData() + start, run.positions.constData() + start,
                             static_cast<int>(end - start));
      painter.drawGlyphRun(baseline, fittingRun_);
    };
    for (qsizetype g = 0; g < count; ++g) {
      const double left = baseline.x() + run.positions[g].x();
      const double rightEdge = baseline.x() + run.rights[static_cast<std::size_t>(g)];
      if (rightEdge > right) {  // the bar ends here
        flush(g);
        return;
      }
      // Spans sorted by start: those starting left of the glyph's right edge may hide it.
      while (cover != covered.end() && cover->first < rightEdge) {
        coveredUpTo = std::max(coveredUpTo, cover->second);
        ++cover;
      }
      if (coveredUpTo > left) {
        flush(g);
        start = g + 1;
      }
    }
    flush(count);
  }
}

}  // namespace velmora::ui
