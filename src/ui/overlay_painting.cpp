#include "ui/chart_painter.h"

#include <QPainter>
#include <QString>
#include <QTransform>
#include <algorithm>
#include <cmath>
#include <string_view>

#include "chart/legend.h"
#include "ui/caption_lines.h"
#include "ui/surface_area.h"

namespace velmora::ui {

using chart::BarLabel;
using chart::ChartModel;
using chart::Surface;

namespace {

// The drop preview: an outline where the dragged bar would land, see-through so the bars under
// it stay readable; red where the drop would be refused. Bars the drop would move or ask about
// get a frame of their own colour.
const QColor kPreviewColor(64, 64, 64);
const QColor kRefusedColor(220, 0, 0);
const QColor kMarkColor = ToQColor(chart::kDropMarkColor);
constexpr int kPreviewFillAlpha = 50;
constexpr int kPreviewLinePixels = 2;
constexpr int kMarkPixels = 2;
// Bars a list or a search pointed at: a strong frame just outside the bar.
const QColor kHighlightColor = ToQColor(chart::kHighlightColor);
constexpr int kHighlightPixels = 3;
// The old places of a levelling proposal's plans: a dashed frame inside the place, not filled,
// so whatever took the place stays readable.
const QColor kProposalColor = ToQColor(chart::kOldPlaceColor);
constexpr int kProposalLinePixels = 2;
const QColor kCaptionBoxBorder(96, 96, 96);
constexpr int kCaptionBoxPadding = 3;  // pixels left and right of the caption box's text

// A frame `width` pixels wide inside `r`; its strips do not overlap, so a translucent colour
// stays even.
void Frame(QPainter& painter, const QRect& r, const QColor& color, int width) {
  const int w = std::min({width, (r.width() + 1) / 2, (r.height() + 1) / 2});
  painter.fillRect(QRect(r.left(), r.top(), r.width(), w), color);
  painter.fillRect(QRect(r.left(), r.bottom() - w + 1, r.width(), w), color);
  painter.fillRect(QRect(r.left(), r.top() + w, w, r.height() - 2 * w), color);
  painter.fillRect(QRect(r.right() - w + 1, r.top() + w, w, r.height() - 2 * w), color);
}

// Each visible bar of `bars` on the surface, with its rectangle in the area's pixels.
template <typename Each>
void ForBarsOn(const ChartModel& model, const std::vector<BarIdx>& bars, Surface surface,
               const SurfaceArea& area, Each&& each) {
  for (const BarIdx i : bars) {
    if (i.value < 0 || i.Slot() >= model.PlanBar.size()) continue;
    const BarLabel& bar = model.PlanBar[i.Slot()];
    if (bar.Visible && bar.Container == surface) {
      each(area.Rect(bar.Left, bar.Top, bar.Width, bar.Height));
    }
  }
}

QRect Outside(const QRect& bar) {
  return bar.adjusted(-kHighlightPixels, -kHighlightPixels, kHighlightPixels, kHighlightPixels);
}

void PaintProposalOutlines(QPainter& painter, const ChartModel& model, const SurfaceArea& area) {
  if (model.ProposalOutlines.empty()) return;
  painter.save();
  QPen pen(kProposalColor, kProposalLinePixels, Qt::CustomDashLine);
  pen.setDashPattern({3, 2});  // in line widths: 6 pixels drawn, 4 left out
  pen.setJoinStyle(Qt::MiterJoin);
  painter.setPen(pen);
  painter.setBrush(Qt::NoBrush);
  for (const chart::ProposalOutline& o : model.ProposalOutlines) {
    if (!area.Shows(o.Left, o.Top, o.Width, o.Height)) continue;
    // The pen runs on the middle of its line: one pixel in keeps both pixels inside the place.
    const QRect r = area.Rect(o.Left, o.Top, o.Width, o.Height);
    painter.drawRect(QRectF(r).adjusted(1, 1, -1, -1));
  }
  painter.restore();
}

}  // namespace

void ChartPainter::PaintOverlays(QPainter& painter, const ChartModel& model, Surface surface,
                                 const SurfaceArea& area) {
  if (!overlays_ || area.clip.isEmpty()) return;
  if (surface == Surface::PlatForm) PaintProposalOutlines(painter, model, area);
  ForBarsOn(model, model.Highlighted, surface, area, [&](const QRect& r) {
    if (Outside(r).intersects(area.clip)) {
      Frame(painter, Outside(r), kHighlightColor, kHighlightPixels);
    }
  });
  const chart::DropPreview& preview = model.Preview;
  if (preview.Visible) {
    ForBarsOn(model, preview.Marked, surface, area, [&](const QRect& r) {
      if (r.intersects(area.clip)) Frame(painter, r, kMarkColor, kMarkPixels);
    });
    if (preview.Container == surface &&
        area.Shows(preview.Left, preview.Top, preview.Width, preview.Height)) {
      const QRect r = area.Rect(preview.Left, preview.Top, preview.Width, preview.Height);
      QColor line = preview.Refused ? kRefusedColor : kPreviewColor;
      QColor fill = line;
      fill.setAlpha(kPreviewFillAlpha);
      painter.fillRect(r, fill);
      Frame(painter, r, line, kPreviewLinePixels);
    }
  }
  const chart::CaptionBox& box = model.GradeName;
  if (box.Visible && box.Container == surface) {
    const QRect r = CaptionBoxRect(box, area);
    if (!r.intersects(area.clip)) return;
    painter.fillRect(r, Qt::white);
    Frame(painter, r, kCaptionBoxBorder, 1);
    const QStaticText& text = CaptionBoxText(box.Text);
    painter.setFont(font_);
    painter.setPen(Qt::black);
    const int top = r.top() + (r.height() - static_cast<int>(std::ceil(text.size().height()))) / 2;
    painter.drawStaticText(QPoint(r.left() + kCaptionBoxPadding, top), text);
  }
}

// The caption on one line: its line breaks read as blanks.
const QStaticText& ChartPainter::CaptionBoxText(const std::string& caption) const {
  if (caption != boxSource_) {
    boxSource_ = caption;
    QString line;
    ForEachLine(caption, [&](std::string_view piece) {
      if (!line.isEmpty()) line += QLatin1Char(' ');
      line += QString::fromUtf8(piece.data(), static_cast<qsizetype>(piece.size()));
    });
    boxText_ = QStaticText(line);
    boxText_.setTextFormat(Qt::PlainText);
    boxText_.setPerformanceHint(QStaticText::AggressiveCaching);
    boxText_.prepare(QTransform(), font_);
  }
  return boxText_;
}

// The box is as wide as the model says, or as its text needs: the model's width allows for
// narrow characters only.
QRect ChartPainter::CaptionBoxRect(const chart::CaptionBox& box, const SurfaceArea& area) const {
  const QRect r = area.Rect(box.Left, box.Top, box.Width, box.Height);
  const int textWidth = static_cast<int>(std::ceil(CaptionBoxText(box.Text).size().width()));
  return QRect(r.left(), r.top(), std::max(r.width(), textWidth + 2 * kCaptionBoxPadding),
               r.height());
}

QRegion ChartPainter::OverlayRegion(const ChartModel& model, const ChartFrame& frame) const {
  QRegion region;
  const QRect all(QPoint(0, 0), FrameSize(frame));
  for (const Surface surface : {Surface::PlatForm, Surface::PlatForm2}) {
    const SurfaceArea area = AreaOf(surface, model, frame, all);
    if (area.clip.isEmpty()) continue;
    ForBarsOn(model, model.Highlighted, surface, area,
              [&](const QRect& r) { region += Outside(r) & area.clip; });
    const chart::DropPreview& preview = model.Preview;
    if (preview.Visible) {
      ForBarsOn(model, preview.Marked, surface, area,
                [&](const QRect& r) { region += r & area.clip; });
      if (preview.Container == surface) {
        region += area.Rect(preview.Left, preview.Top, preview.Width, preview.Height) & area.clip;
      }
    }
    const chart::CaptionBox& box = model.GradeName;
    if (box.Visible && box.Container == surface) region += CaptionBoxRect(box, area) & area.clip;
  }
  return region;
}

}  // namespace velmora::ui
