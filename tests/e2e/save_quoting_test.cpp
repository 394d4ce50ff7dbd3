// Codes full of SQL punctuation saved by the real program and loaded again.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <tuple>

#include "e2e/csv_file.h"
#include "e2e/program_copy.h"
#include "support/run_program.h"
#include "support/test_db.h"

namespace velmora::test {
namespace {

// Codes that would end an SQL string, a statement and the rest of the line if they were pasted
// into a statement unquoted.
const std::string kItem = "IT'A;--B";
const std::string kMachine1 = "M'1;--  ";  // machine codes are eight characters
const std::string kMachine2 = "M2';--  ";
const std::string kDestination1 = "D'1;--";
const std::string kDestination2 = "D2';--";
const std::string kSubcontractor = "S';--1";

class SaveQuoting : public ::testing::Test {
 protected:
  SaveQuoting() {
    db.Insert("工程分類マスタ", {{"工程分類コード", "03"}, {"工程分類名", "成形"}});
    db.Insert("工程内容マスタ",
              {{"工程内容コード", "101"}, {"工程内容名", "成形"}, {"工程分類コード", "03"}});
    db.Insert("品目マスタ", {{"品名コード", kItem}, {"品名＿品名仕様", "ケース'上"}});
    db.Insert("工程手順マスタ", {{"品名コード", kItem},
                                 {"順序", 1},
                                 {"生産工場コード", 3},
                                 {"工程内容コード", "101"},
                                 {"標準生産性＿機械", 30.0}});
    for (const auto& [machine, destination, cycle] :
         {std::tuple{kMachine1, kDestination1, 30.0}, std::tuple{kMachine2, kDestination2, 60.0}}) {
      db.Insert("機械マスタ", {{"機械コード", machine},
                               {"機械名", "成形機"},
                               {"生産工場コード", 3},
                               {"工程分類コード", "03"},
                               {"指示先コード", destination}});
      db.Insert("仕入先マスタ",
                {{"仕入先コード", destination}, {"仕入先名略名", "社内"}, {"仕入先分類", "1"}});
      // Marked deleted, so that the save's write to it shows it found this very row.
      db.Insert("品目別機械別ｻｲｸﾙﾏｽﾀ", {{"品名コード", kItem},
                                        {"順序", 1},
                                        {"機械コード", machine},
                                        {"サイクル", cycle},
                                        {"削除フラグ", "1"}});
      for (int day = 10; day <= 13; ++day) {
        db.Insert("機械別勤務体系マスタ", {{"機械コード", machine},
                                           {"年月日", "202404" + std::to_string(day)},
                                           {"勤務時間", 540},
                                           {"開始時刻１", "080000"},
                                           {"終了時刻１", "170000"}});
      }
    }
    db.Insert("仕入先マスタ",
              {{"仕入先コード", kSubcontractor}, {"仕入先名略名", "外注'一"}, {"仕入先分類", "2"}});
    db.Insert("指示先別工程分類", {{"指示先コード", kSubcontractor}, {"工程分類コード", "03"}});
    db.Insert("仕入単価マスタ", {{"取引先コード", kSubcontractor},
                                 {"品名コード", kItem},
                                 {"順序", 1},
                                 {"開始日", "20240101"},
                                 {"単価", 12.5}});
    db.Insert("番号管理マスタ", {{"番号管理キー", "手配番号            "},
                                 {"現在番号", 100},
                                 {"開始番号", 1},
                                 {"終了番号", 999999}});
    // Plan 1 starts as an outside order, so that the save's classification shows it read the
    // in-house destination of its new machine.
    Plan(1, kMachine1, kDestination1, "090000", 60, "2");
    Plan(2, kMachine2, kDestination2, "100000", 120, "3");
    program.Settings(db.path(), 3);
  }

