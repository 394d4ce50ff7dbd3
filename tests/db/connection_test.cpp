#include "db/connection.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "db/recordset.h"
#include "common/errors.h"
#include "support/test_db.h"

namespace velmora::db {
namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
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

TEST(Connection, ConnectionStringNamesTheFile) {
  EXPECT_EQ("Data Source=/tmp/a b.db;", MakeConnectionString("/tmp/a b.db"));
  Connection c;
  EXPECT_THROW(c.Open("Provider=x;"), DatabaseError);
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

}  // namespace
}  // namespace velmora::db
