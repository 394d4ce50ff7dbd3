#pragma once

#include <QColor>
#include <QFont>
#include <QPen>
#include <QPoint>
#include <QSize>
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
  enum class Target { None, PlanBar, PlanJBar, PlatForm, PlatForm2, PlatForm3, MachineName };
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

  // Paints the frame with its top-left corner at the painter's origin.
  void Paint(QPainter& painter, const chart::ChartModel& model, const ChartFrame& frame);
  ChartHit HitTest(const chart::ChartModel& model, const ChartFrame& frame, QPoint point) const;

  const QFont& BarFont() const { return font_; }

 private:
  struct Caption {
    std::string source;
    QString lines[2];
  };
  struct BarItem {
    std::uint64_t z;
    int index;
    bool progress;
  };
  struct Area;

  void PaintCaptions(QPainter& painter, const ChartFrame& frame, int rowsTop);
  void PaintHeader(QPainter& painter, const chart::ChartModel& model, const Area& area);
  void PaintRows(QPainter& painter, const chart::ChartModel& model, const Area& area);
  void PaintBars(QPainter& painter, const chart::ChartModel& model, chart::Surface surface,
                 const Area& area);
  void PaintBar(QPainter& painter, const chart::BarLabel& bar, const Caption& caption,
                const Area& area, bool progress);
  void PaintLabels(QPainter& painter, const std::vector<chart::AxisLabel>& labels,
                   const Area& area);
  void PaintLines(QPainter& painter, const std::vector<chart::LineShape>& lines, const Area& area);
  const Caption& CaptionOf(std::vector<Caption>& cache, int index, const std::string& text);
  const QString& LabelText(std::string_view text);
  const QPen& PenOf(chart::Color color);

  QFont font_;
  QFont boldFont_;
  QFont labelFont_;
  QFont captionFont_;
  int firstBaseline_ = 0;
  int lineStep_ = 0;
  std::vector<Caption> barCaptions_;
  std::vector<Caption> progressCaptions_;
  struct TextHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
  };
  std::unordered_map<std::string, QString, TextHash, std::equal_to<>> labelTexts_;
  std::unordered_map<chart::Color, QPen> pens_;
  std::vector<BarItem> items_;
};

// The program's 0x00BBGGRR colour as a toolkit colour.
QColor ToQColor(chart::Color color, int alpha = 255);

}  // namespace velmora::ui
