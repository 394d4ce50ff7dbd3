#include "db/connection.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <thread>

#include <sqlite3.h>
#include <unistd.h>

#include "common/errors.h"
#include "db/database_file.h"
#include "db/recordset.h"
#include "support/test_db.h"

namespace velmora::db {
namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Another program's handle on a database file, through the engine directly.
struct RawHandle {
  explicit RawHandle(const std::string& name,
                     int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE) {
    if (sqlite3_open_v2(name.c_str(), &db, flags, nullptr) != SQLITE_OK)
      throw std::runtime_error("cannot open " + name);
  }
  ~RawHandle() { sqlite3_close_v2(db); }
  void Run(const std::string& sql) {
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
      throw std::runtime_error(sqlite3_errmsg(db));
  }
  sqlite3* db = nullptr;
};

// A database in the engine's default rollback-journal mode, as another program would leave it.
void MakeRollbackJournalDb(const std::string& path) {
  RawHandle(path).Run("CREATE TABLE t(a); INSERT INTO t VALUES(42);");
}

std::string ErrorOpening(const std::string& path, Connection::Options options) {
  Connection c;
  try {
    c.OpenFile(path, options);
  } catch (const DatabaseError& e) {
    EXPECT_FALSE(c.IsOpen());
    return e.what();
  }
  return "opened";
}

TEST(Connection, AWrongPathIsAnErrorAndCreatesNothing) {
  test::TempDir dir;
  const std::string path = dir.File("missing.db");
  Connection c;
  try {
    c.Open(MakeConnectionString(path));
    FAIL() << "opened a missing file";
  } catch (const DatabaseError& e) {
    EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
  }
  EXPECT_FALSE(std::filesystem::exists(path));
  EXPECT_FALSE(c.IsOpen());
}

TEST(Connection, AFileThatIsNotADatabaseIsRefusedUntouched) {
  test::TempDir dir;
  for (const std::string& content : {std::string("velmora.db\n12\n"), std::string()}) {
    const std::string path = dir.File("notadb.txt");
    std::ofstream(path, std::ios::binary) << content;
    Connection c;
    EXPECT_THROW(c.OpenFile(path), DatabaseError);
    EXPECT_EQ(content, ReadFile(path));
    EXPECT_FALSE(std::filesystem::exists(path + "-wal"));
  }
}

TEST(Connection, OpensInWalModeWithABusyTimeout) {
  test::TestDb db;
  Connection c;
  c.Open(MakeConnectionString(db.path()), "", "", -1);
  Recordset rs;
  rs.Open("PRAGMA journal_mode", c);
  EXPECT_EQ("wal", rs.Fields(0).Text());
  rs.Close();
  rs.Open("PRAGMA busy_timeout", c);
  EXPECT_EQ(Connection::kBusyTimeoutMs, rs.Fields(0).Int32());
}

TEST(Connection, ASecondWriterWaitsForTheFirstInsteadOfFailing) {
  test::TestDb db;
  db.Insert("番号管理マスタ", {{"番号管理キー", "手配番号            "}, {"現在番号", 100}});
  Connection first;
  first.OpenFile(db.path());
  Connection second;
  second.OpenFile(db.path());

  first.ExecuteScript("BEGIN IMMEDIATE; UPDATE 番号管理マスタ SET 現在番号=101;");
  std::thread release([&first] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    first.ExecuteScript("COMMIT;");
  });
  Recordset rs;
  rs.Open("SELECT 現在番号 FROM 番号管理マスタ", second, CursorType::ForwardOnly,
          LockType::Optimistic);
  EXPECT_EQ(100,
            rs.Fields("現在番号").Int32());  // the committed value; the first has not committed
  rs.Fields("現在番号") = 500;
  const auto before = std::chrono::steady_clock::now();
  EXPECT_NO_THROW(rs.Update());  // waits for the commit rather than failing with "locked"
  EXPECT_GE(std::chrono::steady_clock::now() - before, std::chrono::milliseconds(100));
  release.join();
  EXPECT_EQ(500, db.Scalar("SELECT 現在番号 FROM 番号管理マスタ").Number());
}

