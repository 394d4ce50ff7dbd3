#include "ui/chart_painter.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <string_view>

namespace velmora::ui {

using chart::AxisLabel;
using chart::BarLabel;
using chart::ChartModel;
using chart::ChartSurface;
using chart::Color;
using chart::LineShape;
using chart::Surface;

namespace {

constexpr int kBarFontPixels = 10;          // two caption lines fit a 24-pixel bar
constexpr int kCaptionFontPixels = 11;      // row captions, up to three lines in a 40-pixel row
constexpr int kBarTextLeft = 2;             // pixels from a bar's left edge to its caption
constexpr int kProgressAlpha = 90;          // the progress bar darkens the bar's colour under it
const QColor kOutsideColor(128, 128, 128);  // viewport area no surface covers
const QColor kCaptionColumnColor(240, 240, 240);
const QColor kCaptionRuleColor(192, 192, 192);
constexpr int kShadeAlpha = 60;

int Px(double twips) {
  return static_cast<int>(std::floor(twips / chart::kTwipsPerPixel + 0.5));
}

QFont MakeFont(int pixels, bool bold) {
  QFont font;
  font.setFamilies({"Noto Sans CJK JP", "Noto Sans JP", "Noto Sans CJK SC", "IPAGothic"});
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(pixels);
  font.setBold(bold);
  return font;
}

// Caption lines: the bars break with "\r\n", subcontractor rows with a lone "\r".
template <typename Each>
void ForEachLine(std::string_view text, Each each) {
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    each(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  each(text.substr(start));
}

}  // namespace

QColor ToQColor(Color color, int alpha) {
  return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF, alpha);
}

// One band of the frame showing one surface: maps the surface's twips to device pixels and
// knows which twips are visible.
struct ChartPainter::Area {
  Area(QRect band, const ChartSurface& surface, double surfaceLeft, double surfaceTop)
      : band(band), leftTwips(surfaceLeft - surface.ScaleLeft), topTwips(surfaceTop) {
    const QRect extent(QPoint(X(surface.ScaleLeft), Y(0)),
                       QPoint(X(surface.ScaleLeft + surface.Width) - 1, Y(surface.Height) - 1));
    clip = surface.Visible ? (band & extent) : QRect();
    x0 = (clip.left() - band.left()) * chart::kTwipsPerPixel - leftTwips;
    x1 = (clip.right() + 1 - band.left()) * chart::kTwipsPerPixel - leftTwips;
    y0 = (clip.top() - band.top()) * chart::kTwipsPerPixel - topTwips;
    y1 = (clip.bottom() + 1 - band.top()) * chart::kTwipsPerPixel - topTwips;
  }

  int X(double x) const { return band.left() + Px(leftTwips + x); }
  int Y(double y) const { return band.top() + Px(topTwips + y); }
  bool Shows(double left, double top, double width, double height) const {
    return !clip.isEmpty() && left + width >= x0 && left <= x1 && top + height >= y0 && top <= y1;
  }
  QRect Rect(double left, double top, double width, double height) const {
    const int x = X(left);
    const int y = Y(top);
    return QRect(x, y, std::max(1, X(left + width) - x), std::max(1, Y(top + height) - y));
  }
  double SurfaceX(int px) const { return (px - band.left()) * chart::kTwipsPerPixel - leftTwips; }
  double SurfaceY(int py) const { return (py - band.top()) * chart::kTwipsPerPixel - topTwips; }

