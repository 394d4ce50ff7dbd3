#include "ui/chart_painter.h"

#include <QPoint>
#include <algorithm>
#include <cmath>

#include "ui/surface_area.h"

namespace velmora::ui {

using chart::ChartModel;
using chart::Surface;

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

ChartFrame ChartPainter::ViewportFrame(const ChartModel& model) {
  ChartFrame f;
  f.width = model.Picture1.Width;
  f.rowsHeight = model.Picture1.Height - chart::kHeaderBandHeight - chart::kUnplannedBandHeight;
  f.platFormLeft = model.PlatForm.Left;
  f.platForm2Left = model.PlatForm2.Left;
  f.platForm3Left = model.PlatForm3.Left;
  f.platFormTop = model.PlatForm.Top;
  f.captions = &model.MachineName[1];
  // Only the slots that show a row: no empty cells below the last one.
  const double rows = (model.PlatForm.Height - chart::kRowsAreaMargin) / chart::kRowPitch;
  f.captionCount =
      std::clamp(static_cast<int>(std::lround(rows)) - model.KScroll.Value, 0, model.VisibleRows);
  if (model.MachineMark.size() > 1) {
    f.marks = &model.MachineMark[1];
    f.markCount = static_cast<int>(model.MachineMark.size()) - 1;
  }
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

SurfaceArea AreaOf(Surface surface, const ChartModel& model, const ChartFrame& frame,
                   const QRect& dirty) {
  const ChartPainter::Bands b = ChartPainter::BandsOf(frame);
  switch (surface) {
    case Surface::PlatForm:
      return SurfaceArea(b.rows, model.PlatForm, frame.platFormLeft, frame.platFormTop, dirty);
    case Surface::PlatForm2:
      return SurfaceArea(b.unplanned, model.PlatForm2, frame.platForm2Left, 0, dirty);
    case Surface::PlatForm3:
      break;
  }
  return SurfaceArea(b.header, model.PlatForm3, frame.platForm3Left, 0, dirty);
}

}  // namespace velmora::ui