TEST(Connection, APathOpensExactlyAsWritten) {
  test::TempDir dir;
  for (const std::string name : {"a;b.db", "trail.db ", " lead.db", "q\"uote.db", "50%?.db"}) {
    const std::string path = dir.File(name);
    CreateDatabase(path).ExecuteScript("CREATE TABLE t(a)");
    Connection byPath;
    byPath.OpenFile(path);
    EXPECT_EQ(path, byPath.Path());
    Connection byText;
    byText.Open(MakeConnectionString(path));
    EXPECT_EQ(path, byText.Path());
  }
  EXPECT_FALSE(std::filesystem::exists(dir.File("a"))) << "the text after ';' was dropped";
  EXPECT_FALSE(std::filesystem::exists(dir.File("trail.db")));
}

TEST(Connection, ARelativePathLookingLikeAUriIsAFileName) {
  test::TempDir dir;
  const std::filesystem::path before = std::filesystem::current_path();
  std::filesystem::current_path(dir.path());
  CreateDatabase("file:plan.db").ExecuteScript("CREATE TABLE t(a)");
  Connection c;
  EXPECT_NO_THROW(c.OpenFile("file:plan.db"));
  const bool plainNameMade = std::filesystem::exists("plan.db");
  std::filesystem::current_path(before);
  EXPECT_FALSE(plainNameMade);
}

TEST(Connection, ALockHeldByAnotherProgramIsReportedAsALock) {
  struct Case {
    const char* how;
    void (*hold)(RawHandle&);
  };
  const Case cases[] = {
      {"writing", [](RawHandle& h) { h.Run("BEGIN EXCLUSIVE; INSERT INTO t VALUES(1);"); }},
      {"reading while this one switches to WAL",
       [](RawHandle& h) { h.Run("BEGIN; SELECT count(*) FROM t;"); }},
  };
  for (const Case& c : cases) {
    test::TempDir dir;
    const std::string path = dir.File("plan.db");
    MakeRollbackJournalDb(path);
    RawHandle other(path);
    c.hold(other);
    const std::string error = ErrorOpening(path, {.busyTimeoutMs = 20});
    EXPECT_NE(error.find("他のプログラムで使用中"), std::string::npos) << c.how << ": " << error;
    EXPECT_NE(error.find(path), std::string::npos) << error;
    other.Run("ROLLBACK");
    EXPECT_EQ("opened", ErrorOpening(path, {.busyTimeoutMs = 20})) << c.how;
  }
}

TEST(Connection, AReadOnlyOpenReadsAndLeavesTheFileAsItIs) {
  test::TempDir dir;
  const std::string rollback = dir.File("rollback.db");
  MakeRollbackJournalDb(rollback);
  const std::string wal = dir.File("wal.db");
  MakeRollbackJournalDb(wal);
  RawHandle(wal).Run("PRAGMA journal_mode=WAL");
  for (const std::string& path : {rollback, wal}) {
    const std::string bytes = ReadFile(path);
    Connection c;
    c.OpenFile(path, {.readOnly = true});
    EXPECT_TRUE(c.ReadOnly());
    Recordset rs;
    rs.Open("SELECT a FROM t", c);
    EXPECT_EQ(42, rs.Fields(0).Int32());
    rs.Close();
    EXPECT_THROW(c.ExecuteScript("INSERT INTO t VALUES(1)"), DatabaseError);
    c = Connection();
    EXPECT_EQ(bytes, ReadFile(path)) << path;
  }
  Connection writable;
  writable.OpenFile(rollback);
  EXPECT_FALSE(writable.ReadOnly());
}

TEST(DatabaseFile, AUriNamesTheFileWhateverItsCharacters) {
  test::TempDir dir;
  for (const std::string name : {"a;b.db", "50%.db", "q?x=1#y.db", "計画 表.db", "plus+amp&.db"}) {
    const std::string path = dir.File(name);
    MakeRollbackJournalDb(path);
    RawHandle h(FileUri(path) + "?mode=ro", SQLITE_OPEN_READONLY | SQLITE_OPEN_URI);
    sqlite3_stmt* stmt = nullptr;
    ASSERT_EQ(SQLITE_OK, sqlite3_prepare_v2(h.db, "SELECT a FROM t", -1, &stmt, nullptr)) << name;
    EXPECT_EQ(SQLITE_ROW, sqlite3_step(stmt)) << name;
    sqlite3_finalize(stmt);
  }
}

}  // namespace
}  // namespace velmora::db
