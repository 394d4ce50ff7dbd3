// Scripts on the demo plant, run by the real program: the gestures of the window applied from
// a file, their messages on standard output and the state they leave in the exported files.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "e2e/csv_file.h"
#include "e2e/script_fixture.h"

namespace velmora::test {
namespace {

// Plans of one machine, in start order, from the first that starts at `from` on.
std::vector<std::map<std::string, std::string>> RowFrom(const Csv& plans,
                                                        const std::string& machine,
                                                        const std::string& fromStart) {
  std::vector<std::map<std::string, std::string>> row;
  for (auto& p : plans.All()) {
    if (p["MachineCode"] == machine && p["StartDate"] + " " + p["StartTime"] >= fromStart) {
      row.push_back(p);
    }
  }
  std::sort(row.begin(), row.end(), [](auto& a, auto& b) {
    return a["StartDate"] + a["StartTime"] < b["StartDate"] + b["StartTime"];
  });
  return row;
}

TEST_P(Scripts, MoveAndPushThenUndoAndRedo) {
  ExportLoaded();
  const ProgramRun run = Script(ScriptPath("move_and_push.txt"));
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(
      run.out,
      "question\t\t移動したよりも前の計画と重複している期間があります。その計画の終了日時を"
      "この計画の開始に設定しますか？\tYes\n"
      "question\t\t移動した先の後の計画と重複している期間があります。それらの計画を重複しないよ"
      "うに調整しますか？\tYes\n");

  const Csv moved(Out("moved/plans.csv"));
  const auto plan = moved.Find("OrderNo", "1001473");
  EXPECT_EQ(plan.at("MachineCode"), "M101    ");
  // Started where the plan running at 10:00 ends, with M101's cycle for the item.
  EXPECT_EQ(plan.at("StartDate") + " " + plan.at("StartTime"), "2024/05/15 16:09:00");
  EXPECT_EQ(plan.at("DurationMinutes"), "659");
  EXPECT_EQ(plan.at("Changed"), "1");
  // The later plans of M101 follow back to back until the first that no longer overlaps.
  const auto row = RowFrom(moved, "M101    ", "2024/05/15 16:09:00");
  ASSERT_GE(row.size(), 3u);
  for (std::size_t i = 1; i < 3; ++i) {
    EXPECT_EQ(row[i].at("StartDate") + row[i].at("StartTime"),
              row[i - 1].at("EndDate") + row[i - 1].at("EndTime"));
    EXPECT_EQ(row[i].at("Changed"), "1");
  }

  // Undo gives back the loaded state exactly; redo the moved one.
  for (const char* file : {"plans.csv", "bars.csv", "members.csv"}) {
    EXPECT_EQ(ReadWholeFile(Out(std::string("undone/") + file)),
              ReadWholeFile(Out(std::string("loaded/") + file)))
        << file;
  }
  EXPECT_EQ(ReadWholeFile(Out("redone/plans.csv")), ReadWholeFile(Out("moved/plans.csv")));
}

// An edited lot's bar shows it unsaved (a bold caption) until a save writes it, in a script as
// in the window.
TEST_P(Scripts, ASaveClearsTheUnsavedMarkOfTheBarsItWrote) {
  const ProgramRun run = ScriptText(
      "open 1001473\ntype initialDueDate 2024/07/01\nclose\nexport before\nsave\nexport after\n");
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string bar = Csv(Out("before/plans.csv")).Find("OrderNo", "1001473").at("BarIndex");
  EXPECT_EQ(Csv(Out("before/bars.csv")).Find("BarIndex", bar).at("Unsaved"), "1");
  EXPECT_EQ(Csv(Out("after/bars.csv")).Find("BarIndex", bar).at("Unsaved"), "0");
  EXPECT_EQ(Csv(Out("after/plans.csv")).Find("OrderNo", "1001473").at("Changed"), "0");
}

TEST_P(Scripts, DayCalendarAndExpansion) {
  const ProgramRun run = Script(ScriptPath("expand_and_calendar.txt"));
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out,
            "PlanTime(0)\t08:00:00\nPlanTime(1)\t17:00:00\nPlanTime(2)\t17:00:00\n"
            "PlanTime(3)\t01:00:00\nPlanTime(4)\t00:00:00\nPlanTime(5)\t\nPlanTime(6)\t\n"
            "PlanTime(7)\t\nPlanSum\t1020\n"
            "question\t\t計画の展開を行ないますか？\tYes\n"
            "message\t\t24件\tOK\n");
  const Csv calendar(Out("expanded/calendar.csv"));
  bool found = false;
  for (auto& day : calendar.All()) {
    if (day["row"] == "4" && day["date"] == "2024/05/15") {
      found = true;
      EXPECT_EQ(day["ShiftTimes2"], "12:00:00");
    }
  }
  EXPECT_TRUE(found);
  // From the first plan that started in the period, M103's plans run back to back; locked
  // plans stay where they were.
  const Csv plans(Out("expanded/plans.csv"));
  const auto row = RowFrom(plans, "M103    ", "2024/05/14 00:00:00");
  ASSERT_GE(row.size(), 10u);
  int locked = 0;
  for (std::size_t i = 1; i < row.size(); ++i) {
    if (row[i].at("FixedFlag") == "2" || row[i - 1].at("FixedFlag") == "2") {
      ++locked;
      continue;
    }
    EXPECT_EQ(row[i].at("StartDate") + row[i].at("StartTime"),
              row[i - 1].at("EndDate") + row[i - 1].at("EndTime"))
        << row[i].at("OrderNo");
  }
  EXPECT_GT(locked, 0);
}

TEST_P(Scripts, RefusalsMergeAndUnplanning) {
  ExportLoaded();
  const ProgramRun run = Script(ScriptPath("refusals_and_merge.txt"));
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out,
            "message\t\t終了時間を固定されているので、計画を後ろにずらす事はできません\tOK\n"
            "message\t\t終了時間を固定されているので、予定に戻す事はできません\tOK\n"
            "question\t\tこの２つの計画を合体させますか？\tYes\n");
  const Csv loaded(Out("loaded/plans.csv"));
  const Csv after(Out("after/plans.csv"));
  EXPECT_EQ(after.Find("OrderNo", "1001504"), loaded.Find("OrderNo", "1001504"));
  const auto merged = after.Find("OrderNo", "1001927");
  EXPECT_EQ(merged.at("OrderQty"), "1900");
  EXPECT_EQ(merged.at("Changed"), "1");
  const auto gone = after.Find("index", "242");
  EXPECT_EQ(gone.at("OrderNo"), "0");
  EXPECT_EQ(Csv(Out("after/bars.csv")).Find("BarIndex", "242").at("Visible"), "0");
  const auto unplanned = after.Find("OrderNo", "1001940");
  EXPECT_EQ(unplanned.at("MachineCode"), "        ");
  EXPECT_EQ(unplanned.at("StartDate") + " " + unplanned.at("StartTime"), "2024/05/20 08:00:00");
  // The merged member sits in the kept plan; its number follows there with no quantity.
  int members = 0;
  for (auto& m : Csv(Out("after/members.csv")).All()) {
    if (m["Entry"] == "318") ++members;
  }
  EXPECT_EQ(members, 2);
}

