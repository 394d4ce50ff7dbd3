#include "ui/chart_image.h"

#include <QPainter>

#include "ui/chart_painter.h"

namespace velmora::ui {

QImage RenderChartImage(const PlanData& data, const chart::ChartModel& model) {
  const ChartFrame frame = ChartPainter::WholeChartFrame(data, model);
  QImage image(ChartPainter::FrameSize(frame), QImage::Format_ARGB32_Premultiplied);
  if (image.isNull()) return image;
  QPainter painter(&image);
  ChartPainter().Paint(painter, model, frame);
  return image;
}

bool SaveChartPng(const PlanData& data, const chart::ChartModel& model, const QString& path) {
  const QImage image = RenderChartImage(data, model);
  return !image.isNull() && image.save(path, "PNG");
}

}  // namespace velmora::ui
