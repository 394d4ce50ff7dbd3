#include "ui/bar_cover.h"

#include <algorithm>
#include <iterator>

namespace velmora::ui {

void BarCover::Compute(const std::vector<Bar>& bars, const QRect& clip, const Lines& lines,
                       int glyphReach) {
  bands_.clear();
  for (const Bar& bar : bars) {
    if (!bar.seeThrough) bands_.push_back({bar.rect.top(), bar.rect.bottom(), {}});
  }
  auto byEdges = [](const Band& a, const Band& b) {
    return a.top != b.top ? a.top < b.top : a.bottom < b.bottom;
  };
  std::sort(bands_.begin(), bands_.end(), byEdges);
  bands_.erase(std::unique(bands_.begin(), bands_.end(),
                           [](const Band& a, const Band& b) {
                             return a.top == b.top && a.bottom == b.bottom;
                           }),
               bands_.end());
  results_.resize(bars.size());
  spans_.clear();

  for (std::size_t k = bars.size(); k-- > 0;) {
    const Bar& bar = bars[k];
    const QRect& r = bar.rect;
    Result& result = results_[k];
    const QRect shown = r & clip;
    result.fillHidden =
        shown.isEmpty() || Covers(shown.bottom() - r.height(), shown.top(), shown.bottom(),
                                  shown.left(), shown.right(), false, 0, 0);
    CoverLines(bar, clip, lines, glyphReach, result);
    if (!bar.seeThrough && !r.isEmpty()) {
      auto band =
          std::lower_bound(bands_.begin(), bands_.end(), Band{r.top(), r.bottom(), {}}, byEdges);
      Add(band->spans, r.left(), r.right() + 1);
    }
  }
}

void BarCover::CoverLines(const Bar& bar, const QRect& clip, const Lines& lines, int glyphReach,
                          Result& result) {
  const QRect& r = bar.rect;
  // The part of the bar whose glyphs can show: glyphs reach a little past their boxes.
  const int shownLeft = std::max(r.left(), clip.left() - glyphReach);
  const int shownRight = std::min(r.right(), clip.right() + glyphReach);
  const int shift = bar.seeThrough ? lines.seeThroughShift : 0;
  for (int n = 0; n < kLines; ++n) {
    LineResult& line = result.lines[n];
    line.begin = static_cast<std::uint32_t>(spans_.size());
    line.hidden = shownLeft > shownRight;
    if (!line.hidden) {
      const int baseline = r.top() + lines.firstBaseline - shift + n * lines.step;
      const int inkTop = baseline - lines.firstBaseline + 1;
      const int inkBottom = baseline + 2;
      line.hidden = Covers(inkBottom - r.height(), inkTop, inkBottom, shownLeft, shownRight, true,
                           r.left(), r.right());
    }
    if (line.hidden) spans_.resize(line.begin);
    line.end = static_cast<std::uint32_t>(spans_.size());
    std::sort(spans_.begin() + line.begin, spans_.end());
  }
}

bool BarCover::Covers(int topFrom, int topTo, int bottom, int left, int right, bool collect,
                      int from, int to) {
  auto band = std::lower_bound(bands_.begin(), bands_.end(), topFrom,
                               [](const Band& b, int top) { return b.top < top; });
  for (; band != bands_.end() && band->top <= topTo; ++band) {
    if (band->bottom < bottom || band->spans.empty()) continue;
    const std::map<int, int>& spans = band->spans;
    auto at = spans.upper_bound(left);
    if (at != spans.begin() && std::prev(at)->second > right) return true;
    if (!collect) continue;
    auto span = spans.upper_bound(from);
    if (span != spans.begin() && std::prev(span)->second > from) --span;
    for (; span != spans.end() && span->first <= to; ++span) spans_.push_back(*span);
  }
  return false;
}

void BarCover::Add(std::map<int, int>& spans, int left, int right) {
  auto at = spans.upper_bound(left);
  if (at != spans.begin() && std::prev(at)->second >= left) {
    --at;
    left = at->first;
    right = std::max(right, at->second);
    at = spans.erase(at);
  }
  while (at != spans.end() && at->first <= right) {
    right = std::max(right, at->second);
    at = spans.erase(at);
  }
  spans.emplace_hint(at, left, right);
}

}  // namespace velmora::ui
