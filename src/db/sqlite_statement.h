#pragma once

#include <memory>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace velmora::db {

// Throws DatabaseError with the engine's message when `rc` is an error code.
void Check(sqlite3* db, int rc, std::string_view what);

struct StatementDeleter {
  void operator()(sqlite3_stmt* stmt) const;
};
using StatementPtr = std::unique_ptr<sqlite3_stmt, StatementDeleter>;
StatementPtr Prepare(sqlite3* db, std::string_view sql);

}  // namespace velmora::db
