#include "db/transaction.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "common/errors.h"
#include "db/recordset.h"
#include "support/test_db.h"

namespace velmora::db {
namespace {

class TransactionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    other_.OpenFile(db_.path());  // another program looking at the same file
  }
  void AddItem(const std::string& code) {
    db_.connection().ExecuteScript("INSERT INTO 品目マスタ (品名コード) VALUES ('" + code + "')");
  }
  int ItemsSeenBy(Connection& connection) {
    Recordset rs;
    rs.Open("SELECT count(*) FROM 品目マスタ", connection);
    return rs.Fields(0).Int32();
  }

  test::TestDb db_;
  Connection other_;
};

TEST_F(TransactionTest, AnExceptionInsideLeavesNothingWritten) {
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

TEST_F(TransactionTest, CommitMakesTheWorkVisibleToAnotherConnection) {
  Transaction transaction(db_.connection());
  AddItem("A");
  EXPECT_EQ(1, ItemsSeenBy(db_.connection()));
  EXPECT_EQ(0, ItemsSeenBy(other_)) << "uncommitted work leaks";
  transaction.Commit();
  EXPECT_FALSE(transaction.Active());
  EXPECT_EQ(1, ItemsSeenBy(other_));
  EXPECT_THROW(transaction.Commit(), DatabaseError);
}

TEST_F(TransactionTest, ASecondWriterCannotStartWhileTheFirstHoldsTheLock) {
  Transaction first(db_.connection());
  Connection impatient;
  impatient.OpenFile(db_.path(), {.readOnly = false, .busyTimeoutMs = 20});
  EXPECT_THROW(Transaction second(impatient), DatabaseError);
  first.Rollback();
  EXPECT_NO_THROW(Transaction second(impatient));
}

TEST_F(TransactionTest, AReadOnlyConnectionRefusesToWrite) {
  Connection reader;
  reader.OpenFile(db_.path(), {.readOnly = true});
  try {
    Transaction transaction(reader);
    FAIL() << "a transaction started on a read-only connection";
  } catch (const DatabaseError& e) {
    EXPECT_NE(std::string(e.what()).find("読み取り専用"), std::string::npos) << e.what();
    EXPECT_NE(std::string(e.what()).find(db_.path()), std::string::npos) << e.what();
  }
}

}  // namespace
}  // namespace velmora::db
