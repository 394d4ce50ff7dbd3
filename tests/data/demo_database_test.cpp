// What the editor relies on in the demo database: fixed-width codes, masters that match the
// arrangements, calendars the calendar loader accepts, and a mix of every case the chart
// shows. Checked on the demo as users get it (default size).
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <set>

#include "common/date_text.h"
#include "common/format.h"
#include "data/demo_queries.h"
#include "generator/demo_generator.h"
#include "plandata/plan_end_time.h"
#include "plandata/plan_loader.h"
#include "plandata/queries.h"
#include "plandata/work_center_rows.h"
#include "support/scripted_messages.h"
#include "support/test_db.h"

namespace velmora::demo {
namespace {

using test::Column;
using test::Number;
using test::Rows;

class DemoDatabase : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = std::make_unique<test::TempDir>();
    const std::string path = dir_->File("demo.db");
    DemoOptions options;
    options.baseDate = DateTime::FromDate(2024, 4, 1);
    GenerateDemoDatabase(path, options);
    db_ = std::make_unique<db::Connection>();
    db_->OpenFile(path);
  }
  static void TearDownTestSuite() {
    db_.reset();
    dir_.reset();
  }

  static std::int64_t Count(const std::string& sql) { return Number(*db_, sql); }

  // The selection a user makes: plant 3, a category, a month around the busy part.
  static PlanData Selection(const std::string& category) {
    PlanData data;
    data.PlantCode = 3;
    data.CategoryCode = category;
    data.SetPeriod("2024/05/01", "2024/05/31");
    data.DayCount = 33;
    return data;
  }

  static std::unique_ptr<test::TempDir> dir_;
  static std::unique_ptr<db::Connection> db_;
};

std::unique_ptr<test::TempDir> DemoDatabase::dir_;
std::unique_ptr<db::Connection> DemoDatabase::db_;

TEST_F(DemoDatabase, CodesHaveTheirFixedWidthsInEveryTable) {
  for (const char* table :
       {"機械マスタ", "機械別勤務体系マスタ", "品目別機械別ｻｲｸﾙﾏｽﾀ", "手配情報"}) {
    EXPECT_EQ(0,
              Count(std::string("SELECT count(*) FROM ") + table + " WHERE length(機械コード)<>8"))
        << table;
  }
  const std::vector<std::pair<const char*, const char*>> itemColumns = {
      {"品目マスタ", "品名コード"},
      {"手配情報", "品名コード"},
      {"工程手順マスタ", "品名コード"},
      {"成形品マスタ", "品名コード"},
      {"品目別機械別ｻｲｸﾙﾏｽﾀ", "品名コード"},
      {"生産計画情報", "品名コード"},
      {"在庫情報", "品名コード"},
      {"仕入単価マスタ", "品名コード"},
      {"納期別受注情報", "品名コード"},
      {"納期別所要計画情報", "品名コード"},
      {"構成マスタ", "上位品名コード"},
      {"構成マスタ", "下位品名コード"}};
  for (const auto& [table, column] : itemColumns) {
    const std::string c = column;
    EXPECT_EQ(0, Count(std::string("SELECT count(*) FROM ") + table + " WHERE length(" + c +
                       ")<>25 OR length(rtrim(" + c + "))<>13 OR substr(" + c +
                       ",9,1) NOT BETWEEN '0' AND '9'"))
        << table << "." << column;
  }
  // Group-B items (kind "4" or "2") are among the arrangements.
  EXPECT_GT(Count("SELECT count(*) FROM 手配情報 WHERE substr(品名コード,9,1) IN ('4','2') AND "
                  "削除フラグ='0'"),
            50);
  EXPECT_GT(Count("SELECT count(*) FROM 手配情報 WHERE substr(品名コード,9,1) NOT IN ('4','2') AND "
                  "削除フラグ='0'"),
            1000);
  // Every supplier code, in-house sections included, is 12 wide; sections trim to 4 characters.
  EXPECT_EQ(0, Count("SELECT count(*) FROM 仕入先マスタ WHERE length(仕入先コード)<>12"));
  EXPECT_EQ(0, Count("SELECT count(*) FROM 仕入先マスタ WHERE 仕入先分類='1' AND "
                     "length(rtrim(仕入先コード))<>4"));
}

