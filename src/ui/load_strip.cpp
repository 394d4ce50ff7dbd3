#include "ui/load_strip.h"

#include <QComboBox>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <algorithm>

#include "ui/chart_painter.h"
#include "ui/surface_area.h"

namespace velmora::ui {
namespace {

const QColor kBackground(250, 250, 250);
const QColor kCaptionBackground(236, 236, 236);
const QColor kUsed(110, 140, 190);
const QColor kOver(220, 50, 50);
const QColor kPreview(110, 140, 190, 90);
const QColor kPreviewOver(220, 50, 50, 90);
const QColor kLine(30, 30, 30);
const QColor kGrid(220, 220, 220);
constexpr int kTop = 16;  // room for the figures above the tallest column
constexpr int kBottom = 4;

QString FromUtf8(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The figure a bucket shows: the whole percent, "休" with the minutes of a day without working
// time, and for rows without a calendar the number of plans.
QString Figure(const LoadColumn& c) {
  if (!c.available) return c.plans > 0 ? QString::number(c.plans) + "件" : QString();
  if (*c.available <= 0) return c.used > 0 ? "休" + QString::number(c.used) : QString();
  return QString::number((c.used * 200 + *c.available) / (*c.available * 2)) + "%";
}

}  // namespace

LoadStrip::LoadStrip(const chart::ChartModel& model, QWidget* parent)
    : QWidget(parent), model_(model), choice_(new QComboBox(this)) {
  choice_->addItem("選択した行");
  choice_->addItem("全機械");
  choice_->setToolTip("負荷を見る行: 行見出しをクリックした行、または全機械の合計");
  choice_->move(2, 2);
  connect(choice_, &QComboBox::currentIndexChanged, this, [this] { emit choiceChanged(); });
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

bool LoadStrip::FollowsRow() const {
  return choice_->currentIndex() == 0;
}

void LoadStrip::Show(LoadStripContent content) {
  content_ = std::move(content);
  update();
}

int LoadStrip::CaptionWidth() const {
  return ChartPainter::BandsOf(ChartPainter::ViewportFrame(model_)).rows.left();
}

std::pair<int, int> LoadStrip::Span(const LoadColumn& column) const {
  const ChartFrame frame = ChartPainter::ViewportFrame(model_);
  const SurfaceArea area = AreaOf(chart::Surface::PlatForm, model_, frame, rect());
  const chart::TimeScale& scale = model_.Scale;
  const auto x = [&](DateTime t) {
    return area.X(scale.TimeToX(t.DatePart(), t - t.DatePart(), chart::TimeKind::Rows));
  };
  return {x(column.start), x(column.end)};
}

int LoadStrip::BucketAt(int x) const {
  for (std::size_t k = 0; k < content_.columns.size(); ++k) {
    const auto [left, right] = Span(content_.columns[k]);
    if (x >= left && x < right) return static_cast<int>(k);
  }
  return -1;
}

void LoadStrip::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const int captions = CaptionWidth();
  const QRect chart(captions, 0, width() - captions, height());
  p.fillRect(rect(), kBackground);
  p.fillRect(QRect(0, 0, captions, height()), kCaptionBackground);
  p.setPen(Qt::black);
  p.drawText(QRect(4, choice_->height() + 4, captions - 8, height() - choice_->height() - 4),
             Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, FromUtf8(content_.title));

  // The scale: the tallest of what is on screen, capacity or use, fills the strip.
  std::int64_t most = 1;
  std::vector<std::pair<int, int>> spans;
  for (const LoadColumn& c : content_.columns) {
    spans.push_back(Span(c));
    if (spans.back().second < chart.left() || spans.back().first > chart.right()) continue;
    most = std::max({most, c.used, c.available.value_or(0), c.preview.value_or(0)});
  }
  const int room = std::max(1, height() - kTop - kBottom);
  const auto y = [&](std::int64_t minutes) {
    return height() - kBottom - static_cast<int>(minutes * room / most);
  };
  p.setClipRect(chart);
  const QFontMetrics metrics(font());
  QPolygon capacity;
  for (std::size_t k = 0; k < content_.columns.size(); ++k) {
    const LoadColumn& c = content_.columns[k];
    const auto [left, right] = spans[k];
    if (right < chart.left() || left > chart.right()) continue;
    p.setPen(kGrid);
    p.drawLine(left, 0, left, height());
    const std::int64_t line = c.available.value_or(c.used);
    const int base = y(0);
    if (c.used > 0) {
      const int w = std::max(1, right - left - 2);
      p.fillRect(QRect(left + 1, y(std::min(c.used, line)), w, base - y(std::min(c.used, line))),
                 kUsed);
      if (c.used > line) p.fillRect(QRect(left + 1, y(c.used), w, y(line) - y(c.used)), kOver);
    }
    if (c.preview && *c.preview != c.used) {
      const int w = std::max(1, right - left - 2);
      const std::int64_t after = *c.preview;
      p.fillRect(QRect(left + 1, y(after), w, base - y(after)),
                 after > line ? kPreviewOver : kPreview);
    }
    if (c.available) {
      capacity << QPoint(left, y(*c.available)) << QPoint(right, y(*c.available));
    }
    const QString figure = Figure(c);
    if (!figure.isEmpty() && metrics.horizontalAdvance(figure) + 2 <= right - left) {
      p.setPen(c.available && c.used > *c.available ? kOver : Qt::black);
      const int top = std::max(metrics.ascent(), y(std::max(c.used, line)) - 2);
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
  const int k = BucketAt(event->position().toPoint().x());
  if (k >= 0 && event->position().x() >= CaptionWidth()) emit bucketClicked(k);
}

bool LoadStrip::event(QEvent* event) {
  if (event->type() == QEvent::ToolTip) {
    const auto* help = static_cast<QHelpEvent*>(event);
    const int k = help->pos().x() >= CaptionWidth() ? BucketAt(help->pos().x()) : -1;
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
