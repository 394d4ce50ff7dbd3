#include "db/connection.h"

#include <sqlite3.h>

#include <filesystem>

#include "common/errors.h"
#include "db/database_file.h"
#include "db/statement_cache.h"

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

}  // namespace

void Connection::Closer::operator()(sqlite3* db) const {
  sqlite3_close_v2(db);
}
void StatementDeleter::operator()(sqlite3_stmt* stmt) const {
  sqlite3_finalize(stmt);
}

Connection::Connection() = default;
Connection::Connection(Connection&&) noexcept = default;
Connection& Connection::operator=(Connection&&) noexcept = default;
Connection::~Connection() = default;

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

void Connection::Open(std::string_view connectionString, std::string_view, std::string_view, int) {
  OpenFile(DataSource(connectionString));
}

void Connection::OpenFile(const std::string& path, const Options& options) {
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
  if (statements_) statements_->Clear();
  db_.reset(attempt.db.release());
  if (!statements_) statements_ = std::make_unique<StatementCache>();
  path_ = path;
  readOnly_ = readOnly;
}

sqlite3* Connection::Handle() const {
  if (!db_) throw DatabaseError("the database connection is not open");
  return db_.get();
}

bool Connection::FileMoved() const {
  int moved = 0;
  const int rc = sqlite3_file_control(Handle(), "main", SQLITE_FCNTL_HAS_MOVED, &moved);
  if (rc != SQLITE_OK) return false;  // the file layer cannot tell: nothing is known to be wrong
  if (moved != 0) return true;
  // The engine compares the open file with the path's; a path that is gone altogether counts too.
  std::error_code ec;
  return !std::filesystem::exists(path_, ec) && !ec;
}

StatementCache& Connection::Statements() const {
  if (!db_ || !statements_) throw DatabaseError("the database connection is not open");
  return *statements_;
}

void Connection::ExecuteScript(std::string_view sql) {
  char* error = nullptr;
  const int rc = sqlite3_exec(Handle(), std::string(sql).c_str(), nullptr, nullptr, &error);
  if (rc != SQLITE_OK) {
    const std::string message = error ? error : sqlite3_errstr(rc);
    sqlite3_free(error);
    throw DatabaseError("SQL failed: " + message);
  }
}

Connection CreateDatabase(const std::string& path) {
  if (std::filesystem::exists(path)) throw DatabaseError("database file already exists: " + path);
  sqlite3* raw = nullptr;
  const int rc =
      sqlite3_open_v2(EngineFileName(path).c_str(), &raw,
                      SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
  if (rc != SQLITE_OK) {
    sqlite3_close_v2(raw);
    throw DatabaseError("cannot create database " + path + ": " + sqlite3_errstr(rc));
  }
  // A page written now makes the new file a database, so OpenFile accepts it.
  sqlite3_exec(raw, "PRAGMA user_version=1", nullptr, nullptr, nullptr);
  sqlite3_close_v2(raw);
  Connection connection;
  connection.OpenFile(path);
  return connection;
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

}  // namespace velmora::db
