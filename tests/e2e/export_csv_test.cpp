#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "e2e/program_copy.h"
#include "support/run_program.h"
#include "support/test_db.h"

namespace velmora::test {
namespace {

int CountLines(const std::string& text) {
  int n = 0;
  for (std::size_t at = 0; (at = text.find("\r\n", at)) != std::string::npos; at += 2) ++n;
  return n;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
    lines.push_back(text.substr(start, end - start));
  }
  return lines;
}

class ExportCsv : public ::testing::Test {
 protected:
  ExportCsv() {
    db.Insert("工程分類マスタ", {{"工程分類コード", "03"}, {"工程分類名", "成形"}});
    db.Insert("工程内容マスタ",
              {{"工程内容コード", "101"}, {"工程内容名", "成形"}, {"工程分類コード", "03"}});
    db.Insert("品目マスタ", {{"品名コード", "BX1000-01A"}, {"品名＿品名仕様", "ケース,上"}});
    db.Insert("工程手順マスタ", {{"品名コード", "BX1000-01A"},
                                 {"順序", 1},
                                 {"生産工場コード", 3},
                                 {"工程内容コード", "101"}});
    db.Insert("機械マスタ", {{"機械コード", "M01     "},
                             {"機械名", "成形機1号"},
                             {"生産工場コード", 3},
                             {"工程分類コード", "03"}});
    db.Insert("機械別勤務体系マスタ", {{"機械コード", "M01     "},
                                       {"年月日", "20240410"},
                                       {"勤務時間", 480},
                                       {"開始時刻１", "080000"},
                                       {"終了時刻１", "170000"}});
    for (int no : {1, 2}) {
      db.Insert("手配情報", {{"手配番号", no},
                             {"生産計画番号", 0},
                             {"品名コード", "BX1000-01A"},
                             {"順序", 1},
                             {"生産工場コード", 3},
                             {"機械コード", "M01     "},
                             {"開始日", "20240411"},
                             {"納期", "20240411"},
                             {"GNT開始時刻", "080000"},
                             {"GNT終了時刻", "120000"},
                             {"GNT所要時間（分）", 240},
                             {"手配数", 100 * no},
                             {"手配確定区分", "2"}});
    }
    program.Settings(db.path(), 3);
  }

  ProgramRun Export(std::vector<std::string> extra = {}) {
    std::vector<std::string> args = {"--export-csv", out,        "--from",     "20240410",
                                     "--to",         "20240412", "--category", "3"};
    args.insert(args.end(), extra.begin(), extra.end());
    return RunProgram(program.executable(), args);
  }

