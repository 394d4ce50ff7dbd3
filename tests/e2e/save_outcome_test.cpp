// What the real program's save stores: the rows the moves prescribe, the same save made twice,
// and the plans as a reload shows them. The checks read the file with SQLite directly, not
// through the program's layer.
#include <gtest/gtest.h>

#include <string>

#include "e2e/csv_file.h"
#include "e2e/save_on_demo.h"
#include "e2e/saved_tables.h"
#include "saving/plan_save.h"
#include "support/run_program.h"

namespace velmora::test {
namespace {

std::string Without(std::string text, char c) {
  std::erase(text, c);
  return text;
}

// The move and push, then M101's plans laid back to back; the save asks about four shared molds.
const char* const kMoveAndExpand =
    "answer yes\nexpand M101\nexport before_save\nanswer yes\nanswer yes\nanswer yes\nanswer "
    "yes\nsave\nexport after_save\n";

TEST_F(SaveOnDemo, TheSaveStoresWhatTheMovesPrescribeAndTheSameSaveAgainChangesNothing) {
  const std::string script = Script("move.txt", std::string(kMoveAndPush) + kMoveAndExpand);
  FreshCopy();
  const ProgramRun first = Run(script);
  ASSERT_EQ(first.status, 0) << first.err;
  ASSERT_EQ(first.out.find(saving::kSaveFailed), std::string::npos) << first.out;
  const Contents saved = ReadContents(database);

  const auto moved = Arrangement(database, "1001473");
  EXPECT_EQ(moved.at("機械コード"), "M101    ");
  EXPECT_EQ(moved.at("GNT所要時間（分）"), "659");  // with M101's cycle for the item
  // Every entry the edits changed is stored as the chart showed it before the save.
  int checked = 0;
  for (const auto& plan : Csv(program.File("before_save/plans.csv")).All()) {
    if (plan.at("Changed") != "1") continue;
    SCOPED_TRACE(plan.at("OrderNo"));
    ++checked;
    const auto row = Arrangement(database, plan.at("OrderNo"));
    ASSERT_FALSE(row.empty());
    EXPECT_EQ(row.at("機械コード"), plan.at("MachineCode"));
    EXPECT_EQ(row.at("開始日"), Without(plan.at("StartDate"), '/'));
    EXPECT_EQ(row.at("GNT開始時刻"), Without(plan.at("StartTime"), ':'));
    EXPECT_EQ(row.at("納期"), Without(plan.at("EndDate"), '/'));
    EXPECT_EQ(row.at("GNT終了時刻"), Without(plan.at("EndTime"), ':'));
    EXPECT_EQ(row.at("GNT所要時間（分）"), plan.at("DurationMinutes"));
  }
  EXPECT_GE(checked, 15);
  EXPECT_EQ(CountChanged(Csv(program.File("after_save/plans.csv"))), 0);

  // The same gestures on the saved plan: the move finds the later plans already out of its way,
  // so one question fewer; the save writes every entry of M101 again.
  const ProgramRun second =
      Run(Script("again.txt", "answer yes\ndrag 1001473 to M101 at 2024/05/15 10:00\n" +
                                  std::string(kMoveAndExpand)));
  ASSERT_EQ(second.status, 0) << second.err;
  ASSERT_EQ(second.out.find(saving::kSaveFailed), std::string::npos) << second.out;
  EXPECT_GE(CountChanged(Csv(program.File("before_save/plans.csv"))), 15);
  EXPECT_EQ(ReadContents(database), saved);
}

// New rows of the cycle master hold the cycle per shot, as updated rows do: the load divides that
// column by the cavities, so a plan whose machine had no row comes back with its own cycle.
TEST_F(SaveOnDemo, AReloadAfterTheSaveShowsThePlansAsSaved) {
  FreshCopy();
  const ProgramRun run = Run(Script("move.txt", std::string(kMoveAndPush) + kMoveAndExpand));
  ASSERT_EQ(run.status, 0) << run.err;
  const ProgramRun reload =
      RunProgram(program.executable(), {"--export-csv", program.File("reloaded"), "--from",
                                        "20240514", "--to", "20240531", "--category", "3"});
  ASSERT_EQ(reload.status, 0) << reload.err;
  const Csv saved(program.File("after_save/plans.csv"));
  const Csv reloaded(program.File("reloaded/plans.csv"));
  for (const auto& plan : saved.All()) {
    const auto again = reloaded.Find("OrderNo", plan.at("OrderNo"));
    for (const auto& [column, value] : plan) {
      if (column == "MoldCycle") continue;  // a cycle row the save added becomes the mold cycle
      EXPECT_EQ(again.count(column) ? again.at(column) : "", value)
          << "plan " << plan.at("OrderNo") << ", " << column;
    }
  }
}

}  // namespace
}  // namespace velmora::test
