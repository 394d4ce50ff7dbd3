// Editing on the large generated plant (about 20,000 plans on 100 machines): one drop whose
// overlap answer pushes 50 later plans on a 300-plan row, with the layout of every moved bar;
// undo and redo of that drop; the expansion of the 300-plan row; the drop preview's update for
// one pointer move; the undo history's bytes per changed entry.
// Targets: drop, undo and redo within 16 ms; expansion within 50 ms; preview within 4 ms;
// at most 2 KiB of history per changed entry.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>
#include <vector>

#include "busy_row.h"
#include "chart/bar_layout.h"
#include "common/questions.h"
#include "editing/chart_editor.h"
#include "editing/plan_order.h"
#include "plandata/clash_list.h"
#include "plandata/plan_end_time.h"
#include "yes_to_all.h"

namespace {

using namespace velmora;

bench::YesToAll yes;

struct World : bench::BusyRow {
  World() : BusyRow(yes) {}
};

World& TheWorld() {
  static World world;
  return world;
}

void BM_DropPushing50Plans(benchmark::State& state) {
  World& w = TheWorld();
  std::size_t changed = 0;
  for (auto _ : state) {
    w.Drop();
    state.PauseTiming();
    changed = 0;
    for (std::int32_t i = 2; i <= w.data.PlanCount(); ++i) {
      changed += w.data.PlanTable[static_cast<std::size_t>(i)].Changed;
    }
    w.editor->Undo();
    state.ResumeTiming();
  }
  state.counters["changed"] = static_cast<double>(changed);
}
BENCHMARK(BM_DropPushing50Plans)->Unit(benchmark::kMillisecond);

void BM_UndoAndRedoOfTheDrop(benchmark::State& state) {
  World& w = TheWorld();
  w.editor->History().Clear();
  w.Drop();
  for (auto _ : state) {
    w.editor->Undo();
    w.editor->Redo();
  }
  state.counters["history_bytes_per_entry"] = [&] {
    std::size_t entries = 0;
    for (std::int32_t i = 2; i <= w.data.PlanCount(); ++i) {
      entries += w.data.PlanTable[static_cast<std::size_t>(i)].Changed;
    }
    return static_cast<double>(w.editor->History().MemoryBytes()) / static_cast<double>(entries);
  }();
  state.SetLabel("one iteration = undo + redo");
  w.editor->Undo();
  w.editor->History().Clear();
}
BENCHMARK(BM_UndoAndRedoOfTheDrop)->Unit(benchmark::kMillisecond);

// The clash list after a drop and after its undo: the kept list searches again only the rows and
// molds whose plans changed. The full search of every row and mold beside it, for comparison.
void BM_ClashesAfterTheDrop(benchmark::State& state) {
  World& w = TheWorld();
  ClashList kept;
  kept.Update(w.data);
  std::size_t clashes = 0;
  for (auto _ : state) {
    state.PauseTiming();
    w.DropOrUndo();
    state.ResumeTiming();
    kept.Update(w.data);
    clashes = kept.All().size();
  }
  state.counters["clashes"] = static_cast<double>(clashes);
  state.counters["plans"] = w.data.PlanCount() - 1;
  if (w.dropped) w.DropOrUndo();
}
BENCHMARK(BM_ClashesAfterTheDrop)->Unit(benchmark::kMillisecond);

void BM_ClashesSearchedWhole(benchmark::State& state) {
  World& w = TheWorld();
  std::size_t clashes = 0;
  for (auto _ : state) {
    const std::vector<Clash> found = FindClashes(w.data);
    clashes = found.size();
    benchmark::DoNotOptimize(found.data());
  }
  state.counters["clashes"] = static_cast<double>(clashes);
}
BENCHMARK(BM_ClashesSearchedWhole)->Unit(benchmark::kMillisecond);

void BM_ExpandA300PlanRow(benchmark::State& state) {
  World& w = TheWorld();
  for (auto _ : state) {
    w.editor->MachineName_DblClick(w.row - w.model.KScroll.Value);
    state.PauseTiming();
    w.editor->Undo();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_ExpandA300PlanRow)->Unit(benchmark::kMillisecond);

void BM_PreviewOnePointerMove(benchmark::State& state) {
  World& w = TheWorld();
  const BarIdx bar = w.data.Plan(w.moved).Bar();
  w.editor->PlanBar_MouseDown(bar, editing::kLeftButton, 0, 0, 180);
  int step = 0;
  for (auto _ : state) {
    // The pointer moves to and fro along the row around the drop point.
    w.editor->UpdatePreview(w.DropX() + (step++ % 64) * 37, w.RowY());
    benchmark::DoNotOptimize(w.model.Preview.Marked.size());
  }
  state.counters["marked"] = static_cast<double>(w.model.Preview.Marked.size());
  w.editor->CancelDrag();
}
BENCHMARK(BM_PreviewOnePointerMove)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
