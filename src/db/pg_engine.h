#pragma once

#include <exception>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>

#include "db/engine.h"
#include "db/pg_rows.h"
#include "db/pg_write_queue.h"

struct pg_conn;

namespace velmora::db {

// A database on a PostgreSQL server, reached through libpq. Every save takes one lock that other
// savers of the same database wait for, for its transaction only; the rows it reads for writing
// are locked as it reads them. A commit whose answer is lost is asked about on a new connection:
// committed, it counts as done; rolled back, as lost; otherwise CommitOutcomeUnknown.
class PgEngine final : public Engine {
 public:
  struct Options {
    bool readOnly = false;
    int lockTimeoutMs = 10000;
    int outcomeWaitMs = 10000;  // a lost commit answer is asked about this long at most
  };
  PgEngine(const std::string& address, const Options& options);
  ~PgEngine() override;

  std::string_view RowIdColumn() const override { return "ctid"; }
  std::unique_ptr<Rows> Query(std::string_view sql, const Value* parameters, std::size_t count,
                              bool forUpdate, bool keep) override;
  Value Insert(const std::string& sql, const std::vector<const Value*>& values) override;
  void InsertLater(const std::string& sql, const std::vector<const Value*>& values,
                   bool attempt) override;
  bool HoldsWrites() const override { return transaction_; }
  std::vector<std::unique_ptr<Rows>> QueryBatch(const std::vector<BatchQuery>& queries) override;
  Value Update(const std::string& sql, const RowWrite& write,
               const std::vector<const Value*>& values, const Value& rowId) override;
  std::int64_t Run(std::string_view sql, const Value* parameters, std::size_t count) override;
  void Execute(std::string_view script) override;
  void Begin() override;
  void Commit() override;
  void Rollback() override;
  bool InTransaction() const override;
  void Mark() override;
  void ForgetMark() override;
  void UndoToMark() override;
  bool ReadOnly() const override { return readOnly_; }
  bool Moved() const override { return false; }
  const std::string& Name() const override { return name_; }
  std::size_t KeptStatements() const override { return kept_.size(); }

  std::size_t RoundTrips() const override { return roundTrips_; }

 private:
  // The names of a table's columns by their number, and the table's name, by its object id.
  struct TableColumns {
    std::string table;
    std::map<int, std::string> columns;
  };
  const TableColumns& TableOf(unsigned oid);
  struct Kept {
    std::string name;
    std::shared_ptr<const ResultColumns> columns;
  };
  struct Closer {
    void operator()(pg_conn* conn) const;
  };

  // Sends the held-back writes and then `requests` in one pipeline, and waits once for all the
  // answers. A failed write is thrown here (and ends the transaction's use); the requests'
  // results come back in order for the caller to check.
  // `reads`: the requests only read, so they may be sent again on a new connection.
  std::vector<PgResult> Send(std::vector<PgStatement> requests, bool reads = false);
  // Sends `statements` in one pipeline, preparing new texts on the way, and gives each one's
  // result in order.
  std::vector<PgResult> Pipeline(const std::vector<PgStatement>& statements);
  // What was sent, in order: each statement, after its preparation when its text is new.
  struct PipelineCommand {
    std::size_t statement;
    std::string prepared;  // the name a new text is prepared under; empty for the statement
  };
  // Queues statement `i`, preparing its text first when the connection does not know it yet;
  // false when the connection refused it.
  bool SendPipelined(const std::vector<PgStatement>& statements, std::size_t i,
                     std::unordered_map<std::string, std::string>& preparing,
                     std::vector<PipelineCommand>& commands);
  // Each statement's result, in order, from the answers to `commands`.
  std::vector<PgResult> ReadPipelined(const std::vector<PgStatement>& statements,
                                      const std::vector<PipelineCommand>& commands);
  // Sends what is held back, if anything.
  void Flush();
  // The rows of a query's result, its columns named as the statement read them.
  std::unique_ptr<Rows> RowsOf(PgResult result, std::string_view sql, bool forUpdate);
  // `sql` as sent: a read for writing inside a transaction locks its rows.
  std::string Locking(std::string_view sql, bool forUpdate) const;
  // The connection went while the COMMIT was under way: returns when the server took the
  // transaction, throws the lost connection when it rolled it back, CommitOutcomeUnknown when it
  // cannot tell.
  void ResolveLostCommit();
  PgStatement Statement(std::string_view sql, const Value* const* parameters, std::size_t count,
                        bool keep) const;
  // A failure that ended the transaction's use is told again by everything until the rollback.
  void ThrowIfBroken() const;
  PgResult Simple(const std::string& sql);
  // Throws the failure `result` reports, in the words a user can act on.
  void Check(const PgResult& result, std::string_view what);
  // A connection the server or the network dropped is opened again before the next statement.
  // `tell`: a failure's detail goes to standard error.
  void Reconnect(bool tell = true);
  void EnsureConnected();
  // Forgets what the ended (or starting) transaction held back, set or broke.
  void EndTransaction();

  std::unique_ptr<pg_conn, Closer> conn_;
  std::string address_;
  std::string name_;
  bool readOnly_ = false;
  int lockTimeoutMs_ = 10000;
  int outcomeWaitMs_ = 10000;
  int serverVersion_ = 0;
  std::unordered_map<std::string, Kept> kept_;
  std::unordered_map<unsigned, TableColumns> tables_;
  std::size_t keptNames_ = 0;
  std::size_t roundTrips_ = 0;
  bool transaction_ = false;  // begun here and not yet ended here
  PgWriteQueue held_;         // writes of the open transaction not sent yet
  bool markSet_ = false;      // a savepoint is set (or held back to be set)
  std::exception_ptr broken_;
  std::exception_ptr firstFailure_;  // the transaction's first failed statement
  std::string transactionId_;        // the server's id of the open transaction
};

}  // namespace velmora::db
