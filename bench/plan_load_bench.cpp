// Loading a large plant: the row, calendar and plan loaders against stepping the same SQL
// statements with the raw SQLite API, and the memory the plan table takes per entry.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "chart/bar_height.h"
#include "common/questions.h"
#include "db/command.h"
#include "db/sqlite_statement.h"
#include "generator/demo_generator.h"
#include "plandata/plan_loader.h"
#include "plandata/queries.h"
#include "plandata/work_center_rows.h"

namespace {

// Nobody to ask: a broken calendar is told on standard error.
velmora::Questions& Nobody() {
  static velmora::ConsoleQuestions console;
  return console;
}

using namespace velmora;

struct LargePlant {
  LargePlant() {
    char dir[] = "/tmp/velmora-bench-XXXXXX";
    path = std::string(mkdtemp(dir)) + "/plant.db";
    demo::DemoOptions options;
    options.machines = 100;
    options.arrangements = 40000;  // about 20,000 of them are molding steps
    demo::GenerateDemoDatabase(path, options);
    connection.OpenFile(path);
    command.ActiveConnection = &connection;
    selection.PlantCode = 3;
    selection.CategoryCode = "3";
    selection.SetPeriod("2024/04/01", "2024/06/29");
  }
  ~LargePlant() { std::filesystem::remove_all(std::filesystem::path(path).parent_path()); }

  std::string path;
  db::Connection connection;
  db::Command command;
  PlanData selection;
};

LargePlant& Plant() {
  static LargePlant plant;
  return plant;
}

PlanData Load() {
  PlanData data = Plant().selection;
  LoadWorkCenterRows(data, Plant().command, chart::kPlanBarHeight, Nobody());
  data.ResetPlanTable();
  NoBarControls bars;
  ReturnPlanData(data, Plant().connection, bars);
  return data;
}

void BM_LoadersRowsCalendarsPlans(benchmark::State& state) {
  Plant();  // the database is made before the timing starts
  int plans = 0;
  for (auto _ : state) {
    PlanData data = Load();
    plans = data.PlanCount() - 1;
    benchmark::DoNotOptimize(data);
  }
  state.counters["plans"] = plans;
}
BENCHMARK(BM_LoadersRowsCalendarsPlans)->Unit(benchmark::kMillisecond);

// Steps a statement to its end, reading every column as text (or, with `readColumns` false,
// only the first, which the calendar queries need).
std::size_t Step(sqlite3* db, const std::string& sql,
                 std::vector<std::string>* firstColumn = nullptr, bool readColumns = true) {
  db::StatementPtr stmt = db::Prepare(db, sql);
  std::size_t bytes = 0;
  const int columns = readColumns ? sqlite3_column_count(stmt.get()) : 1;
  while (sqlite3_step(stmt.get()) == SQLITE_ROW) {
    for (int c = 0; c < columns; ++c) {
      const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt.get(), c));
      const std::string value =
          text ? std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(stmt.get(), c)))
               : std::string();
      bytes += value.size();
      if (c == 0 && firstColumn) firstColumn->push_back(value);
    }
  }
  return bytes;
}

void RawStatements(benchmark::State& state, bool readColumns) {
  sqlite3* db = Plant().connection.Handle();
  PlanData data = Plant().selection;
  data.DayCount =
      static_cast<std::int16_t>((data.PeriodEndDate() - data.PeriodStartDate()).Days() + 3);
  for (auto _ : state) {
    std::vector<std::string> machines;
    std::size_t bytes = Step(db, MachineQueryText(data), &machines);
    for (const std::string& machine : machines)
      bytes += Step(db, CalendarQueryText(data, machine), nullptr, readColumns);
    bytes += Step(db, DepartmentQueryText(data), nullptr, readColumns);
    bytes += Step(db, SubcontractorQueryText(data), nullptr, readColumns);
    bytes += Step(db, PlanQueryText(data), nullptr, readColumns);
    benchmark::DoNotOptimize(bytes);
  }
}

void BM_RawSqliteReadingEveryColumn(benchmark::State& state) {
  RawStatements(state, true);
}
BENCHMARK(BM_RawSqliteReadingEveryColumn)->Unit(benchmark::kMillisecond);

void BM_RawSqliteSteppingOnly(benchmark::State& state) {
  RawStatements(state, false);
}
BENCHMARK(BM_RawSqliteSteppingOnly)->Unit(benchmark::kMillisecond);

// The plan query alone, the loader's largest part, both ways.
void BM_ReturnPlanDataOnly(benchmark::State& state) {
  PlanData rows = Plant().selection;
  LoadWorkCenterRows(rows, Plant().command, chart::kPlanBarHeight, Nobody());
  for (auto _ : state) {
    PlanData data = rows;
    data.ResetPlanTable();
    NoBarControls bars;
    ReturnPlanData(data, Plant().connection, bars);
    benchmark::DoNotOptimize(data);
  }
}
BENCHMARK(BM_ReturnPlanDataOnly)->Unit(benchmark::kMillisecond);

void BM_RawPlanQuerySteppingOnly(benchmark::State& state) {
  sqlite3* db = Plant().connection.Handle();
  const PlanData& data = Plant().selection;
  for (auto _ : state) benchmark::DoNotOptimize(Step(db, PlanQueryText(data), nullptr, false));
}
BENCHMARK(BM_RawPlanQuerySteppingOnly)->Unit(benchmark::kMillisecond);

std::size_t HeapBytes(const std::string& s) {
  return s.capacity() > 15 ? s.capacity() + 1 : 0;
}

std::size_t EntryBytes(const PlanEntry& e) {
  std::size_t bytes = sizeof(PlanEntry);
  for (const std::string* s :
       {&e.MachineCode, &e.DestinationCode, &e.ItemCode, &e.PlanItemCode, &e.ProcessName,
        &e.FirstProcessName, &e.ModelName, &e.PlanNoText, &e.ConfirmFlag, &e.ItemKind,
        &e.SheetIssueDate, &e.FixedFlag, &e.MoldNo}) {
    bytes += HeapBytes(*s);
  }
  for (const MemberGroup* group : {&e.A, &e.B}) {
    for (int k = 1; k <= group->Stored(); ++k) {
      const Member& m = (*group)[k];
      bytes += sizeof(Member) + HeapBytes(m.ItemCode) + HeapBytes(m.ProcessName) +
               HeapBytes(m.ModelName);
    }
  }
  return bytes;
}

void BM_PlanTableBytesPerEntry(benchmark::State& state) {
  const PlanData data = Load();
  double perEntry = 0;
  for (auto _ : state) {
    std::size_t total = 0;
    for (int i = 2; i <= data.PlanCount(); ++i)
      total += EntryBytes(data.PlanTable[static_cast<std::size_t>(i)]);
    perEntry = static_cast<double>(total) / (data.PlanCount() - 1);
    benchmark::DoNotOptimize(total);
  }
  state.counters["plans"] = data.PlanCount() - 1;
  state.counters["bytes_per_entry"] = perEntry;
  state.counters["sizeof_PlanEntry"] = sizeof(PlanEntry);
}
BENCHMARK(BM_PlanTableBytesPerEntry)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
