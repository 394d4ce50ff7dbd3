#pragma once

#include <QObject>
#include <QPoint>
#include <QTimer>

#include "editing/chart_editor.h"
#include "ui/chart_view.h"

namespace velmora {

// Turns the chart's pointer events into the editor's gestures and shows what they changed:
// presses, double clicks and drops redraw the chart; pointer moves repaint only the caption box
// and the drop preview.
class ChartGestures : public QObject {
  Q_OBJECT

 public:
  // Repeats the last drag-over this often while the pointer rests in the rows area, so holding
  // it in the top or bottom zone keeps scrolling.
  static constexpr int kAutoScrollMs = 100;

  ChartGestures(editing::ChartEditor& editor, ui::ChartView& view, QObject* parent = nullptr);

  void Handle(const ui::ChartMouseEvent& event);

 signals:
  // A gesture may have changed the plans, the calendars, the undo history or the drag.
  void changed();

 private:
  void Press(const ui::ChartMouseEvent& event);
  void Move(const ui::ChartMouseEvent& event);
  void Release(const ui::ChartMouseEvent& event);
  void DoubleClick(const ui::ChartMouseEvent& event);
  void DragOver(const ui::ChartMouseEvent& event);
  void Drop(const ui::ChartMouseEvent& event);
  void EndClick();
  void ShowPreviewAt(const ui::ChartHit& hit);
  ui::ChartHit HitAt(QPoint at) const;
  bool InRowsArea(const ui::ChartHit& hit) const;
  void Shown();
  void ShowCursor();

  editing::ChartEditor& editor_;
  ui::ChartView& view_;
  chart::ChartModel& model_;
  QTimer autoScroll_;
  QPoint lastAt_;       // where the pointer was at the last drag-over
  QPoint pressedAt_;    // where the drag started
  bool moved_ = false;  // the pointer left the click distance since the drag started
  Qt::CursorShape cursor_ = Qt::ArrowCursor;
};

}  // namespace velmora
