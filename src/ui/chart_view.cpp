#include "ui/chart_view.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "chart/scrolling.h"
#include "ui/edge_captions.h"

namespace velmora::ui {

class ChartView::CanvasWidget : public QWidget {
 public:
  explicit CanvasWidget(ChartView* view) : QWidget(view), view_(view) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    // A click on the chart gives it the keys.
    setFocusPolicy(Qt::ClickFocus);
  }

 protected:
  bool event(QEvent* e) override {
    if (e->type() != QEvent::ToolTip) return QWidget::event(e);
    auto* help = static_cast<QHelpEvent*>(e);
    const ChartHit hit = view_->painter_.HitTest(
        view_->model_, ChartPainter::ViewportFrame(view_->model_), help->pos());
    const QString tip = view_->TipFor ? view_->TipFor(hit) : QString();
    if (tip.isEmpty()) {
      QToolTip::hideText();
      e->ignore();
    } else {
      QToolTip::showText(help->globalPos(), tip, this);
    }
    return true;
  }
  void paintEvent(QPaintEvent* event) override {
    QPainter painter(this);
    view_->painter_.Paint(painter, view_->model_, ChartPainter::ViewportFrame(view_->model_),
                          event->rect());
  }
  void mousePressEvent(QMouseEvent* e) override {
    Forward(ChartMouseEvent::Kind::Press, e, e->button());
  }
  void mouseReleaseEvent(QMouseEvent* e) override {
    Forward(ChartMouseEvent::Kind::Release, e, e->button());
  }
  void mouseMoveEvent(QMouseEvent* e) override {
    Forward(ChartMouseEvent::Kind::Move, e, e->buttons());
  }
  void mouseDoubleClickEvent(QMouseEvent* e) override {
    Forward(ChartMouseEvent::Kind::DoubleClick, e, e->button());
  }
  void wheelEvent(QWheelEvent* e) override {
    const QRect rows = ChartPainter::BandsOf(ChartPainter::ViewportFrame(view_->model_)).rows;
    const double x = (e->position().x() - rows.left()) * chart::kTwipsPerPixel;
    emit view_->chartWheel(e->angleDelta(), e->modifiers(), x);
    e->accept();
  }
  void keyPressEvent(QKeyEvent* e) override {
    switch (e->key()) {
      case Qt::Key_Left:
      case Qt::Key_Right:
      case Qt::Key_Up:
      case Qt::Key_Down:
      case Qt::Key_PageUp:
      case Qt::Key_PageDown:
      case Qt::Key_Home:
      case Qt::Key_End:
        emit view_->chartKey(e->key());
        e->accept();
        return;
      default:
        QWidget::keyPressEvent(e);
    }
  }

 private:
  void Forward(ChartMouseEvent::Kind kind, QMouseEvent* e, Qt::MouseButtons buttons) {
    view_->Dispatch(kind, e->position().toPoint(), buttons, e->modifiers());
  }

  ChartView* view_;
};

ChartView::ChartView(PlanData& data, chart::ChartModel& model, QWidget* parent)
    : QWidget(parent),
      data_(data),
      model_(model),
      canvas_(new CanvasWidget(this)),
      hScroll_(new QScrollBar(Qt::Horizontal, this)),
      kScroll_(new QScrollBar(Qt::Vertical, this)) {
  // Change and Scroll of each bar run the same handler: dragging the thumb scrolls as it goes.
  connect(hScroll_, &QScrollBar::valueChanged, this, [this](int value) {
    if (syncing_) return;
    const double before = model_.PlatForm.Left;
    chart::SetHScroll1Value(data_, model_, value);
    ScrollPicture(model_.PlatForm.Left - before);
    overlaysKnown_ = false;
    emit scrolled();
  });
  connect(kScroll_, &QScrollBar::valueChanged, this, [this](int value) {
    if (syncing_) return;
    chart::SetKScrollValue(data_, model_, value);
    canvas_->update();
    overlaysKnown_ = false;
    emit scrolled();
  });
  Refresh();
}

ChartView::~ChartView() = default;

QWidget* ChartView::Canvas() const {
  return canvas_;
}

void ChartView::Refresh() {
  SyncScrollBars();
  PlaceChildren();
  canvas_->update();
  overlays_ = painter_.OverlayRegion(model_, ChartPainter::ViewportFrame(model_));
  overlaysKnown_ = true;
}

void ChartView::RefreshOverlays() {
  const QRegion now = painter_.OverlayRegion(model_, ChartPainter::ViewportFrame(model_));
  if (overlaysKnown_) {
    canvas_->update(overlays_ | now);
  } else {
    canvas_->update();
  }
  overlays_ = now;
  overlaysKnown_ = true;
}

