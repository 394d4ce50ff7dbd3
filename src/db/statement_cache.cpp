#include "db/statement_cache.h"

#include <sqlite3.h>

namespace velmora::db {

StatementLease::~StatementLease() {
  sqlite3_reset(stmt_);
  sqlite3_clear_bindings(stmt_);
}

StatementLease StatementCache::Lease(sqlite3* db, const std::string& sql) {
  auto it = statements_.find(sql);
  if (it == statements_.end()) it = statements_.emplace(sql, Prepare(db, sql)).first;
  return StatementLease(it->second.get());
}

}  // namespace velmora::db
