// The machine load on the large generated plant (about 20,000 plans on 100 machines, one
// quarter): computed at load beside the window's load itself, kept up to date after a drop that
// pushes 50 plans (and after its undo), and previewed for one pointer move of a drag; the bytes
// per machine-day bucket.
// Targets: the load within 5 % of the window's load; the update after the drop within 0.5 ms;
// the preview within 0.2 ms.
#include <benchmark/benchmark.h>

#include "busy_row.h"
#include "load/load_model.h"
#include "load/load_preview.h"
#include "startup/main_form_load.h"
#include "yes_to_all.h"

namespace {

using namespace velmora;

bench::YesToAll yes;

bench::BusyRow& TheWorld() {
  static bench::BusyRow world(yes);
  return world;
}

// The window's load (rows, calendars, plans, bars), the denominator of the load's share.
void BM_WindowLoad(benchmark::State& state) {
  bench::BusyRow& w = TheWorld();
  PlanData selection;
  selection.PlantCode = w.data.PlantCode;
  selection.CategoryCode = w.data.CategoryCode;
  selection.CategoryCaption = w.data.CategoryCaption;
  selection.SetPeriod(w.data.PeriodStart(), w.data.PeriodEnd());
  for (auto _ : state) {
    PlanData data = selection;
    chart::ChartModel model;
    LoadMainForm(data, model, w.command, yes);
    benchmark::DoNotOptimize(data.PlanCount());
  }
}
BENCHMARK(BM_WindowLoad)->Unit(benchmark::kMillisecond);

void BM_LoadOfTheWholePeriod(benchmark::State& state) {
  bench::BusyRow& w = TheWorld();
  load::LoadModel load;
  for (auto _ : state) {
    load = load::LoadModel{};
    load.Update(w.data);
  }
  const double machineDays = static_cast<double>(w.data.MachineRowCount - 1) * load.Grid().Days();
  state.counters["plans"] = w.data.PlanCount() - 1;
  state.counters["bucket_bytes_per_machine_day"] =
      static_cast<double>(load.BucketBytes()) / machineDays;
  state.counters["piece_bytes_per_plan"] =
      static_cast<double>(load.PieceBytes()) / (w.data.PlanCount() - 1);
}
BENCHMARK(BM_LoadOfTheWholePeriod)->Unit(benchmark::kMillisecond);

// The kept load after the drop and after its undo, alternately.
void BM_UpdateAfterTheDrop(benchmark::State& state) {
  bench::BusyRow& w = TheWorld();
  load::LoadModel load;
  load.Update(w.data);
  for (auto _ : state) {
    state.PauseTiming();
    w.DropOrUndo();
    state.ResumeTiming();
    load.Update(w.data);
  }
  if (w.dropped) w.DropOrUndo();
}
BENCHMARK(BM_UpdateAfterTheDrop)->Unit(benchmark::kMicrosecond);

// An update that finds nothing changed: the pass over the plans and the calendars alone.
void BM_UpdateWithNothingChanged(benchmark::State& state) {
  bench::BusyRow& w = TheWorld();
  load::LoadModel load;
  load.Update(w.data);
  for (auto _ : state) load.Update(w.data);
}
BENCHMARK(BM_UpdateWithNothingChanged)->Unit(benchmark::kMicrosecond);

// The load of the dragged bar's row and of the row under the pointer as a drop would leave
// them, over two weeks of days, for pointer positions along the busy row.
void BM_PreviewOnePointerMove(benchmark::State& state) {
  bench::BusyRow& w = TheWorld();
  load::LoadModel load;
  load.Update(w.data);
  const BarIdx bar = w.data.Plan(w.moved).Bar();
  w.editor->PlanBar_MouseDown(bar, editing::kLeftButton, 0, 0, 180);
  std::vector<load::DraggedPlacement> moves;
  for (int step = 0; step < 64; ++step) {
    w.editor->UpdatePreview(w.DropX() + step * 37, w.RowY());
    moves.push_back(load::PlacementOfDrop(w.model.Preview, w.moved));
  }
  w.editor->CancelDrag();
  const DateTime from = w.dropAt.DatePart().AddDays(-7);
  std::size_t i = 0;
  for (auto _ : state) {
    const auto rows =
        load.Preview(moves[i++ % moves.size()], from, from.AddDays(14), load::BucketKind::Day);
    benchmark::DoNotOptimize(rows.data());
  }
}
BENCHMARK(BM_PreviewOnePointerMove)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
