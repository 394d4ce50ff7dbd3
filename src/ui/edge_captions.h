#pragma once

#include <QRegion>

#include "chart/chart_model.h"
#include "ui/chart_frame.h"

namespace velmora::ui {

// A bar that starts left of what the rows area shows has its caption at the area's left edge.
// When the rows move across by `scrolledTwips` (the change of the surface's left), the pixels
// that move along carry such captions away from the edge: these are the pixels to paint again,
// the visible parts of the bars that cross the edge before or after the move.
QRegion EdgeCaptionsRegion(const chart::ChartModel& model, const ChartFrame& frame,
                           double scrolledTwips);

}  // namespace velmora::ui
