#pragma once

#include <memory>
#include <string>

#include "db/engine.h"
#include "db/statement_cache.h"

struct sqlite3;

namespace velmora::db {

// A database file opened with SQLite. Opening never creates a file: a path that does not exist
// or does not hold a database is an error naming the file.
class SqliteEngine final : public Engine {
 public:
  struct Options {
    bool readOnly = false;
    int busyTimeoutMs = 10000;
  };
  SqliteEngine(const std::string& path, const Options& options);
  ~SqliteEngine() override;

  sqlite3* Handle() const { return db_.get(); }

  std::string_view RowIdColumn() const override { return "_rowid_"; }
  std::unique_ptr<Rows> Query(std::string_view sql, const Value* parameters, std::size_t count,
                              bool forUpdate, bool keep) override;
  Value Insert(const std::string& sql, const std::vector<const Value*>& values) override;
  Value Update(const std::string& sql, const RowWrite& write,
               const std::vector<const Value*>& values, const Value& rowId) override;
  std::int64_t Run(std::string_view sql, const Value* parameters, std::size_t count) override;
  void Execute(std::string_view script) override;
  void Begin() override;
  void Commit() override;
  void Rollback() override;
  bool InTransaction() const override;
  bool ReadOnly() const override { return readOnly_; }
  bool Moved() const override;
  const std::string& Name() const override { return path_; }
  std::size_t KeptStatements() const override { return statements_.Size(); }

 private:
  struct Closer {
    void operator()(sqlite3* db) const;
  };
  std::unique_ptr<sqlite3, Closer> db_;
  // Declared after db_ so that its statements are finalised before the handle closes.
  StatementCache statements_;
  std::string path_;
  bool readOnly_ = false;
};

// Creates a new, empty database file; fails if it exists.
void CreateSqliteFile(const std::string& path);

}  // namespace velmora::db
