#pragma once

#include <QPoint>
#include <QRegion>
#include <QWidget>
#include <functional>

#include "chart/chart_model.h"
#include "plandata/plan_data.h"
#include "ui/chart_painter.h"

class QScrollBar;

namespace velmora::ui {

// A pointer event over the chart: what lies under the pointer (bar index, surface or row
// caption, with the point in the surface's twips), the buttons (1 left, 2 right, 4 middle) and
// the keys held (1 shift, 2 ctrl, 4 alt).
struct ChartMouseEvent {
  enum class Kind { Press, Move, Release, DoubleClick };
  Kind kind = Kind::Press;
  ChartHit hit;
  int button = 0;
  int shift = 0;
  QPoint at;  // in the canvas's pixels
};

// The chart viewport (Picture1) with its row captions and the scroll bars HScroll1 and KScroll.
// It paints the model and runs the model's scroll handlers; everything else changes the model
// and calls Refresh().
class ChartView : public QWidget {
  Q_OBJECT

 public:
  ChartView(PlanData& data, chart::ChartModel& model, QWidget* parent = nullptr);
  ~ChartView() override;

  // After the model changed (load, display mode, a bar's layout): the scroll bars take the
  // model's ranges and values, and the chart is repainted.
  void Refresh();
  // After only the caption box or the drop preview changed, as a pointer move leaves them:
  // repaints what they covered and cover now, nothing else.
  void RefreshOverlays();
  // After the model's scroll positions moved by `twips` across (and the rows, if `rows`): as a
  // scroll bar step, only the uncovered strip is painted when the rows stayed.
  void Scrolled(double twips, bool rows);
  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;
  // The room the widget's size leaves for the chart, in twips: the viewport's width and the rows
  // area's height (between the bands above and the scroll bar below).
  QSizeF RoomForChart() const;

  ChartPainter& Painter() { return painter_; }
  QScrollBar* HScroll1() const { return hScroll_; }
  QScrollBar* KScroll() const { return kScroll_; }
  QWidget* Canvas() const;
  // The tip over what lies under the pointer; empty for none.
  std::function<QString(const ChartHit&)> TipFor;

 signals:
  // A scroll bar moved; DayDispArea or the row captions changed with it.
  void scrolled();
  void chartMouse(const velmora::ui::ChartMouseEvent& event);
  // The wheel over the chart: the turn in eighths of a degree (120 a notch), the keys held, and
  // the pointer's x in twips from the viewport's left edge.
  void chartWheel(QPoint angle, Qt::KeyboardModifiers keys, double viewportX);
  // The widget was resized: the host fits the viewport to RoomForChart() and refreshes.
  void resized();
  // A key pressed with the chart focused (arrows, page keys, Home, End).
  void chartKey(int key);

 protected:
  // The gestures' entry point; by default the event is only announced through chartMouse.
  virtual void OnChartMouse(const ChartMouseEvent& event);
  void resizeEvent(QResizeEvent* event) override;

 private:
  class CanvasWidget;
  friend class CanvasWidget;

  void PlaceChildren();
  void ScrollPicture(double twips);
  void SyncScrollBars();
  void Dispatch(ChartMouseEvent::Kind kind, const QPoint& at, Qt::MouseButtons buttons,
                Qt::KeyboardModifiers keys);

  PlanData& data_;
  chart::ChartModel& model_;
  ChartPainter painter_;
  CanvasWidget* canvas_;
  QScrollBar* hScroll_;
  QScrollBar* kScroll_;
  bool syncing_ = false;
  // What the overlays covered when last painted; unknown once a scroll moved the pixels.
  QRegion overlays_;
  bool overlaysKnown_ = false;
};

}  // namespace velmora::ui