TEST_F(DemoDatabase, ArrangementsJoinTheirMasters) {
  EXPECT_EQ(
      0,
      Count("SELECT count(*) FROM 手配情報 a LEFT JOIN 品目マスタ i ON a.品名コード=i.品名コード "
            "WHERE i.品名コード IS NULL"));
  EXPECT_EQ(
      0,
      Count(
          "SELECT count(*) FROM 手配情報 a LEFT JOIN 工程手順マスタ r ON a.品名コード=r.品名コード "
          "AND a.順序=r.順序 AND a.生産工場コード=r.生産工場コード WHERE r.品名コード IS NULL"));
  // A confirmed arrangement on a machine is a step of that machine's category and plant.
  const std::string onMachine =
      " FROM 手配情報 a JOIN 機械マスタ m ON a.機械コード=m.機械コード JOIN 工程手順マスタ r ON "
      "a.品名コード=r.品名コード AND a.順序=r.順序 AND a.生産工場コード=r.生産工場コード JOIN "
      "工程内容マスタ c ON "
      "r.工程内容コード=c.工程内容コード WHERE a.手配確定区分='2'";
  EXPECT_GT(Count("SELECT count(*)" + onMachine), 1000);
  EXPECT_EQ(0, Count("SELECT count(*)" + onMachine +
                     " AND (c.工程分類コード<>m.工程分類コード OR "
                     "m.生産工場コード<>a.生産工場コード OR m.削除フラグ<>'0')"));
  EXPECT_EQ(
      0,
      Count(
          "SELECT count(*) FROM 手配情報 a JOIN 工程手順マスタ r ON a.品名コード=r.品名コード AND "
          "a.順序=r.順序 AND a.生産工場コード=r.生産工場コード WHERE "
          "a.工程内容コード<>r.工程内容コード"));
}

TEST_F(DemoDatabase, CalendarsAreAcceptedByTheLoader) {
  // First start of every working day no later than 10:00:00 (the loader refuses later ones).
  EXPECT_EQ(0, Count("SELECT count(*) FROM (SELECT min(開始時刻１) s FROM 機械別勤務体系マスタ "
                     "WHERE 勤務時間<>0 "
                     "GROUP BY 機械コード,年月日) WHERE s>'100000'"));
  EXPECT_GT(
      Count("SELECT count(*) FROM 機械別勤務体系マスタ WHERE 勤務時間<>0 AND 開始時刻１='100000'"),
      0);
  // Night windows run past midnight: they end before the day's first start.
  const auto nights = Rows(
      *db_,
      "SELECT c.終了時刻１,c.開始時刻１,c.終了時刻２,c.開始時刻２,f.s FROM 機械別勤務体系マスタ c "
      "JOIN "
      "(SELECT 機械コード k,年月日 d,min(開始時刻１) s FROM 機械別勤務体系マスタ WHERE 勤務時間<>0 "
      "GROUP BY 1,2) f ON c.機械コード=f.k AND c.年月日=f.d WHERE c.勤務時間<>0");
  int nightWindows = 0;
  for (const auto& r : nights) {
    for (int w : {0, 2}) {
      if (r[w] < r[w + 1]) {  // ends before it starts: runs past midnight
        ++nightWindows;
        EXPECT_LE(r[w], r[4]);
      }
    }
  }
  EXPECT_GT(nightWindows, 500);
  // Working minutes are the minutes of the row's windows.
  for (const auto& r :
       Rows(*db_,
            "SELECT 勤務時間,開始時刻１,終了時刻１,開始時刻２,終了時刻２ FROM 機械別勤務体系マスタ "
            "WHERE 勤務時間<>0")) {
    std::int64_t seconds = 0;
    for (int w : {1, 3}) {
      if (r[w] == r[w + 1]) continue;
      std::int64_t span = ParseHms(r[w + 1])->Seconds() - ParseHms(r[w])->Seconds();
      seconds += span > 0 ? span : span + 86400;
    }
    ASSERT_EQ(std::stoll(r[0]), seconds / 60) << r[1];
  }
  // Days with two rows (overtime, or the night shift as a row of its own), and Sundays off.
  EXPECT_GT(Count("SELECT count(*) FROM (SELECT 1 FROM 機械別勤務体系マスタ WHERE 勤務時間<>0 "
                  "GROUP BY 機械コード,年月日 "
                  "HAVING count(*)>1)"),
            100);
  EXPECT_EQ(
      0,
      Count("SELECT count(*) FROM 機械別勤務体系マスタ WHERE 年月日='20240407' AND 勤務時間<>0"));
  // Every live machine has calendar rows from three weeks before the data to three weeks after.
  EXPECT_EQ(
      0,
      Count("SELECT count(*) FROM 機械マスタ m WHERE 削除フラグ='0' AND NOT EXISTS (SELECT 1 FROM "
            "機械別勤務体系マスタ c WHERE c.機械コード=m.機械コード AND c.年月日<'20240315') OR "
            "削除フラグ='0' AND NOT EXISTS (SELECT 1 FROM 機械別勤務体系マスタ c WHERE "
            "c.機械コード=m.機械コード AND c.年月日>'20240710')"));
}

