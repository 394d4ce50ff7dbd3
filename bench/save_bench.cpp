// Saving on the large generated plant (about 20,000 plans on 100 machines): 1,000 and 10,000
// entries moved to another machine and a day later, and 1,000 moved entries that each gain a
// member split off their own arrangement (a new number, a copy of the row and of its
// requirement rows). Each save is measured against a baseline that does the same reads and
// writes with statements prepared once, in one transaction; before a baseline is timed, both
// write once from the same start and must leave the same tables.
// Every iteration starts from a copy of the generated file and of the loaded tables, both made
// outside the timing.
// Targets: the plain save within 1.3 times its baseline, with new members within 1.5 times; the
// check of other programs' changes at most a tenth of the save; 10,000 entries about ten times
// 1,000.

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "common/date_text.h"
#include "db/connection.h"
#include "db/sqlite_statement.h"
#include "save_baseline.h"
#include "save_plant.h"
#include "saving/others_changes.h"
#include "saving/plan_save.h"

namespace {

using namespace velmora;
using bench::Case;
using bench::Plant;
using bench::TheCase;
using bench::ThePlant;

void Save(PlanData& data, db::Connection& connection) {
  saving::SaveContext ctx{data,       ThePlant().model,
                          connection, ThePlant().yes,
                          "bench001", DateTime::FromDate(2024, 4, 1) + DateTime::FromTime(9, 0, 0)};
  if (saving::SavePlan(ctx) != saving::SaveResult::Complete)
    throw std::runtime_error("the save did not complete");
}

void Baseline(PlanData& data, db::Connection& connection) {
  bench::SaveWithPreparedStatements(connection.Handle(), data);
}

// A digest of every table a save writes, rowids and stored types included.
std::uint64_t Digest(db::Connection& connection) {
  std::uint64_t hash = 14695981039346656037ull;
  const auto mix = [&](const void* bytes, std::size_t n) {
    for (std::size_t k = 0; k < n; ++k) {
      hash ^= static_cast<const unsigned char*>(bytes)[k];
      hash *= 1099511628211ull;
    }
  };
  for (const char* table : {"手配情報", "所要量情報", "品目別機械別ｻｲｸﾙﾏｽﾀ", "番号管理マスタ"}) {
    const db::StatementPtr stmt = db::Prepare(
        connection.Handle(), std::string("SELECT _rowid_,* FROM ") + table + " ORDER BY _rowid_");
    while (sqlite3_step(stmt.get()) == SQLITE_ROW) {
      for (int c = 0; c < sqlite3_column_count(stmt.get()); ++c) {
        const int type = sqlite3_column_type(stmt.get(), c);
        mix(&type, sizeof type);
        if (type == SQLITE_INTEGER) {
          const std::int64_t v = sqlite3_column_int64(stmt.get(), c);
          mix(&v, sizeof v);
        } else if (type == SQLITE_FLOAT) {
          const double v = sqlite3_column_double(stmt.get(), c);
          mix(&v, sizeof v);
        } else if (type != SQLITE_NULL) {
          mix(sqlite3_column_blob(stmt.get(), c),
              static_cast<std::size_t>(sqlite3_column_bytes(stmt.get(), c)));
        }
      }
    }
  }
  return hash;
}

// Both writers once from the same start: the baseline is only worth comparing when it leaves
// exactly the tables the save leaves.
std::optional<std::string> Disagreement(const Case& c) {
  Plant& plant = ThePlant();
  const std::uint64_t before = Digest(plant.Fresh());
  PlanData data = c.data;
  Save(data, plant.Fresh());
  const std::uint64_t saved = Digest(plant.connection);
  data = c.data;
  Baseline(data, plant.Fresh());
  const std::uint64_t raw = Digest(plant.connection);
  if (saved == before) return "the save wrote nothing";
  if (saved != raw) return "the baseline leaves other tables than the save";
  return std::nullopt;
}

// Milliseconds per run of each benchmark so far, for the ratios.
std::map<std::string, double>& Results() {
  static std::map<std::string, double> results;
  return results;
}

using Clock = std::chrono::steady_clock;

// Times one `write` per iteration, each on a fresh copy of the file and of the tables.
template <typename Write>
double MillisecondsPerRun(benchmark::State& state, const Case& c, Write write) {
  Plant& plant = ThePlant();
  PlanData data;
  Clock::duration total{};
  for (auto _ : state) {
    state.PauseTiming();
    data = c.data;  // the previous copy goes here, outside the timing
    db::Connection& connection = plant.Fresh();
    state.ResumeTiming();
    const Clock::time_point start = Clock::now();
    write(data, connection);
    total += Clock::now() - start;
  }
  return std::chrono::duration<double, std::milli>(total).count() /
         static_cast<double>(state.iterations());
}

std::string Key(const char* writer, int count, bool split) {
  return std::string(writer) + "/" + std::to_string(count) + (split ? "+split" : "");
}

void Report(benchmark::State& state, const Case& c, const char* writer, double ms, bool split) {
  Results()[Key(writer, c.entries, split)] = ms;
  state.counters["entries"] = c.entries;
  state.counters["slots"] = c.slots;
  state.counters["us_per_slot"] = ms * 1000 / c.slots;
  const auto& results = Results();
  if (auto it = results.find(Key("save", c.entries, split));
      writer != std::string("save") && it != results.end()) {
    state.counters["save_ratio"] = it->second / ms;
  }
  if (auto it = results.find(Key(writer, 1000, split)); c.entries != 1000 && it != results.end())
    state.counters["growth"] = ms / it->second;
}

void BM_Save(benchmark::State& state, int count, bool split) {
  try {
    const Case& c = TheCase(count, split);
    Report(state, c, "save", MillisecondsPerRun(state, c, Save), split);
  } catch (const std::exception& e) {
    state.SkipWithError(e.what());
  }
}

void BM_RawSqlite(benchmark::State& state, int count, bool split) {
  try {
    Case& c = TheCase(count, split);
    if (!c.verified) {
      if (auto problem = Disagreement(c)) {
        state.SkipWithError(problem->c_str());
        return;
      }
      c.verified = true;
    }
    Report(state, c, "raw", MillisecondsPerRun(state, c, Baseline), split);
  } catch (const std::exception& e) {
    state.SkipWithError(e.what());
  }
}

// The same save without comparing the rows it writes over with what the load read and without
// reading them back as stored: `check_share` is what that comparison adds to the save.
void SaveUnchecked(PlanData& data, db::Connection& connection) {
  saving::SaveContext ctx{data,       ThePlant().model,
                          connection, ThePlant().yes,
                          "bench001", DateTime::FromDate(2024, 4, 1) + DateTime::FromTime(9, 0, 0)};
  ctx.checkOthers = false;
  if (saving::SavePlan(ctx) != saving::SaveResult::Complete)
    throw std::runtime_error("the save did not complete");
}

void BM_SaveUnchecked(benchmark::State& state, int count, bool split) {
  try {
    const Case& c = TheCase(count, split);
    const double ms = MillisecondsPerRun(state, c, SaveUnchecked);
    if (auto it = Results().find(Key("save", c.entries, split)); it != Results().end()) {
      state.counters["check_share"] = (it->second - ms) / it->second;
    }
  } catch (const std::exception& e) {
    state.SkipWithError(e.what());
  }
}

// The largest part of that comparison on its own: reading back, after the writes, the rows the
// save wrote, so that they count as read. `share_of_save` is its part of the save.
void ReadBack(PlanData& data, db::Connection& connection) {
  std::vector<std::int32_t> numbers;
  for (int i = 2; i <= data.PlanCount(); ++i) {
    const PlanEntry& e = data.PlanTable[static_cast<std::size_t>(i)];
    if (e.Changed == 0) continue;
    for (const MemberGroup* group : {&e.A, &e.B}) {
      for (int k = 1; k <= group->Stored(); ++k) {
        if ((*group)[k].OrderNo > 0) numbers.push_back((*group)[k].OrderNo);
      }
    }
  }
  if (saving::ArrangementVersions(connection, numbers).size() != numbers.size())
    throw std::runtime_error("rows missing");
}

void BM_ReadBack(benchmark::State& state, int count, bool split) {
  try {
    const Case& c = TheCase(count, split);
    const double ms = MillisecondsPerRun(state, c, ReadBack);
    if (auto it = Results().find(Key("save", c.entries, split)); it != Results().end()) {
      state.counters["share_of_save"] = ms / it->second;
    }
  } catch (const std::exception& e) {
    state.SkipWithError(e.what());
  }
}

// Each save followed by its baseline, at least three seconds of each: the commit's disk writes
// vary from run to run.
const bool registered = [] {
  for (const auto& [name, count, split] :
       {std::tuple{"1000_moved", 1000, false}, std::tuple{"10000_moved", 10000, false},
        std::tuple{"1000_moved_with_new_member", 1000, true}}) {
    for (const auto& [writer, run] :
         {std::pair{"BM_Save/", &BM_Save}, std::pair{"BM_RawSqlite/", &BM_RawSqlite},
          std::pair{"BM_SaveUnchecked/", &BM_SaveUnchecked},
          std::pair{"BM_ReadBack/", &BM_ReadBack}}) {
      benchmark::RegisterBenchmark((writer + std::string(name)).c_str(), run, count, split)
          ->Unit(benchmark::kMillisecond)
          ->UseRealTime()
          ->MinTime(3);
    }
  }
  return true;
}();

}  // namespace

BENCHMARK_MAIN();
