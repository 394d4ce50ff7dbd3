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
#include "e2e/saved_tables.h"
#include "e2e/script_fixture.h"
#include "saving/others_changes.h"
#include "saving/plan_save.h"
#include "support/pg_proxy.h"
#include "support/pg_test_server.h"
#include "support/run_program.h"

namespace velmora::test {
namespace {

// Painted lots split in their lot windows (as in scripts/restructure_lots.txt): 700 pieces of
// both steps of 1001171, and 500 of both steps of 1001831, each into a new lot. Written with the
// original control names, which scripts still accept.
std::string SplitOffBothSteps(const std::string& lot, const std::string& pieces) {
  return "open " + lot + "\nclick Command4\ncheck NList 1\nclick Command3\nclick Command3\n" +
         "type Text14 " + pieces + "\nenter Text14\nselect NList 1\ntype Text14 " + pieces +
         "\nenter Text14\nanswer yes\nclick Command3\nclick Command1\n";
}

// One running copy, its script coming from the test as it goes.
class DrivenCopy {
 public:
  explicit DrivenCopy(const ProgramCopy& program, const std::string& category = "3")
      : program_(
            program.executable(),
            {"--script", "-", "--from", "20240514", "--to", "20240531", "--category", category}, {},
            program.File(""), true) {}
  // Sends lines without waiting for them.
  void Send(const std::string& lines) { program_.Send(lines); }

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

// Both copies on the same plan, in a file or on the server.
class SharedPlan : public ::testing::TestWithParam<Engine> {
 protected:
  SharedPlan() { program.Settings(plant.target(), demo::DemoOptions{}.plantCode); }
  std::string Stored(const std::string& number, const char* column) {
    return Sql(std::string("SELECT ") + column + " FROM 手配情報 WHERE 手配番号=" + number);
  }
  std::string Sql(const std::string& sql) {
    db::Connection connection;
    connection.OpenTarget(plant.target());
    db::Recordset rs;
    rs.Open(sql, connection);
    return rs.Eof() ? "(none)" : rs.Fields(0).Text();
  }
  static std::string DueDate(const std::string& lot, const std::string& date) {
    return "open " + lot + "\ntype initialDueDate " + date + "\nclose\n";
  }

