// The chart at its expected scale: 20,000 plans on 100 machine rows over about 90 days.
// Targets: a full redraw of the model (Disp_Gantt) and a full repaint of a 1920x1080 viewport
// within one 60 Hz frame (16 ms); a scroll step with its repaint within 8 ms; a pointer move of a
// drag with its preview and repaint within 4 ms; the load strip's paint within 2 ms.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <random>
#include <string>

#include "app/chart_gestures.h"
#include "chart/chart_model.h"
#include "chart/chart_setup.h"
#include "chart/display_mode.h"
#include "chart/scrolling.h"
#include "common/text.h"
#include "load/load_model.h"
#include "plandata/plan_data.h"
#include "qt_application.h"
#include "session/edit_session.h"
#include "ui/chart_painter.h"
#include "ui/chart_view.h"
#include "ui/load_strip.h"
#include "yes_to_all.h"

namespace {

using namespace velmora;

constexpr int kMachines = 100;
constexpr int kPlans = 20000;

void AddRow(PlanData& data, const std::string& code, const std::string& caption) {
  const int r = ++data.RowCount;
  data.RowCode.resize(static_cast<std::size_t>(r) + 1);
  data.RowCaption.resize(static_cast<std::size_t>(r) + 1);
  data.RowTop.resize(static_cast<std::size_t>(r) + 1);
  data.RowCode[static_cast<std::size_t>(r)] = code;
  data.RowCaption[static_cast<std::size_t>(r)] = caption;
  data.RowTop[static_cast<std::size_t>(r)] = (r - 1) * 600.0 + 240;
}

std::string MachineCode(int m) {
  std::string code = "M" + std::to_string(1000 + m);
  code.resize(8, ' ');
  return code;
}

// Rows, calendars (weekday shifts, some machines on two shifts, weekends off) and plans laid
// across the machines, a few of them unplanned.
void BuildWorld(PlanData& data) {
  data.SetPeriod("2024/04/01", "2024/06/28");
  data.DayCount = 88 + 3;
  AddRow(data, "        ", "");
  for (int m = 1; m <= kMachines; ++m)
    AddRow(data, MachineCode(m), Trim(MachineCode(m)) + " 成形機");
  data.MachineRowCount = data.RowCount;
  data.DepartmentRowEnd = data.RowCount;
  data.WorkCenterLimit.assign(static_cast<std::size_t>(data.RowCount) + 1, 0);
  for (int r = 1; r <= data.RowCount; ++r) {
    data.WorkCenterLimit[static_cast<std::size_t>(r)] =
        data.RowTop[static_cast<std::size_t>(r)] + 480;
  }
  data.SizeCalendars(data.RowCount);
  const DateTime first = data.PeriodStartDate().AddDays(-2);
  for (int r = 2; r <= data.MachineRowCount; ++r) {
    for (int d = 0; d <= data.DayCount; ++d) {
      const int weekday = first.AddDays(d).Weekday();
      if (weekday == 1 || weekday == 7) continue;
      data.ShiftTimes(r, 1, d) = DateTime::FromTime(8, 0, 0);
      data.ShiftTimes(r, 2, d) = DateTime::FromTime(r % 3 == 0 ? 20 : 17, 0, 0);
      data.WorkMinutes(r, d) = static_cast<std::int16_t>(r % 3 == 0 ? 720 : 540);
      if (r % 3 == 0) {
        data.ShiftTimes(r, 3, d) = DateTime::FromTime(20, 0, 0);
        data.ShiftTimes(r, 4, d) = DateTime::FromTime(5, 0, 0);
        data.WorkMinutes(r, d) = 1260;
      }
    }
  }

  data.ResetPlanTable();
  std::mt19937 random(7);
  const DateTime start = data.PeriodStartDate();
  for (int i = 2; i < kPlans + 2; ++i) {
    PlanEntry& p = data.PlanTable.emplace_back();
    p.BarIndex = static_cast<std::int16_t>(i);
    p.InUse = 1;
    const int machine = static_cast<int>(random() % (kMachines + 5));
    p.MachineCode = machine < kMachines ? MachineCode(machine + 1) : std::string(8, ' ');
    const DateTime begin = start.AddMinutes(static_cast<std::int64_t>(random() % (88 * 1440)));
    const DateTime end = begin.AddMinutes(120 + static_cast<std::int64_t>(random() % 1800));
    p.StartDate = begin.DatePart();
    p.StartTime = begin.TimePart();
    p.EndDate = end.DatePart();
    p.EndTime = end.TimePart();
    p.InitialDueDate = end.DatePart().AddDays(static_cast<std::int64_t>(random() % 9) - 3);
    p.ConfirmFlag = i % 4 == 0 ? "1" : "2";
    p.CycleSeconds = static_cast<float>(random() % 20);
    p.SheetIssueDate = i % 2 == 0 ? "20240320" : "00000000";
    p.PlanItemCode = "A" + std::to_string(100000 + i);
    p.ModelName = "型番" + std::to_string(i % 500);
    p.ProcessName = i % 3 == 0 ? "成形" : "組立";
    p.OrderQty = 100 + static_cast<std::int32_t>(random() % 5000);
    p.ReceivedQty = i % 5 == 0 ? p.OrderQty / 3 : 0;
    p.LastResultDate = begin.DatePart();
    p.PlanNoText = std::to_string(500000 + i);
  }
}

// A loaded chart whose viewport paints 1920 x 1080 pixels with its caption column.
struct Chart {
  Chart() {
    BuildWorld(data);
    model.Picture1.Width = (1920 - 140) * chart::kTwipsPerPixel;
    model.Picture1.Height = 1080 * chart::kTwipsPerPixel;
    for (int i = 2; i <= data.PlanCount(); ++i) model.CreateBarPair(data.PlanTable[i].Bar());
    chart::TakeViewportScale(data, model);
    chart::SetUpRowScroll(data, model);
    chart::SetUpSurfaces(data, model);
    chart::SetUpTimeScroll(model);
    chart::DispWeek(data, model);
    // Somewhere in the middle of the period and of the rows.
    chart::SetHScroll1Value(data, model, model.HScroll1.Max / 2);
    chart::SetKScrollValue(data, model, 40);
  }

