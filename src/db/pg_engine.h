#pragma once

#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>

#include "db/engine.h"

struct pg_conn;
struct pg_result;

namespace velmora::db {

struct PgResultDeleter {
  void operator()(pg_result* result) const;
};
using PgResult = std::unique_ptr<pg_result, PgResultDeleter>;

// A database on a PostgreSQL server, reached through libpq. Every save takes one lock that other
// savers of the same database wait for, for its transaction only.
class PgEngine final : public Engine {
 public:
  struct Options {
    bool readOnly = false;
    int lockTimeoutMs = 10000;
  };
  PgEngine(const std::string& address, const Options& options);
  ~PgEngine() override;

  std::string_view RowIdColumn() const override { return "ctid"; }
  std::unique_ptr<Rows> Query(std::string_view sql, const Value* parameters, std::size_t count,
                              bool forUpdate, bool keep) override;
  Value Insert(const std::string& sql, const std::vector<const Value*>& values) override;
  Value Update(const std::string& sql, const std::vector<const Value*>& values,
               const Value& rowId) override;
  void Run(std::string_view sql, const Value* parameters, std::size_t count) override;
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

  // Runs `sql` with its parameters, kept as a prepared statement or sent whole.
  PgResult Exec(std::string_view sql, const Value* const* parameters, std::size_t count, bool keep,
                Kept** kept = nullptr);
  PgResult Simple(const std::string& sql);
  // Throws the failure `result` reports, in the words a user can act on.
  void Check(const PgResult& result, std::string_view what);
  // A connection the server or the network dropped is opened again before the next statement.
  void Reconnect();
  void EnsureConnected();

  std::unique_ptr<pg_conn, Closer> conn_;
  std::string address_;
  std::string name_;
  bool readOnly_ = false;
  int lockTimeoutMs_ = 10000;
  std::unordered_map<std::string, Kept> kept_;
  std::unordered_map<unsigned, TableColumns> tables_;
  std::size_t roundTrips_ = 0;
  bool transaction_ = false;  // begun here and not yet ended here
};

}  // namespace velmora::db
