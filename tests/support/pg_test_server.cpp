#include "support/pg_test_server.h"

#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <stdexcept>

namespace velmora::test {

namespace {

constexpr const char* kHowToStart =
    " Start one with `scripts/pg-test-server start DIR` and run the tests with "
    "VELMORA_PG_STATE=DIR (ctest does both), stop it with `scripts/pg-test-server stop DIR`.";

// The names end up in SQL text, so only plain identifiers pass; the admin and template
// databases are never dropped.
void CheckDatabaseName(const std::string& name) {
  bool plain = !name.empty() && name.size() <= 63;
  for (char c : name) {
    if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_')) plain = false;
  }
  if (!plain || name == "postgres" || name == "template0" || name == "template1") {
    throw std::invalid_argument("not a usable test database name: \"" + name +
                                "\" (a-z, 0-9 and _ only, at most 63 characters)");
  }
}

// The URI of database `name` on the server of `adminUri`: same user and socket folder.
std::string DatabaseUri(const std::string& adminUri, const std::string& name) {
  char* error = nullptr;
  PQconninfoOption* options = PQconninfoParse(adminUri.c_str(), &error);
  if (options == nullptr) {
    std::string message = error != nullptr ? error : "out of memory";
    PQfreemem(error);
    throw std::runtime_error("bad PostgreSQL test server URI \"" + adminUri + "\": " + message);
  }
  std::string user;
  std::string host;
  for (PQconninfoOption* option = options; option->keyword != nullptr; ++option) {
    if (option->val == nullptr) continue;
    if (std::string(option->keyword) == "user") user = option->val;
    if (std::string(option->keyword) == "host") host = option->val;
  }
  PQconninfoFree(options);
  if (user.empty() || host.empty()) {
    throw std::runtime_error("PostgreSQL test server URI without user or host: " + adminUri);
  }
  return "postgresql://" + user + "@/" + name + "?host=" + host;
}

void IgnoreNotice(void*, const char*) {}

}  // namespace

std::string PgAdminUri() {
  const char* state = std::getenv("VELMORA_PG_STATE");
  if (state == nullptr || *state == '\0') {
    throw std::runtime_error(
        std::string("The PostgreSQL test server is not running: VELMORA_PG_STATE is not set.") +
        kHowToStart);
  }
  std::string file = std::string(state) + "/uri";
  std::ifstream in(file);
  std::string uri;
  if (!in || !std::getline(in, uri) || uri.empty()) {
    throw std::runtime_error("The PostgreSQL test server is not running: " + file +
                             " is missing or empty." + kHowToStart);
  }
  return uri;
}

std::string UniquePgDatabaseName(const std::string& prefix) {
  static std::atomic<unsigned> counter{0};
  std::string name = prefix + "_" + std::to_string(getpid()) + "_" + std::to_string(++counter);
  CheckDatabaseName(name);
  return name;
}

PgConnectionPtr ConnectPg(const std::string& uri) {
  PgConnectionPtr connection(PQconnectdb(uri.c_str()));
  if (connection == nullptr) throw std::runtime_error("libpq: out of memory");
  if (PQstatus(connection.get()) != CONNECTION_OK) {
    throw std::runtime_error("cannot connect to " + uri + ": " + PQerrorMessage(connection.get()));
  }
  // "does not exist, skipping" and the like would only clutter the test output.
  PQsetNoticeProcessor(connection.get(), IgnoreNotice, nullptr);
  return connection;
}

PgResultPtr ExecPg(PGconn* connection, const std::string& sql) {
  PgResultPtr result(PQexec(connection, sql.c_str()));
  ExecStatusType status = PQresultStatus(result.get());
  if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
    throw std::runtime_error("PostgreSQL: " + sql + ": " + PQerrorMessage(connection));
  }
  return result;
}

void DropPgDatabase(const std::string& name) {
  CheckDatabaseName(name);
  PgConnectionPtr admin = ConnectPg(PgAdminUri());
  ExecPg(admin.get(), "DROP DATABASE IF EXISTS \"" + name + "\" WITH (FORCE)");
}

std::string FreshPgDatabase(const std::string& name) {
  CheckDatabaseName(name);
  std::string adminUri = PgAdminUri();
  PgConnectionPtr admin = ConnectPg(adminUri);
  ExecPg(admin.get(), "DROP DATABASE IF EXISTS \"" + name + "\" WITH (FORCE)");
  // template0, so the collation can differ from the cluster's and nothing added to template1
  // leaks in.
  ExecPg(admin.get(), "CREATE DATABASE \"" + name +
                          "\" TEMPLATE template0 ENCODING 'UTF8' LC_COLLATE 'C' LC_CTYPE 'C'");
  return DatabaseUri(adminUri, name);
}

PgDatabase::PgDatabase(const std::string& prefix)
    : name_(UniquePgDatabaseName(prefix)), uri_(FreshPgDatabase(name_)) {}

PgDatabase::~PgDatabase() {
  try {
    DropPgDatabase(name_);
  } catch (...) {
    // The server is thrown away after the run anyway; a destructor must not throw.
  }
}

}  // namespace velmora::test
