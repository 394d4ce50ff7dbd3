// The program's longest SQL texts run unchanged on a small database: parenthesised LEFT JOIN
// chains, Japanese and narrow-katakana identifiers, text comparisons, BETWEEN on date texts,
// ORDER BY ... DESC.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "db/recordset.h"
#include "plandata/queries.h"
#include "support/test_db.h"

namespace velmora::db {
namespace {

class ProgramQueries : public ::testing::TestWithParam<test::Engine> {
 protected:
  void SetUp() override {
    data.PlantCode = 3;
    data.CategoryCode = "3";
    data.SetPeriod("2024/04/10", "2024/04/12");
    data.DayCount = 5;

    db.Insert("品目マスタ",
              {{"品名コード", "BX1000-11A"}, {"品名＿品名仕様", "ケース上"}, {"包装単位数量", 20}});
    db.Insert("工程内容マスタ",
              {{"工程内容コード", "101"}, {"工程内容名", "成形"}, {"工程分類コード", "03"}});
    db.Insert("工程手順マスタ", {{"品名コード", "BX1000-11A"},
                                 {"順序", 1},
                                 {"生産工場コード", 3},
                                 {"工程内容コード", "101"},
                                 {"標準生産性＿機械", 30.0}});
    db.Insert("成形品マスタ", {{"品名コード", "BX1000-11A"},
                               {"順序", 1},
                               {"部コード", 3},
                               {"取数", 2},
                               {"ショット重量", 41.0},
                               {"前段取時間", 20},
                               {"後段取時間", 10}});
    db.Insert("品目別機械別ｻｲｸﾙﾏｽﾀ", {{"品名コード", "BX1000-11A"},
                                      {"順序", 1},
                                      {"機械コード", "M01     "},
                                      {"サイクル", 24.0}});
    db.Insert("機械マスタ", {{"機械コード", "M01     "},
                             {"機械名", "成形機1号"},
                             {"生産工場コード", 3},
                             {"工程分類コード", "03"}});
    db.Insert("生産計画情報",
              {{"生産計画番号", 900}, {"計画数", 1000}, {"品名コード", "BX1000-00A"}});
    auto arrangement = [&](int no, const char* start, const char* due, const char* machine,
                           const char* deleted) {
      db.Insert("手配情報", {{"手配番号", no},
                             {"生産計画番号", 900},
                             {"品名コード", "BX1000-11A"},
                             {"順序", 1},
                             {"生産工場コード", 3},
                             {"機械コード", machine},
                             {"開始日", start},
                             {"納期", due},
                             {"削除フラグ", deleted}});
    };
    arrangement(1, "20240401", "20240407", "M01     ", "0");  // due before the window
    arrangement(2, "20240401", "20240408", "M01     ", "0");  // due on PeriodStart - 2: loaded
    arrangement(3, "20240412", "20240415", "M01     ", "0");  // starts on PeriodEnd: loaded
    arrangement(4, "20240413", "20240415", "M01     ", "0");  // starts after the period
    arrangement(5, "20240411", "20240411", "        ", "0");  // no machine: no cycle row
    arrangement(6, "20240411", "20240411", "M01     ", "1");  // deleted
  }

  std::vector<std::string> Column(Recordset& rs, const char* name) {
    std::vector<std::string> out;
    for (; !rs.Eof(); rs.MoveNext()) out.push_back(rs.Fields(name).Text());
    return out;
  }

