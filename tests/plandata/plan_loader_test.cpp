#include "plandata/plan_loader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <exception>
#include <limits>
#include <map>
#include <stdexcept>
#include <string>

#include "common/date_text.h"
#include "common/error_text.h"
#include "common/errors.h"
#include "plant_tables.h"
#include "support/test_db.h"

namespace velmora {
namespace {

using ::testing::HasSubstr;

DateTime D(int y, int m, int d) {
  return DateTime::FromDate(y, m, d);
}
DateTime T(int h, int m, int s = 0) {
  return DateTime::FromTime(h, m, s);
}

// Records what the loader hands to the chart.
class RecordingBars : public BarControls {
 public:
  void HidePlanSurface() override { calls += "hide;"; }
  void ShowPlanSurface() override { calls += "show;"; }
  void CreateBarPair(BarIdx bar) override { calls += std::to_string(bar.value) + ";"; }
  std::string calls;
};

// Plant 3's molding (category 03) arrangements of 2024/04/10-30.
class LoaderWorld {
 public:
  explicit LoaderWorld(test::Engine engine = test::Engine::File) : db(engine) {
    data.PlantCode = 3;
    data.CategoryCode = "3";
    data.SetPeriod("2024/04/10", "2024/04/30");
    data.ResetPlanTable();
    db.Insert("工程内容マスタ",
              {{"工程内容コード", "101"}, {"工程内容名", "成形"}, {"工程分類コード", "03"}});
    db.Insert("工程内容マスタ",
              {{"工程内容コード", "301"}, {"工程内容名", "組立"}, {"工程分類コード", "30"}});
    Item("BX1000-01A", "ケース上", "101");
    Item("BX1000-04B", "ケース下", "101");
    Item("AS2000-01C", "ユニット", "301");
  }

  void Item(const std::string& code, const std::string& name, const std::string& process) {
    db.Insert("品目マスタ", {{"品名コード", code}, {"品名＿品名仕様", name}, {"包装単位数量", 20}});
    db.Insert(
        "工程手順マスタ",
        {{"品名コード", code}, {"順序", 1}, {"生産工場コード", 3}, {"工程内容コード", process}});
  }

  // An arrangement with sensible defaults; `overrides` replace or add columns.
  void Arrangement(int no, const test::TestDb::Fields& overrides = {}) {
    test::InsertArrangement(db, no, {{"生産計画番号", 900}, {"スケジューラ固定区分", "1"}},
                            overrides);
  }

  // Loads and returns the entry of arrangement `orderNo` (the query orders rows by its keys).
  const PlanEntry& Load(int orderNo = 1) {
    ReturnPlanData(data, db.connection(), bars);
    return Entry(orderNo);
  }
  const PlanEntry& Entry(int orderNo) const {
    for (const PlanEntry& e : data.PlanTable) {
      if (e.OrderNo == orderNo) return e;
    }
    throw std::runtime_error("no entry for arrangement " + std::to_string(orderNo));
  }

