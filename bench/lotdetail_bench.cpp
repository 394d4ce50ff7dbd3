// The lot detail window and the search on the large generated plant (about 20,000 plans on 100
// machines): opening the window of a lot that serves 200 sales orders and requirement plans
// (relations query, filling, the shown texts); a search by item code over every plan whose hits
// fill the chooser.
// Targets: opening within 50 ms; the search within 5 ms.

#include <benchmark/benchmark.h>

#include <string>

#include "common/questions.h"
#include "editing/chart_editor.h"
#include "loaded_plant.h"
#include "lotdetail/lot_opening.h"
#include "lotdetail/plan_search.h"

namespace {

using namespace velmora;

constexpr int kRelations = 200;

// Messages taken in silence.
class Silent : public Questions {
 public:
  void Tell(const Message&) override {}
  Answer Ask(const Question& question) override { return question.byDefault; }
};

Silent silent;

// The plant, with 200 relations added to its first lot in use.
struct World : bench::LoadedPlant {
  World() : LoadedPlant(silent) {
    for (std::int32_t i = 2; i <= data.PlanCount(); ++i) {
      if (data.PlanTable[static_cast<std::size_t>(i)].InUse > 0) {
        lot = PlanIdx{i};
        break;
      }
    }
    AddRelations(data.Plan(lot).OrderNo);
    editor = std::make_unique<editing::ChartEditor>(data, model, &connection, silent);
  }

  // Half sales orders, half requirement plans, every joined row present.
  void AddRelations(std::int32_t orderNo) {
    std::string sql =
        "BEGIN;"
        "INSERT INTO 得意先マスタ (得意先コード, 得意先略名) VALUES ('BENCH', 'ベンチ商事');"
        "INSERT INTO 品目マスタ (品名コード, 品名略称) VALUES ('BENCH-ITEM', 'ベンチ部品');";
    for (int k = 0; k < kRelations; ++k) {
      const std::string number = std::to_string(90000000 + k);
      if (k % 2 == 0) {
        sql +=
            "INSERT INTO 納期別受注情報 (受注番号, 得意先コード, 品名コード, 納期, 受注数量, "
            "出荷数量) VALUES (" +
            number + ", 'BENCH', 'BENCH-ITEM', '20240520', 500, 120);";
      } else {
        sql +=
            "INSERT INTO 納期別所要計画情報 (所要計画No, 得意先コード, 品名コード, 納期, "
            "所要計画数量) VALUES (" +
            number + ", 'BENCH', 'BENCH-ITEM', '20240525', 800);";
      }
      sql += "INSERT INTO 手配受注関係情報 (手配番号, 番号, 受注データ区分) VALUES (" +
             std::to_string(orderNo) + ", " + number + ", '" + (k % 2 == 0 ? "2" : "1") + "');";
    }
    connection.ExecuteScript(sql + "COMMIT;");
  }

  std::unique_ptr<editing::ChartEditor> editor;
  PlanIdx lot;
};

World& TheWorld() {
  static World world;
  return world;
}

void BM_OpenALotWith200Relations(benchmark::State& state) {
  World& w = TheWorld();
  std::size_t lines = 0;
  for (auto _ : state) {
    auto window = lotdetail::OpenPlanWindow(w.editor->Context(), w.lot, DateTime());
    lines = window->JList.size();
    benchmark::DoNotOptimize(window->Show().size());
  }
  state.counters["relations"] = static_cast<double>(lines);
}
BENCHMARK(BM_OpenALotWith200Relations)->Unit(benchmark::kMillisecond);

void BM_SearchEveryPlan(benchmark::State& state) {
  World& w = TheWorld();
  // An item code prefix a few dozen plans share, typed in lower case.
  const std::string code = w.data.Plan(w.lot).PlanItemCode.substr(0, 6);
  std::size_t hits = 0;
  for (auto _ : state) {
    lotdetail::SearchBoxes boxes{code, ""};
    hits = 0;
    lotdetail::ComKensaku_Click(
        boxes, w.data, silent, [&](BarIdx) { hits = 1; },
        [&](std::shared_ptr<lotdetail::SelectPlan> chooser) { hits = chooser->NList.size(); });
  }
  state.counters["plans"] = static_cast<double>(w.data.PlanCount());
  state.counters["hits"] = static_cast<double>(hits);
}
BENCHMARK(BM_SearchEveryPlan)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