TEST_F(DemoDatabase, NumberRangeRowHoldsTheHighestArrangementNumber) {
  // The save's own query for the next number.
  const auto rows = Rows(*db_,
                         "SELECT 現在番号,開始番号,終了番号 FROM 番号管理マスタ WHERE "
                         "番号管理キー='手配番号            '");
  ASSERT_EQ(1u, rows.size());
  EXPECT_EQ(Count("SELECT max(手配番号) FROM 手配情報"), std::stoll(rows[0][0]));
  EXPECT_EQ(3000, Count("SELECT count(*) FROM 手配情報"));
}

TEST_F(DemoDatabase, LotStepsFormChainsInTimeOrder) {
  // Each step names the next step of its lot (the process dialogs walk 上位手配番号 forward).
  const std::string pairs = " FROM 手配情報 a JOIN 手配情報 b ON a.上位手配番号=b.手配番号";
  EXPECT_GT(Count("SELECT count(*)" + pairs), 800);
  EXPECT_EQ(Count("SELECT count(*) FROM 手配情報 WHERE 上位手配番号<>0"),
            Count("SELECT count(*)" + pairs));
  EXPECT_EQ(0, Count("SELECT count(*)" + pairs +
                     " WHERE b.順序<>a.順序+1 OR b.品名コード<>a.品名コード OR "
                     "b.生産計画番号<>a.生産計画番号"));
  // Confirmed steps with times: the next one starts after this one ends.
  EXPECT_EQ(
      0,
      Count("SELECT count(*)" + pairs +
            " WHERE a.手配確定区分='2' AND b.手配確定区分='2' AND "
            "a.GNT終了時刻<>'000000' AND length(b.GNT開始時刻)=6 AND b.GNT開始時刻<>'000000' AND "
            "b.開始日||b.GNT開始時刻 < a.納期||a.GNT終了時刻"));
}

TEST_F(DemoDatabase, TheMonthViewLoadsEveryCaseTheChartShows) {
  std::map<std::string, int> perCategory;
  int confirmedOnMachine = 0, unplannedConfirmed = 0, unconfirmed = 0, missingDuration = 0,
      groupB = 0;
  std::set<std::string> fixedFlags;
  for (const std::string category : {"3", "10", "20", "30"}) {
    db::Recordset rs;
    rs.Open(PlanQueryText(Selection(category)), *db_);
    for (; !rs.Eof(); rs.MoveNext()) {
      if (rs.Fields("生産工場コード").Int32() != 3 ||
          rs.Fields("工程分類コード").Text() != FormatDigits(category, "00"))
        continue;
      ++perCategory[category];
      const std::string confirm = rs.Fields("手配確定区分").Text();
      const bool hasTimes =
          rs.Fields("GNT開始時刻").Number() != 0 || rs.Fields("GNT終了時刻").Number() != 0;
      if (confirm == "2" && rs.Fields("機械コード").Text() != "        " && hasTimes)
        ++confirmedOnMachine;
      if (confirm == "2" && !hasTimes && rs.Fields("完納区分").Text() == "0") ++unplannedConfirmed;
      if (confirm == "1") ++unconfirmed;
      if (rs.Fields("GNT所要時間（分）").Number() == 0) ++missingDuration;
      const std::string item = rs.Fields("品名コード").Text();
      if (item[8] == '4' || item[8] == '2') ++groupB;
      fixedFlags.insert(rs.Fields("スケジューラ固定区分").Text());
    }
  }
  EXPECT_GT(perCategory["3"], 300);
  for (const char* category : {"10", "20", "30"}) EXPECT_GT(perCategory[category], 60) << category;
  EXPECT_GT(confirmedOnMachine, 500);
  EXPECT_GT(unplannedConfirmed, 0);
  EXPECT_GT(unconfirmed, 50);
  EXPECT_GT(missingDuration, 200);
  EXPECT_GT(groupB, 20);
  EXPECT_EQ((std::set<std::string>{"0", "1", "2"}), fixedFlags);
}

