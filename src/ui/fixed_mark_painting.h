#pragma once

#include <QRect>

#include "chart/chart_model.h"

class QPainter;

namespace velmora::ui {

// The mark of a fixed plan on its bar `bar` (pixels): a dark band along the right end when its
// end is fixed, and a dark frame round it as well when the whole plan is. The chart, its pages
// and the legend draw it alike.
void PaintFixedMark(QPainter& painter, chart::Pin pin, const QRect& bar);

}  // namespace velmora::ui
