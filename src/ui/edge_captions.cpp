#include "ui/edge_captions.h"

#include <algorithm>

#include "ui/chart_painter.h"
#include "ui/surface_area.h"

namespace velmora::ui {

QRegion EdgeCaptionsRegion(const chart::ChartModel& model, const ChartFrame& frame,
                           double scrolledTwips) {
  const ChartPainter::Bands bands = ChartPainter::BandsOf(frame);
  const SurfaceArea area = AreaOf(chart::Surface::PlatForm, model, frame, bands.rows);
  if (area.shown.isEmpty()) return {};
  const double edge = area.SurfaceX(area.shown.left());
  const double from = std::min(edge, edge + scrolledTwips);
  const double to = std::max(edge, edge + scrolledTwips);
  QRegion region;
  for (const auto* bars : {&model.PlanBar, &model.PlanJBar}) {
    for (const chart::BarLabel& bar : *bars) {
      if (!bar.Visible || bar.Container != chart::Surface::PlatForm || bar.Width <= 0) continue;
      if (bar.Left >= to || bar.Left + bar.Width <= from) continue;
      // One pixel more on each side: the progress bar's caption lies one pixel off its bar.
      const QRect rect = area.Rect(bar.Left, bar.Top, bar.Width, bar.Height).adjusted(-1, -1, 1, 1);
      region += QRect(QPoint(area.shown.left(), rect.top()), rect.bottomRight()) & area.shown;
    }
  }
  return region;
}

}  // namespace velmora::ui
