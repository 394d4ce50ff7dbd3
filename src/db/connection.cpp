#include "db/connection.h"

#include "common/errors.h"
#include "db/pg_engine.h"
#include "db/sqlite_engine.h"

namespace velmora::db {

Connection::Connection() = default;
Connection::Connection(Connection&&) noexcept = default;
Connection& Connection::operator=(Connection&&) noexcept = default;
Connection::~Connection() = default;

void Connection::Open(std::string_view connectionString, std::string_view, std::string_view, int) {
  OpenTarget(DataSource(connectionString));
}

void Connection::OpenTarget(const std::string& target, const Options& options) {
  if (IsServerAddress(target)) {
    OpenServer(target, options);
  } else {
    OpenFile(target, options);
  }
}

void Connection::OpenFile(const std::string& path, const Options& options) {
  SqliteEngine::Options engine;
  engine.readOnly = options.readOnly;
  engine.busyTimeoutMs = options.busyTimeoutMs;
  engine_ = std::make_unique<SqliteEngine>(path, engine);
}

void Connection::OpenServer(const std::string& address, const Options& options) {
  PgEngine::Options engine;
  engine.readOnly = options.readOnly;
  engine.lockTimeoutMs = options.busyTimeoutMs;
  engine.outcomeWaitMs = options.commitOutcomeWaitMs;
  engine_ = std::make_unique<PgEngine>(address, engine);
}

db::Engine& Connection::Engine() const {
  if (!engine_) throw DatabaseError("the database connection is not open");
  return *engine_;
}

sqlite3* Connection::Handle() const {
  auto* file = dynamic_cast<SqliteEngine*>(&Engine());
  if (file == nullptr) throw DatabaseError("not a database file: " + Path());
  return file->Handle();
}

void Connection::ExecuteScript(std::string_view sql) {
  Engine().Execute(sql);
}

bool IsServerAddress(std::string_view target) {
  return target.starts_with("postgresql://") || target.starts_with("postgres://");
}

Connection CreateDatabase(const std::string& path) {
  CreateSqliteFile(path);
  Connection connection;
  connection.OpenFile(path);
  return connection;
}

}  // namespace velmora::db