  void Plan(int no, const std::string& machine, const std::string& destination,
            const std::string& end, int minutes, const std::string& kind) {
    db.Insert("手配情報", {{"手配番号", no},
                           {"品名コード", kItem},
                           {"順序", 1},
                           {"生産工場コード", 3},
                           {"機械コード", machine},
                           {"指示先コード", destination},
                           {"開始日", "20240411"},
                           {"納期", "20240411"},
                           {"GNT開始時刻", "080000"},
                           {"GNT終了時刻", end},
                           {"GNT所要時間（分）", minutes},
                           {"手配数", 120},
                           {"手配確定区分", "2"},
                           {"手配区分", kind},
                           {"社内社外区分", kind == "2" ? "2" : "1"}});
  }
  std::string Stored(const std::string& column, int no) {
    return db.Scalar("SELECT \"" + column + "\" FROM 手配情報 WHERE 手配番号=" + std::to_string(no))
        .Text();
  }

  TestDb db;
  ProgramCopy program;
};

TEST_F(SaveQuoting, CodesWithQuotesSemicolonsAndDashesAreWrittenAndFoundAgainAsTheyAre) {
  const std::string script = program.File("move.txt");
  std::ofstream(script) << "drag 1 to M2';-- at 2024/04/11 12:00\n"
                           "drag 2 to S';--1 at 2024/04/11 12:00\n"
                           "save\n";
  const ProgramRun run = RunProgram(program.executable(), {"--script", script, "--from", "20240410",
                                                           "--to", "20240412", "--category", "3"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "");  // no failed save, no lost cycle row

  // On the other machine, with its destination and in-house class, for its cycle there.
  EXPECT_EQ(Stored("機械コード", 1), kMachine2);
  EXPECT_EQ(Stored("指示先コード", 1), kDestination2);
  EXPECT_EQ(Stored("GNT開始時刻", 1), "120000");
  EXPECT_EQ(Stored("GNT終了時刻", 1), "140000");
  EXPECT_EQ(Stored("手配区分", 1), "3");
  EXPECT_EQ(Stored("社内社外区分", 1), "1");
  EXPECT_EQ(db.Scalar("SELECT count(*) FROM 品目別機械別ｻｲｸﾙﾏｽﾀ").Number(), 2.0);
  EXPECT_EQ(db.Scalar("SELECT 削除フラグ || '/' || サイクル FROM 品目別機械別ｻｲｸﾙﾏｽﾀ WHERE "
                      "機械コード=(SELECT 機械コード FROM 手配情報 WHERE 手配番号=1)")
                .Text(),
            "0/60.0");
  // At the subcontractor, with the price of the item there.
  EXPECT_EQ(Stored("機械コード", 2), "        ");
  EXPECT_EQ(Stored("指示先コード", 2), kSubcontractor);
  EXPECT_EQ(Stored("手配区分", 2), "2");
  EXPECT_EQ(db.Scalar("SELECT 単価 || '/' || 金額 FROM 手配情報 WHERE 手配番号=2").Text(),
            "12.5/1500.0");
  EXPECT_EQ(db.Scalar("SELECT count(*) FROM 手配情報").Number(), 2.0);

  // Loaded again, each plan is on its row with its codes.
  const std::string out = program.File("reloaded");
  const ProgramRun reload = RunProgram(
      program.executable(),
      {"--export-csv", out, "--from", "20240410", "--to", "20240412", "--category", "3"});
  ASSERT_EQ(reload.status, 0) << reload.err;
  const Csv plans(out + "/plans.csv");
  const auto first = plans.Find("OrderNo", "1");
  EXPECT_EQ(first.at("MachineCode"), kMachine2);
  EXPECT_EQ(first.at("DestinationCode"), kDestination2);
  EXPECT_EQ(first.at("CycleSeconds"), "60");
  EXPECT_EQ(first.at("ItemCode"), kItem);
  EXPECT_EQ(plans.Find("OrderNo", "2").at("DestinationCode"), kSubcontractor);
}

}  // namespace
}  // namespace velmora::test
