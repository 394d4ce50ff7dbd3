#pragma once

#include <cstddef>
#include <memory>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "db/sqlite_statement.h"

namespace velmora::db {

struct ResultColumns;  // a recordset's view of a statement's columns

// A cached statement in use: the caller binds and steps it; when the lease ends the statement is
// reset and its parameters cleared, so the next user starts clean even after an error.
class StatementLease {
 public:
  explicit StatementLease(sqlite3_stmt* stmt) : stmt_(stmt) {}
  StatementLease(const StatementLease&) = delete;
  StatementLease& operator=(const StatementLease&) = delete;
  ~StatementLease();
  sqlite3_stmt* get() const { return stmt_; }

 private:
  sqlite3_stmt* stmt_;
};

// Prepared statements of one connection, by SQL text. A save writes thousands of rows with the
// same few statement shapes; preparing each once keeps those writes cheap. Texts come from the
// program (table and column names), so the number of entries stays small. A text is leased by
// one user at a time.
class StatementCache {
 public:
  struct Entry {
    StatementPtr stmt;
    std::shared_ptr<const ResultColumns> columns;  // filled by the first recordset that reads it
    bool taken = false;
  };

  StatementLease Lease(sqlite3* db, std::string_view sql);
  // The entry of `sql` for a user that holds its statement across calls (a recordset stepping
  // through its rows); nullptr while another user holds it. Return gives it back reset and
  // cleared.
  Entry* Take(sqlite3* db, std::string_view sql);
  static void Return(Entry* entry);
  void Clear() { statements_.clear(); }
  std::size_t Size() const { return statements_.size(); }

 private:
  Entry& Find(sqlite3* db, std::string_view sql);
  // Looked up by the text as given, without a copy: every read and write asks.
  struct TextHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const {
      return std::hash<std::string_view>{}(text);
    }
  };
  std::unordered_map<std::string, Entry, TextHash, std::equal_to<>> statements_;
};

}  // namespace velmora::db
