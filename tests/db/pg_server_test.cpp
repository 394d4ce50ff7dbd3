// The PostgreSQL test server and its helpers, through plain libpq.
#include <gtest/gtest.h>

#include <cstdlib>
#include <initializer_list>
#include <stdexcept>
#include <string>

#include "support/pg_test_server.h"

namespace velmora::test {
namespace {

std::string Scalar(PGconn* connection, const std::string& sql) {
  PgResultPtr result = ExecPg(connection, sql);
  if (PQntuples(result.get()) != 1) throw std::runtime_error("not one row: " + sql);
  return PQgetvalue(result.get(), 0, 0);
}

bool DatabaseExists(const std::string& name) {
  PgConnectionPtr admin = ConnectPg(PgAdminUri());
  return Scalar(admin.get(), "SELECT count(*) FROM pg_database WHERE datname = '" + name + "'") ==
         "1";
}

TEST(PgServer, FreshDatabaseIsUtf8WithCCollationAndTakesJapaneseNames) {
  PgDatabase db("pg_server_test");
  PgConnectionPtr connection = ConnectPg(db.uri());
  EXPECT_EQ(Scalar(connection.get(), "SELECT current_database()"), db.name());
  EXPECT_EQ(Scalar(connection.get(), "SHOW server_encoding"), "UTF8");
  EXPECT_EQ(Scalar(connection.get(), "SHOW lc_collate"), "C");
  PQsetClientEncoding(connection.get(), "UTF8");

  ExecPg(connection.get(), "CREATE TABLE 手配情報 (手配番号 INTEGER PRIMARY KEY, 品名 TEXT)");
  ExecPg(connection.get(), "INSERT INTO 手配情報 VALUES (1001473, '成形機１')");
  EXPECT_EQ(Scalar(connection.get(), "SELECT 品名 FROM 手配情報 WHERE 手配番号 = 1001473"),
            "成形機１");
}

TEST(PgServer, FreshDatabasesAreIndependentAndRecreatingOneEmptiesIt) {
  std::string name = UniquePgDatabaseName("pg_server_test");
  std::string other = UniquePgDatabaseName("pg_server_test");
  ASSERT_NE(name, other);
  PgConnectionPtr first = ConnectPg(FreshPgDatabase(name));
  PgConnectionPtr second = ConnectPg(FreshPgDatabase(other));
  ExecPg(first.get(), "CREATE TABLE t (x INTEGER)");
  EXPECT_EQ(Scalar(second.get(), "SELECT count(*) FROM pg_tables WHERE tablename = 't'"), "0");

  // A connection left open by a failed test does not keep the next run from starting afresh.
  PgConnectionPtr again = ConnectPg(FreshPgDatabase(name));
  EXPECT_EQ(Scalar(again.get(), "SELECT count(*) FROM pg_tables WHERE tablename = 't'"), "0");
  DropPgDatabase(name);
  DropPgDatabase(other);
  EXPECT_FALSE(DatabaseExists(name));
  EXPECT_FALSE(DatabaseExists(other));
}

TEST(PgServer, ScopedDatabaseIsDroppedWhenItGoes) {
  std::string name;
  {
    PgDatabase db("pg_server_test");
    name = db.name();
    ASSERT_TRUE(DatabaseExists(name));
  }
  EXPECT_FALSE(DatabaseExists(name));
}

TEST(PgServer, NamesThatAreNotPlainIdentifiersAreRefused) {
  for (std::string bad :
       std::initializer_list<std::string>{"", "Upper", "x\"; DROP DATABASE postgres; --", "a-b",
                                          "日本", "postgres", "template1", std::string(64, 'a')}) {
    EXPECT_THROW(FreshPgDatabase(bad), std::invalid_argument) << bad;
    EXPECT_THROW(DropPgDatabase(bad), std::invalid_argument) << bad;
  }
  EXPECT_THROW(UniquePgDatabaseName("Bad"), std::invalid_argument);
  EXPECT_TRUE(DatabaseExists("postgres"));
}

TEST(PgServer, WithoutTheServerTheTestFailsSayingHowToStartIt) {
  const char* current = std::getenv("VELMORA_PG_STATE");
  std::string saved = current != nullptr ? current : "";
  for (const char* state : {static_cast<const char*>(nullptr), "/nonexistent/pg-state"}) {
    if (state == nullptr) {
      unsetenv("VELMORA_PG_STATE");
    } else {
      setenv("VELMORA_PG_STATE", state, 1);
    }
    try {
      PgAdminUri();
      ADD_FAILURE() << "no error without a server";
    } catch (const std::runtime_error& error) {
      EXPECT_NE(std::string(error.what()).find("scripts/pg-test-server start"), std::string::npos)
          << error.what();
    }
  }
  if (saved.empty()) {
    unsetenv("VELMORA_PG_STATE");
  } else {
    setenv("VELMORA_PG_STATE", saved.c_str(), 1);
  }
}

}  // namespace
}  // namespace velmora::test
