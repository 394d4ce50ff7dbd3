#include "db/transaction.h"

#include "common/errors.h"

namespace velmora::db {
namespace {

Engine* WritableEngine(Connection& connection) {
  if (connection.IsOpen() && connection.ReadOnly()) {
    throw DatabaseError("データベースは読み取り専用で開かれているため、書き込めません。\n" +
                        connection.Path());
  }
  return &connection.Engine();
}

}  // namespace

Transaction::Transaction(Connection& connection) : engine_(WritableEngine(connection)) {
  engine_->Begin();
  active_ = true;
}

Transaction::~Transaction() {
  // Destructors must not throw: a failed rollback leaves nothing to undo that the engine has not
  // already undone, or the connection is closing anyway.
  if (!active_) return;
  try {
    engine_->Rollback();
  } catch (...) {
  }
}

void Transaction::Commit() {
  if (!active_) throw DatabaseError("no transaction to commit");
  engine_->Commit();
  active_ = false;
}

void Transaction::Rollback() {
  if (!active_) return;
  active_ = false;
  engine_->Rollback();
}

StatementAttempt::StatementAttempt(Connection& connection) : engine_(&connection.Engine()) {
  if (!engine_->InTransaction()) return;
  engine_->Mark();
  open_ = true;
}

StatementAttempt::~StatementAttempt() {
  if (!open_) return;
  try {
    engine_->UndoToMark();
  } catch (...) {
    // The transaction is lost with its connection: the commit reports it.
  }
}

void StatementAttempt::Keep() {
  if (!open_) return;
  open_ = false;
  engine_->ForgetMark();
}

}  // namespace velmora::db
