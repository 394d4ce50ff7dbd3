#include "ui/chart_painter.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <string_view>

#include "chart/legend.h"
#include "ui/caption_lines.h"
#include "ui/surface_area.h"

namespace velmora::ui {

using chart::AxisLabel;
using chart::ChartModel;
using chart::Color;
using chart::LineShape;
using chart::Surface;

namespace {

constexpr int kBarFontPixels = 10;          // two caption lines fit a 24-pixel bar
constexpr int kCaptionFontPixels = 11;      // row captions, up to three lines in a 40-pixel row
const QColor kOutsideColor(128, 128, 128);  // viewport area no surface covers
const QColor kCaptionColumnColor(240, 240, 240);
const QColor kCaptionRuleColor(192, 192, 192);
constexpr int kShadeAlpha = 60;

QFont MakeFont(int pixels, bool bold) {
  QFont font;
  font.setFamilies({"Noto Sans CJK JP", "Noto Sans JP", "Noto Sans CJK SC", "IPAGothic"});
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(pixels);
  font.setBold(bold);
  return font;
}

}  // namespace

QColor ToQColor(Color color, int alpha) {
  return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF, alpha);
}

ChartPainter::ChartPainter()
    : font_(MakeFont(kBarFontPixels, false)),
      shaper_(font_, MakeFont(kBarFontPixels, true)),
      rowCaptionShaper_(MakeFont(kCaptionFontPixels, false), MakeFont(kCaptionFontPixels, false)),
      // CJK glyphs stand about 0.88 em above the baseline: the first line starts one pixel
      // below the bar's top, the second follows one pixel apart.
      firstBaseline_(1 + static_cast<int>(std::lround(0.9 * kBarFontPixels))),
      lineStep_(kBarFontPixels + 1),
      labelTexts_(MakeFont(kBarFontPixels, false)),
      captionTexts_(MakeFont(kCaptionFontPixels, false)) {}

void ChartPainter::Paint(QPainter& painter, const ChartModel& model, const ChartFrame& frame) {
  Paint(painter, model, frame, QRect(QPoint(0, 0), FrameSize(frame)));
}

void ChartPainter::Paint(QPainter& painter, const ChartModel& model, const ChartFrame& frame,
                         const QRect& dirty) {
  const Bands b = BandsOf(frame);
  painter.save();
  painter.setClipRect(dirty);
  painter.fillRect(dirty, kOutsideColor);
  if (b.captions.intersects(dirty)) PaintCaptions(painter, frame, dirty);

  PaintHeader(painter, model,
              SurfaceArea(b.header, model.PlatForm3, frame.platForm3Left, 0, dirty));
  const SurfaceArea unplanned(b.unplanned, model.PlatForm2, frame.platForm2Left, 0, dirty);
  if (!unplanned.clip.isEmpty()) {
    painter.setClipRect(unplanned.clip);
    painter.fillRect(unplanned.clip, ToQColor(model.PlatForm2.BackColor));
    PaintBars(painter, model, Surface::PlatForm2, unplanned);
    PaintOverlays(painter, model, Surface::PlatForm2, unplanned);
  }
  PaintRows(painter, model,
            SurfaceArea(b.rows, model.PlatForm, frame.platFormLeft, frame.platFormTop, dirty));
  painter.restore();
}

void ChartPainter::PaintCaptions(QPainter& painter, const ChartFrame& frame, const QRect& dirty) {
  const Bands b = BandsOf(frame);
  const int rowsTop = b.rows.top();
  // The column ends with the last row; below it the chart's outside shows, as beside it.
  QRect column = b.captions;
  column.setBottom(
      std::min(column.bottom(),
               rowsTop + Px(chart::kRowsAreaMargin + frame.captionCount * chart::kRowPitch) - 1));
  const QRect visible = column & dirty;
  painter.setClipRect(visible);
  painter.fillRect(visible, kCaptionColumnColor);
  painter.setFont(captionTexts_.Font());
  const int step = kCaptionFontPixels + 1;
  const int ascent = QFontMetrics(captionTexts_.Font()).ascent();
  for (int k = 0; k < frame.captionCount; ++k) {
    const int top = rowsTop + Px(chart::kRowsAreaMargin + k * chart::kRowPitch);
    const QRect cell(0, top, column.width(), Px(chart::kRowPitch));
    if (cell.top() > column.bottom()) break;
    if (!cell.intersects(visible)) continue;
    painter.setPen(kCaptionRuleColor);
    painter.drawLine(cell.bottomLeft(), cell.bottomRight());
    int lines = 0;
    ForEachLine(frame.captions[k], [&](std::string_view) { ++lines; });
    // Lines centred in the cell, a pixel apart, baselines from the glyphs' usual height.
    int baseline = cell.center().y() - lines * step / 2 + step - 2;
    painter.setClipRect(cell & visible);
    painter.setPen(Qt::black);
    ForEachLine(frame.captions[k], [&](std::string_view line) {
      DrawLabel(painter, captionTexts_, rowCaptionShaper_, line, QPoint(4, baseline), ascent);
      baseline += step;
    });
    if (k < frame.markCount && !frame.marks[k].empty()) PaintOverloadMark(painter, cell);
    painter.setClipRect(visible);
  }
  painter.setPen(kCaptionRuleColor);
  painter.drawLine(column.topRight(), column.bottomRight());
}

