#include "ui/chart_painter.h"

#include <QFontMetrics>
#include <QPainter>
#include <QTextLayout>
#include <algorithm>
#include <cmath>
#include <limits>
#include <string_view>

#include "common/text.h"

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
constexpr int kNarrowestGlyphPixels = 2;  // no glyph of the bar font advances less
constexpr int kGlyphReach = 16;           // pixels: wider and taller than any caption glyph
// The drop preview: an outline where the dragged bar would land, see-through so the bars under
// it stay readable; red where the drop would be refused. Bars the drop would move or ask about
// get a frame of their own colour.
const QColor kPreviewColor(64, 64, 64);
const QColor kRefusedColor(220, 0, 0);
const QColor kMarkColor(255, 140, 0);
constexpr int kPreviewFillAlpha = 50;
constexpr int kPreviewLinePixels = 2;
constexpr int kMarkPixels = 2;
const QColor kCaptionBoxBorder(96, 96, 96);
constexpr int kCaptionBoxPadding = 3;  // pixels left and right of the caption box's text

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

// A frame `width` pixels wide inside `r`; its strips do not overlap, so a translucent colour
// stays even.
void Frame(QPainter& painter, const QRect& r, const QColor& color, int width) {
  const int w = std::min({width, (r.width() + 1) / 2, (r.height() + 1) / 2});
  painter.fillRect(QRect(r.left(), r.top(), r.width(), w), color);
  painter.fillRect(QRect(r.left(), r.bottom() - w + 1, r.width(), w), color);
  painter.fillRect(QRect(r.left(), r.top() + w, w, r.height() - 2 * w), color);
  painter.fillRect(QRect(r.right() - w + 1, r.top() + w, w, r.height() - 2 * w), color);
}

}  // namespace

QColor ToQColor(Color color, int alpha) {
  return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF, alpha);
}

