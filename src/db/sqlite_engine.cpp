#include "db/sqlite_engine.h"

#include <sqlite3.h>

#include <filesystem>

#include "common/errors.h"
#include "common/numeric.h"
#include "common/text.h"
#include "db/binding.h"
#include "db/database_file.h"

namespace velmora::db {
namespace {

using EngineHandle = std::unique_ptr<sqlite3, int (*)(sqlite3*)>;

int Primary(int rc) {
  return rc & 0xFF;
}

std::string Detail(sqlite3* db, int rc) {
  const char* text = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
  return std::string(text) + ", code " + std::to_string(rc);
}

// Another program holds the file: the user can wait and try again, so the message says so.
DatabaseError LockedError(const std::string& path, sqlite3* db, int rc) {
  return DatabaseError(
      "データベースは他のプログラムで使用中です。しばらくしてから、もう一度やり直してください。\n" +
      path + "\n(" + Detail(db, rc) + ")");
}

struct Attempt {
  EngineHandle db{nullptr, sqlite3_close_v2};
  int rc = SQLITE_OK;
};

// Opens and reads the schema, which proves the file is a database before anything is written
// to it.
Attempt OpenAndProbe(const std::string& name, int flags, int busyTimeoutMs) {
  Attempt attempt;
  sqlite3* raw = nullptr;
  attempt.rc = sqlite3_open_v2(name.c_str(), &raw, flags | SQLITE_OPEN_NOMUTEX, nullptr);
  attempt.db.reset(raw);
  if (attempt.rc != SQLITE_OK) return attempt;
  sqlite3_busy_timeout(raw, busyTimeoutMs);
  sqlite3_extended_result_codes(raw, 1);
  attempt.rc = sqlite3_exec(raw, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
  return attempt;
}

void RunText(sqlite3* db, const std::string& sql) {
  Check(db, sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), sql);
}

// The rows of a statement, stepped in place. A statement kept by the engine is taken for as long
// as the rows are read; while an enclosing reader steps it, another copy is prepared.
class SqliteRows final : public Rows {
 public:
  SqliteRows(sqlite3* db, StatementCache& statements, std::string_view sql, bool forUpdate,
             bool keep)
      : db_(db), first_(forUpdate ? 1 : 0) {
    if (keep) taken_.reset(statements.Take(db, sql));
    if (!taken_) own_ = Prepare(db, sql);
    stmt_ = taken_ ? taken_->stmt.get() : own_.get();
    if (taken_ && taken_->columns) {
      columns_ = taken_->columns;
    } else {
      columns_ = ReadColumns(sql, forUpdate);
      if (taken_) taken_->columns = columns_;
    }
  }

  void Bind(const Value* parameters, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i)
      db::Bind(db_, stmt_, static_cast<int>(i + 1), parameters[i]);
  }

  const std::shared_ptr<const ResultColumns>& Columns() const override { return columns_; }

  bool Next() override {
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    Check(db_, rc, "reading rows");
    return false;
  }

  bool IsNull(int column) const override {
    return sqlite3_column_type(stmt_, column + first_) == SQLITE_NULL;
  }
  Value Get(int column) const override { return ColumnValue(stmt_, column + first_); }

  std::string Text(int column) const override {
    // Straight from the engine, without an intermediate value.
    sqlite3_value* v = sqlite3_column_value(stmt_, column + first_);
    switch (sqlite3_value_type(v)) {
      case SQLITE_NULL:
        return {};
      case SQLITE_INTEGER:
        return std::to_string(sqlite3_value_int64(v));
      case SQLITE_FLOAT:
        return RealText(sqlite3_value_double(v));
      default: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(v));
        return std::string(text, static_cast<std::size_t>(sqlite3_value_bytes(v)));
      }
    }
  }

  double Number(int column) const override {
    sqlite3_value* v = sqlite3_column_value(stmt_, column + first_);
    switch (sqlite3_value_type(v)) {
      case SQLITE_NULL:
        return 0.0;
      case SQLITE_INTEGER:
      case SQLITE_FLOAT:
        return sqlite3_value_double(v);
      default:
        return Val(reinterpret_cast<const char*>(sqlite3_value_text(v)));
    }
  }

  void Print(Fingerprint& print, int column) const override {
    sqlite3_value* v = sqlite3_column_value(stmt_, column + first_);
    switch (sqlite3_value_type(v)) {
      case SQLITE_NULL:
        return print.Null();
      case SQLITE_INTEGER:
        return print.Integer(sqlite3_value_int64(v));
      case SQLITE_FLOAT:
        return print.Real(sqlite3_value_double(v));
      default:
        return print.Text({reinterpret_cast<const char*>(sqlite3_value_text(v)),
                           static_cast<std::size_t>(sqlite3_value_bytes(v))});
    }
  }

  Value RowId() const override {
    return Value(static_cast<std::int64_t>(sqlite3_column_int64(stmt_, 0)));
  }

 private:
  struct ReturnToCache {
    void operator()(StatementCache::Entry* entry) const { StatementCache::Return(entry); }
  };

  std::shared_ptr<const ResultColumns> ReadColumns(std::string_view sql, bool forUpdate) const {
    auto columns = std::make_shared<ResultColumns>();
    const int count = sqlite3_column_count(stmt_);
    for (int c = first_; c < count; ++c) {
      const char* name = sqlite3_column_name(stmt_, c);
      const char* origin = sqlite3_column_origin_name(stmt_, c);
      columns->Add(name ? name : "", origin ? origin : (name ? name : ""));
    }
    if (forUpdate) {
      // Writes go to the one table every column comes from.
      for (int c = first_; c < count; ++c) {
        const char* table = sqlite3_column_table_name(stmt_, c);
        const std::string name = table ? table : "";
        if (c == first_) columns->table = name;
        if (name.empty() || name != columns->table) columns->table.clear();
      }
      if (columns->table.empty())
        throw DatabaseError("an updatable recordset must read one table: " + std::string(sql));
    }
    return columns;
  }

  sqlite3* db_;
  int first_;
  std::unique_ptr<StatementCache::Entry, ReturnToCache> taken_;
  StatementPtr own_;
  sqlite3_stmt* stmt_ = nullptr;
  std::shared_ptr<const ResultColumns> columns_;
};

}  // namespace