  QRect band;
  QRect clip;
  double leftTwips;
  double topTwips;
  double x0 = 0, x1 = 0, y0 = 0, y1 = 0;
};

namespace {

struct Bands {
  QRect captions;
  QRect header;
  QRect unplanned;
  QRect rows;
};

Bands BandsOf(const ChartFrame& frame) {
  const int captionWidth = Px(chart::kCaptionColumnWidth);
  const int width = Px(frame.width);
  const int headerHeight = Px(chart::kHeaderBandHeight);
  const int bandHeight = Px(chart::kUnplannedBandHeight);
  const int rowsHeight = Px(frame.rowsHeight);
  Bands b;
  b.header = QRect(captionWidth, 0, width, headerHeight);
  b.unplanned = QRect(captionWidth, headerHeight, width, bandHeight);
  b.rows = QRect(captionWidth, headerHeight + bandHeight, width, rowsHeight);
  b.captions = QRect(0, 0, captionWidth, headerHeight + bandHeight + rowsHeight);
  return b;
}

}  // namespace

ChartPainter::ChartPainter()
    : font_(MakeFont(kBarFontPixels, false)),
      boldFont_(MakeFont(kBarFontPixels, true)),
      labelFont_(MakeFont(kBarFontPixels, false)),
      captionFont_(MakeFont(kCaptionFontPixels, false)),
      // CJK glyphs stand about 0.88 em above the baseline: the first line starts one pixel
      // below the bar's top, the second follows one pixel apart.
      firstBaseline_(1 + static_cast<int>(std::lround(0.9 * kBarFontPixels))),
      lineStep_(kBarFontPixels + 1) {}

ChartFrame ChartPainter::ViewportFrame(const ChartModel& model) {
  ChartFrame f;
  f.width = model.Picture1.Width;
  f.rowsHeight = model.Picture1.Height - chart::kHeaderBandHeight - chart::kUnplannedBandHeight;
  f.platFormLeft = model.PlatForm.Left;
  f.platForm2Left = model.PlatForm2.Left;
  f.platForm3Left = model.PlatForm3.Left;
  f.platFormTop = model.PlatForm.Top;
  f.captions = &model.MachineName[1];
  f.captionCount = chart::kVisibleRows;
  return f;
}

ChartFrame ChartPainter::WholeChartFrame(const PlanData& data, const ChartModel& model) {
  ChartFrame f;
  f.width = model.PlatForm.Width;
  f.rowsHeight = model.PlatForm.Height;
  // The rows and the header from their scale left; the unplanned band as the window shows it.
  f.platFormLeft = 0;
  f.platForm3Left = 0;
  f.platForm2Left = model.PlatForm2.Left;
  f.platFormTop = 0;
  f.captions = data.RowCaption.size() > 1 ? &data.RowCaption[1] : nullptr;
  f.captionCount = std::min<int>(data.RowCount, static_cast<int>(data.RowCaption.size()) - 1);
  return f;
}

QSize ChartPainter::FrameSize(const ChartFrame& frame) {
  const Bands b = BandsOf(frame);
  return QSize(b.header.right() + 1, b.rows.bottom() + 1);
}

void ChartPainter::Paint(QPainter& painter, const ChartModel& model, const ChartFrame& frame) {
  const Bands b = BandsOf(frame);
  painter.save();
  painter.fillRect(QRect(QPoint(0, 0), FrameSize(frame)), kOutsideColor);
  PaintCaptions(painter, frame, b.rows.top());

  PaintHeader(painter, model, Area(b.header, model.PlatForm3, frame.platForm3Left, 0));
  const Area unplanned(b.unplanned, model.PlatForm2, frame.platForm2Left, 0);
  if (!unplanned.clip.isEmpty()) {
    painter.setClipRect(unplanned.clip);
    painter.fillRect(unplanned.clip, ToQColor(model.PlatForm2.BackColor));
    PaintBars(painter, model, Surface::PlatForm2, unplanned);
  }
  PaintRows(painter, model, Area(b.rows, model.PlatForm, frame.platFormLeft, frame.platFormTop));
  painter.restore();
}

void ChartPainter::PaintCaptions(QPainter& painter, const ChartFrame& frame, int rowsTop) {
  const QRect column = BandsOf(frame).captions;
  painter.setClipRect(column);
  painter.fillRect(column, kCaptionColumnColor);
  painter.setFont(captionFont_);
  const int step = kCaptionFontPixels + 1;
  for (int k = 0; k < frame.captionCount; ++k) {
    const int top = rowsTop + Px(chart::kRowsAreaHeight - chart::kVisibleRows * chart::kRowPitch +
                                 k * chart::kRowPitch);
    const QRect cell(0, top, column.width(), Px(chart::kRowPitch));
    if (cell.top() > column.bottom()) break;
    painter.setPen(kCaptionRuleColor);
    painter.drawLine(cell.bottomLeft(), cell.bottomRight());
    std::vector<std::string_view> lines;
    ForEachLine(frame.captions[k], [&](std::string_view line) { lines.push_back(line); });
    int baseline = cell.center().y() - static_cast<int>(lines.size()) * step / 2 + step - 2;
    painter.setClipRect(cell & column);
    painter.setPen(Qt::black);
    for (std::string_view line : lines) {
      painter.drawText(QPoint(4, baseline), LabelText(line));
      baseline += step;
    }
    painter.setClipRect(column);
  }
  painter.setPen(kCaptionRuleColor);
  painter.drawLine(column.topRight(), column.bottomRight());
}

void ChartPainter::PaintHeader(QPainter& painter, const ChartModel& model, const Area& area) {
  if (area.clip.isEmpty()) return;
  painter.setClipRect(area.clip);
  painter.fillRect(area.clip, ToQColor(model.PlatForm3.BackColor));
  PaintLabels(painter, model.LineName2, area);
}

void ChartPainter::PaintRows(QPainter& painter, const ChartModel& model, const Area& area) {
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
}

void ChartPainter::PaintLines(QPainter& painter, const std::vector<LineShape>& lines,
                              const Area& area) {
  for (const LineShape& line : lines) {
    if (!line.Visible) continue;
    const double left = std::min(line.X1, line.X2);
    const double top = std::min(line.Y1, line.Y2);
    if (!area.Shows(left, top, std::abs(line.X2 - line.X1), std::abs(line.Y2 - line.Y1))) continue;
    painter.setPen(PenOf(line.BorderColor));
    // Clamp to the visible part: a line runs the surface's whole height or width.
    const int y1 = std::clamp(area.Y(line.Y1), area.clip.top() - 1, area.clip.bottom() + 1);
    const int y2 = std::clamp(area.Y(line.Y2), area.clip.top() - 1, area.clip.bottom() + 1);
    const int x1 = std::clamp(area.X(line.X1), area.clip.left() - 1, area.clip.right() + 1);
    const int x2 = std::clamp(area.X(line.X2), area.clip.left() - 1, area.clip.right() + 1);
    painter.drawLine(x1, y1, x2, y2);
  }
}

void ChartPainter::PaintLabels(QPainter& painter, const std::vector<AxisLabel>& labels,
                               const Area& area) {
  painter.setFont(labelFont_);
  // Texts may run past their label's width; the wider test keeps them from being cut early.
  const double textReach = 1200;
  for (const AxisLabel& label : labels) {
    if (!label.Visible || label.Text.empty()) continue;
    if (!area.Shows(label.Left, label.Top, std::max(label.Width, textReach), label.Height))
      continue;
    painter.setPen(PenOf(label.ForeColor));
    painter.drawText(QPoint(area.X(label.Left) + 2, area.Y(label.Top) + firstBaseline_ + 2),
                     LabelText(label.Text));
  }
}

void ChartPainter::PaintBars(QPainter& painter, const ChartModel& model, Surface surface,
                             const Area& area) {
  items_.clear();
  auto collect = [&](const std::vector<BarLabel>& bars, bool progress) {
    for (std::size_t i = 0; i < bars.size(); ++i) {
      const BarLabel& bar = bars[i];
      if (bar.Visible && bar.Container == surface && bar.Width > 0 &&
          area.Shows(bar.Left, bar.Top, bar.Width, bar.Height)) {
        items_.push_back({bar.ZOrder, static_cast<int>(i), progress});
      }
    }
  };
  collect(model.PlanBar, false);
  collect(model.PlanJBar, true);
  std::sort(items_.begin(), items_.end(), [](const BarItem& a, const BarItem& b) {
    return a.z != b.z ? a.z < b.z : a.progress < b.progress;
  });
  for (const BarItem& item : items_) {
    const std::size_t i = static_cast<std::size_t>(item.index);
    const BarLabel& bar = item.progress ? model.PlanJBar[i] : model.PlanBar[i];
    const Caption& caption =
        CaptionOf(item.progress ? progressCaptions_ : barCaptions_, item.index, bar.Caption);
    PaintBar(painter, bar, caption, area, item.progress);
  }
}

void ChartPainter::PaintBar(QPainter& painter, const BarLabel& bar, const Caption& caption,
                            const Area& area, bool progress) {
  const QRect r = area.Rect(bar.Left, bar.Top, bar.Width, bar.Height);
  painter.fillRect(r, ToQColor(bar.BackColor, progress ? kProgressAlpha : 255));
  if (r.width() < 3 || caption.source.empty()) return;
  painter.setClipRect(r & area.clip);
  painter.setFont(bar.Bold ? boldFont_ : font_);
  painter.setPen(PenOf(bar.ForeColor));
  // The progress bar lies one pixel right and down of its bar; its caption is drawn where the
  // bar's is, so the two read as one text.
  const int shift = progress ? 1 : 0;
  const QPoint first(r.left() + kBarTextLeft - shift, r.top() + firstBaseline_ - shift);
  painter.drawText(first, caption.lines[0]);
  if (!caption.lines[1].isEmpty()) painter.drawText(first + QPoint(0, lineStep_), caption.lines[1]);
  painter.setClipRect(area.clip);
}

const ChartPainter::Caption& ChartPainter::CaptionOf(std::vector<Caption>& cache, int index,
                                                     const std::string& text) {
  if (static_cast<std::size_t>(index) >= cache.size())
    cache.resize(static_cast<std::size_t>(index) + 1);
  Caption& c = cache[static_cast<std::size_t>(index)];
  if (c.source != text) {
    c.source = text;
    c.lines[0].clear();
    c.lines[1].clear();
    int n = 0;
    ForEachLine(text, [&](std::string_view line) {
      if (n < 2) c.lines[n++] = QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size()));
    });
  }
  return c;
}