// One band of the frame showing one surface: maps the surface's twips to device pixels and
// knows which twips are visible.
struct ChartPainter::Area {
  Area(QRect band, const ChartSurface& surface, double surfaceLeft, double surfaceTop,
       const QRect& dirty)
      : band(band), leftTwips(surfaceLeft - surface.ScaleLeft), topTwips(surfaceTop) {
    const QRect extent(QPoint(X(surface.ScaleLeft), Y(0)),
                       QPoint(X(surface.ScaleLeft + surface.Width) - 1, Y(surface.Height) - 1));
    clip = surface.Visible ? (band & extent & dirty) : QRect();
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

ChartPainter::Bands ChartPainter::BandsOf(const ChartFrame& frame) {
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

ChartPainter::ChartPainter()
    : font_(MakeFont(kBarFontPixels, false)),
      boldFont_(MakeFont(kBarFontPixels, true)),
      // CJK glyphs stand about 0.88 em above the baseline: the first line starts one pixel
      // below the bar's top, the second follows one pixel apart.
      firstBaseline_(1 + static_cast<int>(std::lround(0.9 * kBarFontPixels))),
      lineStep_(kBarFontPixels + 1),
      labelTexts_(MakeFont(kBarFontPixels, false)),
      captionTexts_(MakeFont(kCaptionFontPixels, false)) {}

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
  Paint(painter, model, frame, QRect(QPoint(0, 0), FrameSize(frame)));
}

void ChartPainter::Paint(QPainter& painter, const ChartModel& model, const ChartFrame& frame,
                         const QRect& dirty) {
  const Bands b = BandsOf(frame);
  painter.save();
  painter.setClipRect(dirty);
  painter.fillRect(dirty, kOutsideColor);
  if (b.captions.intersects(dirty)) PaintCaptions(painter, frame, dirty);

  PaintHeader(painter, model, Area(b.header, model.PlatForm3, frame.platForm3Left, 0, dirty));
  const Area unplanned(b.unplanned, model.PlatForm2, frame.platForm2Left, 0, dirty);
  if (!unplanned.clip.isEmpty()) {
    painter.setClipRect(unplanned.clip);
    painter.fillRect(unplanned.clip, ToQColor(model.PlatForm2.BackColor));
    PaintBars(painter, model, Surface::PlatForm2, unplanned);
    PaintOverlays(painter, model, Surface::PlatForm2, unplanned);
  }
  PaintRows(painter, model,
            Area(b.rows, model.PlatForm, frame.platFormLeft, frame.platFormTop, dirty));
  painter.restore();
}

void ChartPainter::PaintCaptions(QPainter& painter, const ChartFrame& frame, const QRect& dirty) {
  const Bands b = BandsOf(frame);
  const QRect column = b.captions;
  const QRect visible = column & dirty;
  const int rowsTop = b.rows.top();
  painter.setClipRect(visible);
  painter.fillRect(visible, kCaptionColumnColor);
  painter.setFont(captionTexts_.Font());
  const int step = kCaptionFontPixels + 1;
  const int ascent = QFontMetrics(captionTexts_.Font()).ascent();
  for (int k = 0; k < frame.captionCount; ++k) {
    const int top = rowsTop + Px(chart::kRowsAreaHeight - chart::kVisibleRows * chart::kRowPitch +
                                 k * chart::kRowPitch);
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
      painter.drawStaticText(QPoint(4, baseline - ascent), captionTexts_.Get(line));
      baseline += step;
    });
    painter.setClipRect(visible);
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
  PaintOverlays(painter, model, Surface::PlatForm, area);
}

ChartPainter::Area ChartPainter::AreaOf(Surface surface, const ChartModel& model,
                                        const ChartFrame& frame, const QRect& dirty) const {
  const Bands b = BandsOf(frame);
  switch (surface) {
    case Surface::PlatForm:
      return Area(b.rows, model.PlatForm, frame.platFormLeft, frame.platFormTop, dirty);
    case Surface::PlatForm2:
      return Area(b.unplanned, model.PlatForm2, frame.platForm2Left, 0, dirty);
    case Surface::PlatForm3:
      break;
  }
  return Area(b.header, model.PlatForm3, frame.platForm3Left, 0, dirty);
}

void ChartPainter::PaintOverlays(QPainter& painter, const ChartModel& model, Surface surface,
                                 const Area& area) {
  if (area.clip.isEmpty()) return;
  const chart::DropPreview& preview = model.Preview;
  if (preview.Visible) {
    for (const BarIdx i : preview.Marked) {
      if (i.value < 0 || i.Slot() >= model.PlanBar.size()) continue;
      const BarLabel& bar = model.PlanBar[i.Slot()];
      if (!bar.Visible || bar.Container != surface ||
          !area.Shows(bar.Left, bar.Top, bar.Width, bar.Height))
        continue;
      Frame(painter, area.Rect(bar.Left, bar.Top, bar.Width, bar.Height), kMarkColor, kMarkPixels);
    }
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
QRect ChartPainter::CaptionBoxRect(const chart::CaptionBox& box, const Area& area) const {
  const QRect r = area.Rect(box.Left, box.Top, box.Width, box.Height);
  const int textWidth = static_cast<int>(std::ceil(CaptionBoxText(box.Text).size().width()));
  return QRect(r.left(), r.top(), std::max(r.width(), textWidth + 2 * kCaptionBoxPadding),
               r.height());
}

QRegion ChartPainter::OverlayRegion(const ChartModel& model, const ChartFrame& frame) const {
  QRegion region;
  const QRect all(QPoint(0, 0), FrameSize(frame));
  for (const Surface surface : {Surface::PlatForm, Surface::PlatForm2}) {
    const Area area = AreaOf(surface, model, frame, all);
    if (area.clip.isEmpty()) continue;
    const chart::DropPreview& preview = model.Preview;
    if (preview.Visible) {
      for (const BarIdx i : preview.Marked) {
        if (i.value < 0 || i.Slot() >= model.PlanBar.size()) continue;
        const BarLabel& bar = model.PlanBar[i.Slot()];
        if (bar.Visible && bar.Container == surface) {
          region += area.Rect(bar.Left, bar.Top, bar.Width, bar.Height) & area.clip;
        }
      }
      if (preview.Container == surface) {
        region += area.Rect(preview.Left, preview.Top, preview.Width, preview.Height) & area.clip;
      }
    }
    const chart::CaptionBox& box = model.GradeName;
    if (box.Visible && box.Container == surface) region += CaptionBoxRect(box, area) & area.clip;
  }
  return region;
}

void ChartPainter::PaintLines(QPainter& painter, const std::vector<LineShape>& lines,
                              const Area& area) {
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
                               const Area& area) {
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
    painter.drawStaticText(baseline - QPoint(0, ascent), labelTexts_.Get(label.Text));
  }
}

void ChartPainter::PaintBars(QPainter& painter, const ChartModel& model, Surface surface,
                             const Area& area) {
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
  byTop_.resize(items_.size());
  for (std::size_t k = 0; k < items_.size(); ++k) byTop_[k] = k;
  std::sort(byTop_.begin(), byTop_.end(), [this](std::size_t a, std::size_t b) {
    return items_[a].rect.top() < items_[b].rect.top();
  });

  for (std::size_t k = 0; k < items_.size(); ++k) {
    const BarItem& item = items_[k];
    const std::size_t i = static_cast<std::size_t>(item.index);
    const BarLabel& bar = item.progress ? model.PlanJBar[i] : model.PlanBar[i];
    // A progress bar repeats its bar's caption within the bar's extent: one shaping serves both.
    const BarLabel& owner = model.PlanBar[i];
    const bool shared = !item.progress || (bar.Caption == owner.Caption && bar.Bold == owner.Bold);
    PaintBar(painter, k, bar,
             shared ? CaptionOf(barCaptions_, item.index, owner)
                    : CaptionOf(progressCaptions_, item.index, bar));
  }
}

void ChartPainter::PaintBar(QPainter& painter, std::size_t item, const BarLabel& bar,
                            const Caption& caption) {
  const BarItem& it = items_[item];
  const QRect& r = it.rect;
  painter.fillRect(r, ToQColor(bar.BackColor, it.progress ? kProgressAlpha : 255));
  if (caption.lines[0].runs.empty() && caption.lines[1].runs.empty()) return;
  painter.setPen(PenOf(bar.ForeColor));
  // The progress bar lies one pixel right and down of its bar; its caption is drawn where the
  // bar's is, so the two read as one text.
  const int shift = it.progress ? 1 : 0;
  const QPoint first(r.left() + kBarTextLeft - shift, r.top() + firstBaseline_ - shift);
  for (int n = 0; n < 2; ++n) {
    const ShapedLine& line = caption.lines[n];
    if (line.runs.empty()) continue;
    const QPoint baseline = first + QPoint(0, n * lineStep_);
    // Spans of this line under plan bars painted later: glyphs there would be painted over at
    // once. (Progress bars are see-through and hide nothing.)
    const int inkTop = baseline.y() - firstBaseline_ + 1;
    const int inkBottom = baseline.y() + 2;
    covered_.clear();
    auto from =
        std::lower_bound(byTop_.begin(), byTop_.end(), inkBottom - r.height(),
                         [this](std::size_t k, int top) { return items_[k].rect.top() < top; });
    for (; from != byTop_.end() && items_[*from].rect.top() <= inkTop; ++from) {
      const BarItem& other = items_[*from];
      if (*from <= item || other.progress || other.rect.bottom() < inkBottom) continue;
      if (other.rect.right() < r.left() || other.rect.left() > r.right()) continue;
      covered_.emplace_back(other.rect.left(), other.rect.right() + 1);
    }
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

const ChartPainter::Caption& ChartPainter::CaptionOf(std::vector<Caption>& cache, int index,
                                                     const BarLabel& bar) {
  if (static_cast<std::size_t>(index) >= cache.size()) {
    cache.resize(static_cast<std::size_t>(index) + 1);
  }
  Caption& c = cache[static_cast<std::size_t>(index)];
  // Only the characters that can fit the bar are shaped: no glyph is narrower than
  // kNarrowestGlyphPixels, so the rest would never be drawn. A bar that grows past what was
  // shaped is shaped again.
  const std::size_t fit =
      static_cast<std::size_t>(std::max(0, Px(bar.Width))) / kNarrowestGlyphPixels + 1;
  if (c.source != bar.Caption || c.bold != bar.Bold || (c.cut && fit > c.fit)) {
    c.source = bar.Caption;
    c.bold = bar.Bold;
    c.fit = fit;
    c.cut = false;
    c.lines[0] = c.lines[1] = ShapedLine{};
    int n = 0;
    ForEachLine(bar.Caption, [&](std::string_view line) {
      if (n >= 2) return;
      const bool cut = CharCount(line) > fit;
      c.cut = c.cut || cut;
      c.lines[n++] = Shape(cut ? Left(line, fit) : std::string(line), bar.Bold);
    });
  }
  return c;
}

const std::vector<QRawFont>& ChartPainter::FacesOf(bool bold) {
  std::vector<QRawFont>& fonts = bold ? boldFaces_ : faces_;
  if (!fonts.empty()) return fonts;
  const QFont& font = bold ? boldFont_ : font_;
  // The faces the layout engine picks for the texts captions hold: Latin, kana and kanji, marks.
  QTextLayout layout(QStringLiteral("A1 成形かカ●（）/"), font);
  layout.beginLayout();
  layout.createLine();
  layout.endLayout();
  for (const QGlyphRun& run : layout.glyphRuns()) {
    const QRawFont face = run.rawFont();
    if (std::none_of(fonts.begin(), fonts.end(), [&](const QRawFont& f) { return f == face; }))
      fonts.push_back(face);
  }
  if (fonts.empty()) fonts.push_back(QRawFont::fromFont(font));
  return fonts;
}

// Captions are short single lines of Latin and Japanese text: their glyphs are looked up in the
// faces a layout would choose, character by character, which is several times faster than a
// full text layout and places the glyphs the same way.
ChartPainter::ShapedLine ChartPainter::Shape(std::string_view text, bool bold) {
  ShapedLine shaped;
  if (text.empty()) return shaped;
  const std::vector<QRawFont>& faces = FacesOf(bold);
  const QString line = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  double x = 0;
  qsizetype start = 0;
  auto faceAt = [&](qsizetype i, qsizetype* width) {
    char32_t c = line[i].unicode();
    *width = 1;
    if (line[i].isHighSurrogate() && i + 1 < line.size() && line[i + 1].isLowSurrogate()) {
      c = QChar::surrogateToUcs4(line[i], line[i + 1]);
      *width = 2;
    }
    for (std::size_t f = 0; f < faces.size(); ++f) {
      if (faces[f].supportsCharacter(c)) return f;
    }
    return std::size_t{0};
  };
  while (start < line.size()) {
    qsizetype width = 0;
    const std::size_t face = faceAt(start, &width);
    qsizetype end = start + width;
    while (end < line.size()) {
      qsizetype w = 0;
      if (faceAt(end, &w) != face) break;
      end += w;
    }
    ShapedLine::Run run;
    run.font = faces[face];
    run.glyphs = run.font.glyphIndexesForString(line.mid(start, end - start));
    const QList<QPointF> advances = run.font.advancesForGlyphIndexes(
        run.glyphs, QRawFont::SeparateAdvances | QRawFont::UseDesignMetrics);
    for (qsizetype g = 0; g < run.glyphs.size(); ++g) {
      run.positions.push_back(QPointF(x, 0));
      x += advances.value(g).x();
      run.rights.push_back(x);
    }
    shaped.runs.push_back(std::move(run));
    start = end;
  }
  return shaped;
}

const QStaticText& ChartPainter::StaticTexts::Get(std::string_view text) {
  auto it = texts_.find(text);
  if (it == texts_.end()) {
    QStaticText prepared(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    prepared.setTextFormat(Qt::PlainText);
    prepared.setPerformanceHint(QStaticText::AggressiveCaching);
    prepared.prepare(QTransform(), font_);
    it = texts_.emplace(std::string(text), std::move(prepared)).first;
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

  const QRect all(QPoint(0, 0), FrameSize(frame));
  const chart::CaptionBox& box = model.GradeName;
  if (box.Visible) {
    const Area area = AreaOf(box.Container, model, frame, all);
    if ((CaptionBoxRect(box, area) & area.clip).contains(point)) {
      hit.target = ChartHit::Target::GradeName;
      hit.x = area.SurfaceX(point.x());
      hit.y = area.SurfaceY(point.y());
      return hit;
    }
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
  if (onSurface(Area(b.rows, model.PlatForm, frame.platFormLeft, frame.platFormTop, all),
                Surface::PlatForm, ChartHit::Target::PlatForm)) {
    return hit;
  }
  if (onSurface(Area(b.unplanned, model.PlatForm2, frame.platForm2Left, 0, all), Surface::PlatForm2,
                ChartHit::Target::PlatForm2)) {
    return hit;
  }
  onSurface(Area(b.header, model.PlatForm3, frame.platForm3Left, 0, all), Surface::PlatForm3,
            ChartHit::Target::PlatForm3);
  return hit;
}

}  // namespace velmora::ui
