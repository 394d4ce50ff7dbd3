#include "db/transaction.h"

#include <sqlite3.h>

#include "common/errors.h"

namespace velmora::db {
namespace {

sqlite3* WritableHandle(Connection& connection) {
  if (connection.IsOpen() && connection.ReadOnly()) {
    throw DatabaseError("データベースは読み取り専用で開かれているため、書き込めません。\n" +
                        connection.Path());
  }
  return connection.Handle();
}

void Run(sqlite3* db, const std::string& sql) {
  Check(db, sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), sql);
}

// Destructors must not throw: a failed rollback leaves nothing to undo that the engine has not
// already undone, or the connection is closing anyway.
void RunQuietly(sqlite3* db, const std::string& sql) noexcept {
  sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
}

}  // namespace

Transaction::Transaction(Connection& connection) : db_(WritableHandle(connection)) {
  Run(db_, "BEGIN IMMEDIATE");
  active_ = true;
}

Transaction::~Transaction() {
  // An error such as a full disk may have ended the transaction inside the engine already.
  if (active_ && sqlite3_get_autocommit(db_) == 0) RunQuietly(db_, "ROLLBACK");
}

void Transaction::Commit() {
  if (!active_) throw DatabaseError("no transaction to commit");
  Run(db_, "COMMIT");
  active_ = false;
}

void Transaction::Rollback() {
  if (!active_) return;
  active_ = false;
  if (sqlite3_get_autocommit(db_) == 0) Run(db_, "ROLLBACK");
}

}  // namespace velmora::db
