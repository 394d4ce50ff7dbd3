#pragma once

#include <sqlite3.h>

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

#include "db/connection.h"
#include "db/sqlite_statement.h"

namespace velmora::bench {

// A statement prepared once and run many times, its failures thrown as the program's layer
// throws them.
class Statement {
 public:
  Statement(sqlite3* db, const std::string& sql) : db_(db), stmt_(db::Prepare(db, sql)) {}

  sqlite3_stmt* get() const { return stmt_.get(); }
  void Int(int position, std::int64_t v) { Check(sqlite3_bind_int64(get(), position, v)); }
  void Real(int position, double v) { Check(sqlite3_bind_double(get(), position, v)); }
  void Text(int position, const std::string& v) {
    Check(
        sqlite3_bind_text(get(), position, v.data(), static_cast<int>(v.size()), SQLITE_TRANSIENT));
  }
  // True on a row, false at the end.
  bool Step() {
    const int rc = sqlite3_step(get());
    if (rc == SQLITE_ROW) return true;
    Check(rc == SQLITE_DONE ? SQLITE_OK : rc);
    return false;
  }
  void Run() {
    Step();
    Reset();
  }
  void Reset() { sqlite3_reset(get()); }

  std::int64_t ColumnInt(int c) const { return sqlite3_column_int64(get(), c); }
  double ColumnReal(int c) const { return sqlite3_column_double(get(), c); }
  bool ColumnNull(int c) const { return sqlite3_column_type(get(), c) == SQLITE_NULL; }
  std::string ColumnText(int c) const {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(get(), c));
    return text ? std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(get(), c)))
                : std::string();
  }
  int Column(const std::string& name) const {
    for (int c = 0; c < sqlite3_column_count(get()); ++c) {
      if (name == sqlite3_column_name(get(), c)) return c;
    }
    throw std::logic_error("no column " + name);
  }

 private:
  void Check(int rc) { db::Check(db_, rc, sqlite3_sql(get())); }
  sqlite3* db_;
  db::StatementPtr stmt_;
};

}  // namespace velmora::bench
