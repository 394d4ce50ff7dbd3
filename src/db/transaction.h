#pragma once

#include <string>

#include "db/connection.h"

namespace velmora::db {

// One write transaction (BEGIN IMMEDIATE): the write lock is taken at once, so a conflict shows
// before any work is done. What is not committed when the object goes, by an exception or an
// early return, is rolled back. A read-only connection refuses to start one.
class Transaction {
 public:
  explicit Transaction(Connection& connection);
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;
  ~Transaction();

  // Makes the work permanent and visible to other connections. When the commit fails the
  // transaction stays open and is rolled back when the object goes.
  void Commit();
  void Rollback();
  bool Active() const { return active_; }

 private:
  sqlite3* db_;
  bool active_ = false;
};

}  // namespace velmora::db
