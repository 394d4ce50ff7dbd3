// Loading the large plant from a PostgreSQL server: the plan loader against fetching the same
// statement with plain libpq and reading every field as text, and the whole load (rows,
// calendars, plans) against the same statements sent one by one.
// Target: the plan load within 1.5 times the plain fetch (`ratio_to_raw`, from the medians).

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include "chart/bar_height.h"
#include "common/questions.h"
#include "db/command.h"
#include "db/connection.h"
#include "pg_server.h"
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
namespace pg = bench::pg;

struct LargePlant {
  LargePlant() : name(pg::ScratchName("load")), uri(pg::GenerateLargePlant(name)) {
    connection.OpenServer(uri);
    command.ActiveConnection = &connection;
    selection.PlantCode = 3;
    selection.CategoryCode = "3";
    selection.SetPeriod("2024/04/01", "2024/06/29");
    raw = pg::Connect(uri);
  }
  ~LargePlant() {
    connection = db::Connection();
    raw.reset();
    try {
      pg::DropDatabase(name);
    } catch (...) {
      // The server goes after the run anyway.
    }
  }

  std::string name;
  std::string uri;
  db::Connection connection;
  db::Command command;
  PlanData selection;
  pg::ConnectionPtr raw;  // the plain fetches' own session
};

LargePlant& Plant() {
  static LargePlant plant;
  return plant;
}

using Clock = std::chrono::steady_clock;

// Times `run` per iteration and records this repetition's milliseconds under `key`; with
// `against`, reports this repetition over the median of that one's as `ratio_to_raw`.
template <typename Run>
void Measure(benchmark::State& state, const std::string& key, const std::string& against, Run run) {
  try {
    Plant();  // the database is made before the timing starts
    Clock::duration total{};
    for (auto _ : state) {
      const Clock::time_point start = Clock::now();
      run();
      total += Clock::now() - start;
    }
    const double ms = std::chrono::duration<double, std::milli>(total).count() /
                      static_cast<double>(state.iterations());
    pg::Runs()[key].push_back(ms);
    if (auto it = pg::Runs().find(against); !against.empty() && it != pg::Runs().end())
      state.counters["ratio_to_raw"] = ms / pg::Median(it->second);
  } catch (const std::exception& e) {
    pg::Fail(state, e.what());
  }
}

// Sends a statement whole and reads every field of every row as text (or, with `readFields`
// false, only the first, which the calendar queries need).
std::size_t Fetch(PGconn* connection, const std::string& sql,
                  std::vector<std::string>* firstColumn = nullptr, bool readFields = true) {
  const pg::ResultPtr result = pg::Exec(connection, sql);
  const PGresult* r = result.get();
  const int rows = PQntuples(r);
  const int fields = readFields ? PQnfields(r) : std::min(PQnfields(r), 1);
  std::size_t bytes = 0;
  for (int row = 0; row < rows; ++row) {
    for (int c = 0; c < fields; ++c) {
      const std::string value(PQgetvalue(r, row, c),
                              static_cast<std::size_t>(PQgetlength(r, row, c)));
      bytes += value.size();
      if (c == 0 && firstColumn) firstColumn->push_back(value);
    }
  }
  return bytes;
}

void BM_RawPgPlanQueryReadingEveryField(benchmark::State& state) {
  Measure(state, "raw_plans", "", [] {
    benchmark::DoNotOptimize(Fetch(Plant().raw.get(), PlanQueryText(Plant().selection)));
  });
}
BENCHMARK(BM_RawPgPlanQueryReadingEveryField)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// The plan query alone, the loader's largest part.
void BM_PgReturnPlanDataOnly(benchmark::State& state) {
  PlanData rows;
  try {
    rows = Plant().selection;
    LoadWorkCenterRows(rows, Plant().command, chart::kPlanBarHeight, Nobody());
  } catch (const std::exception& e) {
    pg::Fail(state, e.what());
    return;
  }
  int plans = 0;
  Measure(state, "plans", "raw_plans", [&] {
    PlanData data = rows;
    data.ResetPlanTable();
    NoBarControls bars;
    ReturnPlanData(data, Plant().connection, bars);
    plans = data.PlanCount() - 1;
    benchmark::DoNotOptimize(data);
  });
  state.counters["plans"] = plans;
}
BENCHMARK(BM_PgReturnPlanDataOnly)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// Every statement of the load, each sent whole, calendars stepped for their first column as
// the calendar reader reads them.
void BM_RawPgEveryLoadStatement(benchmark::State& state) {
  Measure(state, "raw_load", "", [] {
    PGconn* connection = Plant().raw.get();
    PlanData data = Plant().selection;
    data.DayCount =
        static_cast<std::int16_t>((data.PeriodEndDate() - data.PeriodStartDate()).Days() + 3);
    std::vector<std::string> machines;
    std::size_t bytes = Fetch(connection, MachineQueryText(data), &machines);
    for (const std::string& machine : machines)
      bytes += Fetch(connection, CalendarQueryText(data, machine), nullptr, false);
    bytes += Fetch(connection, DepartmentQueryText(data));
    bytes += Fetch(connection, SubcontractorQueryText(data));
    bytes += Fetch(connection, PlanQueryText(data));
    benchmark::DoNotOptimize(bytes);
  });
}
BENCHMARK(BM_RawPgEveryLoadStatement)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_PgLoadersRowsCalendarsPlans(benchmark::State& state) {
  std::size_t trips = 0;
  Measure(state, "load", "raw_load", [&] {
    db::Connection& connection = Plant().connection;
    const std::size_t before = connection.RoundTrips();
    PlanData data = Plant().selection;
    LoadWorkCenterRows(data, Plant().command, chart::kPlanBarHeight, Nobody());
    data.ResetPlanTable();
    NoBarControls bars;
    ReturnPlanData(data, connection, bars);
    trips = connection.RoundTrips() - before;
    benchmark::DoNotOptimize(data);
  });
  state.counters["round_trips"] = static_cast<double>(trips);
}
BENCHMARK(BM_PgLoadersRowsCalendarsPlans)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) {
  return velmora::bench::pg::RunBenchmarks(argc, argv);
}
