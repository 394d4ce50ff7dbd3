#include "db/binding.h"

#include <sqlite3.h>

#include "db/sqlite_statement.h"

namespace velmora::db {

void Bind(sqlite3* db, sqlite3_stmt* stmt, int position, const Value& value) {
  int rc = SQLITE_OK;
  const auto& raw = value.Raw();
  if (value.IsNull()) {
    rc = sqlite3_bind_null(stmt, position);
  } else if (const auto* i = std::get_if<std::int64_t>(&raw)) {
    rc = sqlite3_bind_int64(stmt, position, *i);
  } else if (const auto* d = std::get_if<double>(&raw)) {
    rc = sqlite3_bind_double(stmt, position, *d);
  } else {
    const std::string& s = std::get<std::string>(raw);
    rc = sqlite3_bind_text(stmt, position, s.data(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
  }
  Check(db, rc, "binding a value");
}

Value ColumnValue(sqlite3_stmt* stmt, int column) {
  switch (sqlite3_column_type(stmt, column)) {
    case SQLITE_INTEGER:
      return Value(static_cast<std::int64_t>(sqlite3_column_int64(stmt, column)));
    case SQLITE_FLOAT:
      return Value(sqlite3_column_double(stmt, column));
    case SQLITE_NULL:
      return Value();
    default: {
      const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, column));
      return Value(std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(stmt, column))));
    }
  }
}

}  // namespace velmora::db
