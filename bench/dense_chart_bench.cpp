// The chart on a dense plant: the 300,000-arrangement demo plant (750 machines, 80 days), its
// busiest four weeks of molding (about 58,000 plans), loaded as the window loads it. A 1920x1080
// viewport painted whole among the busiest rows, with the unplanned band full, and with the
// departments and subcontractors in view; the first paint of a fresh painter.
// Target: every frame within 16 ms, whatever the view holds.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <chrono>
#include <filesystem>
#include <string>

#include "chart/scrolling.h"
#include "common/questions.h"
#include "db/command.h"
#include "db/connection.h"
#include "generator/demo_generator.h"
#include "qt_application.h"
#include "startup/main_form_load.h"
#include "ui/chart_painter.h"
#include "yes_to_all.h"

namespace {

using namespace velmora;

struct DensePlant {
  DensePlant() {
    bench::StartApplication("dense_chart_bench");
    char dir[] = "/tmp/velmora-bench-XXXXXX";
    path = std::string(mkdtemp(dir)) + "/plant.db";
    demo::DemoOptions options;
    options.days = 80;
    options.machines = 750;
    options.arrangements = 300000;
    demo::GenerateDemoDatabase(path, options);
    connection.OpenFile(path, {.readOnly = true});
    command.ActiveConnection = &connection;
    const auto started = std::chrono::steady_clock::now();
    Load(data, model);
    loadSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  }
  ~DensePlant() { std::filesystem::remove_all(std::filesystem::path(path).parent_path()); }

  void Load(PlanData& into, chart::ChartModel& chart) {
    into = PlanData{};
    into.PlantCode = 3;
    into.CategoryCode = "3";
    into.CategoryCaption = "03 成形";
    into.SetPeriod("2024/04/22", "2024/05/19");
    chart = chart::ChartModel{};
    chart.Picture1.Width = (1920 - 140) * chart::kTwipsPerPixel;
    chart.FaultsTo = &yes;
    LoadMainForm(into, chart, command, yes);
    chart.SetVisibleRows(22);  // 1080 pixels high
  }

  std::string path;
  bench::YesToAll yes;
  db::Connection connection;
  db::Command command;
  PlanData data;
  chart::ChartModel model;
  double loadSeconds = 0;
};

DensePlant& Plant() {
  static DensePlant plant;
  return plant;
}

void Paint(ui::ChartPainter& painter, const chart::ChartModel& model, QImage& image) {
  QPainter p(&image);
  painter.Paint(p, model, ui::ChartPainter::ViewportFrame(model));
}

// A full repaint with the rows scrolled to `rowsFrom` (a fraction of the rows) and the time to
// the middle of the period.
void Repaint(benchmark::State& state, double rowsFrom) {
  DensePlant& plant = Plant();
  chart::ChartModel& model = plant.model;
  chart::SetHScroll1Value(plant.data, model, model.HScroll1.Max / 2);
  chart::SetKScrollValue(plant.data, model, static_cast<int>(model.KScroll.Max * rowsFrom));
  ui::ChartPainter painter;
  QImage image(ui::ChartPainter::FrameSize(ui::ChartPainter::ViewportFrame(model)),
               QImage::Format_ARGB32_Premultiplied);
  Paint(painter, model, image);  // captions shaped once, as after the first paint
  for (auto _ : state) {
    Paint(painter, model, image);
    benchmark::ClobberMemory();
  }
  state.counters["plans"] = plant.data.PlanCount() - 1;
  state.counters["load_s"] = plant.loadSeconds;
}

void BM_DenseRepaintBusyRows(benchmark::State& state) {
  Repaint(state, 0.0);
}
BENCHMARK(BM_DenseRepaintBusyRows)->Unit(benchmark::kMillisecond)->Repetitions(3);

void BM_DenseRepaintDepartmentsInView(benchmark::State& state) {
  Repaint(state, 1.0);
}
BENCHMARK(BM_DenseRepaintDepartmentsInView)->Unit(benchmark::kMillisecond)->Repetitions(3);

// The first paint after a load: a fresh painter, nothing shaped yet.
void BM_DenseFirstFrame(benchmark::State& state) {
  DensePlant& plant = Plant();
  QImage image(ui::ChartPainter::FrameSize(ui::ChartPainter::ViewportFrame(plant.model)),
               QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) {
    ui::ChartPainter painter;
    Paint(painter, plant.model, image);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_DenseFirstFrame)->Unit(benchmark::kMillisecond)->Repetitions(3);

// The load of the four weeks, as the window loads them.
void BM_DenseLoad(benchmark::State& state) {
  DensePlant& plant = Plant();
  PlanData data;
  chart::ChartModel model;
  for (auto _ : state) plant.Load(data, model);
  state.counters["plans"] = data.PlanCount() - 1;
}
BENCHMARK(BM_DenseLoad)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);

}  // namespace

BENCHMARK_MAIN();
