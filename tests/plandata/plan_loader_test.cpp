#include "plandata/plan_loader.h"

#include <gtest/gtest.h>

#include <map>
#include <stdexcept>

#include "common/date_text.h"
#include "common/errors.h"
#include "support/test_db.h"

namespace velmora {
namespace {

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

class PlanLoader : public ::testing::Test {
 protected:
  PlanLoader() {
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
    std::map<std::string, db::Value> row = {{"手配番号", no},
                                            {"生産計画番号", 900},
                                            {"品名コード", "BX1000-01A"},
                                            {"順序", 1},
                                            {"生産工場コード", 3},
                                            {"機械コード", "M01     "},
                                            {"開始日", "20240415"},
                                            {"納期", "20240416"},
                                            {"GNT開始時刻", "083000"},
                                            {"GNT終了時刻", "170000"},
                                            {"GNT所要時間（分）", 300},
                                            {"手配数", 1000},
                                            {"手配確定区分", "2"},
                                            {"スケジューラ固定区分", "1"}};
    for (const auto& [column, value] : overrides) row[column] = value;
    db.Insert("手配情報", test::TestDb::Fields(row.begin(), row.end()));
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

TEST_F(PlanLoader, BrokenRowsStopTheLoadNamingTheArrangement) {
  Arrangement(41, {{"納期", "2024041x"}});
  try {
    Load();
    FAIL() << "a due day that is not a date must stop the load";
  } catch (const ConversionError& e) {
    EXPECT_NE(std::string(e.what()).find("手配番号 41"), std::string::npos) << e.what();
  }
}

TEST_F(PlanLoader, MissingKeyNumbersStopTheLoad) {
  Arrangement(42, {{"生産計画番号", db::Value()}});
  EXPECT_THROW(Load(42), ConversionError);
  data.ResetPlanTable();
  db.connection().ExecuteScript("DELETE FROM 手配情報");
  Arrangement(43, {{"GNT所要時間（分）", db::Value()}});
  EXPECT_THROW(Load(43), ConversionError);
}

}  // namespace
}  // namespace velmora
