#pragma once

#include <QRect>
#include <cstddef>
#include <cstdint>
#include <map>
#include <span>
#include <utility>
#include <vector>

namespace velmora::ui {

// What the bars of one paint hide of each other. Bars are painted in order, each over those
// before it; a bar whose visible part a later opaque bar covers is not filled, and a caption glyph
// under a later opaque bar is not drawn (it would be painted over at once). Worked out once per
// paint, back to front, with the spans of the later bars merged per height band: crowded rows
// stack hundreds of bars over one another, and comparing each with each would take a frame's
// time many times over.
class BarCover {
 public:
  struct Bar {
    QRect rect;
    bool seeThrough;  // progress bars are drawn translucent: they hide nothing
  };
  // Where a bar's caption lines lie: the first baseline below the bar's top, the step between
  // lines, and the shift of see-through bars (drawn one pixel right and down of their bar, with
  // their caption where the bar's is).
  struct Lines {
    int firstBaseline;
    int step;
    int seeThroughShift;
  };
  static constexpr int kLines = 2;

  // `clip` is the part of the picture being painted; `glyphReach` how far a glyph's ink may lie
  // past its box.
  void Compute(const std::vector<Bar>& bars, const QRect& clip, const Lines& lines, int glyphReach);

  bool FillHidden(std::size_t bar) const { return results_[bar].fillHidden; }
  bool LineHidden(std::size_t bar, int line) const { return results_[bar].lines[line].hidden; }
  // The spans [left, right) of a line that later bars cover, sorted by left.
  std::span<const std::pair<int, int>> Covered(std::size_t bar, int line) const {
    const LineResult& r = results_[bar].lines[line];
    return {spans_.data() + r.begin, r.end - r.begin};
  }

 private:
  struct LineResult {
    bool hidden;
    std::uint32_t begin;
    std::uint32_t end;
  };
  struct Result {
    bool fillHidden;
    LineResult lines[kLines];
  };
  // The bars of one top and bottom painted so far (back to front): their merged spans,
  // [left, right) by left.
  struct Band {
    int top;
    int bottom;
    std::map<int, int> spans;
  };

  // Which caption lines of `bar` later bars hide, and the spans they cover of the others.
  void CoverLines(const Bar& bar, const QRect& clip, const Lines& lines, int glyphReach,
                  Result& result);
  // Whether a band with its top in [topFrom, topTo] and its bottom at or below `bottom` covers
  // [left, right] whole; otherwise (with `collect`) its spans reaching into [from, to] are kept.
  bool Covers(int topFrom, int topTo, int bottom, int left, int right, bool collect, int from,
              int to);
  static void Add(std::map<int, int>& spans, int left, int right);

  std::vector<Band> bands_;
  std::vector<Result> results_;
  std::vector<std::pair<int, int>> spans_;
};

}  // namespace velmora::ui