  PlanData data;
  test::TestDb db{GetParam()};
};

TEST_P(ProgramQueries, PlanLoadSelectsThePeriodAndJoinsEveryMaster) {
  Recordset rs;
  rs.Open(PlanQueryText(data), db.connection(), CursorType::ForwardOnly, LockType::ReadOnly);
  ASSERT_FALSE(rs.Eof());
  // ORDER BY ... 機械コード, 納期, 手配番号 DESC: the blank machine code sorts first.
  EXPECT_EQ("5", rs.Fields("手配番号").Text());
  EXPECT_TRUE(rs.Fields("優先サイクル").IsNull());
  EXPECT_EQ("ケース上", rs.Fields("型番名").Text());
  rs.MoveNext();
  EXPECT_EQ("2", rs.Fields("手配番号").Text());
  EXPECT_EQ("24", rs.Fields("優先サイクル").Text());
  EXPECT_EQ("30", rs.Fields("生産性").Text());
  EXPECT_EQ("BX1000-00A", rs.Fields("品名コード2").Text());
  EXPECT_EQ("BX1000-11A", rs.Fields("品名コード").Text());
  EXPECT_EQ("成形", rs.Fields("工程内容名").Text());
  EXPECT_EQ("03", rs.Fields("工程分類コード").Text());
  EXPECT_EQ(1000, rs.Fields("計画数").Int32());
  EXPECT_EQ(2, rs.Fields("取数").Int32());
  EXPECT_EQ(30, rs.Fields("前段取時間").Int32() + rs.Fields("後段取時間").Int32());
  EXPECT_EQ(20, rs.Fields("包装単位数量").Int32());
  rs.MoveNext();
  EXPECT_EQ("3", rs.Fields("手配番号").Text());
  rs.MoveNext();
  EXPECT_TRUE(rs.Eof());
}

TEST_P(ProgramQueries, PlanLoadOrdersByTheKeysWithTheNumberDescending) {
  db.Insert("手配情報", {{"手配番号", 30},
                         {"生産計画番号", 900},
                         {"品名コード", "BX1000-11A"},
                         {"順序", 1},
                         {"生産工場コード", 3},
                         {"機械コード", "M01     "},
                         {"開始日", "20240412"},
                         {"納期", "20240415"}});
  db.Insert("手配情報", {{"手配番号", 31},
                         {"生産計画番号", 900},
                         {"品名コード", "BX1000-11A"},
                         {"順序", 1},
                         {"生産工場コード", 3},
                         {"機械コード", "M01     "},
                         {"開始日", "20240410"},
                         {"納期", "20240410"},
                         {"スケジューラ固定区分", "2"}});
  Recordset rs;
  rs.Open(PlanQueryText(data), db.connection());
  EXPECT_EQ((std::vector<std::string>{"5", "2", "30", "3", "31"}), Column(rs, "手配番号"));
}

// Another category's arrangements are not read at all: the query reaches the category's
// arrangements through the category index, and the planner takes it on both engines.
TEST_P(ProgramQueries, PlanLoadReadsOnlyTheCategoryThroughItsIndex) {
  db.Insert("工程内容マスタ",
            {{"工程内容コード", "301"}, {"工程内容名", "塗装"}, {"工程分類コード", "30"}});
  db.Insert("工程手順マスタ", {{"品名コード", "BX1000-11A"},
                               {"順序", 2},
                               {"生産工場コード", 3},
                               {"工程内容コード", "301"}});
  db.Insert("手配情報", {{"手配番号", 40},
                         {"品名コード", "BX1000-11A"},
                         {"順序", 2},
                         {"生産工場コード", 3},
                         {"開始日", "20240411"},
                         {"納期", "20240411"}});
  Recordset rs;
  rs.Open(PlanQueryText(data), db.connection());
  EXPECT_EQ((std::vector<std::string>{"5", "2", "3"}), Column(rs, "手配番号"));

  const bool server = GetParam() == test::Engine::Server;
  // The test tables are tiny; without sequential scans the server shows which index it can use.
  if (server) db.connection().ExecuteScript("SET enable_seqscan = off");
  rs.Open((server ? "EXPLAIN " : "EXPLAIN QUERY PLAN ") + PlanQueryText(data), db.connection());
  std::string plan;
  for (; !rs.Eof(); rs.MoveNext()) plan += rs.Fields(server ? 0 : 3).Text() + "\n";
  EXPECT_NE(std::string::npos, plan.find("工程内容マスタ_工程分類")) << plan;
  EXPECT_NE(std::string::npos, plan.find("工程手順マスタ_工程内容")) << plan;
}

TEST_P(ProgramQueries, RowQueriesAndTheCalendarRange) {
  db.Insert("機械マスタ", {{"機械コード", "M00     "},
                           {"機械名", "別分類"},
                           {"生産工場コード", 3},
                           {"工程分類コード", "30"}});
  db.Insert("部課マスタ", {{"部コード", 1}, {"課コード", 0}, {"部名", "本社"}});
  db.Insert("部課マスタ", {{"部コード", 3}, {"課コード", 0}, {"部名", "第三工場"}});
  db.Insert("部課マスタ", {{"部コード", 5}, {"課コード", 0}, {"部名", "組立"}});
  db.Insert("部課マスタ", {{"部コード", 5}, {"課コード", 1}, {"部名", "組立一課"}});
  db.Insert("仕入先マスタ",
            {{"仕入先コード", "200101"}, {"仕入先名略名", "山田工業(株)"}, {"仕入先分類", "2"}});
  db.Insert("仕入先マスタ",
            {{"仕入先コード", "200102"}, {"仕入先名略名", "社内"}, {"仕入先分類", "1"}});
  db.Insert("指示先別工程分類", {{"指示先コード", "200101"}, {"工程分類コード", "03"}});
  db.Insert("指示先別工程分類", {{"指示先コード", "200102"}, {"工程分類コード", "03"}});
  for (const char* day : {"20240407", "20240408", "20240413", "20240414"}) {
    db.Insert("機械別勤務体系マスタ",
              {{"機械コード", "M01     "}, {"年月日", day}, {"勤務時間", 480}});
  }

  Recordset rs;
  rs.Open(MachineQueryText(data), db.connection());
  EXPECT_EQ((std::vector<std::string>{"M01     "}), Column(rs, "機械コード"));
  rs.Open(DepartmentQueryText(data), db.connection());
  EXPECT_EQ((std::vector<std::string>{"5"}), Column(rs, "部コード"));
  rs.Open(SubcontractorQueryText(data), db.connection());
  EXPECT_EQ((std::vector<std::string>{"山田工業(株)"}), Column(rs, "仕入先名略名"));
  rs.Open(CalendarQueryText(data, "M01     "), db.connection());
  EXPECT_EQ((std::vector<std::string>{"20240408", "20240413"}), Column(rs, "年月日"));
}

INSTANTIATE_TEST_SUITE_P(Engines, ProgramQueries,
                         ::testing::Values(test::Engine::File, test::Engine::Server),
                         [](const auto& info) { return test::EngineName(info.param); });

}  // namespace
}  // namespace velmora::db
