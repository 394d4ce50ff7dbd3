// The script word `level` and level.csv, run by the real program on the demo plant: the proposal
// is one undoable step, a save stores it and a fresh load shows it.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <tuple>

#include "e2e/csv_file.h"
#include "e2e/script_fixture.h"

namespace velmora::test {
namespace {

using LevelScripts = Scripts;

std::string FirstLine(const std::string& text) {
  const std::size_t bom = text.rfind("\xEF\xBB\xBF", 0) == 0 ? 3 : 0;
  return text.substr(bom, text.find("\r\n") - bom);
}

std::string StartOf(const std::map<std::string, std::string>& plan) {
  return plan.at("StartDate") + " " + plan.at("StartTime");
}
std::string EndOf(const std::map<std::string, std::string>& plan) {
  return plan.at("EndDate") + " " + plan.at("EndTime");
}

TEST_P(LevelScripts, TheProposalIsOneStepASaveStoresItAndAFreshLoadShowsIt) {
  const ProgramRun run = ScriptText(
      "export before\n"
      "level 2024/05/14 2024/05/31 all budget 1\n"
      "undo\n"
      "export undone\n"
      "redo\n"
      "save\n"
      "discard\n"
      "export after\n");
  ASSERT_EQ(run.status, 0) << run.err << run.out;
  EXPECT_EQ(ReadWholeFile(Out("undone/plans.csv")), ReadWholeFile(Out("before/plans.csv")));
  // Every move starts inside the levelled days, so a fresh load of the same period shows it.
  const ProgramRun fresh = RunProgram(
      program.executable(),
      {"--export-csv", Out("fresh"), "--from", "20240514", "--to", "20240531", "--category", "3"});
  ASSERT_EQ(fresh.status, 0) << fresh.err;

  const std::string level = ReadWholeFile(Out("after/level.csv"));
  EXPECT_EQ(FirstLine(level),
            "OrderNo,Item,MachineBefore,MachineAfter,StartBefore,StartAfter,EndBefore,EndAfter,"
            "LateMinutesBefore,LateMinutesAfter");
  const Csv before(Out("before/plans.csv"));
  const Csv after(Out("fresh/plans.csv"));
  int moves = 0;
  std::map<std::string, std::string> totals;
  for (const auto& line : Csv(Out("after/level.csv")).All()) {
    if (line.at("OrderNo") == "Totals") {
      totals = line;
      continue;
    }
    ++moves;
    SCOPED_TRACE(line.at("OrderNo"));
    const auto was = before.Find("OrderNo", line.at("OrderNo"));
    EXPECT_EQ(was.at("ItemCode"), line.at("Item"));
    EXPECT_EQ(was.at("MachineCode"), line.at("MachineBefore"));
    EXPECT_EQ(StartOf(was), line.at("StartBefore"));
    EXPECT_EQ(EndOf(was), line.at("EndBefore"));
    const auto is = after.Find("OrderNo", line.at("OrderNo"));
    EXPECT_EQ(is.at("MachineCode"), line.at("MachineAfter"));
    EXPECT_EQ(StartOf(is), line.at("StartAfter"));
    EXPECT_EQ(EndOf(is), line.at("EndAfter"));
  }
  ASSERT_GT(moves, 0) << "the demo plant's crowded weeks need levelling";
  ASSERT_FALSE(totals.empty()) << "the last line holds the totals";
  // Before and after pairs: clashes, late plans, moved plans, minutes late.
  auto n = [&](const char* column) { return std::stol(totals.at(column)); };
  EXPECT_EQ(n("EndBefore"), 0);
  EXPECT_EQ(n("EndAfter"), moves);
  EXPECT_LE(std::make_tuple(n("MachineAfter"), n("StartAfter"), n("LateMinutesAfter")),
            std::make_tuple(n("MachineBefore"), n("StartBefore"), n("LateMinutesBefore")));
  EXPECT_NE(run.out.find("自動調整: 移動 " + std::to_string(moves) + " 件"), std::string::npos)
      << run.out;
}

TEST_P(LevelScripts, BadInputIsRefusedWithTheLine) {
  for (const char* line : {"level 2024/05/20", "level 2024/07/01 2024/07/02",
                           "level 2024/05/20 2024/05/18", "level XYZ", "level unplanned",
                           "level M101,", "level budget -1", "level budget", "level all extra"}) {
    const ProgramRun run = ScriptText(std::string(line) + "\n");
    EXPECT_EQ(run.status, 2) << line;
    EXPECT_NE(run.err.find("1 行目"), std::string::npos) << line << run.err;
  }
}

VELMORA_ON_EVERY_ENGINE(LevelScripts);

}  // namespace
}  // namespace velmora::test
