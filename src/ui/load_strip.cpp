#include "ui/load_strip.h"

#include <QComboBox>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <algorithm>

#include "chart/legend.h"
#include "ui/chart_painter.h"
#include "ui/surface_area.h"

namespace velmora::ui {
namespace {

const QColor kBackground(250, 250, 250);
const QColor kCaptionBackground(236, 236, 236);
const QColor kUsed = ToQColor(chart::kLoadUsedColor);
const QColor kOver = ToQColor(chart::kOverloadColor);
const QColor kPreview = ToQColor(chart::kLoadAfterDropColor, 170);
const QColor kPreviewOver = ToQColor(chart::kOverloadColor, 90);
const QColor kLine(30, 30, 30);
const QColor kGrid(220, 220, 220);
constexpr int kTop = 16;  // room for the figures above the tallest column
constexpr int kBottom = 4;

QString FromUtf8(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

LoadStrip::LoadStrip(const chart::ChartModel& model, QWidget* parent)
    : QWidget(parent), model_(model), choice_(new QComboBox(this)) {
  choice_->addItem("選択した行");
  choice_->addItem("全機械");
  choice_->setToolTip("負荷を見る行: 最後にクリックした行、または全機械の合計");
  choice_->move(2, 2);
  connect(choice_, &QComboBox::currentIndexChanged, this, [this] { emit choiceChanged(); });
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

bool LoadStrip::FollowsRow() const {
  return choice_->currentIndex() == 0;
}

void LoadStrip::Show(std::vector<LoadLaneView> lanes) {
  lanes_ = std::move(lanes);
  update();
}

int LoadStrip::CaptionWidth() const {
  return ChartPainter::BandsOf(ChartPainter::ViewportFrame(model_)).rows.left();
}

QRect LoadStrip::LaneRect(std::size_t lane) const {
  const int count = std::max<int>(1, static_cast<int>(lanes_.size()));
  const int top = height() * static_cast<int>(lane) / count;
  const int bottom = height() * (static_cast<int>(lane) + 1) / count;
  return QRect(0, top, width(), bottom - top);
}

std::pair<int, int> LoadStrip::Span(const LoadColumn& column) const {
  const ChartFrame frame = ChartPainter::ViewportFrame(model_);
  const SurfaceArea area = AreaOf(chart::Surface::PlatForm, model_, frame, rect());
  const chart::TimeScale& scale = model_.Scale;
  const auto x = [&](DateTime t) {
    return area.X(scale.TimeToX(t.DatePart(), t.TimePart(), chart::TimeKind::Rows));
  };
  return {x(column.start), x(column.end)};
}

int LoadStrip::BucketAt(QPoint at) const {
  if (at.x() < CaptionWidth()) return -1;
  int first = 0;
  for (std::size_t l = 0; l < lanes_.size(); ++l) {
    const std::vector<LoadColumn>& columns = lanes_[l].columns;
    if (LaneRect(l).contains(at)) {
      for (std::size_t k = 0; k < columns.size(); ++k) {
        const auto [left, right] = Span(columns[k]);
        if (at.x() >= left && at.x() < right) return first + static_cast<int>(k);
      }
      return -1;
    }
    first += static_cast<int>(columns.size());
  }
  return -1;
}

void LoadStrip::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const int captions = CaptionWidth();
  p.fillRect(rect(), kBackground);
  p.fillRect(QRect(0, 0, captions, height()), kCaptionBackground);
  for (std::size_t l = 0; l < lanes_.size(); ++l) {
    const QRect lane = LaneRect(l);
    const int titleTop = l == 0 ? choice_->height() + 4 : lane.top() + 2;
    p.setClipping(false);
    p.setPen(Qt::black);
    p.drawText(QRect(4, titleTop, captions - 8, lane.bottom() - titleTop),
               Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, FromUtf8(lanes_[l].title));
    if (l > 0) {
      p.setPen(kGrid);
      p.drawLine(0, lane.top(), width(), lane.top());
    }
    PaintLane(p, lanes_[l], QRect(captions, lane.top(), width() - captions, lane.height()));
  }
}

void LoadStrip::PaintLane(QPainter& p, const LoadLaneView& lane, const QRect& area) {
  // The scale: the tallest of what is on screen, capacity or use, fills the lane.
  std::int64_t most = 1;
  std::vector<std::pair<int, int>> spans;
  for (const LoadColumn& c : lane.columns) {
    spans.push_back(Span(c));
    if (spans.back().second < area.left() || spans.back().first > area.right()) continue;
    most = std::max({most, c.used, c.available.value_or(0), c.preview.value_or(0)});
  }
  const int room = std::max(1, area.height() - kTop - kBottom);
  const int base = area.bottom() - kBottom;
  const auto y = [&](std::int64_t minutes) {
    return base - static_cast<int>(minutes * room / most);
  };
  p.setClipRect(area);
  const QFontMetrics metrics(font());
  QPolygon capacity;
  for (std::size_t k = 0; k < lane.columns.size(); ++k) {
    const LoadColumn& c = lane.columns[k];
    const auto [left, right] = spans[k];
    if (right < area.left() || left > area.right()) continue;
    p.setPen(kGrid);
    p.drawLine(left, area.top(), left, area.bottom());
    const std::int64_t line = c.available.value_or(c.used);
    const int w = std::max(1, right - left - 2);
    if (c.used > 0) {
      const std::int64_t within = std::min(c.used, line);
      p.fillRect(QRect(left + 1, y(within), w, base - y(within)), kUsed);
      if (c.used > line) p.fillRect(QRect(left + 1, y(c.used), w, y(line) - y(c.used)), kOver);
    }
    if (c.preview && *c.preview != c.used) {
      p.fillRect(QRect(left + 1, y(*c.preview), w, base - y(*c.preview)),
                 c.available && *c.preview > line ? kPreviewOver : kPreview);
    }
    if (c.available) capacity << QPoint(left, y(*c.available)) << QPoint(right, y(*c.available));
    const QString figure = FromUtf8(c.figure);
    if (!figure.isEmpty() && metrics.horizontalAdvance(figure) + 2 <= right - left) {
      p.setPen(c.available && c.used > *c.available ? kOver : Qt::black);
      const int top = std::max(area.top() + metrics.ascent(), y(std::max(c.used, line)) - 2);
      p.drawText(QPoint(left + (right - left - metrics.horizontalAdvance(figure)) / 2, top),
                 figure);
    }
  }
  if (!capacity.isEmpty()) {
    p.setPen(QPen(kLine, 1));
    p.drawPolyline(capacity);
  }
}

void LoadStrip::mousePressEvent(QMouseEvent* event) {
  const int k = BucketAt(event->position().toPoint());
  if (k >= 0) emit bucketClicked(k);
}

bool LoadStrip::event(QEvent* event) {
  if (event->type() == QEvent::ToolTip) {
    const auto* help = static_cast<QHelpEvent*>(event);
    const int k = BucketAt(help->pos());
    const QString tip = k >= 0 && TipFor ? TipFor(k) : QString();
    if (tip.isEmpty()) {
      QToolTip::hideText();
    } else {
      QToolTip::showText(help->globalPos(), tip, this);
    }
    return true;
  }
  return QWidget::event(event);
}

}  // namespace velmora::ui