TEST_F(DemoDatabase, TheEditorLaysStoredMachineWorkOutAsStored) {
  // The generator's shift walk and the editor's agree: recomputing the end of confirmed machine
  // work from its stored start and duration gives the stored end. Work reaching outside the
  // loaded calendar is left out (the editor counts such days differently on purpose).
  std::set<std::int64_t> storedDuration;
  for (const std::string& no :
       Column(*db_, "SELECT 手配番号 FROM 手配情報 WHERE GNT所要時間（分）<>0")) {
    storedDuration.insert(std::stoll(no));
  }
  int checked = 0;
  for (const std::string category : {"3", "10", "20", "30"}) {
    PlanData data = Selection(category);
    data.SetPeriod("2024/04/15", "2024/06/15");
    db::Command command;
    command.ActiveConnection = db_.get();
    LoadWorkCenterRows(data, command, 300, test::TestQuestions());
    data.ResetPlanTable();
    NoBarControls bars;
    ReturnPlanData(data, *db_, bars);
    for (int i = 2; i <= data.PlanCount(); ++i) {
      const PlanEntry& e = data.PlanTable[static_cast<std::size_t>(i)];
      if (e.ConfirmFlag != "2" || e.MachineCode == "        " || !storedDuration.count(e.OrderNo))
        continue;
      if (e.StartDate < DateTime::FromDate(2024, 4, 14) ||
          e.EndDate > DateTime::FromDate(2024, 6, 15))
        continue;
      ++checked;
      EXPECT_EQ(FormatSlashDate(e.EndDate) + " " + FormatColonTime(e.EndTime),
                FormatDateTime(
                    ComputeEndTime(data, e.StartDate + e.StartTime, e.DurationMinutes, PlanIdx{i}),
                    "yyyy/mm/dd hh:nn:ss"))
          << e.OrderNo << " on " << e.MachineCode;
    }
  }
  EXPECT_GT(checked, 500);
}

TEST_F(DemoDatabase, StoredValuesCoverTheLoadersUnusualForms) {
  // Start times stored as seconds: numbers that do not read as "hhnnss".
  const auto seconds =
      Column(*db_, "SELECT GNT開始時刻 FROM 手配情報 WHERE length(GNT開始時刻)<>6");
  ASSERT_FALSE(seconds.empty());
  for (const std::string& s : seconds) {
    EXPECT_FALSE(ParseHms(FormatDigits(s, "000000"))) << s;
    EXPECT_GT(std::stoll(s), 0) << s;
  }
  EXPECT_GT(Count("SELECT count(*) FROM 手配情報 WHERE 受入実績数>0 AND 最終実績日<>'00000000'"),
            100);
  EXPECT_GT(Count("SELECT count(*) FROM 手配情報 WHERE 指示書発行日<>'00000000'"), 100);
  EXPECT_GT(Count("SELECT count(*) FROM 手配情報 WHERE 金型番号 IS NULL"), 100);
  EXPECT_GT(Count("SELECT count(*) FROM 手配情報 WHERE 削除フラグ='1'"), 0);
  EXPECT_GT(Count("SELECT count(*) FROM 手配情報 WHERE 生産工場コード<>3"), 0);
  // A mold serves several items; some plan numbers have no plan row.
  EXPECT_GT(Count("SELECT count(*) FROM (SELECT 金型番号 FROM 手配情報 WHERE 金型番号 IS NOT NULL "
                  "GROUP BY 金型番号 "
                  "HAVING count(DISTINCT 品名コード)>1)"),
            5);
  EXPECT_GT(Count("SELECT count(*) FROM 手配情報 a LEFT JOIN 生産計画情報 p ON "
                  "a.生産計画番号=p.生産計画番号 "
                  "WHERE p.生産計画番号 IS NULL"),
            0);
  // Confirmed machine work fits its working time: the wall-clock span is at least the duration.
  for (const auto& r :
       Rows(*db_,
            "SELECT 開始日,GNT開始時刻,納期,GNT終了時刻,GNT所要時間（分） FROM 手配情報 WHERE "
            "手配確定区分='2' AND 機械コード<>'        ' AND GNT所要時間（分）<>0 AND "
            "length(GNT開始時刻)=6 AND GNT開始時刻<>'000000'")) {
    const DateTime start = *ParseYmd(r[0]) + *ParseHms(r[1]);
    const DateTime end = *ParseYmd(r[2]) + *ParseHms(r[3]);
    ASSERT_GE((end - start).Seconds() / 60, std::stoll(r[4])) << r[0] << " " << r[1];
  }
}

