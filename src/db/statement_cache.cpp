#include "db/statement_cache.h"

#include <sqlite3.h>

namespace velmora::db {

StatementLease::~StatementLease() {
  sqlite3_reset(stmt_);
  sqlite3_clear_bindings(stmt_);
}

StatementCache::Entry& StatementCache::Find(sqlite3* db, std::string_view sql) {
  auto it = statements_.find(sql);
  if (it == statements_.end())
    it = statements_.emplace(std::string(sql), Entry{Prepare(db, sql), nullptr, false}).first;
  return it->second;
}

StatementLease StatementCache::Lease(sqlite3* db, std::string_view sql) {
  return StatementLease(Find(db, sql).stmt.get());
}

StatementCache::Entry* StatementCache::Take(sqlite3* db, std::string_view sql) {
  Entry& entry = Find(db, sql);
  if (entry.taken) return nullptr;
  entry.taken = true;
  return &entry;
}

void StatementCache::Return(Entry* entry) {
  sqlite3_reset(entry->stmt.get());
  sqlite3_clear_bindings(entry->stmt.get());
  entry->taken = false;
}

}  // namespace velmora::db
