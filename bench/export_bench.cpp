// The whole-chart PNG export of a large plant in week mode: the window's load, then the chart
// painted and written to a file, banded as the export does it and, for comparison, as one image
// saved by the toolkit; and the same chart laid on A4 pages of a PDF file.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QPageSize>
#include <filesystem>
#include <string>

#include "db/command.h"
#include "generator/demo_generator.h"
#include "startup/main_form_load.h"
#include "ui/chart_image.h"
#include "ui/chart_pdf.h"

namespace {

using namespace velmora;

struct LargePlant {
  LargePlant() {
    char dir[] = "/tmp/velmora-bench-XXXXXX";
    folder = mkdtemp(dir);
    const std::string path = folder + "/plant.db";
    demo::DemoOptions options;
    options.machines = 100;
    options.arrangements = 20000;
    demo::GenerateDemoDatabase(path, options);
    connection.OpenFile(path);
    command.ActiveConnection = &connection;
  }
  ~LargePlant() { std::filesystem::remove_all(folder); }

  std::string folder;
  db::Connection connection;
  db::Command command;
};

LargePlant& Plant() {
  static int argc = 1;
  static char name[] = "export_bench";
  static char* argv[] = {name, nullptr};
  // Benchmarks run without a display, as the export itself does.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static QGuiApplication* app = new QGuiApplication(argc, argv);  // lives until the program ends
  (void)app;
  static LargePlant plant;
  return plant;
}

// The export's load: what the window shows first for the demo's whole period (week mode).
void Load(PlanData& data, chart::ChartModel& chart) {
  data.PlantCode = 3;
  data.CategoryCode = "3";
  data.CategoryCaption = "03 成形";
  data.SetPeriod("2024/04/01", "2024/06/29");
  static ConsoleQuestions console;
  chart.FaultsTo = &console;
  LoadMainForm(data, chart, Plant().command, console);
}

template <typename Save>
void Export(benchmark::State& state, Save save) {
  const std::string png = Plant().folder + "/chart.png";
  int plans = 0;
  for (auto _ : state) {
    PlanData data;
    chart::ChartModel chart;
    Load(data, chart);
    save(data, chart, png);
    plans = data.PlanCount() - 1;
  }
  const QSize size = QImageReader(QString::fromStdString(png)).size();  // the header only
  state.counters["plans"] = plans;
  state.counters["width"] = size.width();
  state.counters["height"] = size.height();
  state.counters["MB"] = static_cast<double>(std::filesystem::file_size(png)) / 1e6;
}

void BM_ExportPngBanded(benchmark::State& state) {
  Export(state, [](const PlanData& data, const chart::ChartModel& chart, const std::string& png) {
    ui::SaveChartPng(data, chart, png);
  });
}
BENCHMARK(BM_ExportPngBanded)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ExportPngWholeImage(benchmark::State& state) {
  Export(state, [](const PlanData& data, const chart::ChartModel& chart, const std::string& png) {
    ui::RenderChartImage(data, chart).save(QString::fromStdString(png), "PNG");
  });
}
BENCHMARK(BM_ExportPngWholeImage)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ExportPdfPaged(benchmark::State& state) {
  const std::string pdf = Plant().folder + "/chart.pdf";
  int pages = 0;
  for (auto _ : state) {
    PlanData data;
    chart::ChartModel chart;
    Load(data, chart);
    ui::SaveChartPdf(data, chart, pdf, QPageSize::A4, QDate(2024, 4, 1));
    pages = ui::ChartPageLayout(data, chart, ui::ChartPdfPageLayout(QPageSize::A4)).PageCount();
  }
  state.counters["pages"] = pages;
  state.counters["MB"] = static_cast<double>(std::filesystem::file_size(pdf)) / 1e6;
}
BENCHMARK(BM_ExportPdfPaged)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