TEST_F(DemoDatabase, RowsOfEveryCategoryAndSubcontractorCaptions) {
  std::set<std::string> names;
  for (const std::string category : {"3", "10", "20", "30"}) {
    const PlanData data = Selection(category);
    EXPECT_GE(Column(*db_, MachineQueryText(data)).size(), 4u) << category;
    const auto subcontractors = Rows(*db_, SubcontractorQueryText(data));
    EXPECT_FALSE(subcontractors.empty()) << category;
    for (const auto& row : subcontractors) names.insert(row[1]);
  }
  const auto contains = [&](const char* part) {
    return std::any_of(names.begin(), names.end(),
                       [&](const std::string& n) { return n.find(part) != std::string::npos; });
  };
  EXPECT_TRUE(contains("("));
  EXPECT_TRUE(contains("（"));
  EXPECT_EQ((std::vector<std::string>{"2", "4", "5", "6"}),
            Column(*db_, DepartmentQueryText(Selection("3"))));
  // A deleted category exists but is not offered (the selection dialog's query).
  EXPECT_EQ(
      (std::vector<std::string>{"03", "10", "20", "30"}),
      Column(*db_, "SELECT * FROM 工程分類マスタ WHERE 削除フラグ='0' ORDER BY 工程分類コード"));
  EXPECT_EQ(1, Count("SELECT count(*) FROM 工程分類マスタ WHERE 削除フラグ='1'"));
}

TEST_F(DemoDatabase, DemandAndBillOfMaterialsBehindTheLots) {
  EXPECT_GT(Count("SELECT count(*) FROM 手配受注関係情報 WHERE 受注データ区分='2'"), 500);
  EXPECT_GT(Count("SELECT count(*) FROM 手配受注関係情報 WHERE 受注データ区分='1'"), 200);
  EXPECT_GT(Count("SELECT count(*) FROM 手配受注関係情報 r LEFT JOIN 納期別受注情報 o ON "
                  "r.番号=o.受注番号 LEFT JOIN "
                  "納期別所要計画情報 p ON r.番号=p.所要計画No WHERE o.受注番号 IS NULL AND "
                  "p.所要計画No IS NULL"),
            0);
  EXPECT_EQ(
      0,
      Count(
          "SELECT count(*) FROM 手配受注関係情報 r JOIN 納期別受注情報 o ON r.番号=o.受注番号 JOIN "
          "納期別所要計画情報 p ON r.番号=p.所要計画No"));
  EXPECT_GT(Count("SELECT count(*) FROM 所要量情報 WHERE 支給制御区分='3'"), 100);
  // The plan change's parent query finds several parents of one shared component.
  const std::string component = Column(*db_,
                                       "SELECT 下位品名コード FROM 構成マスタ GROUP BY "
                                       "下位品名コード HAVING count(*)>=3 LIMIT 1")
                                    .at(0);
  const auto parents =
      Rows(*db_,
           "SELECT 構成マスタ.上位品名コード,品目マスタ.型番名,在庫情報.現在庫数 "
           " FROM (((構成マスタ INNER JOIN 品目マスタ ON "
           "構成マスタ.上位品名コード=品目マスタ.品名コード) "
           " INNER JOIN 工程手順マスタ ON 構成マスタ.上位品名コード=工程手順マスタ.品名コード AND "
           "構成マスタ.生産工場コード=工程手順マスタ.生産工場コード) "
           " LEFT JOIN 在庫情報 ON 在庫情報.品名コード=工程手順マスタ.品名コード AND "
           "在庫情報.順序=工程手順マスタ.順序 AND "
           "在庫情報.生産工場ｺｰﾄﾞ=工程手順マスタ.生産工場コード) "
           " WHERE 下位品名コード='" +
               component +
               "' AND 工程手順マスタ.生産工場コード=3 AND (工程手順マスタ.順序=1 OR "
               "工程手順マスタ.順序=0) AND 工程手順マスタ.削除フラグ='0' ");
  EXPECT_GE(parents.size(), 3u);
  // Several start dates per price; the newest row is the one the save takes.
  EXPECT_GT(Count("SELECT count(*) FROM (SELECT 1 FROM 仕入単価マスタ GROUP BY "
                  "取引先コード,品名コード,順序 HAVING "
                  "count(*)>1)"),
            20);
}

}  // namespace
}  // namespace velmora::demo
