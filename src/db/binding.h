#pragma once

#include "db/value.h"

struct sqlite3;
struct sqlite3_stmt;

namespace velmora::db {

// Binds a value to parameter `position` (1-based) of a prepared statement.
void Bind(sqlite3* db, sqlite3_stmt* stmt, int position, const Value& value);
// The value of result column `column` (0-based) of the current row.
Value ColumnValue(sqlite3_stmt* stmt, int column);

}  // namespace velmora::db
