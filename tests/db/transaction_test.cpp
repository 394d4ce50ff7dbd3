#include "db/transaction.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "common/errors.h"
#include "db/recordset.h"
#include "support/test_db.h"

namespace velmora::db {
namespace {

// On every engine, a transaction keeps its work to itself until it commits and keeps other
// savers out until it ends.
class TransactionTest : public ::testing::TestWithParam<test::Engine> {
 protected:
  void SetUp() override {
    other_.OpenTarget(db_.target());  // another program looking at the same database
  }
  void AddItem(const std::string& code) {
    db_.connection().ExecuteScript("INSERT INTO 品目マスタ (品名コード) VALUES ('" + code + "')");
  }
  int ItemsSeenBy(Connection& connection) {
    Recordset rs;
    rs.Open("SELECT count(*) FROM 品目マスタ", connection);
    return rs.Fields(0).Int32();
  }

  test::TestDb db_{GetParam()};
  Connection other_;
};

TEST_P(TransactionTest, AnExceptionInsideLeavesNothingWritten) {
  try {
    Transaction transaction(db_.connection());
    AddItem("A");
    AddItem("B");
    throw std::runtime_error("stopped half way");
  } catch (const std::runtime_error&) {
  }
  EXPECT_EQ(0, ItemsSeenBy(db_.connection()));
  EXPECT_EQ(0, ItemsSeenBy(other_));
  // The connection is usable again: a new transaction can start.
  Transaction again(db_.connection());
  AddItem("C");
  again.Commit();
  EXPECT_EQ(1, ItemsSeenBy(other_));
}

TEST_P(TransactionTest, CommitMakesTheWorkVisibleToAnotherConnection) {
  Transaction transaction(db_.connection());
  AddItem("A");
  EXPECT_EQ(1, ItemsSeenBy(db_.connection()));
  EXPECT_EQ(0, ItemsSeenBy(other_)) << "uncommitted work leaks";
  transaction.Commit();
  EXPECT_FALSE(transaction.Active());
  EXPECT_EQ(1, ItemsSeenBy(other_));
  EXPECT_THROW(transaction.Commit(), DatabaseError);
}

TEST_P(TransactionTest, ASecondWriterCannotStartWhileTheFirstHoldsTheLock) {
  Transaction first(db_.connection());
  Connection impatient;
  impatient.OpenTarget(db_.target(), {.readOnly = false, .busyTimeoutMs = 20});
  EXPECT_THROW(Transaction second(impatient), DatabaseError);
  first.Rollback();
  EXPECT_NO_THROW(Transaction second(impatient));
}

TEST_P(TransactionTest, AReadOnlyConnectionRefusesToWrite) {
  Connection reader;
  reader.OpenTarget(db_.target(), {.readOnly = true});
  try {
    Transaction transaction(reader);
    FAIL() << "a transaction started on a read-only connection";
  } catch (const DatabaseError& e) {
    EXPECT_NE(std::string(e.what()).find("読み取り専用"), std::string::npos) << e.what();
    EXPECT_NE(std::string(e.what()).find(db_.target()), std::string::npos) << e.what();
  }
}

// Writes inside a transaction may travel with the next request; what any later read, the commit
// and another program see is still every write in the order it was made.
TEST_P(TransactionTest, WritesHeldBackLandInOrder) {
  Connection& connection = db_.connection();
  connection.ExecuteScript(
      "INSERT INTO 品目別機械別ｻｲｸﾙﾏｽﾀ (品名コード,順序,機械コード,サイクル) VALUES "
      "('X',1,'M',1),('Y',1,'M',1)");
  const char* row = "SELECT * FROM 品目別機械別ｻｲｸﾙﾏｽﾀ WHERE 品名コード=?";
  const auto cycles = [&](Connection& reader) {
    Recordset rs;
    rs.Open("SELECT 品名コード,サイクル,削除フラグ FROM 品目別機械別ｻｲｸﾙﾏｽﾀ ORDER BY 品名コード",
            reader);
    std::string seen;
    for (; !rs.Eof(); rs.MoveNext()) {
      seen += rs.Fields(0).Text() + "=" + rs.Fields(1).Text() + "/" + rs.Fields(2).Text() + " ";
    }
    return seen;
  };
  {
    Transaction transaction(connection);
    Recordset first, second, other;
    first.Open(row, {"X"}, connection, CursorType::Keyset, LockType::Optimistic);
    second.Open(row, {"X"}, connection, CursorType::Keyset, LockType::Optimistic);
    other.Open(row, {"Y"}, connection, CursorType::Keyset, LockType::Optimistic);
    // One row written through two recordsets read before either wrote, then again.
    first.Fields("サイクル") = 2.0;
    first.Update();
    other.Fields("サイクル") = 5.0;
    other.Update();
    second.Fields("削除フラグ") = "1";
    second.Update();
    first.Fields("サイクル") = 3.0;
    first.Update();
    // A failed statement undone on its own leaves the writes before it.
    {
      StatementAttempt attempt(connection);
      other.AddNew();
      other.Fields("品名コード") = "Y";
      other.Fields("順序") = 1;
      other.Fields("機械コード") = "M";
      EXPECT_THROW(other.Update(), DatabaseError) << "the row is there already";
    }
    EXPECT_EQ("X=3/1 Y=5/0 ", cycles(connection));
    second.Fields("サイクル") = 4.0;
    second.Update();
    transaction.Commit();
  }
  EXPECT_EQ("X=4/1 Y=5/0 ", cycles(other_));

  // A held write that fails is told by the request that carries it, and nothing is kept.
  {
    Transaction transaction(connection);
    Recordset x;
    x.Open(row, {"X"}, connection, CursorType::Keyset, LockType::Optimistic);
    x.Fields("サイクル") = 9.0;
    x.Update();
    x.Fields("削除フラグ") = Value();  // the column takes no Null
    EXPECT_THROW(
        {
          x.Update();
          transaction.Commit();
        },
        DatabaseError);
  }
  EXPECT_EQ("X=4/1 Y=5/0 ", cycles(other_));
  EXPECT_EQ("X=4/1 Y=5/0 ", cycles(connection)) << "the connection is usable again";
}

// A write by row id that finds no row stored nothing: it fails the transaction as a conflict,
// whether the engine writes at once or holds the write back to the commit.
TEST_P(TransactionTest, AWriteThatFindsNoRowIsNeverASuccess) {
  Connection& connection = db_.connection();
  AddItem("A");
  {
    Transaction transaction(connection);
    Recordset item;
    item.Open("SELECT * FROM 品目マスタ WHERE 品名コード=?", {"A"}, connection, CursorType::Keyset,
              LockType::Optimistic);
    AddItem("B");
    connection.ExecuteScript("DELETE FROM 品目マスタ WHERE 品名コード='A'");
    item.Fields("型番名") = "gone";
    EXPECT_THROW(
        {
          item.Update();
          transaction.Commit();
        },
        TransactionConflict);
  }
  EXPECT_EQ(1, ItemsSeenBy(other_)) << "the delete and the insert went with the failed write";
  EXPECT_EQ(1, ItemsSeenBy(connection)) << "the connection is usable again";
}

// Rows appended without being shown land in order with the writes around them. An appended
// attempt that fails is undone alone: at once where writes are not held back, else the request
// that carries it fails the transaction with HeldAttemptFailed and nothing is kept.
TEST_P(TransactionTest, AppendedRowsAndAttempts) {
  Connection& connection = db_.connection();
  const auto append = [&](Recordset& items, const std::string& code, bool attempt) {
    items.AddNew();
    items.Fields("品名コード") = code;
    items.Append(attempt);
  };
  const bool held = GetParam() == test::Engine::Server;
  {
    Transaction transaction(connection);
    Recordset items;
    items.Open("SELECT * FROM 品目マスタ WHERE 品名コード=?", {"none"}, connection,
               CursorType::Keyset, LockType::Optimistic);
    append(items, "A", false);
    append(items, "B", true);
    EXPECT_TRUE(items.Eof()) << "an appended row is not shown";
    EXPECT_EQ(2, ItemsSeenBy(connection));
    if (!held) {
      EXPECT_THROW(append(items, "A", true), DatabaseError);
      append(items, "C", true);
      transaction.Commit();
    } else {
      append(items, "A", true);  // the key is taken: found with the next request
      EXPECT_THROW(ItemsSeenBy(connection), HeldAttemptFailed);
      EXPECT_THROW(transaction.Commit(), HeldAttemptFailed);
    }
  }
  EXPECT_EQ(held ? 0 : 3, ItemsSeenBy(other_));
  EXPECT_EQ(held ? 0 : 3, ItemsSeenBy(connection)) << "the connection is usable again";
}

INSTANTIATE_TEST_SUITE_P(Engines, TransactionTest,
                         ::testing::Values(test::Engine::File, test::Engine::Server),
                         [](const auto& info) { return test::EngineName(info.param); });

}  // namespace
}  // namespace velmora::db
