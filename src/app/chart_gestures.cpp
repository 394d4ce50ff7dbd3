#include "app/chart_gestures.h"

#include <QApplication>
#include <QCursor>
#include <QToolTip>

#include "session/plan_texts.h"

namespace velmora {

ChartGestures::ChartGestures(EditSession& session, ui::ChartView& view, QObject* parent)
    : QObject(parent), session_(session), view_(view) {
  session_.ClickDistance = QApplication::startDragDistance();
  session_.HitAt = [this](int x, int y) {
    const chart::ChartModel& model = session_.Chart();
    return view_.Painter().HitTest(model, ui::ChartPainter::ViewportFrame(model), QPoint(x, y));
  };
  view_.TipFor = [this](const chart::ChartHit& hit) {
    // A marked caption says which day is over its hours.
    const std::vector<std::string>& marks = session_.Chart().MachineMark;
    if (hit.target == chart::ChartHit::Target::MachineName && hit.index >= 1 &&
        static_cast<std::size_t>(hit.index) < marks.size()) {
      return QString::fromStdString(marks[static_cast<std::size_t>(hit.index)]);
    }
    const bool bar = hit.target == chart::ChartHit::Target::PlanBar ||
                     hit.target == chart::ChartHit::Target::PlanJBar;
    if (!bar || session_.Dragging()) return QString();
    return QString::fromStdString(session_.TipFor(BarIdx{hit.index}));
  };
  autoScroll_.setInterval(kAutoScrollMs);
  connect(&autoScroll_, &QTimer::timeout, this, [this] { Show(session_.RepeatDragOver()); });
  connect(&view, &ui::ChartView::chartMouse, this, &ChartGestures::Handle);
  connect(&view, &ui::ChartView::chartWheel, this, &ChartGestures::Wheel);
  connect(&view, &ui::ChartView::chartKey, this, &ChartGestures::Key);
}

void ChartGestures::Handle(const ui::ChartMouseEvent& event) {
  using Kind = ui::ChartMouseEvent::Kind;
  PointerEvent pointer;
  switch (event.kind) {
    case Kind::Press:
      pointer.kind = PointerEvent::Kind::Press;
      break;
    case Kind::Move:
      pointer.kind = PointerEvent::Kind::Move;
      break;
    case Kind::Release:
      pointer.kind = PointerEvent::Kind::Release;
      break;
    case Kind::DoubleClick:
      pointer.kind = PointerEvent::Kind::DoubleClick;
      break;
  }
  pointer.hit = event.hit;
  pointer.button = event.button;
  pointer.shift = event.shift;
  pointer.atX = event.at.x();
  pointer.atY = event.at.y();
  Show(session_.Pointer(pointer));
  if (pointer.kind == PointerEvent::Kind::Press) emit pointed();
}

void ChartGestures::Wheel(QPoint angle, Qt::KeyboardModifiers keys, double viewportX) {
  constexpr int kNotch = 120;
  turned_ += angle;
  const int down = turned_.y() / kNotch;
  const int across = turned_.x() / kNotch;
  turned_ -= QPoint(across * kNotch, down * kNotch);
  if (down == 0 && across == 0) return;
  if ((keys & Qt::ControlModifier) != 0) {
    session_.WheelZoom(down != 0 ? down : across, viewportX);
    Show(Redraw::Chart);
    return;
  }
  Scroll([&] {
    if ((keys & Qt::ShiftModifier) != 0 || across != 0) {
      // Turned away from the user, or to the left: earlier.
      session_.WheelTime(-(across != 0 ? across : down));
    } else {
      session_.WheelRows(down);
    }
  });
}

void ChartGestures::Key(int key) {
  static const std::pair<int, ChartKey> kKeys[] = {
      {Qt::Key_Left, ChartKey::Left},     {Qt::Key_Right, ChartKey::Right},
      {Qt::Key_Up, ChartKey::Up},         {Qt::Key_Down, ChartKey::Down},
      {Qt::Key_PageUp, ChartKey::PageUp}, {Qt::Key_PageDown, ChartKey::PageDown},
      {Qt::Key_Home, ChartKey::Home},     {Qt::Key_End, ChartKey::End}};
  for (const auto& [qt, chartKey] : kKeys) {
    if (qt == key) {
      Scroll([&, chartKey = chartKey] { session_.Key(chartKey); });
      return;
    }
  }
}

// A scroll by wheel or key moves the painted pixels as the scroll bars do; only what comes into
// view is painted.
void ChartGestures::Scroll(const std::function<void()>& move) {
  const chart::ChartModel& chart = session_.Chart();
  const double left = chart.PlatForm.Left;
  const int firstRow = chart.KScroll.Value;
  move();
  // The plans stay as they were: the view's scrolled signal is all the window needs.
  view_.Scrolled(chart.PlatForm.Left - left, chart.KScroll.Value != firstRow);
}

void ChartGestures::Show(Redraw redraw) {
  if (!session_.WantsAutoScroll()) {
    autoScroll_.stop();
  } else if (!autoScroll_.isActive()) {
    autoScroll_.start();
  }
  switch (redraw) {
    case Redraw::Nothing:
      return;
    case Redraw::Overlays:
      view_.RefreshOverlays();
      ShowCursor();
      ShowDropTip();
      if (session_.Dragging()) emit pointed();
      return;
    case Redraw::Chart:
      view_.Refresh();
      ShowCursor();
      ShowDropTip();
      emit changed();
      return;
  }
}

// While dragging, the start and end the drop would give stand beside the pointer.
void ChartGestures::ShowDropTip() {
  const std::string tip = session_.Dragging() ? DropTip(session_.Chart().Preview) : "";
  if (tip.empty()) {
    if (dropTipShown_) QToolTip::hideText();
    dropTipShown_ = false;
    return;
  }
  QToolTip::showText(QCursor::pos() + QPoint(16, 16), QString::fromStdString(tip), view_.Canvas());
  dropTipShown_ = true;
}

void ChartGestures::ShowCursor() {
  Qt::CursorShape shape = Qt::ArrowCursor;
  if (session_.Dragging()) {
    shape = session_.DropRefused() ? Qt::ForbiddenCursor : Qt::ClosedHandCursor;
  }
  if (shape == cursor_) return;
  cursor_ = shape;
  if (shape == Qt::ArrowCursor) {
    view_.Canvas()->unsetCursor();
  } else {
    view_.Canvas()->setCursor(shape);
  }
}

}  // namespace velmora