  TestDb db;
  ProgramCopy program;
  std::string out = program.File("csv");
};

TEST_F(ExportCsv, WritesTheLoadedPlanRowsAndCalendar) {
  const ProgramRun run = Export();
  ASSERT_EQ(0, run.status) << run.err;
  const std::string plans = ReadWholeFile(out + "/plans.csv");
  EXPECT_EQ(0u, plans.find("\xEF\xBB\xBFindex,BarIndex,OrderNo,"));
  EXPECT_EQ(3, CountLines(plans));
  EXPECT_NE(std::string::npos,
            plans.find("\r\n2,2,2,M01     ,,2024/04/11,08:00:00,2024/04/11,12:00:00,240,"));
  EXPECT_NE(std::string::npos, plans.find(",\"ケース,上\",成形,"));
  const std::string rows = ReadWholeFile(out + "/rows.csv");
  EXPECT_EQ(1 + 16, CountLines(rows));
  EXPECT_NE(std::string::npos, rows.find("\r\n2,M01     ,M01 成形機1号,840,"));
  const std::string calendar = ReadWholeFile(out + "/calendar.csv");
  EXPECT_EQ(1 + 6, CountLines(calendar));  // one machine, days 0..5
  EXPECT_NE(std::string::npos, calendar.find("\r\n2,2024/04/10,480,08:00:00,17:00:00,"));
}

TEST_F(ExportCsv, WritesTheChartsBarsAndThePlansMembers) {
  const ProgramRun run = Export();
  ASSERT_EQ(0, run.status) << run.err;
  const std::vector<std::string> bars = Lines(ReadWholeFile(out + "/bars.csv"));
  ASSERT_EQ(1u + 4u, bars.size());  // bar elements 0..3: the design element, then the plans'
  EXPECT_EQ(
      "\xEF\xBB\xBF"
      "BarIndex,Left,Top,Width,Height,Visible,BackColor,Caption,Unsaved",
      bars[0]);
  EXPECT_EQ("0,0,0,0,360,0,12632256,,0", bars[1]);
  // Both plans run 2024/04/11 08:00-12:00 and end on their due date: in week mode (2880 twips a
  // day, 120 an hour) one day after the chart's origin, 2024/04/10 08:00, four hours wide.
  for (const auto& [bar, qty] : {std::pair<int, std::string>{2, "200"}, {3, "100"}}) {
    const std::string& line = bars[static_cast<std::size_t>(bar) + 1];
    EXPECT_EQ(0u, line.find(std::to_string(bar) + ",2880,")) << line;
    EXPECT_NE(std::string::npos,
              line.find(",480,360,1,8454143,\"BX1000-01A ケース,上\\n成形 " + qty + " \""))
        << line;
  }
  EXPECT_EQ(
      "\xEF\xBB\xBF"
      "Entry,Group,Slot,OrderNo,SourceOrderNo,ItemCode,Seq,ProcessName,ModelName,PlanNo,"
      "OrderQty,ReceivedQty\r\n"
      "2,A,1,2,0,BX1000-01A,1,成形,\"ケース,上\",0,200,0\r\n"
      "3,A,1,1,0,BX1000-01A,1,成形,\"ケース,上\",0,100,0\r\n",
      ReadWholeFile(out + "/members.csv"));
  // Both plans take M01 from 08:00 to 12:00 on 04/11; on a tie the plan loaded first leads.
  EXPECT_EQ(
      "\xEF\xBB\xBF"
      "Kind,OrderNo1,OrderNo2,Row,Start,End\r\n"
      "overlap,2,1,M01,2024/04/11 08:00:00,2024/04/11 12:00:00\r\n",
      ReadWholeFile(out + "/conflicts.csv"));
}

TEST_F(ExportCsv, AFailedRunKeepsTheEarlierFilesAndLeavesNoTemporaryOne) {
  std::filesystem::create_directories(out + "/calendar.csv");
  std::ofstream(out + "/plans.csv", std::ios::binary) << "earlier";
  const ProgramRun run = Export();
  EXPECT_EQ(1, run.status);
  EXPECT_EQ("earlier", ReadWholeFile(out + "/plans.csv"));
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(out))
    names.insert(entry.path().filename());
  EXPECT_EQ((std::set<std::string>{"calendar.csv", "plans.csv"}), names);
  // The user reads in Japanese what to check; the system's own words follow for the record.
  EXPECT_NE(std::string::npos, run.err.find("を確認してください。")) << run.err;
  EXPECT_NE(std::string::npos, run.err.find("calendar.csv")) << run.err;
}

TEST_F(ExportCsv, BadArgumentsGetTheUsageAndNoFiles) {
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"--export-csv"},
        {"--export-csv", out, "--from", "2024041", "--to", "20240412", "--category", "3"},
        {"--export-csv", out, "--from", "20240410", "--to", "20240409", "--category", "3"},
        {"--export-csv", out, "--from", "20240410", "--to", "20240412"},
        {"--export-csv", out, "--from", "20240410", "--to", "20240412", "--category", "x"},
        {"--export-csv", out, "--from", "20240410", "--to", "20240412", "--category", "3", "--mode",
         "2"}}) {
    const ProgramRun run = RunProgram(program.executable(), args);
    EXPECT_EQ(2, run.status);
    EXPECT_NE(std::string::npos, run.err.find("velmora --export-csv DIR --from")) << run.err;
  }
  EXPECT_FALSE(std::filesystem::exists(out));
}

TEST_F(ExportCsv, AnUnknownCategoryIsAnError) {
  const ProgramRun run = Export();
  ASSERT_EQ(0, run.status);
  const ProgramRun unknown = RunProgram(
      program.executable(),
      {"--export-csv", out, "--from", "20240410", "--to", "20240412", "--category", "7"});
  EXPECT_EQ(1, unknown.status);
  EXPECT_NE(std::string::npos, unknown.err.find("工程分類 7 はありません")) << unknown.err;
}

TEST_F(ExportCsv, ALateFirstShiftEndsTheExportWithItsMessage) {
  db.Insert("機械別勤務体系マスタ", {{"機械コード", "M01     "},
                                     {"年月日", "20240411"},
                                     {"勤務時間", 480},
                                     {"開始時刻１", "103000"},
                                     {"終了時刻１", "190000"}});
  const ProgramRun run = Export();
  EXPECT_NE(0, run.status);
  EXPECT_NE(std::string::npos,
            run.err.find("M01     の計画におかしい情報が存在します。日付:20240411"))
      << run.err;
  EXPECT_FALSE(std::filesystem::exists(out + "/plans.csv"));
}

TEST_F(ExportCsv, AMissingDatabaseIsNamedAndNotCreated) {
  const std::string missing = program.File("nowhere.db");
  program.Settings(missing, 3);
  const ProgramRun run = Export();
  EXPECT_EQ(1, run.status);
  EXPECT_NE(std::string::npos, run.err.find(missing)) << run.err;
  EXPECT_FALSE(std::filesystem::exists(missing));
}

}  // namespace
}  // namespace velmora::test