TEST_P(Scripts, LotDetailEndTimeAndMachineCloseAsOneUndoStep) {
  ExportLoaded();
  const ProgramRun run = Script(ScriptPath("lot_detail.txt"));
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(
      run.out,
      "question\t\t変更された終了時間に合わせて手配数を変更しますか？\tYes\n"
      "question\t\t移動したよりも前の計画と重複している期間があります。その計画の終了日時を"
      "この計画の開始に設定しますか？\tYes\n"
      "question\t\t移動した先の後の計画と重複している期間があります。それらの計画を重複しないよ"
      "うに調整しますか？\tYes\n");
  const auto lot = Csv(Out("edited/plans.csv")).Find("OrderNo", "1001473");
  // 12:00 from 16:21 the day before takes 819 minutes on M102, 684 of them working: 2104 pieces
  // of 19.5 s. Then M101, behind the plan running there at the lot's start.
  EXPECT_EQ(lot.at("DurationMinutes"), "819");
  EXPECT_EQ(lot.at("OrderQty"), "2104");
  EXPECT_EQ(lot.at("MachineCode"), "M101    ");
  EXPECT_EQ(lot.at("StartDate") + " " + lot.at("StartTime"), "2024/05/15 03:10:00");
  EXPECT_EQ(lot.at("Changed"), "1");
  for (const char* file : {"plans.csv", "bars.csv", "members.csv"}) {
    EXPECT_EQ(ReadWholeFile(Out(std::string("undone/") + file)),
              ReadWholeFile(Out(std::string("loaded/") + file)))
        << file;
  }
}

