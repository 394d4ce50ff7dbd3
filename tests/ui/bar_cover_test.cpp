// What bars hide of each other, against the plain rule on seeded random stacks: a later opaque bar
// whose top lies within the bar's line (or visible part) and whose bottom reaches below it hides
// what it spans. A fill or a line left out must be hidden; the spans must hide the same pixels.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "ui/bar_cover.h"

namespace velmora::ui {
namespace {

constexpr BarCover::Lines kLines{12, 13, 1};
constexpr int kReach = 16;

struct Plain {
  const std::vector<BarCover::Bar>& bars;
  QRect clip;

  // The later opaque bars that may hide something between `inkTop` and `inkBottom` of bar k.
  std::vector<QRect> Coverers(std::size_t k, int topFrom, int topTo, int bottom) const {
    std::vector<QRect> out;
    for (std::size_t j = k + 1; j < bars.size(); ++j) {
      const QRect& o = bars[j].rect;
      if (!bars[j].seeThrough && !o.isEmpty() && o.top() >= topFrom && o.top() <= topTo &&
          o.bottom() >= bottom)
        out.push_back(o);
    }
    return out;
  }
  static bool Hides(const std::vector<QRect>& coverers, int x) {
    for (const QRect& o : coverers)
      if (o.left() <= x && x <= o.right()) return true;
    return false;
  }
};

bool InSpans(std::span<const std::pair<int, int>> spans, int x) {
  for (const auto& [left, right] : spans)
    if (left <= x && x < right) return true;
  return false;
}

TEST(BarCover, HidesExactlyWhatLaterOpaqueBarsCoverOnRandomStacks) {
  std::mt19937 random(20261208);
  for (int round = 0; round < 300; ++round) {
    std::vector<BarCover::Bar> bars;
    const int count = std::uniform_int_distribution<int>(1, 40)(random);
    for (int b = 0; b < count; ++b) {
      const int band = std::uniform_int_distribution<int>(0, 3)(random);
      const int left = std::uniform_int_distribution<int>(-50, 300)(random);
      const int width = std::uniform_int_distribution<int>(0, 160)(random);
      // Mostly one height per band, sometimes a shorter bar or one a few pixels off the band.
      const int height = std::uniform_int_distribution<int>(0, 5)(random) == 0 ? 14 : 28;
      const int top = band * 20 + (std::uniform_int_distribution<int>(0, 7)(random) == 0 ? 3 : 0);
      const bool seeThrough = std::uniform_int_distribution<int>(0, 4)(random) == 0;
      bars.push_back({QRect(left, top + (seeThrough ? 1 : 0), width, height), seeThrough});
    }
    const QRect clip(std::uniform_int_distribution<int>(-20, 120)(random), 0,
                     std::uniform_int_distribution<int>(1, 200)(random), 120);
    BarCover cover;
    cover.Compute(bars, clip, kLines, kReach);
    const Plain plain{bars, clip};

    for (std::size_t k = 0; k < bars.size(); ++k) {
      SCOPED_TRACE(testing::Message() << "round " << round << " bar " << k);
      const QRect& r = bars[k].rect;
      const QRect shown = r & clip;
      if (cover.FillHidden(k) && !shown.isEmpty()) {
        const auto coverers =
            plain.Coverers(k, shown.bottom() - r.height(), shown.top(), shown.bottom());
        for (int x = shown.left(); x <= shown.right(); ++x)
          ASSERT_TRUE(Plain::Hides(coverers, x)) << "fill left out at x " << x;
      }
      const int shownLeft = std::max(r.left(), clip.left() - kReach);
      const int shownRight = std::min(r.right(), clip.right() + kReach);
      const int shift = bars[k].seeThrough ? 1 : 0;
      for (int n = 0; n < BarCover::kLines; ++n) {
        if (shownLeft > shownRight) {
          EXPECT_TRUE(cover.LineHidden(k, n));
          continue;
        }
        const int baseline = r.top() + kLines.firstBaseline - shift + n * kLines.step;
        const int inkTop = baseline - kLines.firstBaseline + 1;
        const int inkBottom = baseline + 2;
        const auto coverers = plain.Coverers(k, inkBottom - r.height(), inkTop, inkBottom);
        if (cover.LineHidden(k, n)) {
          for (int x = shownLeft; x <= shownRight; ++x)
            ASSERT_TRUE(Plain::Hides(coverers, x)) << "line " << n << " left out at x " << x;
          continue;
        }
        const auto spans = cover.Covered(k, n);
        ASSERT_TRUE(std::is_sorted(spans.begin(), spans.end()));
        for (int x = r.left(); x <= r.right(); ++x)
          ASSERT_EQ(Plain::Hides(coverers, x), InSpans(spans, x)) << "line " << n << " x " << x;
      }
    }
  }
}

// The cases a crowded row is made of, each with what it hides of the first bar.
TEST(BarCover, CasesOfOneRow) {
  struct Case {
    const char* name;
    std::vector<BarCover::Bar> later;
    bool fillHidden;
    bool firstLineHidden;
  };
  const QRect first(100, 0, 100, 28);
  const std::vector<Case> cases = {
      {"alone", {}, false, false},
      {"one bar over it", {{QRect(90, 0, 120, 28), false}}, true, true},
      {"two bars meeting over it",
       {{QRect(90, 0, 60, 28), false}, {QRect(150, 0, 60, 28), false}},
       true,
       true},
      {"a gap between two bars",
       {{QRect(90, 0, 60, 28), false}, {QRect(151, 0, 60, 28), false}},
       false,
       false},
      {"a progress bar over it", {{QRect(101, 1, 100, 28), true}}, false, false},
      {"a shorter bar over its first line", {{QRect(90, 0, 120, 16), false}}, false, true},
      {"a bar of the row below", {{QRect(90, 30, 120, 28), false}}, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<BarCover::Bar> bars{{first, false}};
    bars.insert(bars.end(), c.later.begin(), c.later.end());
    BarCover cover;
    cover.Compute(bars, QRect(0, 0, 400, 100), kLines, kReach);
    EXPECT_EQ(c.fillHidden, cover.FillHidden(0));
    EXPECT_EQ(c.firstLineHidden, cover.LineHidden(0, 0));
  }
}

}  // namespace
}  // namespace velmora::ui
