#pragma once

#include <libpq-fe.h>

#include <memory>
#include <string>

// The PostgreSQL server of the tests: scripts/pg-test-server starts it (ctest does so for every
// test program registered with POSTGRES) and VELMORA_PG_STATE names its state folder. A test
// that needs the server fails when it is not running; it is never skipped.
namespace velmora::test {

// The URI of the server's admin database ("postgres"). Throws when no server is running.
std::string PgAdminUri();

// A database name no other test program running at the same time uses: prefix, pid, counter.
std::string UniquePgDatabaseName(const std::string& prefix);

// Drops the database `name` if it exists, creates it empty (UTF-8, C collation) and returns its
// URI. Names may hold only a-z, 0-9 and _ (at most 63 characters); anything else throws.
std::string FreshPgDatabase(const std::string& name);

// Drops the database `name` if it exists; connections still open to it are ended.
void DropPgDatabase(const std::string& name);

struct PgConnectionClose {
  void operator()(PGconn* connection) const { PQfinish(connection); }
};
struct PgResultClear {
  void operator()(PGresult* result) const { PQclear(result); }
};
using PgConnectionPtr = std::unique_ptr<PGconn, PgConnectionClose>;
using PgResultPtr = std::unique_ptr<PGresult, PgResultClear>;

// Plain libpq, independent of the code under test. Both throw with the server's message.
PgConnectionPtr ConnectPg(const std::string& uri);
PgResultPtr ExecPg(PGconn* connection, const std::string& sql);

// A fresh database for one test, dropped again when the object goes.
class PgDatabase {
 public:
  explicit PgDatabase(const std::string& prefix = "velmora_test");
  ~PgDatabase();
  PgDatabase(const PgDatabase&) = delete;
  PgDatabase& operator=(const PgDatabase&) = delete;
  const std::string& name() const { return name_; }
  const std::string& uri() const { return uri_; }

 private:
  std::string name_;
  std::string uri_;
};

}  // namespace velmora::test