  PlanData data;
  chart::ChartModel model;
};

void StartApplication() {
  bench::StartApplication("chart_bench");
}

Chart& World() {
  StartApplication();
  static Chart chart;
  return chart;
}

void BM_DispGantt(benchmark::State& state) {
  Chart& c = World();
  for (auto _ : state) {
    chart::Disp_Gantt(c.data, c.model);
    benchmark::DoNotOptimize(c.model.PlanBar.back().Left);
  }
}
BENCHMARK(BM_DispGantt)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void Repaint(ui::ChartPainter& painter, const chart::ChartModel& model, QImage& image) {
  QPainter p(&image);
  painter.Paint(p, model, ui::ChartPainter::ViewportFrame(model));
}

void BM_FullRepaint1920x1080(benchmark::State& state) {
  Chart& c = World();
  ui::ChartPainter painter;
  QImage image(ui::ChartPainter::FrameSize(ui::ChartPainter::ViewportFrame(c.model)),
               QImage::Format_ARGB32_Premultiplied);
  Repaint(painter, c.model, image);  // captions converted once, as after the first paint
  for (auto _ : state) {
    Repaint(painter, c.model, image);
    benchmark::ClobberMemory();
  }
  state.counters["width"] = image.width();
  state.counters["height"] = image.height();
}
BENCHMARK(BM_FullRepaint1920x1080)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// The first paint after a load: no caption has been shaped yet.
void BM_FirstFrame1920x1080(benchmark::State& state) {
  Chart& c = World();
  QImage image(ui::ChartPainter::FrameSize(ui::ChartPainter::ViewportFrame(c.model)),
               QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) {
    ui::ChartPainter painter;
    Repaint(painter, c.model, image);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_FirstFrame1920x1080)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// A step of the time scroll bar in the window: the header and rows move by the step and only
// the uncovered strip is painted, then the window's picture is brought up to date.
void BM_ScrollStepAndRepaint(benchmark::State& state) {
  Chart& c = World();
  ui::ChartView view(c.data, c.model);
  view.resize(view.sizeHint());
  view.show();
  QCoreApplication::processEvents();
  QScrollBar* bar = view.HScroll1();
  int direction = 1;
  for (auto _ : state) {
    const int next = bar->value() + direction * bar->singleStep();
    if (next > bar->maximum() || next < bar->minimum()) direction = -direction;
    bar->setValue(bar->value() + direction * bar->singleStep());
    QCoreApplication::processEvents();
  }
  state.counters["width"] = view.width();
  state.counters["height"] = view.height();
}
BENCHMARK(BM_ScrollStepAndRepaint)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// The chart of the big plant in a window, driven through the edit session as the main window
// drives it.
struct ChartWindow {
  ChartWindow()
      : session(World().data, nullptr, nullptr, yes), view(session.Data(), session.Chart()) {
    session.Chart() = World().model;
    view.resize(view.sizeHint());
    view.show();
    QCoreApplication::processEvents();
  }
  bench::YesToAll yes;
  EditSession session;
  ui::ChartView view;
  ChartGestures gestures{session, view};
};

// Shift+wheel on the chart, a notch at a time to and fro: as a scroll bar step, the painted
// pixels move and only the uncovered strip is painted.
void BM_WheelStepAndRepaint(benchmark::State& state) {
  ChartWindow w;
  EditSession& session = w.session;
  ui::ChartView& view = w.view;
  QWidget* canvas = view.Canvas();
  const QPointF at(canvas->width() / 2.0, canvas->height() / 2.0);
  int step = 0;
  for (auto _ : state) {
    const int notch = (step++ / 8) % 2 == 0 ? -120 : 120;  // eight notches later, eight back
    QWheelEvent wheel(at, canvas->mapToGlobal(at), QPoint(), QPoint(0, notch), Qt::NoButton,
                      Qt::ShiftModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(canvas, &wheel);
    QCoreApplication::processEvents();
  }
  state.counters["left"] = session.Chart().HScroll1.Value;
}
BENCHMARK(BM_WheelStepAndRepaint)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// A bar dragged to and fro across the rows in the window: each pointer move finds what lies
// under it, works out the drop preview and repaints only what the preview covered and covers.
void BM_DragMoveAndRepaint(benchmark::State& state) {
  ChartWindow w;
  EditSession& session = w.session;
  ui::ChartView& view = w.view;
  QWidget* canvas = view.Canvas();
  auto send = [&](QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
    QMouseEvent event(type, QPointF(at), canvas->mapToGlobal(QPointF(at)), button, held,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(canvas, &event);
  };
  const ui::ChartPainter::Bands bands =
      ui::ChartPainter::BandsOf(ui::ChartPainter::ViewportFrame(session.Chart()));
  QPoint grab;
  for (int y = bands.rows.top() + 100; y < bands.rows.bottom() && grab.isNull(); y += 7) {
    for (int x = bands.rows.left() + 200; x < bands.rows.right() - 200; x += 11) {
      const ui::ChartHit hit = view.Painter().HitTest(
          session.Chart(), ui::ChartPainter::ViewportFrame(session.Chart()), QPoint(x, y));
      if (hit.target == ui::ChartHit::Target::PlanBar) {
        grab = QPoint(x, y);
        break;
      }
    }
  }
  send(QEvent::MouseButtonPress, grab, Qt::LeftButton, Qt::LeftButton);
  QCoreApplication::processEvents();
  int step = 0;
  for (auto _ : state) {
    ++step;
    const QPoint at = grab + QPoint((step % 40) * 9, (step % 7) * 40 - 120);
    send(QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton);
    QCoreApplication::processEvents();
  }
  state.counters["marked"] = static_cast<double>(session.Chart().Preview.Marked.size());
  // A move without the button held ends the drag, as when another window took the release.
  send(QEvent::MouseMove, grab, Qt::NoButton, Qt::NoButton);
}
BENCHMARK(BM_DragMoveAndRepaint)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// The load strip at 1920 pixels wide, 140 high: the week on screen of every machine row together
// (days), as the window shows it under the chart. Target: within 2 ms.
void BM_LoadStripPaint1920(benchmark::State& state) {
  Chart& c = World();
  load::LoadModel load;
  load.Update(c.data);
  const chart::TimeScale& scale = c.model.Scale;
  const double left = c.model.PlatForm.ScaleLeft - c.model.PlatForm.Left;
  const auto at = [&](double x) {
    return scale.ChartOrigin.AddMinutes(scale.MinutesAt(x, scale.HourWidth));
  };
  ui::LoadLaneView lane{"全機械", {}};
  for (const load::BucketLoad& b :
       load.TotalBuckets(at(left), at(left + c.model.Picture1.Width), load::BucketKind::Day)) {
    lane.columns.push_back({b.start, b.end, b.available, b.used, b.plans, b.quantity, std::nullopt,
                            std::to_string(*b.Percent()) + "%"});
  }
  ui::LoadStrip strip(c.model);
  strip.resize(1920, 140);
  strip.Show({lane});
  QImage image(strip.size(), QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) {
    strip.render(&image);
    benchmark::ClobberMemory();
  }
  state.counters["buckets"] = static_cast<double>(lane.columns.size());
  state.counters["bucket_bytes_per_machine_day"] =
      static_cast<double>(load.BucketBytes()) / (kMachines * c.data.DayCount);
}
BENCHMARK(BM_LoadStripPaint1920)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
