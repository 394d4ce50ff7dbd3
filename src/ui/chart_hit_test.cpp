#include "ui/chart_painter.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "ui/surface_area.h"

namespace velmora::ui {

using chart::BarLabel;
using chart::ChartModel;
using chart::Surface;

namespace {

// A point of the caption column below the header bands: the row caption slot it lies in, if the
// frame shows one there.
ChartHit HitRowCaption(const ChartPainter::Bands& b, const ChartFrame& frame, QPoint point) {
  ChartHit hit;
  const double y = (point.y() - b.rows.top()) * chart::kTwipsPerPixel - chart::kRowsAreaMargin;
  const int slot = static_cast<int>(std::floor(y / chart::kRowPitch));
  if (slot >= 0 && slot < frame.captionCount) {
    hit.target = ChartHit::Target::MachineName;
    hit.index = slot + 1;
  }
  return hit;
}

// Whether the point lies on the surface the area shows; if so, `hit` gets the point in the
// surface's twips and the front-most bar under it, else the surface itself.
bool HitSurface(const ChartModel& model, const SurfaceArea& area, Surface surface,
                ChartHit::Target target, QPoint point, ChartHit& hit) {
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
}

}  // namespace

ChartHit ChartPainter::HitTest(const ChartModel& model, const ChartFrame& frame,
                               QPoint point) const {
  const Bands b = BandsOf(frame);
  if (b.captions.contains(point) && point.y() >= b.rows.top()) {
    return HitRowCaption(b, frame, point);
  }

  ChartHit hit;
  const QRect all(QPoint(0, 0), FrameSize(frame));
  // The caption box floats in front of everything on its surface.
  const chart::CaptionBox& box = model.GradeName;
  if (box.Visible) {
    const SurfaceArea area = AreaOf(box.Container, model, frame, all);
    if ((CaptionBoxRect(box, area) & area.clip).contains(point)) {
      hit.target = ChartHit::Target::GradeName;
      hit.x = area.SurfaceX(point.x());
      hit.y = area.SurfaceY(point.y());
      return hit;
    }
  }

  constexpr std::pair<Surface, ChartHit::Target> kSurfaces[] = {
      {Surface::PlatForm, ChartHit::Target::PlatForm},
      {Surface::PlatForm2, ChartHit::Target::PlatForm2},
      {Surface::PlatForm3, ChartHit::Target::PlatForm3},
  };
  for (const auto& [surface, target] : kSurfaces) {
    if (HitSurface(model, AreaOf(surface, model, frame, all), surface, target, point, hit)) break;
  }
  return hit;
}

}  // namespace velmora::ui