void SqliteEngine::Closer::operator()(sqlite3* db) const {
  sqlite3_close_v2(db);
}
void StatementDeleter::operator()(sqlite3_stmt* stmt) const {
  sqlite3_finalize(stmt);
}

void Check(sqlite3* db, int rc, std::string_view what) {
  if (rc == SQLITE_OK || rc == SQLITE_ROW || rc == SQLITE_DONE) return;
  std::string message = std::string(what) + ": " + (db ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
  message += " (code " + std::to_string(rc) + ")";
  // Another program holds the file beyond the busy timeout: the user can wait and try again.
  if (Primary(rc) == SQLITE_BUSY || Primary(rc) == SQLITE_LOCKED) {
    throw DatabaseError(
        "データベースは他のプログラムで使用中です。しばらくしてから、もう一度やり直してください。\n"
        "(" +
        message + ")");
  }
  throw DatabaseError(message);
}

StatementPtr Prepare(sqlite3* db, std::string_view sql) {
  sqlite3_stmt* stmt = nullptr;
  const int rc = sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &stmt, nullptr);
  StatementPtr owned(stmt);
  if (rc != SQLITE_OK) {
    throw DatabaseError(std::string(sqlite3_errmsg(db)) + " in SQL: " + std::string(sql));
  }
  if (!owned) throw DatabaseError("empty SQL text");
  return owned;
}

SqliteEngine::SqliteEngine(const std::string& path, const Options& options) {
  namespace fs = std::filesystem;
  std::error_code ec;
  if (!fs::is_regular_file(path, ec)) {
    throw DatabaseError("database file not found: " + path);
  }
  // SQLite takes an empty file for an empty database and would write a header into it.
  if (fs::file_size(path, ec) == 0 || ec) {
    throw DatabaseError("not a database file (empty): " + path);
  }
  bool readOnly = options.readOnly || !MayWriteDatabase(path);
  Attempt attempt =
      OpenAndProbe(EngineFileName(path), readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE,
                   options.busyTimeoutMs);
  if (readOnly && Primary(attempt.rc) == SQLITE_CANTOPEN) {
    // A WAL database whose folder we may not write has no shared-memory file to read through.
    // Nobody can be writing it then, so it is read as an unchanging file.
    attempt = OpenAndProbe(FileUri(path) + "?mode=ro&immutable=1",
                           SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, options.busyTimeoutMs);
  }
  if (Primary(attempt.rc) == SQLITE_BUSY) throw LockedError(path, attempt.db.get(), attempt.rc);
  if (attempt.rc != SQLITE_OK) {
    if (!attempt.db || Primary(attempt.rc) == SQLITE_CANTOPEN) {
      throw DatabaseError("cannot open database " + path + ": " +
                          Detail(attempt.db.get(), attempt.rc));
    }
    throw DatabaseError("not a database file: " + path + " (" + sqlite3_errmsg(attempt.db.get()) +
                        ")");
  }
  sqlite3* db = attempt.db.get();
  readOnly = readOnly || sqlite3_db_readonly(db, "main") == 1;
  if (!readOnly) {
    // WAL lets a second program read while this one writes; the busy timeout makes writers wait.
    const int rc = sqlite3_exec(db, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr);
    if (Primary(rc) == SQLITE_BUSY) throw LockedError(path, db, rc);
    // The file turned out not to be writable: read it as it is.
    if (Primary(rc) == SQLITE_READONLY) {
      readOnly = true;
    } else {
      Check(db, rc, "journal mode of " + path);
    }
  }
  db_.reset(attempt.db.release());
  path_ = path;
  readOnly_ = readOnly;
}