  test::TestDb db;
  PlanData data;
  RecordingBars bars;
};

class PlanLoader : public ::testing::Test, protected LoaderWorld {};

// The same on each engine.
class StoredValues : public ::testing::TestWithParam<test::Engine> {};
INSTANTIATE_TEST_SUITE_P(Engines, StoredValues,
                         ::testing::Values(test::Engine::File, test::Engine::Server),
                         [](const auto& info) { return test::EngineName(info.param); });

TEST_F(PlanLoader, EntriesFollowThePlaceholderAndGetTheirBars) {
  Arrangement(1);
  Arrangement(2, {{"生産工場コード", 4}});         // another plant: skipped
  Arrangement(3, {{"品名コード", "AS2000-01C"}});  // another category: skipped
  Arrangement(4, {{"納期", "20240407"}});          // due before the window: not selected
  Arrangement(5, {{"削除フラグ", "1"}});           // deleted: not selected
  Arrangement(6, {{"機械コード", "M02     "}});
  Load();
  ASSERT_EQ(3, data.PlanCount());
  const PlanEntry& e = data.PlanTable[2];
  EXPECT_EQ(0, data.PlanTable[1].BarIndex);
  EXPECT_EQ("0", data.PlanTable[1].MachineCode);
  EXPECT_EQ(2, e.BarIndex);
  EXPECT_EQ(1, e.OrderNo);
  EXPECT_EQ(3, data.PlanTable[3].BarIndex);
  EXPECT_EQ(6, data.PlanTable[3].OrderNo);
  EXPECT_EQ("hide;2;3;show;", bars.calls);
}

TEST_F(PlanLoader, ConfirmedArrangementKeepsItsMachineTimesAndFlags) {
  Arrangement(1);
  const PlanEntry& e = Load();
  EXPECT_EQ("M01     ", e.MachineCode);
  EXPECT_EQ("2", e.ConfirmFlag);
  EXPECT_EQ("1", e.FixedFlag);
  EXPECT_EQ(D(2024, 4, 15), e.StartDate);
  EXPECT_EQ(T(8, 30), e.StartTime);
  EXPECT_EQ(D(2024, 4, 16), e.EndDate);
  EXPECT_EQ(T(17, 0), e.EndTime);
  EXPECT_EQ(300, e.DurationMinutes);
  EXPECT_EQ(1, e.InUse);
  EXPECT_EQ(0, e.Changed);
  EXPECT_EQ(1, e.A[1].OrderNo);
  EXPECT_EQ("成形", e.A[1].ProcessName);
  EXPECT_EQ("ケース上", e.A[1].ModelName);
  EXPECT_EQ(1000, e.A[1].OrderQty);
  EXPECT_EQ(0, e.B[1].OrderNo);
  EXPECT_EQ("1", e.ItemKind);
  EXPECT_EQ(20, e.PackQty);
}

TEST_F(PlanLoader, ConfirmedWithoutTimesGoesToTheUnplannedRow) {
  Arrangement(1, {{"GNT開始時刻", "000000"}, {"GNT終了時刻", "000000"}, {"完納区分", "0"}});
  Arrangement(2, {{"GNT開始時刻", "000000"}, {"GNT終了時刻", "000000"}, {"完納区分", "2"}});
  const PlanEntry& e = Load();
  EXPECT_EQ("        ", e.MachineCode);
  EXPECT_EQ("1", e.ConfirmFlag);
  EXPECT_EQ("0", e.FixedFlag);
  EXPECT_EQ("M01     ", Entry(2).MachineCode);  // completed arrangements stay placed
}

TEST_F(PlanLoader, UnconfirmedBeforeThePeriodIsShownFromThePeriodStart) {
  Arrangement(1, {{"手配確定区分", "1"}, {"開始日", "20240405"}, {"納期", "20240412"}});
  Arrangement(2, {{"手配確定区分", "2"}, {"開始日", "20240405"}, {"納期", "20240412"}});
  const PlanEntry& e = Load();
  EXPECT_EQ("        ", e.MachineCode);
  EXPECT_EQ(D(2024, 4, 10), e.StartDate);
  EXPECT_EQ(D(2024, 4, 11), e.EndDate);
  EXPECT_EQ(D(2024, 4, 12), e.InitialDueDate);
  EXPECT_EQ(D(2024, 4, 5), Entry(2).StartDate);
}

TEST(StoredTime, ATimeTextOrElseSecondsTakenAsATimeOfDay) {
  const struct {
    const char* text;
    DateTime time;
  } cases[] = {
      {"083000", T(8, 30)},
      {"235959", T(23, 59, 59)},
      {"0", T(0, 0)},
      {"36000", T(10, 0)},
      {"240000", T(18, 40)},
      {"86400", T(0, 0)},
      {"86399.9", T(23, 59, 59)},
      {"-1", T(23, 59, 59)},
      {"999999999", T(1, 46, 39)},
      {"abc", T(0, 0)},
      {"", T(0, 0)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(c.time, TimeOfStoredValue(c.text));
  }
}

TEST_F(PlanLoader, TimesReadAsTextOrAsSecondsAndAnOddTimeLoadsToo) {
  Arrangement(1, {{"GNT開始時刻", "36000"}, {"GNT終了時刻", "0"}});
  Arrangement(2, {{"GNT開始時刻", 83000}, {"GNT終了時刻", "235959"}});
  Arrangement(3, {{"GNT開始時刻", "240000"}, {"GNT終了時刻", "99999999999999999999"}});
  Load();
  EXPECT_EQ(T(10, 0), Entry(1).StartTime);
  EXPECT_EQ(T(0, 0), Entry(1).EndTime);
  EXPECT_EQ(T(8, 30), Entry(2).StartTime);
  EXPECT_EQ(T(23, 59, 59), Entry(2).EndTime);
  EXPECT_EQ(T(18, 40), Entry(3).StartTime);
}

TEST_F(PlanLoader, MissingDurationIsComputedAndTheStartBackScheduled) {
  // Cycle 0 -> 5 s per piece: 30 + 120 x 5 / 60 = 40 minutes before 10:00 on the end day.
  Arrangement(
      1, {{"GNT所要時間（分）", 0}, {"手配数", 120}, {"段取時間", 30}, {"GNT終了時刻", "100000"}});
  const PlanEntry& e = Load();
  EXPECT_EQ(40, e.DurationMinutes);
  EXPECT_EQ(D(2024, 4, 16), e.StartDate);
  EXPECT_EQ(T(9, 20), e.StartTime);
}

TEST_F(PlanLoader, MastersGiveCycleSetupWeightAndPlan) {
  db.Insert("成形品マスタ", {{"品名コード", "BX1000-01A"},
                             {"順序", 1},
                             {"部コード", 3},
                             {"取数", 4},
                             {"ショット重量", 50.0},
                             {"前段取時間", 20},
                             {"後段取時間", 15},
                             {"リサイクル", 33.0}});
  db.Insert(
      "品目別機械別ｻｲｸﾙﾏｽﾀ",
      {{"品名コード", "BX1000-01A"}, {"順序", 1}, {"機械コード", "M01     "}, {"サイクル", 30.0}});
  db.Insert("生産計画情報",
            {{"生産計画番号", 900}, {"計画数", 5000}, {"品名コード", "BX1000-00Z"}});
  Arrangement(1, {{"段取時間", 0},
                  {"金型番号", "K-77"},
                  {"最終実績日", "20240412"},
                  {"受入実績数", 250},
                  {"GNT初期納期", "20240420"}});
  const PlanEntry& e = Load();
  EXPECT_FLOAT_EQ(7.5f, e.CycleSeconds);  // preferred cycle per shot / cavities
  EXPECT_EQ(35, e.SetupMinutes);
  EXPECT_EQ(12, e.PieceWeight);  // 50 / 4 = 12.5, ties to even
  EXPECT_FLOAT_EQ(30.0f, e.MoldCycle);
  EXPECT_EQ(4, e.Cavities);
  EXPECT_EQ(5000, e.PlanQty);
  EXPECT_EQ("BX1000-00Z", e.PlanItemCode);
  EXPECT_EQ("900", e.PlanNoText);
  EXPECT_EQ("K-77", e.MoldNo);
  EXPECT_EQ(250, e.ReceivedQty);
  EXPECT_EQ(D(2024, 4, 12), e.LastResultDate);
  EXPECT_EQ(D(2024, 4, 20), e.InitialDueDate);
}

TEST_F(PlanLoader, WithoutMastersTheRoutingProductivityAndItemCodeServe) {
  db.Insert("工程手順マスタ", {{"品名コード", "BX1000-04B"},
                               {"順序", 2},
                               {"生産工場コード", 3},
                               {"工程内容コード", "101"},
                               {"標準生産性＿機械", 12.5}});
  Arrangement(1, {{"品名コード", "BX1000-04B"},
                  {"順序", 2},
                  {"段取時間", 10},
                  {"指示書発行日", "20240401"},
                  {"GNT初期納期", "00000000"},
                  {"最終実績日", "00000000"}});
  const PlanEntry& e = Load();
  EXPECT_FLOAT_EQ(12.5f, e.CycleSeconds);
  EXPECT_EQ(10, e.SetupMinutes);
  EXPECT_EQ(0, e.PieceWeight);
  EXPECT_EQ("BX1000-04B", e.PlanItemCode);
  EXPECT_EQ("", e.PlanNoText);
  EXPECT_EQ("", e.MoldNo);
  EXPECT_EQ("4", e.ItemKind);
  EXPECT_EQ(0, e.A[1].OrderNo);
  EXPECT_EQ(1, e.B[1].OrderNo);  // 9th character "4": the second group
  EXPECT_EQ(2, e.B[1].Seq);
  EXPECT_EQ("20240401", e.SheetIssueDate);
  EXPECT_TRUE(e.LastResultDate.IsZero());
  EXPECT_EQ(e.EndDate, e.InitialDueDate);
}

// A value of a row the load takes that it cannot read as stored stops the load, naming the table,
// the row and the column: shown as a guess, a Null quantity became 0, and the next save deleted
// the lot; a row without a due day or with an odd deletion flag left the chart unseen; the
// numbers ahead of any junk were taken.
TEST_P(StoredValues, AValueTheLoadCannotTakeStopsItNamingWhereItIs) {
  const double infinity = std::numeric_limits<double>::infinity();
  const struct {
    const char* table;
    const char* column;
    db::Value value;
    bool text;  // the plant keeps the column as text
    const char* says;
  } cases[] = {
      {"手配情報", "手配数", {}, false, "手配情報の手配番号 41 の「手配数」が読み取れません（空）"},
      {"手配情報", "手配数", "1000abc", true,
       "手配情報の手配番号 41 の「手配数」が読み取れません（「1000abc」は数値ではありません）"},
      // Too large for a double: a file stores it as an infinite real, a server's text keeps it.
      {"手配情報", "手配数", "1e999", true, "手配番号 41 の「手配数」が読み取れません（「"},
      {"手配情報", "納期", {}, false, "手配情報の手配番号 41 の「納期」が読み取れません（空）"},
      {"手配情報", "納期", "2024041x", false,
       "手配情報の手配番号 41 の「納期」が読み取れません（「2024041x」は日付ではありません）"},
      {"手配情報", "開始日", {}, false, "手配情報の手配番号 41 の「開始日」が読み取れません（空）"},
      {"手配情報", "生産計画番号", {}, false, "手配情報の手配番号 41 の「生産計画番号」"},
      {"手配情報", "GNT所要時間（分）", {}, false, "手配情報の手配番号 41 の「GNT所要時間（分）」"},
      {"手配情報", "GNT所要時間（分）", "300 min", true,
       "「GNT所要時間（分）」が読み取れません（「300 min」は数値ではありません）"},
      {"手配情報", "段取時間", 99999, false,
       "「段取時間」が読み取れません（「99999」は範囲外です）"},
      {"手配情報", "削除フラグ", "2", false,
       "「削除フラグ」が読み取れません（「2」は 0、1 のいずれでもありません）"},
      {"手配情報", "削除フラグ", {}, false, "手配番号 41 の「削除フラグ」が読み取れません（空）"},
      {"手配情報", "手配確定区分", "3", false,
       "「手配確定区分」が読み取れません（「3」は 1、2 のいずれでもありません）"},
      {"手配情報", "スケジューラ固定区分", "9", false,
       "「スケジューラ固定区分」が読み取れません（「9」は 0、1、2 のいずれでもありません）"},
      {"品目別機械別ｻｲｸﾙﾏｽﾀ", "サイクル", infinity, false,
       "品目別機械別ｻｲｸﾙﾏｽﾀの品名コード BX1000-01A、順序 1、機械コード M01 の「サイクル」が読み"
       "取れません（「inf」は数値ではありません）"},
      // A file keeps "NaN" as a text; a server reads it as the number NaN.
      {"品目別機械別ｻｲｸﾙﾏｽﾀ", "サイクル", "NaN", false, "、機械コード M01 の「サイクル」"},
      {"品目別機械別ｻｲｸﾙﾏｽﾀ", "サイクル", 1e300, false, "（「1e+300」は範囲外です）"},
      {"成形品マスタ", "取数", "4x", true,
       "成形品マスタの品名コード BX1000-01A、順序 1、部コード 3 の「取数」"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.column) + " " + c.value.Text());
    LoaderWorld w(GetParam());
    w.db.Insert("品目別機械別ｻｲｸﾙﾏｽﾀ", {{"品名コード", "BX1000-01A"},
                                        {"順序", 1},
                                        {"機械コード", "M01     "},
                                        {"サイクル", 30.0}});
    w.db.Insert("成形品マスタ",
                {{"品名コード", "BX1000-01A"}, {"順序", 1}, {"部コード", 3}, {"取数", 2}});
    w.Arrangement(41);
    test::LoosenTable(w.db, GetParam(), c.table, c.text ? c.column : "");
    w.db.connection().Run(std::string("UPDATE ") + c.table + " SET " + c.column + "=?", {c.value});
    try {
      w.Load(41);
      ADD_FAILURE() << "the load took the value";
    } catch (const ConversionError& e) {
      EXPECT_THAT(e.what(), HasSubstr(c.says));
      // The user reads it as it is.
      EXPECT_EQ(UserErrorText(std::current_exception()), e.what());
    }
  }
}

// Rows the load does not take keep being passed over whatever they hold: a deleted row, another
// category's row, and the flags of placement on a plan that is not placed.
TEST_P(StoredValues, RowsTheLoadDoesNotTakeArePassedOver) {
  LoaderWorld w(GetParam());
  w.Arrangement(41);
  w.Arrangement(42, {{"削除フラグ", "1"}});
  w.Arrangement(43, {{"品名コード", "AS2000-01C"}});
  w.Arrangement(44, {{"手配確定区分", "1"}});
  test::LoosenTable(w.db, GetParam(), "手配情報");
  w.db.connection().ExecuteScript(
      "UPDATE 手配情報 SET 手配数=NULL, 納期=NULL, 開始日=NULL WHERE 手配番号=42;"
      "UPDATE 手配情報 SET 手配数=NULL, 削除フラグ='7', スケジューラ固定区分=NULL WHERE "
      "手配番号=43;"
      "UPDATE 手配情報 SET スケジューラ固定区分='9', 完納区分='x' WHERE 手配番号=44;");
  w.Load(41);
  ASSERT_EQ(3, w.data.PlanCount());
  EXPECT_EQ(41, w.data.PlanTable[2].OrderNo);
  EXPECT_EQ("0", w.Entry(44).FixedFlag);
}

}  // namespace
}  // namespace velmora
