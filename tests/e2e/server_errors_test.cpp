// A plan on a database server that cannot be used: the program names the cause in Japanese, with
// the server's own words on standard error, and writes nothing.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "e2e/program_copy.h"
#include "support/demo_database.h"
#include "support/pg_test_server.h"
#include "support/run_program.h"
#include "support/test_db.h"

namespace velmora::test {
namespace {

// The test server's socket folder, from its admin address.
std::string SocketFolder() {
  const std::string admin = PgAdminUri();
  return admin.substr(admin.find("host=") + 5);
}

TEST(ServerErrors, EachCauseIsNamed) {
  PgDatabase empty("no_tables");  // a database nobody made the tables in
  DemoDatabase noDueDate(Engine::Server, "");
  ExecPg(ConnectPg(noDueDate.target()).get(), "ALTER TABLE 手配情報 DROP COLUMN 納期");
  // A user the server knows who was given no table: every read is refused.
  TestDb locked(Engine::Server);
  const std::string stranger = UniquePgDatabaseName("stranger");
  PgConnectionPtr admin = ConnectPg(PgAdminUri());
  ExecPg(admin.get(), "CREATE ROLE " + stranger + " LOGIN");
  std::string lockedUri = locked.target();
  lockedUri.replace(lockedUri.find("velmora@"), 7, stranger);
  const std::string socket = SocketFolder();
  const struct Case {
    std::string address;
    const char* shown;  // the start of the message the user reads
    std::string detail;
  } cases[] = {
      {"postgresql://velmora@/plant?host=/nonexistent/socket/folder",
       "データベースサーバーに接続できません", "/nonexistent/socket/folder"},
      {"postgresql://nobody_here@/postgres?host=" + socket,
       "データベースサーバーへのログインが拒否されました", "nobody_here"},
      {"postgres://velmora@/no_such_plant?host=" + socket, "データベース「no_such_plant」が",
       "no_such_plant"},
      {empty.uri(), "データベースに必要なテーブルがありません（「", "does not exist"},
      {noDueDate.target(), "データベースのテーブル「手配情報」に必要な列「納期」がありません",
       "納期"},
      {lockedUri, "を使う権限がありません", "permission denied"},
      {"postgresql://velmora@/plant?host=" + socket + "&colour=blue",
       "アドレスに、使えないオプション「colour」があります", "colour"},
      {"postgresql://velmora@/pl%zzant?host=" + socket,
       "アドレスが正しくありません（「%」で始まる文字", "percent"},
      {"postgresql://velmora@/plant?host=" + socket + "&port=fifty",
       "アドレスが正しくありません（ポート番号「fifty」）", "fifty"},
  };
  ProgramCopy program;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.address);
    program.Settings(c.address, 3);
    const ProgramRun run = RunProgram(program.executable(),
                                      {"--export-csv", program.File("out"), "--from", "20240514",
                                       "--to", "20240531", "--category", "3"},
                                      {}, program.File(""));
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find(c.shown), std::string::npos) << run.err;
    EXPECT_NE(run.err.find(c.detail), std::string::npos) << run.err;
  }
  ExecPg(admin.get(), "DROP ROLE " + stranger);
}

// A save the server refuses names why, not only that the database failed, and writes nothing.
TEST(ServerErrors, ASaveTheServerRefusesNamesItsCause) {
  const struct Case {
    const char* name;
    const char* setup;  // on the plant, as its owner
    bool reader;        // the copy logs in as a user who may only read
    const char* shown;
  } cases[] = {
      {"a table the save writes is missing", "ALTER TABLE 所要量情報 RENAME TO 所要量情報_old",
       false, "データベースに必要なテーブルがありません（「所要量情報」）"},
      {"the user may only read", "GRANT SELECT ON ALL TABLES IN SCHEMA public TO ", true,
       "データベースの「手配情報」を使う権限がありません"},
  };
  PgConnectionPtr admin = ConnectPg(PgAdminUri());
  const std::string reader = UniquePgDatabaseName("reader");
  ExecPg(admin.get(), "CREATE ROLE " + reader + " LOGIN");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ProgramCopy program;
    DemoDatabase plant(Engine::Server, "");
    PgConnectionPtr owner = ConnectPg(plant.target());
    ExecPg(owner.get(), std::string(c.setup) + (c.reader ? reader : ""));
    std::string address = plant.target();
    if (c.reader) address.replace(address.find("velmora@"), 7, reader);
    program.Settings(address, 3);
    const std::string script = program.File("save.txt");
    std::ofstream(script) << "open 1001473\ntype initialDueDate 2024/07/01\nclose\nsave\n";
    const ProgramRun run = RunProgram(
        program.executable(),
        {"--script", script, "--from", "20240514", "--to", "20240531", "--category", "3"}, {},
        program.File(""));
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.out.find(c.shown), std::string::npos) << run.out << run.err;
    PgResultPtr due =
        ExecPg(owner.get(), "SELECT GNT初期納期 FROM 手配情報 WHERE 手配番号=1001473");
    EXPECT_NE(std::string(PQgetvalue(due.get(), 0, 0)), "20240701");
    if (c.reader) ExecPg(owner.get(), "REVOKE ALL ON ALL TABLES IN SCHEMA public FROM " + reader);
  }
  ExecPg(admin.get(), "DROP ROLE " + reader);
}

}  // namespace
}  // namespace velmora::test