SqliteEngine::~SqliteEngine() = default;

std::unique_ptr<Rows> SqliteEngine::Query(std::string_view sql, const Value* parameters,
                                          std::size_t count, bool forUpdate, bool keep) {
  auto rows = std::make_unique<SqliteRows>(db_.get(), statements_, sql, forUpdate, keep);
  rows->Bind(parameters, count);
  return rows;
}

Value SqliteEngine::Insert(const std::string& sql, const std::vector<const Value*>& values) {
  const StatementLease stmt = statements_.Lease(db_.get(), sql);
  for (std::size_t i = 0; i < values.size(); ++i)
    Bind(db_.get(), stmt.get(), static_cast<int>(i + 1), *values[i]);
  // The message is made only for a failure: the text of a wide row is long.
  if (const int rc = sqlite3_step(stmt.get()); rc != SQLITE_DONE)
    Check(db_.get(), rc, "appending a row: " + sql);
  return Value(static_cast<std::int64_t>(sqlite3_last_insert_rowid(db_.get())));
}

Value SqliteEngine::Update(const std::string& sql, const RowWrite& write,
                           const std::vector<const Value*>& values, const Value& rowId) {
  const StatementLease stmt = statements_.Lease(db_.get(), sql);
  for (std::size_t i = 0; i < values.size(); ++i)
    Bind(db_.get(), stmt.get(), static_cast<int>(i + 1), *values[i]);
  Bind(db_.get(), stmt.get(), static_cast<int>(values.size() + 1), rowId);
  if (const int rc = sqlite3_step(stmt.get()); rc != SQLITE_DONE)
    Check(db_.get(), rc, "updating a row: " + sql);
  if (const int rows = sqlite3_changes(db_.get()); rows != 1)
    throw RowNotWritten(write.table, rows);
  return rowId;
}

std::int64_t SqliteEngine::Run(std::string_view sql, const Value* parameters, std::size_t count) {
  const StatementLease stmt = statements_.Lease(db_.get(), sql);
  for (std::size_t i = 0; i < count; ++i)
    Bind(db_.get(), stmt.get(), static_cast<int>(i + 1), parameters[i]);
  Check(db_.get(), sqlite3_step(stmt.get()), sql);
  return sqlite3_changes(db_.get());
}

void SqliteEngine::Execute(std::string_view script) {
  char* error = nullptr;
  const int rc = sqlite3_exec(db_.get(), std::string(script).c_str(), nullptr, nullptr, &error);
  if (rc != SQLITE_OK) {
    const std::string message = error ? error : sqlite3_errstr(rc);
    sqlite3_free(error);
    throw DatabaseError("SQL failed: " + message);
  }
}

void SqliteEngine::Begin() {
  // The write lock is taken at once, so a conflict shows before any work is done.
  RunText(db_.get(), "BEGIN IMMEDIATE");
}

void SqliteEngine::Commit() {
  RunText(db_.get(), "COMMIT");
}

void SqliteEngine::Rollback() {
  if (InTransaction()) RunText(db_.get(), "ROLLBACK");
}

bool SqliteEngine::InTransaction() const {
  return sqlite3_get_autocommit(db_.get()) == 0;
}

bool SqliteEngine::Moved() const {
  int moved = 0;
  const int rc = sqlite3_file_control(db_.get(), "main", SQLITE_FCNTL_HAS_MOVED, &moved);
  if (rc != SQLITE_OK) return false;  // the file layer cannot tell: nothing is known to be wrong
  if (moved != 0) return true;
  // The engine compares the open file with the path's; a path that is gone altogether counts too.
  std::error_code ec;
  return !std::filesystem::exists(path_, ec) && !ec;
}

void CreateSqliteFile(const std::string& path) {
  if (std::filesystem::exists(path)) throw DatabaseError("database file already exists: " + path);
  sqlite3* raw = nullptr;
  const int rc =
      sqlite3_open_v2(EngineFileName(path).c_str(), &raw,
                      SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
  if (rc != SQLITE_OK) {
    sqlite3_close_v2(raw);
    throw DatabaseError("cannot create database " + path + ": " + sqlite3_errstr(rc));
  }
  // A page written now makes the new file a database, so opening accepts it.
  sqlite3_exec(raw, "PRAGMA user_version=1", nullptr, nullptr, nullptr);
  sqlite3_close_v2(raw);
}

}  // namespace velmora::db