// A red triangle in the caption's top right corner: the row is over its hours on screen.
void ChartPainter::PaintOverloadMark(QPainter& painter, const QRect& cell) {
  const int size = std::max(6, cell.height() / 3);
  const QPoint corner = cell.topRight() + QPoint(-1, 1);
  const QPolygon mark({corner, corner - QPoint(size, 0), corner + QPoint(0, size)});
  painter.save();
  painter.setPen(Qt::NoPen);
  painter.setBrush(ToQColor(chart::kOverloadColor));
  painter.drawPolygon(mark);
  painter.restore();
}

void ChartPainter::PaintHeader(QPainter& painter, const ChartModel& model,
                               const SurfaceArea& area) {
  if (area.clip.isEmpty()) return;
  painter.setClipRect(area.clip);
  painter.fillRect(area.clip, ToQColor(model.PlatForm3.BackColor));
  PaintLabels(painter, model.LineName2, area);
}

void ChartPainter::PaintRows(QPainter& painter, const ChartModel& model, const SurfaceArea& area) {
  if (area.clip.isEmpty()) return;
  painter.setClipRect(area.clip);
  painter.fillRect(area.clip, ToQColor(model.PlatForm.BackColor));
  const QColor shade = ToQColor(model.FillBoxColor, kShadeAlpha);
  for (std::size_t i = 1; i < model.FillBox.size(); ++i) {
    const chart::FillBoxLabel& box = model.FillBox[i];
    if (box.Visible && area.Shows(box.Left, box.Top, box.Width, box.Height)) {
      painter.fillRect(area.Rect(box.Left, box.Top, box.Width, box.Height), shade);
    }
  }
  PaintLines(painter, model.HourLine, area);
  PaintLines(painter, model.DayLine, area);
  PaintLines(painter, model.Line1, area);
  PaintLabels(painter, model.LineName, area);
  PaintBars(painter, model, Surface::PlatForm, area);
  PaintOverlays(painter, model, Surface::PlatForm, area);
}

void ChartPainter::PaintLines(QPainter& painter, const std::vector<LineShape>& lines,
                              const SurfaceArea& area) {
  for (const LineShape& line : lines) {
    if (!line.Visible) continue;
    const double left = std::min(line.X1, line.X2);
    const double top = std::min(line.Y1, line.Y2);
    if (!area.Shows(left, top, std::abs(line.X2 - line.X1), std::abs(line.Y2 - line.Y1))) continue;
    painter.setPen(PenOf(line.BorderColor));
    // Clamp to what is visible: a line runs the surface's whole height or width.
    const int y1 = std::clamp(area.Y(line.Y1), area.clip.top() - 1, area.clip.bottom() + 1);
    const int y2 = std::clamp(area.Y(line.Y2), area.clip.top() - 1, area.clip.bottom() + 1);
    const int x1 = std::clamp(area.X(line.X1), area.clip.left() - 1, area.clip.right() + 1);
    const int x2 = std::clamp(area.X(line.X2), area.clip.left() - 1, area.clip.right() + 1);
    painter.drawLine(x1, y1, x2, y2);
  }
}

void ChartPainter::PaintLabels(QPainter& painter, const std::vector<AxisLabel>& labels,
                               const SurfaceArea& area) {
  painter.setFont(labelTexts_.Font());
  const int ascent = QFontMetrics(labelTexts_.Font()).ascent();
  // Texts may run past their label's width; the wider test keeps them from being cut early.
  const double textReach = 1200;
  for (const AxisLabel& label : labels) {
    if (!label.Visible || label.Text.empty()) continue;
    if (!area.Shows(label.Left, label.Top, std::max(label.Width, textReach), label.Height))
      continue;
    painter.setPen(PenOf(label.ForeColor));
    const QPoint baseline(area.X(label.Left) + 2, area.Y(label.Top) + firstBaseline_ + 2);
    DrawLabel(painter, labelTexts_, shaper_, label.Text, baseline, ascent);
  }
}

void ChartPainter::DrawLabel(QPainter& painter, StaticTextCache& texts, CaptionShaper& shaper,
                             std::string_view text, QPoint baseline, int ascent) {
  if (!labelGlyphs_) {
    painter.drawStaticText(baseline - QPoint(0, ascent), texts.Get(text));
    return;
  }
  for (const ShapedLine::Run& run : shaper.Shape(text, false).runs) {
    fittingRun_.setRawFont(run.font);
    fittingRun_.setRawData(run.glyphs.constData(), run.positions.constData(),
                           static_cast<int>(run.glyphs.size()));
    painter.drawGlyphRun(baseline, fittingRun_);
  }
}

const QPen& ChartPainter::PenOf(Color color) {
  auto it = pens_.find(color);
  if (it == pens_.end()) it = pens_.emplace(color, QPen(ToQColor(color), 1)).first;
  return it->second;
}

}  // namespace velmora::ui
