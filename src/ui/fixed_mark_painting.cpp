#include "ui/fixed_mark_painting.h"

#include <QPainter>
#include <algorithm>

#include "chart/legend.h"
#include "ui/chart_painter.h"

namespace velmora::ui {

void PaintFixedMark(QPainter& painter, chart::Pin pin, const QRect& bar) {
  if (pin == chart::Pin::None || bar.isEmpty()) return;
  const QColor color = ToQColor(chart::kFixedMarkColor);
  // Three pixels, less on the narrowest bars so that their colour still shows.
  const int band = std::clamp(bar.width() / 3, 1, 3);
  painter.fillRect(QRect(bar.right() + 1 - band, bar.top(), band, bar.height()), color);
  if (pin != chart::Pin::Whole) return;
  painter.save();
  painter.setPen(QPen(color, 0));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(bar.adjusted(0, 0, -1, -1));
  painter.restore();
}

}  // namespace velmora::ui
