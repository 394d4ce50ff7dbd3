// The machine load in load.csv and the script word `load`, run by the real program on the demo
// plant: the load follows a drag, its undo and a lot window's change.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "e2e/csv_file.h"
#include "e2e/script_fixture.h"

namespace velmora::test {
namespace {

using LoadScripts = Scripts;

// The used minutes of each row over the period's days.
std::map<std::string, long> UsedByRow(const Csv& load) {
  std::map<std::string, long> used;
  for (auto& line : load.All()) used[line["Row"]] += std::stol(line["Used"]);
  return used;
}

std::string LineOf(const Csv& load, const std::string& row, const std::string& day) {
  for (auto& line : load.All()) {
    if (line["Row"] == row && line["Day"] == day) {
      return line["Row"] + "," + line["Day"] + "," + line["Available"] + "," + line["Used"] + "," +
             line["Percent"] + "," + line["Plans"] + "," + line["Quantity"];
    }
  }
  ADD_FAILURE() << "no line for " << row << " " << day;
  return "";
}

TEST_P(LoadScripts, FollowsADragItsUndoAndALotWindow) {
  const ProgramRun run = ScriptText(
      "export loaded\n"
      "load M101 2024/05/15\n"
      "answer yes\nanswer yes\n"
      "drag 1001473 to M101 at 2024/05/15 10:00\n"
      "export moved\n"
      "load M101 2024/05/15\n"
      "undo\n"
      "export undone\n"
      "open 1001473\ntype endTime 12:00\nanswer yes\nenter endTime\nanswer yes\nclick finish\n"
      "export lot\n");
  ASSERT_EQ(run.status, 0) << run.err << run.out;
  const Csv loaded(Out("loaded/load.csv"));
  const Csv moved(Out("moved/load.csv"));
  const Csv lot(Out("lot/load.csv"));
  const std::string m101 = "M101    ", m102 = "M102    ";

  // The word prints the file's line of the moment.
  const std::string question =
      "question\t\t移動したよりも前の計画と重複している期間があります。その計画の終了日時を"
      "この計画の開始に設定しますか？\tYes\n"
      "question\t\t移動した先の後の計画と重複している期間があります。それらの計画を重複しないよ"
      "うに調整しますか？\tYes\n";
  EXPECT_EQ(run.out.substr(0, run.out.find('\n') + 1), LineOf(loaded, m101, "2024/05/15") + "\n");
  EXPECT_NE(run.out.find(question + LineOf(moved, m101, "2024/05/15") + "\n"), std::string::npos)
      << run.out;

  // The lot's minutes leave M102 and come to M101 with the cycle it has there; the pushed
  // plans keep theirs. Undo gives the loaded load back.
  const auto before = Csv(Out("loaded/plans.csv")).Find("OrderNo", "1001473");
  const auto after = Csv(Out("moved/plans.csv")).Find("OrderNo", "1001473");
  EXPECT_EQ(UsedByRow(moved)[m102],
            UsedByRow(loaded)[m102] - std::stol(before.at("DurationMinutes")));
  EXPECT_EQ(UsedByRow(moved)[m101],
            UsedByRow(loaded)[m101] + std::stol(after.at("DurationMinutes")));
  EXPECT_EQ(ReadWholeFile(Out("undone/load.csv")), ReadWholeFile(Out("loaded/load.csv")));

  // The lot window pulls the lot's end in: M102 loses the minutes it no longer takes, and no
  // other row changes.
  const auto shortened = Csv(Out("lot/plans.csv")).Find("OrderNo", "1001473");
  auto usedBefore = UsedByRow(loaded), usedAfter = UsedByRow(lot);
  EXPECT_EQ(usedAfter[m102] - usedBefore[m102],
            std::stol(shortened.at("DurationMinutes")) - std::stol(before.at("DurationMinutes")));
  usedBefore.erase(m102);
  usedAfter.erase(m102);
  EXPECT_EQ(usedAfter, usedBefore);
}

// Machines have a capacity; departments and subcontractors count bars and quantity only.
TEST_P(LoadScripts, AvailableAndPercentOnlyForMachines) {
  ASSERT_EQ(ScriptText("export out\n").status, 0);
  const Csv rows(Out("out/rows.csv"));
  std::map<std::string, std::string> kindOf;
  for (auto& row : rows.All()) kindOf[row["RowCode"]] = row["kind"];
  int machines = 0, others = 0;
  for (auto& line : Csv(Out("out/load.csv")).All()) {
    const std::string& kind = kindOf[line["Row"]];
    if (kind == "machine") {
      ++machines;
      EXPECT_FALSE(line["Available"].empty());
      EXPECT_EQ(line["Percent"].empty(), line["Available"] == "0") << line["Row"] << line["Day"];
    } else {
      ++others;
      EXPECT_TRUE(kind == "department" || kind == "subcontractor") << line["Row"];
      EXPECT_EQ(line["Available"], "");
      EXPECT_EQ(line["Percent"], "");
    }
  }
  EXPECT_GT(machines, 0);
  EXPECT_GT(others, 0);
}

TEST_P(LoadScripts, TheWordRefusesWhatHasNoLoad) {
  for (const char* line :
       {"load unplanned 2024/05/15", "load M101 2024/07/01", "load M101 15.5.", "load M101"}) {
    const ProgramRun run = ScriptText(std::string(line) + "\n");
    EXPECT_EQ(run.status, 2) << line;
    EXPECT_NE(run.err.find("1 行目"), std::string::npos) << line << run.err;
  }
}

VELMORA_ON_EVERY_ENGINE(LoadScripts);

}  // namespace
}  // namespace velmora::test
