#pragma once

#include <QPoint>
#include <QRect>
#include <algorithm>

#include "chart/chart_model.h"
#include "ui/chart_frame.h"
#include "ui/pixels.h"

namespace velmora::ui {

// One band of the frame showing one surface: maps the surface's twips to device pixels and
// knows which twips are visible.
struct SurfaceArea {
  SurfaceArea(QRect band, const chart::ChartSurface& surface, double surfaceLeft, double surfaceTop,
              const QRect& dirty)
      : band(band), leftTwips(surfaceLeft - surface.ScaleLeft), topTwips(surfaceTop) {
    const QRect extent(QPoint(X(surface.ScaleLeft), Y(0)),
                       QPoint(X(surface.ScaleLeft + surface.Width) - 1, Y(surface.Height) - 1));
    shown = surface.Visible ? (band & extent) : QRect();
    clip = shown & dirty;
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
  QRect shown;  // the part of the band the surface covers, whatever is being painted
  QRect clip;   // the part of that being painted
  double leftTwips;
  double topTwips;
  double x0 = 0, x1 = 0, y0 = 0, y1 = 0;
};

// The band of `frame` that shows `surface`, limited to `dirty`.
SurfaceArea AreaOf(chart::Surface surface, const chart::ChartModel& model, const ChartFrame& frame,
                   const QRect& dirty);

}  // namespace velmora::ui
