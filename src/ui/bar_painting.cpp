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
  // The bars by top, and those of one top by left: a caption line looks up only the bars that
  // can cover it, not every bar of its height, however crowded that height is.
  byTop_.resize(items_.size());
  for (std::size_t k = 0; k < items_.size(); ++k) byTop_[k] = k;
  std::sort(byTop_.begin(), byTop_.end(), [this](std::size_t a, std::size_t b) {
    const QRect& ra = items_[a].rect;
    const QRect& rb = items_[b].rect;
    return ra.top() != rb.top() ? ra.top() < rb.top() : ra.left() < rb.left();
  });
  tops_.clear();
  reachRight_.resize(byTop_.size());
  for (std::size_t p = 0; p < byTop_.size(); ++p) {
    const QRect& rect = items_[byTop_[p]].rect;
    const bool opens = tops_.empty() || tops_.back().top != rect.top();
    if (opens) tops_.push_back({rect.top(), p, p});
    tops_.back().end = p + 1;
    // The rightmost reach of the bars of this top up to here: rises along the group.
    reachRight_[p] = opens ? rect.right() : std::max(reachRight_[p - 1], rect.right());
  }

  for (std::size_t k = 0; k < items_.size(); ++k) {
    const BarItem& item = items_[k];
    const std::size_t i = static_cast<std::size_t>(item.index);
    const BarLabel& bar = item.progress ? model.PlanJBar[i] : model.PlanBar[i];
    // A progress bar repeats its bar's caption within the bar's extent: one shaping serves both.
    const BarLabel& owner = model.PlanBar[i];
    const bool shared = !item.progress || (bar.Caption == owner.Caption && bar.Bold == owner.Bold);
    PaintBar(painter, k, bar,
             shared ? shaper_.OfBar(item.index, owner) : shaper_.OfProgressBar(item.index, bar),
             area.clip);
  }
}

template <typename Visit>
bool ChartPainter::AnyReaching(int topFrom, int topTo, int reach, int leftTo, Visit visit) const {
  auto group = std::lower_bound(tops_.begin(), tops_.end(), topFrom,
                                [](const TopGroup& g, int top) { return g.top < top; });
  for (; group != tops_.end() && group->top <= topTo; ++group) {
    // Bars of this top before `p` all end left of `reach`; from `p` on, up to the first one
    // starting right of `leftTo`, they may reach over it.
    std::size_t p = static_cast<std::size_t>(
        std::lower_bound(reachRight_.begin() + static_cast<std::ptrdiff_t>(group->begin),
                         reachRight_.begin() + static_cast<std::ptrdiff_t>(group->end), reach) -
        reachRight_.begin());
    for (; p < group->end && items_[byTop_[p]].rect.left() <= leftTo; ++p) {
      if (visit(byTop_[p])) return true;
    }
  }
  return false;
}

bool ChartPainter::CoveredWhole(std::size_t item, const QRect& shown) const {
  if (shown.isEmpty()) return true;
  return AnyReaching(shown.bottom() - items_[item].rect.height(), shown.top(), shown.right(),
                     shown.left(), [&](std::size_t k) {
                       const QRect& other = items_[k].rect;
                       return k > item && !items_[k].progress && other.bottom() >= shown.bottom() &&
                              other.right() >= shown.right();
                     });
}

void ChartPainter::PaintBar(QPainter& painter, std::size_t item, const BarLabel& bar,
                            const ShapedCaption& caption, const QRect& clip) {
  const BarItem& it = items_[item];
  const QRect& r = it.rect;
  // A bar that a later plan bar covers wholly where it can show is not filled: crowded rows stack
  // hundreds of bars over one another. (Its glyphs' ink may reach past it; the lines decide.)
  if (!CoveredWhole(item, r & clip)) {
    painter.fillRect(r, ToQColor(bar.BackColor, it.progress ? kProgressAlpha : 255));
  }
  if (caption.lines[0].runs.empty() && caption.lines[1].runs.empty()) return;
  painter.setPen(PenOf(bar.ForeColor));
  // The progress bar lies one pixel right and down of its bar; its caption is drawn where the
  // bar's is, so the two read as one text.
  const int shift = it.progress ? 1 : 0;
  const QPoint first(r.left() + kBarTextLeft - shift, r.top() + firstBaseline_ - shift);
  // The part of the bar whose glyphs can show (glyphs reach a little past their boxes): a line
  // that a later bar covers there entirely draws nothing, and no more coverers need be looked at.
  const int shownLeft = std::max(r.left(), clip.left() - kGlyphReach);
  const int shownRight = std::min(r.right(), clip.right() + kGlyphReach);
  if (shownLeft > shownRight) return;
  for (int n = 0; n < 2; ++n) {
    const ShapedLine& line = caption.lines[n];
    if (line.runs.empty()) continue;
    const QPoint baseline = first + QPoint(0, n * lineStep_);
    // Spans of this line under plan bars painted later: glyphs there would be painted over at
    // once. (Progress bars are see-through and hide nothing.)
    const int inkTop = baseline.y() - firstBaseline_ + 1;
    const int inkBottom = baseline.y() + 2;
    covered_.clear();
    const bool hidden =
        AnyReaching(inkBottom - r.height(), inkTop, r.left(), r.right(), [&](std::size_t k) {
          const BarItem& other = items_[k];
          if (k <= item || other.progress || other.rect.bottom() < inkBottom) return false;
          if (other.rect.right() < r.left()) return false;
          if (other.rect.left() <= shownLeft && other.rect.right() >= shownRight) return true;
          covered_.emplace_back(other.rect.left(), other.rect.right() + 1);
          return false;
        });
    if (hidden) continue;
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