void ChartView::Scrolled(double twips, bool rows) {
  SyncScrollBars();
  if (rows) {
    canvas_->update();
  } else {
    ScrollPicture(twips);
  }
  overlaysKnown_ = false;
  emit scrolled();
}

QSize ChartView::sizeHint() const {
  const QSize chart = ChartPainter::FrameSize(ChartPainter::ViewportFrame(model_));
  return chart + QSize(kScroll_->sizeHint().width(), hScroll_->sizeHint().height());
}

QSize ChartView::minimumSizeHint() const {
  // The captions, a few hours of time, the bands and three rows.
  ChartFrame small;
  small.width = 320 * chart::kTwipsPerPixel;
  small.rowsHeight = 3 * chart::kRowPitch + chart::kRowsAreaMargin;
  const QSize chart = ChartPainter::FrameSize(small);
  return chart + QSize(kScroll_->sizeHint().width(), hScroll_->sizeHint().height());
}

QSizeF ChartView::RoomForChart() const {
  const ChartPainter::Bands bands = ChartPainter::BandsOf(ChartPainter::ViewportFrame(model_));
  const int width = this->width() - bands.rows.left() - kScroll_->sizeHint().width();
  const int rows = height() - bands.rows.top() - hScroll_->sizeHint().height();
  return QSizeF(std::max(1, width), std::max(1, rows)) * chart::kTwipsPerPixel;
}

void ChartView::OnChartMouse(const ChartMouseEvent& event) {
  emit chartMouse(event);
}

void ChartView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  PlaceChildren();
  emit resized();
}

void ChartView::ScrollPicture(double twips) {
  // The header and the rows move by whole pixels (a scroll unit is one): the pixels already
  // painted move along and only the uncovered strip is painted. The unplanned band stays.
  const int dx = static_cast<int>(std::lround(twips / chart::kTwipsPerPixel));
  const ChartPainter::Bands bands = ChartPainter::BandsOf(ChartPainter::ViewportFrame(model_));
  if (dx == 0) return;
  if (std::abs(dx) >= bands.rows.width()) {
    canvas_->update();
    return;
  }
  canvas_->scroll(dx, 0, bands.header);
  canvas_->scroll(dx, 0, bands.rows);
  canvas_->update(EdgeCaptionsRegion(model_, ChartPainter::ViewportFrame(model_), twips));
}

void ChartView::PlaceChildren() {
  const QSize chart = ChartPainter::FrameSize(ChartPainter::ViewportFrame(model_));
  canvas_->setGeometry(0, 0, chart.width(), chart.height());
  const int captionWidth = static_cast<int>(chart::kCaptionColumnWidth / chart::kTwipsPerPixel);
  const int rowsTop = static_cast<int>((chart::kHeaderBandHeight + chart::kUnplannedBandHeight) /
                                       chart::kTwipsPerPixel);
  kScroll_->setGeometry(chart.width(), rowsTop, kScroll_->sizeHint().width(),
                        chart.height() - rowsTop);
  hScroll_->setGeometry(captionWidth, chart.height(), chart.width() - captionWidth,
                        hScroll_->sizeHint().height());
}

void ChartView::SyncScrollBars() {
  syncing_ = true;
  auto sync = [](QScrollBar* bar, const chart::ScrollBarState& state) {
    bar->setRange(std::min(state.Min, state.Max), std::max(state.Min, state.Max));
    bar->setSingleStep(state.SmallChange);
    bar->setPageStep(state.LargeChange);
    bar->setValue(state.Value);
    bar->setEnabled(state.Enabled);
  };
  sync(hScroll_, model_.HScroll1);
  sync(kScroll_, model_.KScroll);
  syncing_ = false;
}

void ChartView::Dispatch(ChartMouseEvent::Kind kind, const QPoint& at, Qt::MouseButtons buttons,
                         Qt::KeyboardModifiers keys) {
  ChartMouseEvent event;
  event.kind = kind;
  event.at = at;
  event.hit = painter_.HitTest(model_, ChartPainter::ViewportFrame(model_), at);
  event.button = (buttons & Qt::LeftButton ? 1 : 0) | (buttons & Qt::RightButton ? 2 : 0) |
                 (buttons & Qt::MiddleButton ? 4 : 0);
  event.shift = (keys & Qt::ShiftModifier ? 1 : 0) | (keys & Qt::ControlModifier ? 2 : 0) |
                (keys & Qt::AltModifier ? 4 : 0);
  OnChartMouse(event);
}

}  // namespace velmora::ui
