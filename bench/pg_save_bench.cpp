// Saving on the large generated plant on a PostgreSQL server: 1,000 and 10,000 entries moved to
// another machine and a day later, each save against a baseline that does the same reads and
// writes with plain libpq, every statement prepared once, in one transaction on one connection.
// Before a baseline is timed, both write once from the same start and must leave the same
// tables. Every run starts from a fresh copy of the database (made from the generated one as a
// template) and of the loaded tables, both outside the timing. 1,000 moved entries that each
// gain a member split off their arrangement are saved too, without a baseline, for their
// requests.
// Targets: the save within 2 times its baseline; at most 2 requests to the server per moved
// entry plus a constant (`round_trips_per_entry`).

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "chart/chart_model.h"
#include "common/date_text.h"
#include "db/command.h"
#include "db/connection.h"
#include "db/recordset.h"
#include "pg_save_baseline.h"
#include "pg_server.h"
#include "save_plant.h"
#include "saving/plan_save.h"
#include "startup/main_form_load.h"

namespace {

using namespace velmora;
namespace pg = bench::pg;
using bench::Case;

// The generated plant loaded once as the window loads it, kept as a template database that is
// never written; every run writes a fresh copy of it.
struct ServerPlant {
  ServerPlant() : pristine(pg::ScratchName("save_plant")), work(pg::ScratchName("save_work")) {
    const std::string uri = pg::GenerateLargePlant(pristine);
    db::Connection loader;
    loader.OpenServer(uri);
    // New members are numbered from this row; a database without it would stop the save at once.
    loader.ExecuteScript(
        "INSERT INTO 番号管理マスタ (番号管理キー,現在番号,開始番号,終了番号) SELECT '" +
        bench::kNumberKey + "',MAX(手配番号),1,9999999 FROM 手配情報 ON CONFLICT DO NOTHING");
    bench::LoadForSave(loader, loaded, model, withRequirements, yes);
  }  // the loader's session ends here: a template database must have none

  ~ServerPlant() {
    connection = db::Connection();
    raw.reset();
    try {
      pg::DropDatabase(work);
      pg::DropDatabase(pristine);
    } catch (...) {
      // The server goes after the run anyway.
    }
  }

  // A fresh copy of the generated database, opened as the program opens it.
  db::Connection& Fresh() {
    Copy();
    connection.OpenServer(workUri);
    return connection;
  }
  // The same copy for the baseline, on a plain libpq session.
  PGconn* FreshRaw() {
    Copy();
    raw = pg::Connect(workUri);
    return raw.get();
  }

  bench::YesToAll yes;
  std::string pristine;
  std::string work;
  std::string workUri;
  PlanData loaded;
  chart::ChartModel model;
  std::set<std::int32_t> withRequirements;
  db::Connection connection;  // on `work`
  pg::ConnectionPtr raw;      // on `work`