TEST_P(Scripts, SearchOpensOneHitOrChoosesAndDiscardReloads) {
  ExportLoaded();
  const ProgramRun run = Script(ScriptPath("search_and_discard.txt"));
  ASSERT_EQ(run.status, 0) << run.err;
  // The item code found one lot and opened it with its members and sales orders.
  EXPECT_NE(run.out.find("orderNo\t1001473\n"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("NList[0]\t1001473 射出成形 エンブレム アイボリー HK-1400IV 1700\n"),
            std::string::npos);
  EXPECT_NE(run.out.find("JList[2]\t受注       500907 EMK1400-3-IV1            "
                         "ｴﾝﾌﾞﾚﾑ(ｱｲﾎﾞﾘｰ)100200北斗自動車05/23     800\n"),
            std::string::npos);
  EXPECT_NE(run.out.find("addProcesses\t×工程追加 (非表示)\n"), std::string::npos);
  // The model name found five, offered in table order.
  EXPECT_NE(run.out.find("NList[2]\t1001525 05/15 M101     射出成形 エンブレム 黒 HK-1400BK 800\n"
                         "NList[3]\t1001564"),
            std::string::npos);
  const std::string tail = run.out.substr(run.out.find("choose\t選択\n"));
  EXPECT_EQ(tail,
            "choose\t選択\n"
            "question\t\tこのデータをエディタ上で見えないようにします。よろしいですか？\tYes\n"
            "message\t\t該当する手配が存在しません\tOK\n"
            "question\t\t変更を保存せずに破棄しますか？\tYes\n");
  const auto hidden = Csv(Out("hidden/plans.csv")).Find("OrderNo", "1001525");
  EXPECT_EQ(hidden.at("Hidden") + hidden.at("Changed"), "11");
  // Discarded: the selection is loaded again as it is in the database.
  for (const char* file : {"plans.csv", "bars.csv", "members.csv"}) {
    EXPECT_EQ(ReadWholeFile(Out(std::string("discarded/") + file)),
              ReadWholeFile(Out(std::string("loaded/") + file)))
        << file;
  }
}

TEST_P(Scripts, TheLotWindowShowsTheProcessChainOnTopOfItself) {
  const ProgramRun run =
      ScriptText("open 1001473\nclick showProcesses\nshow\nclick done\nclick finish\n");
  ASSERT_EQ(run.status, 0) << run.err;
  // The inquiry sits on top of the lot window and closes back to it; the second click closes
  // the lot window itself.
  EXPECT_EQ(run.out,
            "memberNo\t1001473 \n"
            "NList[0]\t[ ] 05/15 1001473 EMK1400-3-IV1             M102     射出成形\n"
            "NList[1]\t[ ] 05/17 1001474 EMK1400-3-IV1                      スプレー塗装\n"
            "done\t照会終了\n");
}

// A day outside the period is a message, as in the window, and the script goes on.
TEST_P(Scripts, GoingToADayOutsideThePeriodIsRefusedWithAMessage) {
  const ProgramRun run = ScriptText("goto 2024/05/20\ngoto 2024/07/01\necho done\n");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out.find("2024/05/20"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("表示期間外の日付です"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("done"), std::string::npos) << run.out;
}

// Moving around a chart of a window's size: the rows that fit, a screen of rows per page key,
// the time at the same scale.
TEST_P(Scripts, ViewportWheelAndKeysMoveWhatIsShown) {
  const ProgramRun run = ScriptText(
      "where\nviewport 900 250\nwhere\nkey PageDown\nkey Down\nwhere\nkey End\nwhere\n"
      "wheel zoom -1\nwhere\nviewport 900 2000\nwhere\nkey Home\nwheel rows 2\nwhere\n");
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string week = "2024年5月14日\t１週間表示モード\t";
  const std::string month = "2024年5月14日\t1ヶ月(４週間)表示モード\t";
  EXPECT_EQ(run.out, week + "1-16/19\n" +                                // as loaded
                         week + "1-6/19\n" +                             // 250 px: 6 rows
                         week + "8-13/19\n" +                            // a page and a row on
                         "2024年5月27日\t１週間表示モード\t8-13/19\n" +  // the period's end
                         month + "8-13/19\n" +                           // the whole period fits
                         month + "1-19/19\n" + month + "1-19/19\n");     // every row fits
}

TEST_P(Scripts, LinesThatCannotRunNameTheirNumber) {
  struct Case {
    const char* script;
    int status;
    const char* error;
  } cases[] = {
      {"mode 3\nfly 1001473\n", 2, "2 行目"},
      {"drag 424242 to M101 at 2024/05/15 10:00\n", 2, "424242"},
      {"drag 1001473 to M999 at 2024/05/15 10:00\n", 2, "M999"},
      {"# nothing done yet\nundo\n", 2, "2 行目"},
      {"click Command1\n", 2, "ダイアログ"},
      {"calendar M101 2024/05/17\nclick Command9\n", 2, "Command9"},
      {"expand M101\n", 3, "計画の展開を行ないますか？"},
      {"answer yes\n", 3, "答え"},
      {"search emk\n", 2, "search"},
      {"search - hk\nselect NList 99\n", 2, "NList"},
      {"open 1001473\nclick addProcesses\n", 2, "addProcesses"},
      {"open 1001473\nundo\n", 2, "ダイアログが開いている間は undo"},
      {"goto 2024/05/20 10:00\n", 2, "goto"},
      {"wheel sideways 2\n", 2, "wheel"},
      {"key Escape\n", 2, "key"},
      {"viewport 900\n", 2, "viewport"},
      {"viewport 0 300\n", 2, "viewport"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.script);
    const ProgramRun run = ScriptText(c.script);
    EXPECT_EQ(run.status, c.status);
    EXPECT_NE(run.err.find(c.error), std::string::npos) << run.err;
  }
}

// The suite's tests in every file of this program run on both engines.
VELMORA_ON_EVERY_ENGINE(Scripts);

}  // namespace
}  // namespace velmora::test
