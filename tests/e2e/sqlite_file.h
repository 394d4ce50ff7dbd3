#pragma once

#include <sqlite3.h>

#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace velmora::test {

// A connection of the test's own, straight on the engine: what the program stored, read without
// the program's layer.
class SqliteFile {
 public:
  explicit SqliteFile(const std::string& path) {
    if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
      const std::string why = sqlite3_errmsg(db_);
      sqlite3_close(db_);
      throw std::runtime_error("cannot open " + path + ": " + why);
    }
  }
  ~SqliteFile() { sqlite3_close(db_); }
  SqliteFile(const SqliteFile&) = delete;
  SqliteFile& operator=(const SqliteFile&) = delete;

  void Execute(const std::string& sql) {
    char* error = nullptr;
    if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
      const std::string why = error ? error : sqlite3_errmsg(db_);
      sqlite3_free(error);
      throw std::runtime_error(sql + ": " + why);
    }
  }

  // Calls `row` with the statement on each result row; `texts` fill the `?`s in order.
  template <typename Row>
  void Each(const std::string& sql, Row row, const std::vector<std::string>& texts = {}) {
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) {
      throw std::runtime_error(sql + ": " + sqlite3_errmsg(db_));
    }
    for (std::size_t i = 0; i < texts.size(); ++i) {
      sqlite3_bind_text(stmt, static_cast<int>(i + 1), texts[i].data(),
                        static_cast<int>(texts[i].size()), SQLITE_TRANSIENT);
    }
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) row(stmt);
    sqlite3_finalize(stmt);
    if (rc != SQLITE_DONE) throw std::runtime_error(sql + ": " + sqlite3_errmsg(db_));
  }

  // The first column of the first row as text; "" when there is no row.
  std::string Text(const std::string& sql, const std::vector<std::string>& texts = {}) {
    std::optional<std::string> first;
    Each(
        sql,
        [&](sqlite3_stmt* s) {
          if (!first) first = ColumnText(s, 0);
        },
        texts);
    return first.value_or("");
  }

  static std::string ColumnText(sqlite3_stmt* s, int c) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(s, c));
    return text ? std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(s, c))) : "";
  }

 private:
  sqlite3* db_ = nullptr;
};

}  // namespace velmora::test
