#include "db/connection.h"

#include <sqlite3.h>

#include <filesystem>

#include "common/errors.h"
#include "common/text.h"

namespace velmora::db {
namespace {

std::string DataSource(std::string_view connectionString) {
  std::string_view rest = connectionString;
  while (!rest.empty()) {
    const std::size_t end = rest.find(';');
    const std::string_view part = rest.substr(0, end);
    const std::size_t eq = part.find('=');
    if (eq != std::string_view::npos && Trim(part.substr(0, eq)) == "Data Source") {
      return Trim(part.substr(eq + 1));
    }
    if (end == std::string_view::npos) break;
    rest.remove_prefix(end + 1);
  }
  throw DatabaseError("connection text has no Data Source: " + std::string(connectionString));
}

void ApplySessionSettings(sqlite3* db) {
  sqlite3_busy_timeout(db, Connection::kBusyTimeoutMs);
  sqlite3_extended_result_codes(db, 1);
}

}  // namespace

std::string MakeConnectionString(std::string_view databasePath) {
  return "Data Source=" + std::string(databasePath) + ";";
}

void Connection::Closer::operator()(sqlite3* db) const {
  sqlite3_close_v2(db);
}
void StatementDeleter::operator()(sqlite3_stmt* stmt) const {
  sqlite3_finalize(stmt);
}

Connection::~Connection() = default;

void Check(sqlite3* db, int rc, std::string_view what) {
  if (rc == SQLITE_OK || rc == SQLITE_ROW || rc == SQLITE_DONE) return;
  std::string message = std::string(what) + ": " + (db ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
  message += " (code " + std::to_string(rc) + ")";
  throw DatabaseError(message);
}

void Connection::Open(std::string_view connectionString, std::string_view, std::string_view, int) {
  OpenFile(DataSource(connectionString));
}

void Connection::OpenFile(const std::string& path) {
  namespace fs = std::filesystem;
  std::error_code ec;
  if (!fs::is_regular_file(path, ec)) {
    throw DatabaseError("database file not found: " + path);
  }
  // SQLite takes an empty file for an empty database and would write a header into it.
  if (fs::file_size(path, ec) == 0 || ec) {
    throw DatabaseError("not a database file (empty): " + path);
  }
  sqlite3* raw = nullptr;
  const int rc =
      sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
  std::unique_ptr<sqlite3, Closer> db(raw);
  if (rc != SQLITE_OK) {
    throw DatabaseError("cannot open database " + path + ": " + sqlite3_errstr(rc));
  }
  ApplySessionSettings(db.get());
  // Reading the schema proves the file is a database before anything is written to it.
  const int probe =
      sqlite3_exec(db.get(), "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
  if (probe != SQLITE_OK) {
    throw DatabaseError("not a database file: " + path + " (" + sqlite3_errmsg(db.get()) + ")");
  }
  // WAL lets a second program read while this one writes; the busy timeout makes writers wait.
  Check(db.get(), sqlite3_exec(db.get(), "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr),
        "journal mode of " + path);
  db_ = std::move(db);
  path_ = path;
}

sqlite3* Connection::Handle() const {
  if (!db_) throw DatabaseError("the database connection is not open");
  return db_.get();
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
      sqlite3_open_v2(path.c_str(), &raw,
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
