#include "e2e/saved_tables.h"

#include <sqlite3.h>

#include <cstddef>
#include <ios>

#include "e2e/sqlite_file.h"
#include "support/pg_test_server.h"

namespace velmora::test {

namespace {

// The tables a save writes.
const char* const kSavedTables[] = {"手配情報", "所要量情報", "品目別機械別ｻｲｸﾙﾏｽﾀ",
                                    "番号管理マスタ", "機械別勤務体系マスタ"};

void Mix(std::uint64_t& hash, const void* data, std::size_t size) {
  const auto* bytes = static_cast<const unsigned char*>(data);
  for (std::size_t i = 0; i < size; ++i) {
    hash ^= bytes[i];
    hash *= 1099511628211ull;
  }
}

}  // namespace

Contents ReadServerContents(const std::string& uri) {
  PgConnectionPtr server = ConnectPg(uri);
  Contents contents;
  for (const char* table : kSavedTables) {
    const PgResultPtr columns =
        ExecPg(server.get(), std::string("SELECT * FROM ") + table + " LIMIT 0");
    std::string order;
    for (int c = 0; c < PQnfields(columns.get()); ++c)
      order += (c ? "," : "") + std::to_string(c + 1);
    const PgResultPtr rows =
        ExecPg(server.get(), std::string("SELECT * FROM ") + table + " ORDER BY " + order);
    TableSum& sum = contents[table];
    for (int r = 0; r < PQntuples(rows.get()); ++r, ++sum.rows) {
      for (int c = 0; c < PQnfields(rows.get()); ++c) {
        const bool null = PQgetisnull(rows.get(), r, c) != 0;
        Mix(sum.hash, &null, sizeof null);
        const int length = PQgetlength(rows.get(), r, c);
        Mix(sum.hash, &length, sizeof length);
        Mix(sum.hash, PQgetvalue(rows.get(), r, c), static_cast<std::size_t>(length));
      }
    }
  }
  return contents;
}

void PrintTo(const TableSum& sum, std::ostream* os) {
  *os << sum.rows << " rows #" << std::hex << sum.hash << std::dec;
}

Contents ReadContents(const std::string& path) {
  SqliteFile file(path);
  Contents contents;
  for (const char* table : kSavedTables) {
    TableSum& sum = contents[table];
    file.Each(std::string("SELECT * FROM \"") + table + "\" ORDER BY rowid", [&](sqlite3_stmt* s) {
      ++sum.rows;
      for (int c = 0; c < sqlite3_column_count(s); ++c) {
        const int type = sqlite3_column_type(s, c);
        Mix(sum.hash, &type, sizeof type);
        if (type == SQLITE_INTEGER) {
          const sqlite3_int64 v = sqlite3_column_int64(s, c);
          Mix(sum.hash, &v, sizeof v);
        } else if (type == SQLITE_FLOAT) {
          const double v = sqlite3_column_double(s, c);
          Mix(sum.hash, &v, sizeof v);
        } else if (type != SQLITE_NULL) {
          const void* bytes = sqlite3_column_blob(s, c);
          const int size = sqlite3_column_bytes(s, c);
          Mix(sum.hash, &size, sizeof size);
          Mix(sum.hash, bytes, static_cast<std::size_t>(size));
        }
      }
    });
  }
  return contents;
}

std::string IntegrityCheck(const std::string& path) {
  return SqliteFile(path).Text("PRAGMA integrity_check");
}

int RowsNotIn(const std::string& path, const std::string& other, const std::string& table) {
  SqliteFile file(path);
  file.Each("ATTACH DATABASE ? AS other", [](sqlite3_stmt*) {}, {other});
  return std::stoi(file.Text("SELECT count(*) FROM (SELECT * FROM main.\"" + table +
                             "\" EXCEPT SELECT * FROM other.\"" + table + "\")"));
}

std::map<std::string, std::string> Arrangement(const std::string& path,
                                               const std::string& orderNo) {
  std::map<std::string, std::string> row;
  SqliteFile(path).Each("SELECT * FROM 手配情報 WHERE 手配番号=CAST(? AS INTEGER)",
                        [&](sqlite3_stmt* s) {
                          for (int c = 0; c < sqlite3_column_count(s); ++c)
                            row[sqlite3_column_name(s, c)] = SqliteFile::ColumnText(s, c);
                        },
                        {orderNo});
  return row;
}

}  // namespace velmora::test
