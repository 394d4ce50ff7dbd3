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

INSTANTIATE_TEST_SUITE_P(Engines, TransactionTest,
                         ::testing::Values(test::Engine::File, test::Engine::Server),
                         [](const auto& info) { return test::EngineName(info.param); });

}  // namespace
}  // namespace velmora::db
