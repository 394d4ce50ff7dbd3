#pragma once

#include <QColor>
#include <QFont>
#include <QGlyphRun>
#include <QPen>
#include <QPoint>
#include <QRect>
#include <QRegion>
#include <QSize>
#include <QStaticText>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "chart/chart_hit.h"
#include "chart/chart_model.h"
#include "plandata/plan_data.h"
#include "ui/bar_cover.h"
#include "ui/caption_shaper.h"
#include "ui/chart_frame.h"
#include "ui/static_text_cache.h"

class QPainter;

namespace velmora::ui {

struct SurfaceArea;

using chart::ChartHit;

// Paints a chart model: the widget and the image renderer both paint through it. Fonts, pens
// and the bars' converted captions are kept between paints; a paint touches only what lies in
// the frame.
class ChartPainter {
 public:
  ChartPainter();

  // The viewport as the window shows it, at the model's scroll positions.
  static ChartFrame ViewportFrame(const chart::ChartModel& model);
  // The whole chart of the current display mode: every row and the full surface width.
  static ChartFrame WholeChartFrame(const PlanData& data, const chart::ChartModel& model);
  // Size in pixels of a frame, caption column included.
  static QSize FrameSize(const ChartFrame& frame);
  // Where the caption column and the three bands of a frame lie, in pixels.
  struct Bands {
    QRect captions;
    QRect header;
    QRect unplanned;
    QRect rows;
  };
  static Bands BandsOf(const ChartFrame& frame);

  // Paints the frame with its top-left corner at the painter's origin; with `dirty`, only what
  // lies in that rectangle (the rest of the target is left as it is).
  void Paint(QPainter& painter, const chart::ChartModel& model, const ChartFrame& frame);
  void Paint(QPainter& painter, const chart::ChartModel& model, const ChartFrame& frame,
             const QRect& dirty);
  ChartHit HitTest(const chart::ChartModel& model, const ChartFrame& frame, QPoint point) const;
  // Pixels of the frame that the caption box and the drop preview (its outline and the marks on
  // the bars it names) cover now: what a pointer move must repaint, before and after it.
  QRegion OverlayRegion(const chart::ChartModel& model, const ChartFrame& frame) const;

  const QFont& BarFont() const { return font_; }
  // A printed chart shows the plan only: not the caption box that follows the pointer, nor a
  // drop preview.
  void LeaveOutOverlays() { overlays_ = false; }
  // Axis labels and row captions as glyphs of the fonts' own character maps, as the bars'
  // captions are drawn: a PDF then names every glyph's character. (A text layout may pick
  // glyph variants that no character maps to, which a PDF reader cannot find.)
  void DrawLabelsAsGlyphs() { labelGlyphs_ = true; }

 private:
  struct BarItem {
    std::uint64_t z;
    int index;
    bool progress;
    QRect rect;
  };

  void PaintCaptions(QPainter& painter, const ChartFrame& frame, const QRect& dirty);
  static void PaintOverloadMark(QPainter& painter, const QRect& cell);
  void PaintHeader(QPainter& painter, const chart::ChartModel& model, const SurfaceArea& area);
  void PaintRows(QPainter& painter, const chart::ChartModel& model, const SurfaceArea& area);
  void PaintBars(QPainter& painter, const chart::ChartModel& model, chart::Surface surface,
                 const SurfaceArea& area);
  void PaintBar(QPainter& painter, const chart::ChartModel& model, std::size_t item);
  void PaintLabels(QPainter& painter, const std::vector<chart::AxisLabel>& labels,
                   const SurfaceArea& area);
  void PaintLines(QPainter& painter, const std::vector<chart::LineShape>& lines,
                  const SurfaceArea& area);
  void PaintOverlays(QPainter& painter, const chart::ChartModel& model, chart::Surface surface,
                     const SurfaceArea& area);
  // The caption box's text on one line, laid out once per text, and its pixels in an area.
  const QStaticText& CaptionBoxText(const std::string& caption) const;
  QRect CaptionBoxRect(const chart::CaptionBox& box, const SurfaceArea& area) const;
  // Draws the glyphs of a line that lie wholly inside the bar (up to `right`) and outside the
  // `covered` spans, in as few runs as the gaps allow.
  void DrawVisibleGlyphs(QPainter& painter, const ShapedLine& line, QPoint baseline, int right,
                         std::span<const std::pair<int, int>> covered);
  // A label's text on `baseline`, laid out once per text (or as glyphs, see DrawLabelsAsGlyphs).
  void DrawLabel(QPainter& painter, StaticTextCache& texts, CaptionShaper& shaper,
                 std::string_view text, QPoint baseline, int ascent);
  const QPen& PenOf(chart::Color color);

  QFont font_;
  bool overlays_ = true;
  bool labelGlyphs_ = false;
  CaptionShaper shaper_;
  CaptionShaper rowCaptionShaper_;
  int firstBaseline_ = 0;
  int lineStep_ = 0;
  QGlyphRun fittingRun_;  // reused for every partial line
  StaticTextCache labelTexts_;
  StaticTextCache captionTexts_;
  std::unordered_map<chart::Color, QPen> pens_;
  // The caption box follows the pointer over one bar after another: only its latest text is kept.
  mutable std::string boxSource_;
  mutable QStaticText boxText_;
  // Per paint, kept for their capacity: the bars to paint in back-to-front order, and what
  // they hide of each other.
  std::vector<BarItem> items_;
  int textLeft_ = 0;  // no caption starts left of this pixel
  std::vector<BarCover::Bar> coverBars_;
  BarCover cover_;
};

// The program's 0x00BBGGRR colour as a toolkit colour.
QColor ToQColor(chart::Color color, int alpha = 255);

}  // namespace velmora::ui
