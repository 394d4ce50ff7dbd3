// Reading a three-table LEFT JOIN of 100,000 rows through Recordset (fields by name) against
// stepping the same statement with the raw SQLite API.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "db/recordset.h"
#include "db/sqlite_statement.h"
#include "schema_sql.h"

namespace {

using namespace velmora;

constexpr int kRows = 100000;
constexpr const char* kQuery =
    "SELECT 手配情報.手配番号,手配情報.品名コード,手配情報.納期,手配情報.手配数,品目マスタ.型番名,"
    "生産計画情報.計画数 FROM ((手配情報 LEFT JOIN 品目マスタ ON "
    "手配情報.品名コード=品目マスタ.品名コード) "
    "LEFT JOIN 生産計画情報 ON 手配情報.生産計画番号=生産計画情報.生産計画番号) ORDER BY "
    "手配情報.手配番号";
constexpr const char* kColumns[] = {"手配番号", "品名コード", "納期", "手配数", "型番名", "計画数"};

struct BenchDb {
  BenchDb() {
    char dir[] = "/tmp/velmora-bench-XXXXXX";
    path = std::string(mkdtemp(dir)) + "/bench.db";
    connection = db::CreateDatabase(path);
    connection.ExecuteScript(SchemaSql());
    connection.ExecuteScript("BEGIN");
    db::StatementPtr item = db::Prepare(
        connection.Handle(), "INSERT INTO 品目マスタ (品名コード, 型番名) VALUES (?, ?)");
    for (int i = 0; i < 1000; ++i) {
      const std::string code = "BX" + std::to_string(1000 + i) + "-01A";
      const std::string model = "型番" + std::to_string(i);
      sqlite3_bind_text(item.get(), 1, code.c_str(), -1, SQLITE_TRANSIENT);
      sqlite3_bind_text(item.get(), 2, model.c_str(), -1, SQLITE_TRANSIENT);
      sqlite3_step(item.get());
      sqlite3_reset(item.get());
    }
    db::StatementPtr plan = db::Prepare(
        connection.Handle(), "INSERT INTO 生産計画情報 (生産計画番号, 計画数) VALUES (?, ?)");
    for (int i = 0; i < 5000; ++i) {
      sqlite3_bind_int(plan.get(), 1, i);
      sqlite3_bind_int(plan.get(), 2, 100 * i);
      sqlite3_step(plan.get());
      sqlite3_reset(plan.get());
    }
    db::StatementPtr arrangement = db::Prepare(connection.Handle(),
                                               "INSERT INTO 手配情報 (手配番号, 生産計画番号, "
                                               "品名コード, 納期, 手配数) VALUES (?, ?, ?, ?, ?)");
    for (int i = 0; i < kRows; ++i) {
      const std::string code =
          "BX" + std::to_string(1000 + i % 1200) + "-01A";  // some without item
      sqlite3_bind_int(arrangement.get(), 1, i + 1);
      sqlite3_bind_int(arrangement.get(), 2, i % 6000);  // some without plan
      sqlite3_bind_text(arrangement.get(), 3, code.c_str(), -1, SQLITE_TRANSIENT);
      sqlite3_bind_text(arrangement.get(), 4, "20240415", -1, SQLITE_STATIC);
      sqlite3_bind_int(arrangement.get(), 5, 100 + i % 900);
      sqlite3_step(arrangement.get());
      sqlite3_reset(arrangement.get());
    }
    connection.ExecuteScript("COMMIT");
  }
  ~BenchDb() { std::filesystem::remove_all(std::filesystem::path(path).parent_path()); }

  std::string path;
  db::Connection connection;
};

BenchDb& Db() {
  static BenchDb db;
  return db;
}

void BM_RawSqlite(benchmark::State& state) {
  sqlite3* handle = Db().connection.Handle();
  for (auto _ : state) {
    db::StatementPtr stmt = db::Prepare(handle, kQuery);
    std::size_t bytes = 0;
    while (sqlite3_step(stmt.get()) == SQLITE_ROW) {
      for (int c = 0; c < 6; ++c) {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt.get(), c));
        std::string value =
            text ? std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(stmt.get(), c)))
                 : std::string();
        bytes += value.size();
      }
    }
    benchmark::DoNotOptimize(bytes);
  }
  state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_RawSqlite)->Unit(benchmark::kMillisecond);

void BM_RecordsetByName(benchmark::State& state) {
  for (auto _ : state) {
    db::Recordset rs;
    rs.Open(kQuery, Db().connection, db::CursorType::ForwardOnly, db::LockType::ReadOnly);
    std::size_t bytes = 0;
    for (; !rs.Eof(); rs.MoveNext()) {
      for (const char* name : kColumns) bytes += rs.Fields(name).Text().size();
    }
    benchmark::DoNotOptimize(bytes);
  }
  state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_RecordsetByName)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
