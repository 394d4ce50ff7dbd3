#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/errors.h"
#include "db/fingerprint.h"
#include "db/result_columns.h"
#include "db/value.h"

namespace velmora::db {

// The failure of a write by row id that touched `rows` rows instead of one: another program
// changed or removed the row since it was read. Never a success; the save runs its pass again and
// then finds the change.
TransactionConflict RowNotWritten(std::string_view table, long long rows);

// A held-back attempt (InsertLater with `attempt`) failed when it was sent with other statements:
// those after it were not run and the transaction is of no further use. The work is done again
// with each attempt sent on its own, where a failed one is undone and retried alone.
class HeldAttemptFailed : public TransactionConflict {
 public:
  using TransactionConflict::TransactionConflict;
};

// Adds a value to a row's fingerprint by its kind.
void PrintValue(Fingerprint& print, const Value& value);

// The rows of one statement, read one at a time. Column positions do not count the row id.
class Rows {
 public:
  virtual ~Rows() = default;
  virtual const std::shared_ptr<const ResultColumns>& Columns() const = 0;
  // Moves to the next row (the first, on the first call); false once past the last.
  virtual bool Next() = 0;
  virtual bool IsNull(int column) const = 0;
  virtual Value Get(int column) const = 0;
  virtual std::string Text(int column) const { return Get(column).Text(); }
  virtual double Number(int column) const { return Get(column).Number(); }
  virtual void Print(Fingerprint& print, int column) const;
  // The current row's identity for writing it back (results read for update only).
  virtual Value RowId() const = 0;
};

// The columns an UPDATE of one row sets, in the order of its parameters, and their table.
struct RowWrite {
  std::string_view table;
  std::vector<std::string_view> columns;
};

// One statement of a batch read: its text, its parameters and whether its first column is the
// row id (a result read for update).
struct BatchQuery {
  std::string sql;
  const Value* parameters = nullptr;
  std::size_t count = 0;
  bool forUpdate = false;
};

// One open database of one engine. Statement texts mark their parameters with `?`; table and
// column names are written unquoted, so the same text runs on every engine.
class Engine {
 public:
  virtual ~Engine() = default;

  // The column that identifies a stored row for as long as the row is not written.
  virtual std::string_view RowIdColumn() const = 0;
  // The rows of `sql`. With `forUpdate`, the first column read is the row id and the result must
  // come from one table, which its columns then name. With `keep`, the statement is prepared once
  // per text and kept for the next run.
  virtual std::unique_ptr<Rows> Query(std::string_view sql, const Value* parameters,
                                      std::size_t count, bool forUpdate, bool keep) = 0;
  // The rows of each statement, asked for together: a server answers them all in one exchange.
  // Every statement is kept.
  virtual std::vector<std::unique_ptr<Rows>> QueryBatch(const std::vector<BatchQuery>& queries);
  // Runs an INSERT and gives the new row's id.
  virtual Value Insert(const std::string& sql, const std::vector<const Value*>& values) = 0;
  // Runs an INSERT whose row is not looked at again. An engine that holds writes back sends it
  // with its next request; with `attempt` it is undone alone when it fails, and that request
  // throws HeldAttemptFailed. Other engines run it at once (an attempt between Mark and
  // ForgetMark, undone to the mark when it fails), and throw its failure here.
  virtual void InsertLater(const std::string& sql, const std::vector<const Value*>& values,
                           bool attempt);
  // Whether writes are held back now and sent with the next request.
  virtual bool HoldsWrites() const { return false; }
  // Runs an UPDATE whose last parameter is `rowId`; gives the id by which the row is written
  // next. `write` names what `sql` sets. An engine may hold the write back inside a transaction
  // and send it with its next request; its failure is then reported by that request.
  virtual Value Update(const std::string& sql, const RowWrite& write,
                       const std::vector<const Value*>& values, const Value& rowId) = 0;
  // Runs a kept statement that returns no rows; gives the number of rows it changed.
  virtual std::int64_t Run(std::string_view sql, const Value* parameters, std::size_t count) = 0;
  // Runs statements that take no parameters and return no rows (schema, test fixtures).
  virtual void Execute(std::string_view script) = 0;

  // A write transaction that keeps other savers out until it ends.
  virtual void Begin() = 0;
  virtual void Commit() = 0;
  virtual void Rollback() = 0;
  // Whether the engine still holds a transaction open (an error may have ended it).
  virtual bool InTransaction() const = 0;
  // A point inside the transaction that a failed statement can be undone to, leaving the rest of
  // the transaction usable. An engine that undoes a failed statement whole by itself needs none.
  virtual void Mark() {}
  virtual void ForgetMark() {}
  virtual void UndoToMark() {}

  virtual bool ReadOnly() const = 0;
  // True when the database was replaced under this connection since it was opened.
  virtual bool Moved() const = 0;
  // The file path or the server address, for messages (never a password).
  virtual const std::string& Name() const = 0;
  virtual std::size_t KeptStatements() const = 0;
  // Requests sent to a server and waited for since opening; none for a file.
  virtual std::size_t RoundTrips() const { return 0; }
};

}  // namespace velmora::db
