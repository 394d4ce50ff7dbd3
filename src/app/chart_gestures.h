#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

#include "session/edit_session.h"
#include "ui/chart_view.h"

namespace velmora {

// Hands the chart's pointer events to the edit session and repaints what it reports: the whole
// chart, or only the caption box and the drop preview. Runs the timer that keeps a drag resting
// near the rows' edges scrolling, and shows the drag in the cursor.
class ChartGestures : public QObject {
  Q_OBJECT

 public:
  // Repeats the last drag-over this often while the pointer rests in the rows area.
  static constexpr int kAutoScrollMs = 100;

  ChartGestures(EditSession& session, ui::ChartView& view, QObject* parent = nullptr);

  void Handle(const ui::ChartMouseEvent& event);
  // The wheel: the rows; with Shift, or turned sideways, the time; with Ctrl, the display mode.
  void Wheel(QPoint angle, Qt::KeyboardModifiers keys, double viewportX);
  void Key(int key);

 signals:
  // A gesture may have changed the plans, the calendars, the undo history or the drag.
  void changed();
  // A press chose a row, or a drag moved its preview: the load strip follows.
  void pointed();

 private:
  void Show(Redraw redraw);
  void Scroll(const std::function<void()>& move);
  void ShowCursor();
  void ShowDropTip();

  EditSession& session_;
  ui::ChartView& view_;
  QTimer autoScroll_;
  Qt::CursorShape cursor_ = Qt::ArrowCursor;
  bool dropTipShown_ = false;
  QPoint turned_;  // wheel turns short of a notch (touchpads send small ones)
};

}  // namespace velmora