  ProgramCopy program;
  DemoDatabase plant{GetParam(), program.File("demo.db")};
};
VELMORA_ON_EVERY_ENGINE(SharedPlan);

// The inquiry mode and the exports read the plan and write nothing into it.
TEST_P(SharedPlan, InquiryAndExportsReadWithoutWriting) {
  const auto contents = [&] {
    return GetParam() == Engine::Server ? ReadServerContents(plant.target())
                                        : ReadContents(plant.target());
  };
  const Contents before = contents();
  const std::string script = program.File("look.txt");
  std::ofstream(script) << "open 1001473\nclose\nexport looked\n";
  for (std::vector<std::string> args : std::vector<std::vector<std::string>>{
           {"--script", script, "--inquiry"}, {"--export-csv", program.File("csv")}}) {
    SCOPED_TRACE(args[0]);
    for (const char* more : {"--from", "20240514", "--to", "20240531", "--category", "3"})
      args.emplace_back(more);
    const ProgramRun run = RunProgram(program.executable(), args, {}, program.File(""));
    EXPECT_EQ(run.status, 0) << run.err;
  }
  EXPECT_EQ(Csv(program.File("looked/plans.csv")).Find("OrderNo", "1001473")["Changed"], "0");
  EXPECT_EQ(Csv(program.File("csv/plans.csv")).Find("OrderNo", "1001473")["OrderNo"], "1001473");
  EXPECT_EQ(contents(), before);
}

// What only a server shows: its connection may drop.
class SharedServer : public SharedPlan {};
INSTANTIATE_TEST_SUITE_P(Server, SharedServer, ::testing::Values(Engine::Server));

// What only a file shows: how a script's line may fail on it, and its bytes.
class SharedFile : public SharedPlan {};
INSTANTIATE_TEST_SUITE_P(File, SharedFile, ::testing::Values(Engine::File));

TEST_P(SharedPlan, EditsOfDifferentLotsLandWithoutAQuestion) {
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

TEST_P(SharedPlan, TheSameLotAsksAndEachAnswerLeavesTheChosenRows) {
  for (const bool overwrite : {true, false}) {
    SCOPED_TRACE(overwrite ? "yes" : "no");
    plant.Reset();
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
// Two copies split a lot each and save at the same moment: both saves land, and each new
// arrangement has a number of its own.
TEST_P(SharedPlan, SavesAtTheSameMomentBothLandWithNumbersOfTheirOwn) {
  const std::string before =
      Sql("SELECT 現在番号 FROM 番号管理マスタ WHERE 番号管理キー LIKE '手配番号%'");
  DrivenCopy a(program, "10");
  DrivenCopy b(program, "10");
  a.Do(SplitOffBothSteps("1001171", "700"));
  b.Do(SplitOffBothSteps("1001831", "500"));
  a.Send("save\necho saved\n");
  b.Send("save\necho saved\n");
  const ProgramRun ranA = a.End();
  const ProgramRun ranB = b.End();
  for (const ProgramRun* run : {&ranA, &ranB}) {
    EXPECT_EQ(run->status, 0) << run->err << run->out;
    EXPECT_EQ(run->out.find("message"), std::string::npos) << run->out;
  }
  // Four new arrangements, the two steps of each new lot, numbered one after another.
  const int first = std::stoi(before) + 1;
  EXPECT_EQ(Sql("SELECT 現在番号 FROM 番号管理マスタ WHERE 番号管理キー LIKE '手配番号%'"),
            std::to_string(first + 3));
  const std::string numbered = " FROM 手配情報 WHERE 手配番号 >= " + std::to_string(first);
  EXPECT_EQ(Sql("SELECT count(DISTINCT 手配番号)" + numbered), "4");
  EXPECT_EQ(Sql("SELECT sum(手配数)" + numbered), "2400");
}

// The server ends the copy's session while it edits (an administrator, a restart): the next save
// opens a new connection and lands at the first try.
TEST_P(SharedServer, AConnectionEndedWhileEditingSavesAtTheFirstTry) {
  DrivenCopy copy(program);
  copy.Do(DueDate("1001473", "2024/07/01"));
  PgConnectionPtr admin = ConnectPg(PgAdminUri());
  ExecPg(admin.get(), "SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE datname = '" +
                          plant.serverName() + "'");
  EXPECT_EQ(copy.Do("save\nexport saved\n"), "");
  EXPECT_EQ(Stored("1001473", "GNT初期納期"), "20240701");
  EXPECT_EQ(Csv(program.File("saved/plans.csv")).Find("OrderNo", "1001473")["Changed"], "0");
  EXPECT_EQ(copy.End().status, 0);
}

// The connection goes right after the COMMIT reached the server. Committed, the save counts as
// done and a second save writes nothing twice; when the server cannot be asked, the user is told
// that nobody knows yet, and saves wait for a fresh load.
TEST_P(SharedServer, ALostCommitAnswerIsAskedAboutNotGuessed) {
  const std::string numbers =
      "SELECT 現在番号 FROM 番号管理マスタ WHERE 番号管理キー LIKE '手配番号%'";
  const std::string lot = "SELECT count(*) || ' ' || sum(手配数) FROM 手配情報 WHERE 手配番号 >= ";
  for (const bool reachable : {true, false}) {
    SCOPED_TRACE(reachable ? "the server tells" : "the server cannot be asked");
    plant.Reset();
    PgProxy proxy(plant.target());
    program.Settings(proxy.Uri(), demo::DemoOptions{}.plantCode);
    const int first = std::stoi(Sql(numbers)) + 1;
    DrivenCopy copy(program, "10");
    copy.Do(SplitOffBothSteps("1001171", "700"));
    proxy.CutAfterAnswerTo("COMMIT");
    proxy.Refuse(!reachable);
    const std::string said = copy.Do("save\n");
    proxy.Refuse(false);
    // The server committed either way: the new lot's two steps, numbered once.
    EXPECT_EQ(Sql(lot + std::to_string(first)), "2 1400");
    if (reachable) {
      EXPECT_EQ(said, "");
      copy.Do("export saved\n");
      EXPECT_EQ(Csv(program.File("saved/plans.csv")).Find("OrderNo", "1001171")["Changed"], "0")
          << "saved: nothing is left to write again";
    } else {
      EXPECT_NE(said.find("分かりません"), std::string::npos) << said;
      const std::string refused = copy.Do("save\n");
      EXPECT_NE(refused.find(saving::kOutcomeUnknownRefusal), std::string::npos) << refused;
      copy.Do("answer yes\ndiscard\nexport reloaded\n");
      EXPECT_EQ(Csv(program.File("reloaded/plans.csv")).Find("OrderNo", "1001171")["Changed"], "0")
          << "a fresh load shows what the server kept";
    }
    EXPECT_EQ(Sql(lot + std::to_string(first)), "2 1400");
    EXPECT_EQ(Sql(numbers), std::to_string(first + 1));
    const ProgramRun ended = copy.End();
    EXPECT_EQ(ended.status, reachable ? 0 : 1) << ended.err;
    program.Settings(plant.target(), demo::DemoOptions{}.plantCode);
  }
}

TEST_P(SharedFile, AScriptFromStandardInputRunsEachLineAsItComes) {
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
TEST_P(SharedFile, InquiryAndExportsLeaveTheFileAsItWas) {
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