 private:
  void Copy() {
    connection = db::Connection();
    raw.reset();
    workUri = pg::CreateDatabase(work, pristine);
  }
};

ServerPlant& ThePlant() {
  static ServerPlant plant;
  return plant;
}

Case& TheCase(int count, bool split) {
  static std::map<std::pair<int, bool>, Case> cases;
  auto it = cases.find({count, split});
  if (it == cases.end()) {
    it = cases
             .emplace(
                 std::pair{count, split},
                 bench::MoveEntries(ThePlant().loaded, ThePlant().withRequirements, count, split))
             .first;
  }
  return it->second;
}

std::size_t Save(PlanData& data, db::Connection& connection) {
  const std::size_t before = connection.RoundTrips();
  saving::SaveContext ctx{data,       ThePlant().model,
                          connection, ThePlant().yes,
                          "bench001", DateTime::FromDate(2024, 4, 1) + DateTime::FromTime(9, 0, 0)};
  if (saving::SavePlan(ctx) != saving::SaveResult::Complete)
    throw std::runtime_error("the save did not complete");
  return connection.RoundTrips() - before;
}

// The contents of every table a save writes, as the server prints its rows, in a fixed order.
std::string Digest(PGconn* connection) {
  std::string digest;
  for (const char* table : {"手配情報", "所要量情報", "品目別機械別ｻｲｸﾙﾏｽﾀ", "番号管理マスタ"}) {
    const pg::ResultPtr result =
        pg::Exec(connection, std::string("SELECT count(*), md5(string_agg(t::text, E'\\n' ORDER "
                                         "BY t::text)) FROM ") +
                                 table + " t");
    digest += std::string(table) + ":" + PQgetvalue(result.get(), 0, 0) + ":" +
              PQgetvalue(result.get(), 0, 1) + "\n";
  }
  return digest;
}

// Both writers once from the same start: the baseline is only worth comparing when it leaves
// exactly the tables the save leaves.
std::optional<std::string> Disagreement(const Case& c) {
  ServerPlant& plant = ThePlant();
  const std::string before = Digest(plant.FreshRaw());
  PlanData data = c.data;
  Save(data, plant.Fresh());
  const std::string saved = Digest(pg::Connect(plant.workUri).get());
  data = c.data;
  pg::SaveWithPreparedStatements(plant.FreshRaw(), data);
  const std::string raw = Digest(plant.raw.get());
  if (saved == before) return "the save wrote nothing";
  if (saved != raw) {
    return "the baseline leaves other tables than the save:\nsave:\n" + saved + "baseline:\n" + raw;
  }
  return std::nullopt;
}

std::string Key(const char* writer, int count, bool split) {
  return std::string(writer) + "/" + std::to_string(count) + (split ? "+split" : "");
}

using Clock = std::chrono::steady_clock;

// Times one `write` per iteration, each on a fresh copy of the database and of the tables;
// `write` returns the requests it sent. Reports the requests of the last run.
template <typename Fresh, typename Write>
void Measure(benchmark::State& state, const Case& c, const char* writer, bool split, Fresh fresh,
             Write write) {
  PlanData data;
  Clock::duration total{};
  std::size_t trips = 0;
  for (auto _ : state) {
    state.PauseTiming();
    data = c.data;  // the previous copy goes here, outside the timing
    auto&& connection = fresh();
    state.ResumeTiming();
    const Clock::time_point start = Clock::now();
    trips = write(data, connection);
    total += Clock::now() - start;
  }
  const double ms = std::chrono::duration<double, std::milli>(total).count() /
                    static_cast<double>(state.iterations());
  pg::Runs()[Key(writer, c.entries, split)].push_back(ms);
  state.counters["entries"] = c.entries;
  state.counters["round_trips"] = static_cast<double>(trips);
  state.counters["round_trips_per_entry"] = static_cast<double>(trips) / c.entries;
  state.counters["us_per_entry"] = ms * 1000 / c.entries;
  const auto& runs = pg::Runs();
  if (auto it = runs.find(Key("save", c.entries, split));
      writer != std::string("save") && it != runs.end()) {
    state.counters["save_ratio"] = pg::Median(it->second) / ms;
  }
  if (auto it = runs.find(Key(writer, 1000, split)); c.entries != 1000 && it != runs.end())
    state.counters["growth"] = ms / pg::Median(it->second);
}

void BM_PgSave(benchmark::State& state, int count, bool split) {
  try {
    const Case& c = TheCase(count, split);
    Measure(
        state, c, "save", split, []() -> db::Connection& { return ThePlant().Fresh(); }, Save);
  } catch (const std::exception& e) {
    pg::Fail(state, e.what());
  }
}

void BM_RawPg(benchmark::State& state, int count, bool split) {
  try {
    Case& c = TheCase(count, split);
    if (!c.verified) {
      if (auto problem = Disagreement(c)) {
        pg::Fail(state, *problem);
        return;
      }
      c.verified = true;
    }
    Measure(
        state, c, "raw", split, [] { return ThePlant().FreshRaw(); },
        [](PlanData& data, PGconn* connection) {
          return pg::SaveWithPreparedStatements(connection, data);
        });
  } catch (const std::exception& e) {
    pg::Fail(state, e.what());
  }
}

// Each save followed by its baseline; one save per repetition, as each needs its own copy of
// the database, and the medians of the repetitions compared.
const bool registered = [] {
  for (const auto& [name, count, split, repetitions] :
       {std::tuple{"1000_moved", 1000, false, 5}, std::tuple{"10000_moved", 10000, false, 3},
        std::tuple{"1000_moved_with_new_member", 1000, true, 3}}) {
    benchmark::RegisterBenchmark(("BM_PgSave/" + std::string(name)).c_str(), BM_PgSave, count,
                                 split)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(1)
        ->Repetitions(repetitions)
        ->ReportAggregatesOnly(true);
    if (split) continue;  // the baseline mirrors moves only
    benchmark::RegisterBenchmark(("BM_RawPg/" + std::string(name)).c_str(), BM_RawPg, count, split)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(1)
        ->Repetitions(repetitions)
        ->ReportAggregatesOnly(true);
  }
  return true;
}();

}  // namespace

int main(int argc, char** argv) {
  return velmora::bench::pg::RunBenchmarks(argc, argv);
}
