#include "app/chart_gestures.h"

#include <QApplication>

#include "chart/bar_layout.h"

namespace velmora {

using ui::ChartHit;
using ui::ChartMouseEvent;
using Target = ui::ChartHit::Target;

namespace {

bool IsBar(Target target) {
  return target == Target::PlanBar || target == Target::PlanJBar;
}

// The bar under the pointer; its progress overlay stands for it.
BarIdx BarOf(const ChartHit& hit) {
  return BarIdx{static_cast<std::int16_t>(hit.index)};
}

}  // namespace

ChartGestures::ChartGestures(editing::ChartEditor& editor, ui::ChartView& view, QObject* parent)
    : QObject(parent), editor_(editor), view_(view), model_(editor.Context().model) {
  autoScroll_.setInterval(kAutoScrollMs);
  connect(&autoScroll_, &QTimer::timeout, this, [this] {
    if (!editor_.Pointer().Dragged) {
      autoScroll_.stop();
      return;
    }
    ChartMouseEvent again;
    again.kind = ChartMouseEvent::Kind::Move;
    again.at = lastAt_;
    again.hit = HitAt(lastAt_);
    again.button = editing::kLeftButton;
    DragOver(again);
  });
  connect(&view, &ui::ChartView::chartMouse, this, &ChartGestures::Handle);
}

void ChartGestures::Handle(const ChartMouseEvent& event) {
  switch (event.kind) {
    case ChartMouseEvent::Kind::Press:
      Press(event);
      break;
    case ChartMouseEvent::Kind::Move:
      Move(event);
      break;
    case ChartMouseEvent::Kind::Release:
      Release(event);
      break;
    case ChartMouseEvent::Kind::DoubleClick:
      DoubleClick(event);
      break;
  }
}

void ChartGestures::Press(const ChartMouseEvent& event) {
  if (editor_.Pointer().Dragged) {
    // Another button during a drag does nothing; the left one again means its release was lost.
    if (event.button != editing::kLeftButton) return;
    autoScroll_.stop();
    editor_.CancelDrag();
  }
  const ChartHit& hit = event.hit;
  switch (hit.target) {
    case Target::PlanBar:
    case Target::PlanJBar: {
      const chart::BarLabel& bar = model_.Bar(BarOf(hit));
      editor_.PlanBar_MouseDown(BarOf(hit), event.button, event.shift, hit.x - bar.Left,
                                hit.y - bar.Top);
      break;
    }
    case Target::PlatForm:
      editor_.PlatForm_MouseDown(event.button, event.shift, hit.x, hit.y);
      break;
    case Target::MachineName:
      editor_.MachineName_MouseDown(hit.index, event.button);
      break;
    default:
      break;
  }
  if (editor_.Pointer().Dragged) {
    pressedAt_ = lastAt_ = event.at;
    moved_ = false;
  }
  Shown();
}

void ChartGestures::Move(const ChartMouseEvent& event) {
  if (editor_.Pointer().Dragged) {
    if ((event.button & editing::kLeftButton) == 0) {
      // The release went elsewhere (another window took the pointer): the drag is over.
      autoScroll_.stop();
      editor_.CancelDrag();
      Shown();
      return;
    }
    if (!moved_) {
      // Within the click distance the press may still be a click: no preview yet.
      if ((event.at - pressedAt_).manhattanLength() < QApplication::startDragDistance()) return;
      moved_ = true;
    }
    DragOver(event);
    return;
  }
  const ChartHit& hit = event.hit;
  if (IsBar(hit.target)) {
    const chart::BarLabel& bar = model_.Bar(BarOf(hit));
    editor_.PlanBar_MouseMove(BarOf(hit), event.button, event.shift, hit.x - bar.Left,
                              hit.y - bar.Top);
  } else if (hit.target == Target::PlatForm) {
    editor_.PlatForm_MouseMove();
  }
  view_.RefreshOverlays();
}

void ChartGestures::DragOver(const ChartMouseEvent& event) {
  lastAt_ = event.at;
  ChartHit hit = event.hit;
  if (hit.target == Target::PlatForm && editor_.PlatForm_DragOver(hit.y)) {
    // The rows moved under the pointer: the preview is for what lies there now.
    hit = HitAt(event.at);
    ShowPreviewAt(hit);
    view_.Refresh();
  } else {
    ShowPreviewAt(hit);
    view_.RefreshOverlays();
  }
  if (!InRowsArea(hit)) {
    autoScroll_.stop();
  } else if (!autoScroll_.isActive()) {
    autoScroll_.start();
  }
  ShowCursor();
}

void ChartGestures::Release(const ChartMouseEvent& event) {
  if (!editor_.Pointer().Dragged || event.button != editing::kLeftButton) return;
  autoScroll_.stop();
  if (moved_) {
    // The preview goes before the drop: a question it may ask repaints the chart meanwhile.
    model_.Preview.Visible = false;
    model_.Preview.Marked.clear();
    view_.RefreshOverlays();
    Drop(event);
  } else {
    EndClick();
  }
  Shown();
}

void ChartGestures::Drop(const ChartMouseEvent& event) {
  const BarIdx source = *editor_.Pointer().Dragged;
  const ChartHit& hit = event.hit;
  switch (hit.target) {
    case Target::PlatForm:
      editor_.PlatForm_DragDrop(source, hit.x, hit.y);
      break;
    case Target::PlatForm2:
      editor_.PlatForm2_DragDrop(source, hit.x, hit.y);
      break;
    case Target::PlatForm3:
      editor_.PlatForm3_DragDrop(source, hit.x, hit.y);
      break;
    case Target::PlanBar:
    case Target::PlanJBar: {
      const chart::BarLabel& bar = model_.Bar(BarOf(hit));
      editor_.PlanBar_DragDrop(BarOf(hit), source, hit.x - bar.Left, hit.y - bar.Top);
      break;
    }
    case Target::GradeName:
      editor_.GradeName_DragDrop();
      break;
    default:
      editor_.CancelDrag();
      break;
  }
}

// A press and release on the spot is a click (or the first half of a double click), not a
// drop on the bar itself: that would write the plan's times back from its rounded position,
// mark it changed and could ask about overlaps it already had. The bar keeps its place and
// takes back its colours.
void ChartGestures::EndClick() {
  const BarIdx bar = *editor_.Pointer().Dragged;
  editor_.CancelDrag();
  const PlanData& data = editor_.Context().data;
  const PlanIdx plan = chart::FindPlanByBar(data, bar);
  if (plan.value != 0) chart::LayoutBar(data, model_, plan, 0);
}

void ChartGestures::DoubleClick(const ChartMouseEvent& event) {
  if (editor_.Pointer().Dragged || event.button != editing::kLeftButton) return;
  const ChartHit& hit = event.hit;
  if (IsBar(hit.target)) {
    editor_.PlanBar_DblClick(BarOf(hit));
  } else if (hit.target == Target::MachineName) {
    editor_.MachineName_DblClick(hit.index);
  } else {
    return;
  }
  Shown();
}

void ChartGestures::ShowPreviewAt(const ChartHit& hit) {
  switch (hit.target) {
    case Target::PlatForm:
    case Target::PlatForm2:
    case Target::PlatForm3:
    case Target::PlanBar:
    case Target::PlanJBar:
      editor_.UpdatePreview(hit.x, hit.y);
      break;
    default:
      // A release here lands nowhere.
      model_.Preview.Visible = false;
      model_.Preview.Marked.clear();
      break;
  }
}

ChartHit ChartGestures::HitAt(QPoint at) const {
  return view_.Painter().HitTest(model_, ui::ChartPainter::ViewportFrame(model_), at);
}

bool ChartGestures::InRowsArea(const ChartHit& hit) const {
  if (hit.target == Target::PlatForm) return true;
  return IsBar(hit.target) &&
         model_.PlanBar[static_cast<std::size_t>(hit.index)].Container == chart::Surface::PlatForm;
}

void ChartGestures::Shown() {
  view_.Refresh();
  ShowCursor();
  emit changed();
}

void ChartGestures::ShowCursor() {
  Qt::CursorShape shape = Qt::ArrowCursor;
  if (editor_.Pointer().Dragged) {
    shape = model_.Preview.Visible && model_.Preview.Refused ? Qt::ForbiddenCursor
                                                             : Qt::ClosedHandCursor;
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
