#pragma once

#include "db/connection.h"

namespace velmora::db {

// One write transaction that keeps other savers out from its start, so a conflict shows before
// any work is done. What is not committed when the object goes, by an exception or an early
// return, is rolled back. A read-only connection refuses to start one.
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
  Engine* engine_;
  bool active_ = false;
};

// A statement tried inside a transaction that may fail without ending the transaction: when the
// object goes without Keep, what the statement did is undone and the transaction goes on.
class StatementAttempt {
 public:
  explicit StatementAttempt(Connection& connection);
  StatementAttempt(const StatementAttempt&) = delete;
  StatementAttempt& operator=(const StatementAttempt&) = delete;
  ~StatementAttempt();
  void Keep();

 private:
  Engine* engine_;
  bool open_ = false;
};

}  // namespace velmora::db
