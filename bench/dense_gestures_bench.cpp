// Gestures on a dense plant, each with the repaint it causes, in a 1920x1080 chart window: the
// 300,000-arrangement demo plant's busiest four weeks of molding (about 54,000 plans), its
// busiest row topped up to 300 plans. A scroll step (Shift+wheel), a zoom (Ctrl+wheel in and out
// again), a pointer move of a drag, and a drop whose overlap answer pushes 50 plans.
// Target: every one within a 60 Hz frame (16 ms).

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QMouseEvent>
#include <QWheelEvent>

#include "app/chart_gestures.h"
#include "busy_row.h"
#include "chart/scrolling.h"
#include "qt_application.h"
#include "session/edit_session.h"
#include "ui/chart_painter.h"
#include "ui/chart_view.h"
#include "yes_to_all.h"

namespace {

using namespace velmora;

bench::YesToAll yes;

// Laid out in the busy row's plans of at most 60 minutes, 300 fit in the four weeks.
struct Plant : bench::BusyRow {
  Plant()
      : BusyRow((bench::StartApplication("dense_gestures_bench"), yes), bench::PlantSize::Dense(),
                60) {}
};

Plant& ThePlant() {
  static Plant plant;
  return plant;
}

// The plant in a window as the main window drives it, scrolled to the busy row at the drop.
struct Window {
  Window()
      : session(ThePlant().data, nullptr, nullptr, yes), view(session.Data(), session.Chart()) {
    session.Chart() = ThePlant().model;
    chart::SetHScroll1Value(session.Data(), session.Chart(), session.Chart().HScroll1.Max / 3);
    view.resize(1920, 1080);
    view.show();
    QCoreApplication::processEvents();
  }
  QWidget* Canvas() const { return view.Canvas(); }
  void Wheel(int notch, Qt::KeyboardModifiers keys) {
    const QPointF at(Canvas()->width() / 2.0, Canvas()->height() / 2.0);
    QWheelEvent wheel(at, Canvas()->mapToGlobal(at), QPoint(), QPoint(0, notch), Qt::NoButton, keys,
                      Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(Canvas(), &wheel);
    QCoreApplication::processEvents();
  }
  void Mouse(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
    QMouseEvent event(type, QPointF(at), Canvas()->mapToGlobal(QPointF(at)), button, held,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(Canvas(), &event);
  }

  EditSession session;
  ui::ChartView view;
  ChartGestures gestures{session, view};
};

void BM_DenseScrollStep(benchmark::State& state) {
  Window w;
  int step = 0;
  for (auto _ : state) w.Wheel((step++ / 8) % 2 == 0 ? -120 : 120, Qt::ShiftModifier);
}
BENCHMARK(BM_DenseScrollStep)->Unit(benchmark::kMillisecond)->Repetitions(3);

// One iteration zooms in and out again: two frames.
void BM_DenseZoomInAndOut(benchmark::State& state) {
  Window w;
  for (auto _ : state) {
    w.Wheel(120, Qt::ControlModifier);
    w.Wheel(-120, Qt::ControlModifier);
  }
  state.SetLabel("one iteration = two zoom steps");
}
BENCHMARK(BM_DenseZoomInAndOut)->Unit(benchmark::kMillisecond)->Repetitions(3);

void BM_DenseDragMove(benchmark::State& state) {
  Window w;
  const ui::ChartPainter::Bands bands =
      ui::ChartPainter::BandsOf(ui::ChartPainter::ViewportFrame(w.session.Chart()));
  QPoint grab;
  for (int y = bands.rows.top() + 100; y < bands.rows.bottom() && grab.isNull(); y += 7) {
    for (int x = bands.rows.left() + 200; x < bands.rows.right() - 200; x += 11) {
      const ui::ChartHit hit = w.view.Painter().HitTest(
          w.session.Chart(), ui::ChartPainter::ViewportFrame(w.session.Chart()), QPoint(x, y));
      if (hit.target == ui::ChartHit::Target::PlanBar) {
        grab = QPoint(x, y);
        break;
      }
    }
  }
  w.Mouse(QEvent::MouseButtonPress, grab, Qt::LeftButton, Qt::LeftButton);
  QCoreApplication::processEvents();
  int step = 0;
  for (auto _ : state) {
    ++step;
    w.Mouse(QEvent::MouseMove, grab + QPoint((step % 40) * 9, (step % 7) * 40 - 120), Qt::NoButton,
            Qt::LeftButton);
    QCoreApplication::processEvents();
  }
  state.counters["marked"] = static_cast<double>(w.session.Chart().Preview.Marked.size());
  w.Mouse(QEvent::MouseMove, grab, Qt::NoButton, Qt::NoButton);
}
BENCHMARK(BM_DenseDragMove)->Unit(benchmark::kMillisecond)->Repetitions(3);

// The drop, its 50 pushed plans laid out again, and the window's repaint; undone untimed.
void BM_DenseDropPushing50Plans(benchmark::State& state) {
  Window w;
  Plant& plant = ThePlant();
  const chart::ChartHit onRow{chart::ChartHit::Target::PlatForm, 0, plant.DropX(), plant.RowY()};
  int changed = 0;
  for (auto _ : state) {
    w.session.DragAndDrop(plant.moved, onRow);
    w.view.Refresh();
    QCoreApplication::processEvents();
    state.PauseTiming();
    changed = 0;
    for (const PlanEntry& p : w.session.Data().PlanTable) changed += p.Changed ? 1 : 0;
    w.session.Undo();
    state.ResumeTiming();
  }
  state.counters["changed"] = changed;
}
BENCHMARK(BM_DenseDropPushing50Plans)->Unit(benchmark::kMillisecond)->Repetitions(3);

}  // namespace

BENCHMARK_MAIN();
