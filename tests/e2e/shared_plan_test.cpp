// Two copies of the editor on one plan, each driven line by line through its standard input:
// what one saves, the other never overwrites without asking, and each answer leaves exactly the
// rows it chose. Also what a script read from standard input does.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "db/connection.h"
#include "db/recordset.h"
#include "e2e/csv_file.h"
#include "e2e/program_copy.h"
#include "generator/demo_generator.h"
#include "saving/others_changes.h"
#include "support/run_program.h"

namespace velmora::test {
namespace {

// One running copy, its script coming from the test as it goes.
class DrivenCopy {
 public:
  explicit DrivenCopy(const ProgramCopy& program)
      : program_(program.executable(),
                 {"--script", "-", "--from", "20240514", "--to", "20240531", "--category", "3"}, {},
                 program.File(""), true) {}

  // Runs the lines and waits until they have: what they printed.
  std::string Do(const std::string& lines) {
    const std::string marker = "done " + std::to_string(++steps_);
    const std::size_t seen = program_.OutSoFar().size();
    program_.Send(lines + "echo " + marker + "\n");
    EXPECT_TRUE(program_.WaitForOutput(marker + "\n"))
        << program_.OutSoFar() << (program_.Running() ? "" : " (ended)");
    const std::string out = program_.OutSoFar();
    return out.substr(seen, out.find(marker, seen) - seen);
  }
  // Sends the last lines and waits for the end of the run.
  ProgramRun End(const std::string& lines = "") {
    if (!lines.empty()) program_.Send(lines);
    return program_.Wait();
  }

 private:
  StartedProgram program_;
  int steps_ = 0;
};

class SharedPlan : public ::testing::Test {
 protected:
  SharedPlan() {
    demo::DemoOptions options;
    demo::GenerateDemoDatabase(program.File("demo.db"), options);
    program.Settings(program.File("demo.db"), options.plantCode);
  }
  std::string Stored(const std::string& number, const char* column) {
    db::Connection file;
    file.OpenFile(program.File("demo.db"));
    db::Recordset rs;
    rs.Open(std::string("SELECT ") + column + " FROM 手配情報 WHERE 手配番号=" + number, file);
    return rs.Eof() ? "(none)" : rs.Fields(0).Text();
  }
  static std::string DueDate(const std::string& lot, const std::string& date) {
    return "open " + lot + "\ntype Text11 " + date + "\nclose\n";
  }

  ProgramCopy program;
};

TEST_F(SharedPlan, EditsOfDifferentLotsLandWithoutAQuestion) {
  DrivenCopy a(program);
  DrivenCopy b(program);
  EXPECT_EQ(a.Do(DueDate("1001473", "2024/07/01")), "");
  EXPECT_EQ(b.Do(DueDate("1001527", "2024/07/02")), "");
  EXPECT_EQ(a.Do("save\n"), "");
  EXPECT_EQ(b.Do("save\n"), "") << "no question: the other copy wrote another lot";
  EXPECT_EQ(a.End().status, 0);
  EXPECT_EQ(b.End().status, 0);
  EXPECT_EQ(Stored("1001473", "GNT初期納期"), "20240701");
  EXPECT_EQ(Stored("1001527", "GNT初期納期"), "20240702");
}

TEST_F(SharedPlan, TheSameLotAsksAndEachAnswerLeavesTheChosenRows) {
  for (const bool overwrite : {true, false}) {
    SCOPED_TRACE(overwrite ? "yes" : "no");
    std::filesystem::remove(program.File("demo.db"));
    demo::GenerateDemoDatabase(program.File("demo.db"), demo::DemoOptions{});
    DrivenCopy first(program);
    DrivenCopy second(program);
    first.Do(DueDate("1001473", "2024/07/01"));
    second.Do(DueDate("1001473", "2024/07/15"));
    first.Do("save\n");
    const std::string asked =
        second.Do(std::string("answer ") + (overwrite ? "yes" : "no") + "\nsave\nexport after\n");
    EXPECT_EQ(asked, std::string("question\t\t") + saving::kOthersChangedQuestion +
                         "\\n1001473\\n" + saving::kOverwriteQuestion +
                         (overwrite ? "\tYes\n" : "\tNo\n"));
    EXPECT_EQ(Stored("1001473", "GNT初期納期"), overwrite ? "20240715" : "20240701");
    // Declined, the second copy keeps its edit, still waiting to be saved.
    auto lot = Csv(program.File("after/plans.csv")).Find("OrderNo", "1001473");
    EXPECT_EQ(lot["InitialDueDate"], "2024/07/15");
    EXPECT_EQ(lot["Changed"], overwrite ? "0" : "1");
    EXPECT_EQ(first.End().status, 0);
    EXPECT_EQ(second.End().status, 0);
  }
}

// Each line runs before the next is read: the file another program changes between two lines is
// what the next line sees. A line that cannot run ends the run with its number.
TEST_F(SharedPlan, AScriptFromStandardInputRunsEachLineAsItComes) {
  DrivenCopy copy(program);
  EXPECT_EQ(copy.Do("echo ready to go\n"), "ready to go\n");
  copy.Do("export first\n");
  EXPECT_TRUE(std::filesystem::exists(program.File("first/plans.csv")));
  copy.Do("open 1001473\n");
  EXPECT_EQ(Csv(program.File("first/plans.csv")).Find("OrderNo", "1001473")["Changed"], "0");
  // A folder inside a file cannot be made, whoever runs the test.
  const ProgramRun run = copy.End("close\nexport " + program.File("demo.db") + "/out\nundo\n");
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("8 行目"), std::string::npos) << run.err;
}

// Looking changes nothing in the file: the inquiry mode and the exports open it read-only, so a
// database kept in the rollback journal mode stays in it, byte for byte.
TEST_F(SharedPlan, InquiryAndExportsLeaveTheFileAsItWas) {
  const std::string file = program.File("demo.db");
  {
    db::Connection connection;
    connection.OpenFile(file);
    connection.ExecuteScript("PRAGMA journal_mode=DELETE");
  }
  const std::string before = ReadWholeFile(file);
  const std::string script = program.File("look.txt");
  std::ofstream(script) << "open 1001473\nclose\nexport looked\n";
  const std::vector<std::vector<std::string>> runs = {
      {"--script", script, "--inquiry"},
      {"--export-csv", program.File("csv")},
      {"--export-png", program.File("chart.png")},
  };
  for (std::vector<std::string> args : runs) {
    SCOPED_TRACE(args[0]);
    for (const char* more : {"--from", "20240514", "--to", "20240531", "--category", "3"})
      args.emplace_back(more);
    const ProgramRun run = RunProgram(program.executable(), args, {}, program.File(""));
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(ReadWholeFile(file) == before) << "the file changed";
    EXPECT_FALSE(std::filesystem::exists(file + "-wal"));
  }
}

}  // namespace
}  // namespace velmora::test
