#include "db/recordset.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/errors.h"
#include "db/command.h"
#include "db/sql_text.h"
#include "db/transaction.h"
#include "support/test_db.h"

namespace velmora::db {
namespace {

// Every engine behaves alike behind the recordset.
class RecordsetTest : public ::testing::TestWithParam<test::Engine> {
 protected:
  void SetUp() override {
    db.Insert("品目マスタ", {{"品名コード", "A-100"}, {"型番名", "M1"}, {"包装単位数量", 50}});
    db.Insert("品目マスタ", {{"品名コード", "B-200"}, {"型番名", "M2"}});
    db.Insert("品目マスタ", {{"品名コード", "C-300"}, {"型番名", "O'Neil"}});
  }
  test::TestDb db{GetParam()};
};

TEST_P(RecordsetTest, ForwardOnlyResultStartsOnTheFirstRowAndEndsWithEof) {
  for (CursorType cursor : {CursorType::ForwardOnly, CursorType::Keyset}) {
    Recordset rs;
    rs.Open(
        "SELECT 品名コード, 型番名 AS 名前, 包装単位数量 FROM 品目マスタ ORDER BY 品名コード DESC",
        db.connection(), cursor, LockType::ReadOnly, -1);
    ASSERT_FALSE(rs.Eof());
    EXPECT_EQ(3, rs.FieldCount());
    EXPECT_EQ("C-300", rs.Fields("品名コード").Text());
    EXPECT_EQ("O'Neil", rs.Fields("名前").Text());  // by alias
    EXPECT_EQ("C-300", rs.Fields(0).Text());        // by position
    EXPECT_EQ("名前", rs.Fields(1).Name());
    rs.MoveNext();
    EXPECT_EQ("B-200", rs.Fields("品名コード").Text());
    EXPECT_EQ(0, rs.Fields("包装単位数量").Int32());
    rs.MoveNext();
    EXPECT_EQ(50, rs.Fields("包装単位数量").Int32());
    rs.MoveNext();
    EXPECT_TRUE(rs.Eof());
    EXPECT_THROW(rs.MoveNext(), DatabaseError);
    EXPECT_THROW(rs.Fields(0).Text(), DatabaseError);
    rs.Close();
    EXPECT_TRUE(rs.Eof());
  }
}

TEST_P(RecordsetTest, EmptyResultIsAtEofAtOnce) {
  Recordset rs;
  rs.Open("SELECT * FROM 品目マスタ WHERE 品名コード='none'", db.connection());
  EXPECT_TRUE(rs.Eof());
  EXPECT_GT(rs.FieldCount(), 0);
}

TEST_P(RecordsetTest, MissingJoinedValuesAreNullAndReadAsEmptyText) {
  Recordset rs;
  rs.Open(
      "SELECT 品目マスタ.品名コード, 在庫情報.現在庫数 FROM 品目マスタ LEFT JOIN 在庫情報 ON "
      "在庫情報.品名コード=品目マスタ.品名コード WHERE 品目マスタ.品名コード='A-100'",
      db.connection());
  ASSERT_FALSE(rs.Eof());
  EXPECT_TRUE(rs.Fields("現在庫数").IsNull());
  EXPECT_EQ("", rs.Fields("現在庫数").Text());
  EXPECT_EQ(0, rs.Fields("現在庫数").Number());
  EXPECT_TRUE(rs.Fields("現在庫数").Get().IsNull());
}

TEST_P(RecordsetTest, UnknownFieldNamesAreErrors) {
  Recordset rs;
  rs.Open("SELECT 品名コード FROM 品目マスタ", db.connection());
  EXPECT_EQ(-1, rs.FieldIndex("型番名"));
  EXPECT_THROW(rs.Fields("型番名"), DatabaseError);
  EXPECT_THROW(rs.Fields(1), DatabaseError);
  EXPECT_EQ(0, rs.FieldIndex("品名コード"));
}

TEST_P(RecordsetTest, FieldNamesIgnoreAsciiCase) {
  Recordset rs;
  rs.Open("SELECT 品名コード AS Code FROM 品目マスタ", db.connection());
  EXPECT_EQ("A-100", rs.Fields("CODE").Text());
}

TEST_P(RecordsetTest, AQuoteInTypedTextIsData) {
  Recordset rs;
  rs.Open("SELECT 品名コード FROM 品目マスタ WHERE 型番名='" + SqlText("O'Neil") + "'",
          db.connection());
  ASSERT_FALSE(rs.Eof());
  EXPECT_EQ("C-300", rs.Fields(0).Text());
  rs.Close();
  // An attempt to widen the condition stays a literal that matches nothing.
  rs.Open("SELECT 品名コード FROM 品目マスタ WHERE 型番名='" + SqlText("x' OR '1'='1") + "'",
          db.connection());
  EXPECT_TRUE(rs.Eof());
  EXPECT_EQ("x'' OR ''1''=''1", SqlText("x' OR '1'='1"));
}

TEST_P(RecordsetTest, ReadOnlyResultsRefuseWrites) {
  Recordset rs;
  rs.Open("SELECT * FROM 品目マスタ", db.connection());
  EXPECT_THROW(rs.Fields("型番名") = Value("x"), DatabaseError);
  EXPECT_THROW(rs.AddNew(), DatabaseError);
}

TEST_P(RecordsetTest, UpdateWritesTheCurrentRowAtOnce) {
  Recordset rs;
  rs.Open("SELECT * FROM 品目マスタ WHERE 品名コード='B-200'", db.connection(),
          CursorType::ForwardOnly, LockType::Optimistic);
  ASSERT_FALSE(rs.Eof());
  rs.Fields("型番名") = Value("M2-new");
  rs.Fields("包装単位数量") = 12;
  EXPECT_EQ("M2-new", rs.Fields("型番名").Text());  // visible before the write
  rs.Update();
  EXPECT_EQ("M2-new", db.Scalar("SELECT 型番名 FROM 品目マスタ WHERE 品名コード='B-200'").Text());
  EXPECT_EQ(12, db.Scalar("SELECT 包装単位数量 FROM 品目マスタ WHERE 品名コード='B-200'").Number());
  EXPECT_EQ("M1", db.Scalar("SELECT 型番名 FROM 品目マスタ WHERE 品名コード='A-100'").Text());
}

TEST_P(RecordsetTest, MoveNextStoresPendingChanges) {
  Recordset rs;
  rs.Open("SELECT * FROM 品目マスタ ORDER BY 品名コード", db.connection(), CursorType::Keyset,
          LockType::Optimistic);
  while (!rs.Eof()) {
    rs.Fields("品名略称") = rs.Fields("品名コード").Text() + "略";
    rs.MoveNext();
  }
  EXPECT_EQ(
      3, db.Scalar("SELECT count(*) FROM 品目マスタ WHERE 品名略称 = 品名コード || '略'").Number());
}

TEST_P(RecordsetTest, ThousandsOfUpdatesInOneTransactionWriteEachRowAndReuseStatements) {
  constexpr int kRows = 2000;
  Transaction transaction(db.connection());
  Recordset rs;
  rs.Open("SELECT * FROM 手配情報 WHERE 手配番号 < 0", db.connection(), CursorType::ForwardOnly,
          LockType::Optimistic);
  for (int n = 1; n <= kRows; ++n) {
    rs.AddNew();
    rs.Fields("手配番号") = n;
    rs.Fields("手配数") = n * 10;
    rs.Update();
  }
  const std::size_t shapes = db.connection().KeptStatements();
  rs.Open("SELECT * FROM 手配情報 ORDER BY 手配番号", db.connection(), CursorType::Keyset,
          LockType::Optimistic);
  for (int n = 1; !rs.Eof(); ++n, rs.MoveNext()) {
    // Two shapes of update, and a Null after a value in the same statement position.
    rs.Fields("金型番号") = n % 2 ? Value("odd") : Value();
    if (n % 3 == 0) rs.Fields("手配数") = n;
    rs.Update();
  }
  transaction.Commit();
  EXPECT_EQ(shapes + 2, db.connection().KeptStatements());
  EXPECT_EQ(kRows, db.Scalar("SELECT count(*) FROM 手配情報").Number());
  EXPECT_EQ(kRows / 2, db.Scalar("SELECT count(*) FROM 手配情報 WHERE 金型番号='odd'").Number());
  EXPECT_EQ(kRows / 2, db.Scalar("SELECT count(*) FROM 手配情報 WHERE 金型番号 IS NULL").Number());
  EXPECT_EQ(0, db.Scalar("SELECT count(*) FROM 手配情報 WHERE 金型番号='odd' AND 手配番号 % 2 = 0")
                   .Number());
  EXPECT_EQ(kRows, db.Scalar("SELECT count(*) FROM 手配情報 WHERE 手配数 = "
                             "CASE WHEN 手配番号 % 3 = 0 THEN 手配番号 ELSE 手配番号 * 10 END")
                       .Number());
}

TEST_P(RecordsetTest, AFailedUpdateLeavesTheNextOneOfTheSameShapeWorking) {
  Recordset rs;
  rs.Open("SELECT * FROM 品目マスタ ORDER BY 品名コード", db.connection(), CursorType::Keyset,
          LockType::Optimistic);
  rs.Fields("品名コード") = Value("B-200");  // taken by the next row
  EXPECT_THROW(rs.Update(), DatabaseError);
  rs.Fields("品名コード") = Value("A-101");
  EXPECT_NO_THROW(rs.Update());
  EXPECT_EQ(1, db.Scalar("SELECT count(*) FROM 品目マスタ WHERE 品名コード='A-101'").Number());
}

TEST_P(RecordsetTest, AddNewAppendsARowWithDefaultsForUnsetFields) {
  Recordset rs;
  rs.Open("SELECT * FROM 手配情報 WHERE 手配番号=-1", db.connection(), CursorType::ForwardOnly,
          LockType::Optimistic);
  EXPECT_TRUE(rs.Eof());
  rs.AddNew();
  rs.Fields("手配番号") = 777;
  rs.Fields("品名コード") = Value("A-100");
  rs.Fields("金型番号") = Value();
  rs.Update();
  EXPECT_FALSE(rs.Eof());
  EXPECT_EQ("00000000", rs.Fields("開始日").Text());  // the database's default, read back
  EXPECT_EQ(777, rs.Fields("手配番号").Int32());
  EXPECT_EQ(
      1,
      db.Scalar("SELECT count(*) FROM 手配情報 WHERE 手配番号=777 AND 金型番号 IS NULL").Number());
}

TEST_P(RecordsetTest, CopyingARowByPositionIntoANewRow) {
  db.Insert("手配情報",
            {{"手配番号", 10}, {"品名コード", "A-100"}, {"手配数", 300}, {"備考", "copy me"}});
  Recordset source;
  source.Open("SELECT * FROM 手配情報 WHERE 手配番号=10", db.connection());
  Recordset target;
  target.Open("SELECT * FROM 手配情報 WHERE 手配番号=-5", db.connection(), CursorType::ForwardOnly,
              LockType::Optimistic);
  target.AddNew();
  for (int i = 0; i < source.FieldCount(); ++i) target.Fields(i) = source.Fields(i).Get();
  target.Fields("手配番号") = 11;
  target.Update();
  EXPECT_EQ("copy me", db.Scalar("SELECT 備考 FROM 手配情報 WHERE 手配番号=11").Text());
  EXPECT_EQ(300, db.Scalar("SELECT 手配数 FROM 手配情報 WHERE 手配番号=11").Number());
}

TEST_P(RecordsetTest, UpdatableResultsMustReadOneTable) {
  Recordset rs;
  EXPECT_THROW(
      rs.Open("SELECT 品目マスタ.*, 在庫情報.現在庫数 FROM 品目マスタ LEFT JOIN 在庫情報 ON "
              "在庫情報.品名コード=品目マスタ.品名コード",
              db.connection(), CursorType::Keyset, LockType::Optimistic),
      DatabaseError);
}

TEST_P(RecordsetTest, ParameterizedOpensBindTheirValuesAndPrepareEachTextOnce) {
  const std::size_t before = db.connection().KeptStatements();
  Recordset rs;
  for (const char* code : {"A-100", "B-200", "none", "A-100"}) {
    for (CursorType cursor : {CursorType::ForwardOnly, CursorType::Keyset}) {
      rs.Open("SELECT * FROM 品目マスタ WHERE 品名コード=?", {code}, db.connection(), cursor);
      EXPECT_EQ(std::string(code) == "none", rs.Eof());
      if (!rs.Eof()) {
        EXPECT_EQ(code, rs.Fields("品名コード").Text());
      }
    }
  }
  rs.Open("SELECT 品名コード FROM 品目マスタ WHERE 型番名=?", {"O'Neil"}, db.connection());
  EXPECT_EQ("C-300", rs.Fields(0).Text());  // a quote in a parameter is data
  rs.Open("SELECT * FROM 品目マスタ WHERE 品名コード=?", {"B-200"}, db.connection(),
          CursorType::Keyset, LockType::Optimistic);
  rs.Fields("型番名") = Value("M2-new");
  rs.Update();
  rs.Close();
  EXPECT_EQ("M2-new", db.Scalar("SELECT 型番名 FROM 品目マスタ WHERE 品名コード='B-200'").Text());
  // The read text, the quote text, the updatable read text and its update.
  EXPECT_EQ(before + 4, db.connection().KeptStatements());
}

TEST_P(RecordsetTest, ReadersOfTheSameTextAtOnceEachKeepTheirOwnRows) {
  const std::string sql =
      "SELECT 品名コード FROM 品目マスタ WHERE 品名コード>=? ORDER BY 品名コード";
  Recordset outer;
  outer.Open(sql, {"A"}, db.connection());
  std::vector<std::string> pairs;
  while (!outer.Eof()) {
    Recordset inner;
    inner.Open(sql, {outer.Fields(0).Text()}, db.connection());
    for (; !inner.Eof(); inner.MoveNext())
      pairs.push_back(outer.Fields(0).Text() + ">" + inner.Fields(0).Text());
    Recordset moved = std::move(outer);  // a moved reader keeps its place
    moved.MoveNext();
    outer = std::move(moved);
  }
  EXPECT_EQ((std::vector<std::string>{"A-100>A-100", "A-100>B-200", "A-100>C-300", "B-200>B-200",
                                      "B-200>C-300", "C-300>C-300"}),
            pairs);
}

TEST_P(RecordsetTest, AReaderLeftHalfWayOrRefusedLeavesTheTextReadyForTheNext) {
  const std::string sql =
      "SELECT 品名コード FROM 品目マスタ WHERE 品名コード>=? ORDER BY 品名コード";
  {
    Recordset rs;
    rs.Open(sql, {"A"}, db.connection());
    rs.MoveNext();
  }
  Recordset rs;
  rs.Open(sql, {"B"}, db.connection());
  EXPECT_EQ("B-200", rs.Fields(0).Text());
  rs.Close();
  // An updatable text over two tables is refused at every open, not only the first.
  for (int attempt = 0; attempt < 2; ++attempt) {
    EXPECT_THROW(
        rs.Open("SELECT 品目マスタ.*, 在庫情報.現在庫数 FROM 品目マスタ LEFT JOIN 在庫情報 "
                "ON 在庫情報.品名コード=品目マスタ.品名コード WHERE 品目マスタ.品名コード=?",
                {"A-100"}, db.connection(), CursorType::Keyset, LockType::Optimistic),
        DatabaseError);
  }
}

TEST_P(RecordsetTest, IntegerFieldsRoundTiesToEvenAndRefuseOverflow) {
  db.Insert("成形品マスタ",
            {{"品名コード", "A-100"}, {"順序", 1}, {"部コード", 3}, {"ショット重量", 2.5}});
  db.Insert("成形品マスタ",
            {{"品名コード", "A-100"}, {"順序", 2}, {"部コード", 3}, {"ショット重量", 70000.0}});
  Recordset rs;
  rs.Open("SELECT ショット重量 FROM 成形品マスタ ORDER BY 順序", db.connection());
  EXPECT_EQ(2, rs.Fields("ショット重量").Int16());
  EXPECT_EQ("2.5", rs.Fields("ショット重量").Text());
  rs.MoveNext();
  EXPECT_THROW(rs.Fields("ショット重量").Int16(), ConversionError);
  EXPECT_EQ(70000, rs.Fields("ショット重量").Int32());
}

TEST_P(RecordsetTest, AFirstRowLookUpReadsOneRowOfManyAndCanWriteIt) {
  Recordset rs;
  rs.OpenFirstRow("SELECT * FROM 品目マスタ WHERE 品名コード > ? ORDER BY 品名コード", {"A"},
                  db.connection(), LockType::Optimistic);
  ASSERT_FALSE(rs.Eof());
  EXPECT_EQ("A-100", rs.Fields("品名コード").Text());
  rs.Fields("型番名") = Value("first");
  rs.MoveNext();
  EXPECT_TRUE(rs.Eof()) << "one row of three";
  EXPECT_EQ(1, db.Scalar("SELECT count(*) FROM 品目マスタ WHERE 型番名='first'").Number());
  EXPECT_EQ("first", db.Scalar("SELECT 型番名 FROM 品目マスタ WHERE 品名コード='A-100'").Text());
}

TEST_P(RecordsetTest, CommandRunsItsTextOnTheActiveConnection) {
  Command command;
  EXPECT_THROW(command.Execute(), DatabaseError);
  command.ActiveConnection = &db.connection();
  command.CommandText = "SELECT count(*) AS n FROM 品目マスタ";
  Recordset rs = command.Execute();
  EXPECT_EQ(3, rs.Fields("n").Int32());
}

INSTANTIATE_TEST_SUITE_P(Engines, RecordsetTest,
                         ::testing::Values(test::Engine::File, test::Engine::Server),
                         [](const auto& info) { return test::EngineName(info.param); });

}  // namespace
}  // namespace velmora::db
