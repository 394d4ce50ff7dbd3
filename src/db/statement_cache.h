#pragma once

#include <cstddef>
#include <string>
#include <unordered_map>

#include "db/connection.h"

namespace velmora::db {

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
  StatementLease Lease(sqlite3* db, const std::string& sql);
  void Clear() { statements_.clear(); }
  std::size_t Size() const { return statements_.size(); }

 private:
  std::unordered_map<std::string, StatementPtr> statements_;
};

}  // namespace velmora::db
