#include "ui/chart_painter.h"

#include <QPainter>
#include <algorithm>
#include <limits>

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
  byTop_.resize(items_.size());
  for (std::size_t k = 0; k < items_.size(); ++k) byTop_[k] = k;
  std::sort(byTop_.begin(), byTop_.end(), [this](std::size_t a, std::size_t b) {
    return items_[a].rect.top() < items_[b].rect.top();
  });

  for (std::size_t k = 0; k < items_.size(); ++k) {
    const BarItem& item = items_[k];
    const std::size_t i = static_cast<std::size_t>(item.index);
    const BarLabel& bar = item.progress ? model.PlanJBar[i] : model.PlanBar[i];
    // A progress bar repeats its bar's caption within the bar's extent: one shaping serves both.
    const BarLabel& owner = model.PlanBar[i];
    const bool shared = !item.progress || (bar.Caption == owner.Caption && bar.Bold == owner.Bold);
    PaintBar(painter, k, bar,
             shared ? shaper_.OfBar(item.index, owner) : shaper_.OfProgressBar(item.index, bar));
  }
}

void ChartPainter::PaintBar(QPainter& painter, std::size_t item, const BarLabel& bar,
                            const ShapedCaption& caption) {
  const BarItem& it = items_[item];
  const QRect& r = it.rect;
  painter.fillRect(r, ToQColor(bar.BackColor, it.progress ? kProgressAlpha : 255));
  if (caption.lines[0].runs.empty() && caption.lines[1].runs.empty()) return;
  painter.setPen(PenOf(bar.ForeColor));
  // The progress bar lies one pixel right and down of its bar; its caption is drawn where the
  // bar's is, so the two read as one text.
  const int shift = it.progress ? 1 : 0;
  const QPoint first(r.left() + kBarTextLeft - shift, r.top() + firstBaseline_ - shift);
  for (int n = 0; n < 2; ++n) {
    const ShapedLine& line = caption.lines[n];
    if (line.runs.empty()) continue;
    const QPoint baseline = first + QPoint(0, n * lineStep_);
    // Spans of this line under plan bars painted later: glyphs there would be painted over at
    // once. (Progress bars are see-through and hide nothing.)
    const int inkTop = baseline.y() - firstBaseline_ + 1;
    const int inkBottom = baseline.y() + 2;
    covered_.clear();
    auto from =
        std::lower_bound(byTop_.begin(), byTop_.end(), inkBottom - r.height(),
                         [this](std::size_t k, int top) { return items_[k].rect.top() < top; });
    for (; from != byTop_.end() && items_[*from].rect.top() <= inkTop; ++from) {
      const BarItem& other = items_[*from];
      if (*from <= item || other.progress || other.rect.bottom() < inkBottom) continue;
      if (other.rect.right() < r.left() || other.rect.left() > r.right()) continue;
      covered_.emplace_back(other.rect.left(), other.rect.right() + 1);
    }
    std::sort(covered_.begin(), covered_.end());
    DrawVisibleGlyphs(painter, line, baseline, r.right() + 1);
  }
}

// Draws the glyphs of a line that lie wholly inside the bar (up to `right`) and outside the
// covered spans, in as few runs as the gaps allow.
void ChartPainter::DrawVisibleGlyphs(QPainter& painter, const ShapedLine& line, QPoint baseline,
                                     int right) {
  auto cover = covered_.begin();
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
      while (cover != covered_.end() && cover->first < rightEdge) {
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
