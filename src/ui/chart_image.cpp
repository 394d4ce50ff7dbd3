#include "ui/chart_image.h"

#include <QPainter>
#include <algorithm>
#include <new>

#include "ui/chart_painter.h"
#include "ui/png_rows.h"

namespace velmora::ui {
namespace {

// Some 5 MB of pixels for the widest charts: small beside a whole image, and tall enough that
// the per-paint work (sorting the bars, laying out labels) does not repeat too often.
constexpr int kBandHeight = 64;

// The day view's picture covers its first 17 days, as it always has: the whole period would pass
// the 32767 pixels across that raster painters and most image viewers take.
constexpr int kDayModePictureDays = 17;

ChartFrame PictureFrame(const PlanData& data, const chart::ChartModel& model) {
  ChartFrame frame = ChartPainter::WholeChartFrame(data, model);
  if (model.Scale.DisplayMode == 1) {
    frame.width = std::min<double>(frame.width, kDayModePictureDays * model.Scale.DayWidth);
  }
  return frame;
}

}  // namespace

QImage RenderChartImage(const PlanData& data, const chart::ChartModel& model) {
  const ChartFrame frame = PictureFrame(data, model);
  QImage image(ChartPainter::FrameSize(frame), QImage::Format_ARGB32_Premultiplied);
  if (image.isNull()) return image;
  QPainter painter(&image);
  ChartPainter().Paint(painter, model, frame);
  return image;
}

void RenderChartBands(const PlanData& data, const chart::ChartModel& model, int bandHeight,
                      const std::function<void(const QImage& band, int top, int rows)>& take) {
  const ChartFrame frame = PictureFrame(data, model);
  const QSize size = ChartPainter::FrameSize(frame);
  QImage band(size.width(), std::min(bandHeight, size.height()),
              QImage::Format_ARGB32_Premultiplied);
  if (band.isNull()) throw std::bad_alloc();
  ChartPainter painter;  // keeps its shaped captions from band to band
  for (int top = 0; top < size.height(); top += band.height()) {
    const int rows = std::min(band.height(), size.height() - top);
    {
      QPainter p(&band);
      p.translate(0, -top);
      painter.Paint(p, model, frame, QRect(0, top, size.width(), rows));
    }
    take(band, top, rows);
  }
}

void SaveChartPng(const PlanData& data, const chart::ChartModel& model,
                  const std::filesystem::path& path) {
  const QSize size = ChartPainter::FrameSize(PictureFrame(data, model));
  PngRowWriter png(path, size.width(), size.height());
  RenderChartBands(data, model, kBandHeight, [&](const QImage& band, int, int rows) {
    for (int y = 0; y < rows; ++y) {
      png.WriteRow(reinterpret_cast<const std::uint32_t*>(band.constScanLine(y)));
    }
  });
  png.Finish();
}

}  // namespace velmora::ui