const QString& ChartPainter::LabelText(std::string_view text) {
  auto it = labelTexts_.find(text);
  if (it == labelTexts_.end()) {
    const QString converted = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    it = labelTexts_.emplace(std::string(text), converted).first;
  }
  return it->second;
}

const QPen& ChartPainter::PenOf(Color color) {
  auto it = pens_.find(color);
  if (it == pens_.end()) it = pens_.emplace(color, QPen(ToQColor(color), 1)).first;
  return it->second;
}

ChartHit ChartPainter::HitTest(const ChartModel& model, const ChartFrame& frame,
                               QPoint point) const {
  const Bands b = BandsOf(frame);
  ChartHit hit;
  if (b.captions.contains(point) && point.y() >= b.rows.top()) {
    const double y = (point.y() - b.rows.top()) * chart::kTwipsPerPixel -
                     (chart::kRowsAreaHeight - chart::kVisibleRows * chart::kRowPitch);
    const int slot = static_cast<int>(std::floor(y / chart::kRowPitch));
    if (slot >= 0 && slot < frame.captionCount) {
      hit.target = ChartHit::Target::MachineName;
      hit.index = slot + 1;
    }
    return hit;
  }

  auto onSurface = [&](const Area& area, Surface surface, ChartHit::Target target) {
    if (!area.clip.contains(point)) return false;
    hit.target = target;
    hit.x = area.SurfaceX(point.x());
    hit.y = area.SurfaceY(point.y());
    std::uint64_t topZ = 0;
    auto search = [&](const std::vector<BarLabel>& bars, ChartHit::Target barTarget) {
      for (std::size_t i = 0; i < bars.size(); ++i) {
        const BarLabel& bar = bars[i];
        if (bar.Visible && bar.Container == surface && bar.Width > 0 &&
            area.Rect(bar.Left, bar.Top, bar.Width, bar.Height).contains(point) &&
            (hit.target == target || bar.ZOrder >= topZ)) {
          hit.target = barTarget;
          hit.index = static_cast<int>(i);
          topZ = bar.ZOrder;
        }
      }
    };
    search(model.PlanBar, ChartHit::Target::PlanBar);
    search(model.PlanJBar, ChartHit::Target::PlanJBar);
    return true;
  };
  if (onSurface(Area(b.rows, model.PlatForm, frame.platFormLeft, frame.platFormTop),
                Surface::PlatForm, ChartHit::Target::PlatForm)) {
    return hit;
  }
  if (onSurface(Area(b.unplanned, model.PlatForm2, frame.platForm2Left, 0), Surface::PlatForm2,
                ChartHit::Target::PlatForm2)) {
    return hit;
  }
  onSurface(Area(b.header, model.PlatForm3, frame.platForm3Left, 0), Surface::PlatForm3,
            ChartHit::Target::PlatForm3);
  return hit;
}

}  // namespace velmora::ui
