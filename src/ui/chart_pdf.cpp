#include "ui/chart_pdf.h"

#include <QGlyphRun>
#include <QPageRanges>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QString>
#include <optional>
#include <system_error>

#include "ui/caption_shaper.h"
#include "ui/chart_painter.h"
#include "ui/load_pages.h"
#include "ui/pdf_text_map.h"
#include "ui/pixels.h"
#include "ui/printed_chart.h"

namespace velmora::ui {
namespace {

constexpr int kTitleHeight = 20;  // chart pixels above the time axis for the title line
constexpr int kTitlePixels = 12;
constexpr double kMarginMillimetres = 10;
constexpr int kPdfResolution = 600;  // fine enough for one-pixel rules; text stays vector

ChartMeasures MeasuresOf(const ChartFrame& frame, const chart::ChartModel& printed) {
  const ChartPainter::Bands b = ChartPainter::BandsOf(frame);
  ChartMeasures m;
  m.captionWidth = b.captions.width();
  m.headerHeight = b.header.height();
  m.width = b.header.width();
  m.bodyHeight = b.rows.bottom() + 1 - b.unplanned.top();
  m.firstRowTop = b.rows.top() - b.unplanned.top() + Px(chart::kRowsAreaMargin);
  m.rowPitch = Px(chart::kRowPitch);
  m.dayWidth = printed.Scale.DayWidth / chart::kTwipsPerPixel;
  m.hourWidth = printed.Scale.HourWidth / chart::kTwipsPerPixel;
  return m;
}

// Page units per chart pixel on every paper: landscape A4 holds the captions and one step of
// the display mode, so the bar captions print at about 8 points.
double PrintScale() {
  const double a4 = ChartPdfPageLayout(QPageSize::A4).paintRect(QPageLayout::Point).width();
  return a4 / (Px(chart::kCaptionColumnWidth) + kPrintDayWidthBase / chart::kTwipsPerPixel);
}

PageLayout LayoutOf(const PlanData& data, const chart::ChartModel& printed,
                    const QPageLayout& page) {
  const QRectF area = page.paintRect(QPageLayout::Point);
  return LayOutPages(MeasuresOf(PrintedFrame(data, printed), printed), PrintScale(), area.width(),
                     area.height(), kTitleHeight);
}

QString FromUtf8(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// What every page's title line says, apart from its number, and its font.
struct Title {
  CaptionShaper shaper;
  std::string left;
  std::string printed;
};

// A line of the title drawn as glyphs of the font's character map, so every one is searchable,
// from `x` or, with `right`, up to it.
void DrawTitleText(QPainter& p, Title& title, const std::string& text, double x, bool right) {
  const ShapedLine line = title.shaper.Shape(text, false);
  DrawShapedLine(p, line, QPointF(right ? x - WidthOf(line) : x, kTitleHeight - 6));
}

// The piece `from` of the whole chart (frame pixels) painted with its top-left at `to`.
void PaintPiece(QPainter& p, ChartPainter& chart, const chart::ChartModel& model,
                const ChartFrame& frame, const QRect& from, QPoint to) {
  if (from.isEmpty()) return;
  p.save();
  p.translate(to - from.topLeft());
  chart.Paint(p, model, frame, from);
  p.restore();
}

// Page `n` of `layout` in chart pixels: the title line, then the caption column and the time
// axis beside and above this page's piece of the body.
void PaintPage(QPainter& p, ChartPainter& chart, const chart::ChartModel& model,
               const ChartFrame& frame, const PageLayout& layout, int n, int pages, Title& title) {
  const ChartPainter::Bands b = ChartPainter::BandsOf(frame);
  const PageSpan& time = layout.TimeOf(n);
  const PageSpan& rows = layout.RowsOf(n);
  const int captions = b.captions.width();
  const int header = b.header.height();
  const int top = kTitleHeight;

  p.setPen(Qt::black);
  DrawTitleText(p, title, title.left, 0, false);
  DrawTitleText(p, title,
                title.printed + "   " + std::to_string(n + 1) + " / " + std::to_string(pages),
                layout.across, true);

  PaintPiece(p, chart, model, frame, QRect(0, 0, captions, header), QPoint(0, top));
  PaintPiece(p, chart, model, frame, QRect(captions + time.start, 0, time.length, header),
             QPoint(captions, top));
  PaintPiece(p, chart, model, frame, QRect(0, header + rows.start, captions, rows.length),
             QPoint(0, top + header));
  PaintPiece(p, chart, model, frame,
             QRect(captions + time.start, header + rows.start, time.length, rows.length),
             QPoint(captions, top + header));
}

}  // namespace

QPageLayout ChartPdfPageLayout(QPageSize::PageSizeId size) {
  const QMarginsF margins(kMarginMillimetres, kMarginMillimetres, kMarginMillimetres,
                          kMarginMillimetres);
  return QPageLayout(QPageSize(size), QPageLayout::Landscape, margins, QPageLayout::Millimeter);
}

PageLayout ChartPageLayout(const PlanData& data, const chart::ChartModel& model,
                           const QPageLayout& page) {
  return LayoutOf(data, PrintedChart(data, model), page);
}

bool PaintChartPages(QPagedPaintDevice& device, const PlanData& data,
                     const chart::ChartModel& screen, QDate printed, const LoadTable* load) {
  const chart::ChartModel model = PrintedChart(data, screen);
  const PageLayout layout = LayoutOf(data, model, device.pageLayout());
  const QRectF area = device.pageLayout().paintRect(QPageLayout::Point);
  const ChartFrame frame = PrintedFrame(data, model);
  ChartPainter chart;  // keeps its shaped captions from page to page
  chart.LeaveOutOverlays();
  chart.DrawLabelsAsGlyphs();
  QFont font = chart.BarFont();
  font.setPixelSize(kTitlePixels);
  Title title{CaptionShaper(font, font),
              data.CategoryCaption + "   " + data.PeriodStart() + "～" + data.PeriodEnd(),
              "印刷日 " + printed.toString(QStringLiteral("yyyy/MM/dd")).toStdString()};

  std::optional<LoadPages> loadPages;
  if (load != nullptr) loadPages.emplace(*load, area.width(), area.height(), font);
  const int chartPages = layout.PageCount();
  const int pages = chartPages + (loadPages ? loadPages->PageCount() : 0);

  QPainter p;
  if (!p.begin(&device)) return false;
  // Page layouts are in points; the painter starts in device pixels.
  const double points = device.logicalDpiX() / 72.0;
  // A printer's dialog may have picked some pages; page numbers count from 1.
  const QPageRanges picked = device.pageRanges();
  bool first = true;
  for (int n = 0; n < pages; ++n) {
    if (!picked.isEmpty() && !picked.contains(n + 1)) continue;
    if (!first && !device.newPage()) return false;
    first = false;
    p.save();
    if (n < chartPages) {
      p.scale(layout.scale * points, layout.scale * points);
      PaintPage(p, chart, model, frame, layout, n, pages, title);
    } else {
      p.scale(points, points);
      loadPages->Paint(
          p, n - chartPages, title.left,
          title.printed + "   " + std::to_string(n + 1) + " / " + std::to_string(pages));
    }
    p.restore();
  }
  return p.end();
}

void SaveChartPdf(const PlanData& data, const chart::ChartModel& model,
                  const std::filesystem::path& path, QPageSize::PageSizeId size, QDate printed,
                  const LoadTable* load) {
  QSaveFile file(QString::fromStdString(path.string()));
  const auto failed = [&] {
    return std::filesystem::filesystem_error(
        "cannot write PDF: " + file.errorString().toStdString(), path,
        std::make_error_code(std::errc::io_error));
  };
  ToUnicodeMending mending(file);
  if (!file.open(QIODevice::WriteOnly) ||
      !mending.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
    throw failed();
  bool painted = false;
  {
    QPdfWriter pdf(&mending);
    pdf.setResolution(kPdfResolution);
    pdf.setPageLayout(ChartPdfPageLayout(size));
    pdf.setCreator(QStringLiteral("Velmora"));
    pdf.setTitle(FromUtf8(data.CategoryCaption));
    painted = PaintChartPages(pdf, data, model, printed, load);
  }
  if (!painted || !file.commit()) throw failed();
}

}  // namespace velmora::ui
