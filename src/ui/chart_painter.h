#pragma once

#include <QColor>
#include <QFont>
#include <QGlyphRun>
#include <QList>
#include <QPen>
#include <QPoint>
#include <QPointF>
#include <QRawFont>
#include <QRect>
#include <QRegion>
#include <QSize>
#include <QStaticText>
#include <QString>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "chart/chart_model.h"
#include "plandata/plan_data.h"

class QPainter;

namespace velmora::ui {

// What a paint shows of the chart and where, in twips. The caption column is on the left, then
// the chart area: header band (PlatForm3), unplanned band (PlatForm2), rows area (PlatForm).
struct ChartFrame {
  double width = 0;         // chart area
  double rowsHeight = 0;    // rows area
  double platFormLeft = 0;  // each surface's left edge, from the chart area's left edge
  double platForm2Left = 0;
  double platForm3Left = 0;
  double platFormTop = 0;                 // PlatForm's top edge, from the rows area's top edge
  const std::string* captions = nullptr;  // the caption of row slot k (0 = top) is captions[k]
  int captionCount = 0;
};

// What lies under a point of a frame.
struct ChartHit {
  enum class Target {
    None,
    PlanBar,
    PlanJBar,
    PlatForm,
    PlatForm2,
    PlatForm3,
    MachineName,
    GradeName,  // the floating caption box, in front of everything on its surface
  };
  Target target = Target::None;
  int index = 0;  // bar index, or 1..16 for a row caption
  double x = 0;   // the point in the surface's own twips (bars: their surface's)
  double y = 0;
};

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

 private:
  // A caption line shaped once: its glyph runs and where each glyph ends, so that a paint
  // draws only the glyphs that fit their bar, with no shaping and no clipping.
  struct ShapedLine {
    struct Run {
      QRawFont font;
      QList<quint32> glyphs;
      QList<QPointF> positions;  // from the line's start, baseline at y = 0
      std::vector<double> rights;
    };
    std::vector<Run> runs;
  };
  struct Caption {
    std::string source;
    bool bold = false;
    std::size_t fit = 0;  // characters a line was allowed
    bool cut = false;     // a line had more than that
    ShapedLine lines[2];
  };
  // Converted and laid out label texts of one font, by text.
  class StaticTexts {
   public:
    explicit StaticTexts(const QFont& font) : font_(font) {}
    const QStaticText& Get(std::string_view text);
    const QFont& Font() const { return font_; }

   private:
    struct Hash {
      using is_transparent = void;
      std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    QFont font_;
    std::unordered_map<std::string, QStaticText, Hash, std::equal_to<>> texts_;
  };
  struct BarItem {
    std::uint64_t z;
    int index;
    bool progress;
    QRect rect;
  };
  struct Area;

  void PaintCaptions(QPainter& painter, const ChartFrame& frame, const QRect& dirty);
  void PaintHeader(QPainter& painter, const chart::ChartModel& model, const Area& area);
  void PaintRows(QPainter& painter, const chart::ChartModel& model, const Area& area);
  void PaintBars(QPainter& painter, const chart::ChartModel& model, chart::Surface surface,
                 const Area& area);
  void PaintBar(QPainter& painter, std::size_t item, const chart::BarLabel& bar,
                const Caption& caption);
  void PaintLabels(QPainter& painter, const std::vector<chart::AxisLabel>& labels,
                   const Area& area);
  void PaintLines(QPainter& painter, const std::vector<chart::LineShape>& lines, const Area& area);
  void PaintOverlays(QPainter& painter, const chart::ChartModel& model, chart::Surface surface,
                     const Area& area);
  // The caption box's text on one line, laid out once per text, and its pixels in an area.
  const QStaticText& CaptionBoxText(const std::string& caption) const;
  QRect CaptionBoxRect(const chart::CaptionBox& box, const Area& area) const;
  Area AreaOf(chart::Surface surface, const chart::ChartModel& model, const ChartFrame& frame,
              const QRect& dirty) const;
  const Caption& CaptionOf(std::vector<Caption>& cache, int index, const chart::BarLabel& bar);
  ShapedLine Shape(std::string_view text, bool bold);
  const std::vector<QRawFont>& FacesOf(bool bold);
  void DrawVisibleGlyphs(QPainter& painter, const ShapedLine& line, QPoint baseline, int right);
  const QPen& PenOf(chart::Color color);

  QFont font_;
  QFont boldFont_;
  std::vector<QRawFont> faces_;  // the faces captions are drawn in, for each bar font
  std::vector<QRawFont> boldFaces_;
  int firstBaseline_ = 0;
  int lineStep_ = 0;
  std::vector<Caption> barCaptions_;
  std::vector<Caption> progressCaptions_;
  QGlyphRun fittingRun_;  // reused for every partial line
  StaticTexts labelTexts_;
  StaticTexts captionTexts_;
  std::unordered_map<chart::Color, QPen> pens_;
  // The caption box follows the pointer over one bar after another: only its latest text is kept.
  mutable std::string boxSource_;
  mutable QStaticText boxText_;
  // Per paint, kept for their capacity: the bars to paint in front-to-back order, their
  // positions in that order sorted by top, and the spans of a caption line other bars cover.
  std::vector<BarItem> items_;
  std::vector<std::size_t> byTop_;
  std::vector<std::pair<int, int>> covered_;
};

// The program's 0x00BBGGRR colour as a toolkit colour.
QColor ToQColor(chart::Color color, int alpha = 255);

}  // namespace velmora::ui
