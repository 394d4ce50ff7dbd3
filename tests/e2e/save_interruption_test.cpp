// The save run by the real program and cut short: the program killed at any moment, another
// program holding the write lock, a question of the save left without an answer. The checks read
// the file with SQLite directly, not through the program's layer.
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <fstream>
#include <memory>
#include <string>
#include <thread>

#include "db/connection.h"
#include "e2e/csv_file.h"
#include "e2e/save_on_demo.h"
#include "e2e/saved_tables.h"
#include "e2e/sqlite_file.h"
#include "saving/plan_save.h"
#include "support/demo_database.h"
#include "support/run_program.h"

namespace velmora::test {
namespace {

// Every molding machine's plans laid back to back over the period to 2024/06/07: 258 changed
// entries, whose save asks 63 times about molds shared at overlapping times.
const char* const kExpandAllTo = "20240607";
constexpr int kExpandAllMoldQuestions = 63;

std::string ExpandEveryMachine() {
  std::string text;
  for (int m = 101; m <= 112; ++m) text += "answer yes\nexpand M" + std::to_string(m) + "\n";
  return text;
}

TEST_F(SaveOnDemo, KilledAtAnyMomentTheDatabaseHoldsTheWholeSaveOrNothingOfIt) {
  const std::string script =
      Script("expand_all.txt", ExpandEveryMachine() + Answers(kExpandAllMoldQuestions) + "save\n");
  const Contents before = ReadContents(pristine);

  // The run left alone: the state of the whole save, and when the save asked its first and its
  // last question and the program ended.
  FreshCopy();
  const auto launched = Clock::now();
  auto whole = Start(script, kExpandAllTo);
  const auto firstQuestion = WaitForOutput(*whole, saving::kMoldConflictTitle);
  const auto lastQuestion =
      WaitForOutput(*whole, saving::kMoldConflictTitle, kExpandAllMoldQuestions);
  const ProgramRun run = whole->Wait();
  const auto ended = Clock::now();
  ASSERT_EQ(run.status, 0) << run.err;
  ASSERT_TRUE(firstQuestion && lastQuestion) << run.out;
  ASSERT_EQ(run.out.find(saving::kSaveFailed), std::string::npos) << run.out;
  const Contents everything = ReadContents(database);
  ASSERT_NE(everything, before);
  EXPECT_GE(RowsNotIn(database, pristine, "手配情報"), 200);

  // Kills spread over three stretches, each timed from a moment the output shows: loading and
  // editing, the save's walk between its first and last question, and from the last question to
  // the end (the last entries, the commit, closing the file).
  struct Stretch {
    int kills;
    int questionsBefore;  // the questions to wait for before timing; 0 times from the start
    Clock::duration length;
  };
  const Stretch stretches[] = {{8, 0, *firstQuestion - launched},
                               {18, 1, *lastQuestion - *firstQuestion},
                               {4, kExpandAllMoldQuestions, ended - *lastQuestion}};
  int untouched = 0, cutInSave = 0, complete = 0, attempt = 0;
  bool reran = false;
  for (const Stretch& stretch : stretches) {
    for (int k = 0; k < stretch.kills; ++k, ++attempt) {
      SCOPED_TRACE("kill " + std::to_string(attempt));
      FreshCopy();
      auto from = Clock::now();
      auto victim = Start(script, kExpandAllTo);
      if (stretch.questionsBefore > 0) {
        const auto seen =
            WaitForOutput(*victim, saving::kMoldConflictTitle, stretch.questionsBefore);
        ASSERT_TRUE(seen.has_value()) << victim->Wait().err;
        from = *seen;
      }
      std::this_thread::sleep_until(from + stretch.length * k / stretch.kills);
      kill(victim->pid(), SIGKILL);
      const ProgramRun killed = victim->Wait();

      ASSERT_EQ(IntegrityCheck(database), "ok");
      const Contents after = ReadContents(database);
      const bool saveBegun = killed.out.find(saving::kMoldConflictTitle) != std::string::npos;
      if (after == before) {
        ++(saveBegun ? cutInSave : untouched);
      } else if (after == everything) {
        ++complete;
      } else {
        ADD_FAILURE() << "part of the save was kept";
      }
      // A save cut short leaves nothing in the way of the next one.
      if (after == before && saveBegun && !reran) {
        reran = true;
        const ProgramRun again = Run(script, kExpandAllTo);
        EXPECT_EQ(again.status, 0) << again.err;
        EXPECT_EQ(ReadContents(database), everything);
      }
    }
  }
  EXPECT_GE(cutInSave, stretches[1].kills / 2)
      << untouched << " before the save, " << complete << " after the commit";
  RecordProperty("KilledBeforeTheSave", untouched);
  RecordProperty("KilledInTheSave", cutInSave);
  RecordProperty("KilledAfterTheCommit", complete);
}

// The same on the server, with fewer kills: whatever moment the program dies at, the server
// holds the whole save or none of it, and the next save goes through.
TEST(ServerSave, KilledAtAnyMomentTheServerHoldsTheWholeSaveOrNothingOfIt) {
  ProgramCopy program;
  DemoDatabase plant(Engine::Server, program.File("plan.db"));
  program.Settings(plant.target(), 3);
  const std::string script = program.File("expand_all.txt");
  std::ofstream(script) << ExpandEveryMachine() + Answers(kExpandAllMoldQuestions) + "save\n";
  const std::vector<std::string> args = {"--script", script,       "--from",     "20240514",
                                         "--to",     kExpandAllTo, "--category", "3"};
  const auto start = [&] {
    return std::make_unique<StartedProgram>(program.executable(), args, std::vector<std::string>{},
                                            program.File(""));
  };
  const Contents before = ReadServerContents(plant.target());

  auto whole = start();
  const auto firstQuestion = WaitForOutput(*whole, saving::kMoldConflictTitle);
  const auto lastQuestion =
      WaitForOutput(*whole, saving::kMoldConflictTitle, kExpandAllMoldQuestions);
  const ProgramRun run = whole->Wait();
  const auto ended = Clock::now();
  ASSERT_EQ(run.status, 0) << run.err;
  ASSERT_TRUE(firstQuestion && lastQuestion) << run.out;
  const Contents everything = ReadServerContents(plant.target());
  ASSERT_NE(everything, before);

  // From the first question on: the save's walk, its transaction and the commit.
  constexpr int kKills = 8;
  int cutInSave = 0, complete = 0;
  for (int k = 0; k < kKills; ++k) {
    SCOPED_TRACE("kill " + std::to_string(k));
    plant.Reset();
    auto victim = start();
    const auto seen = WaitForOutput(*victim, saving::kMoldConflictTitle);
    ASSERT_TRUE(seen.has_value()) << victim->Wait().err;
    std::this_thread::sleep_until(*seen + (ended - *firstQuestion) * k / kKills);
    kill(victim->pid(), SIGKILL);
    victim->Wait();
    const Contents after = ReadServerContents(plant.target());
    if (after == before) {
      ++cutInSave;
    } else if (after == everything) {
      ++complete;
    } else {
      ADD_FAILURE() << "part of the save was kept";
    }
  }
  EXPECT_GE(cutInSave, kKills / 2) << complete << " after the commit";
  // A save cut short leaves no lock or half-done work in the way of the next one.
  plant.Reset();
  const ProgramRun again = start()->Wait();
  EXPECT_EQ(again.status, 0) << again.err;
  EXPECT_EQ(ReadServerContents(plant.target()), everything);
}

const char* const kMoveAndPush =
    "answer yes\nanswer yes\ndrag 1001473 to M101 at 2024/05/15 10:00\n";

TEST_F(SaveOnDemo, ASaveBlockedByAnotherWriterWritesNothingAndKeepsTheEditsForTheNextSave) {
  const std::string exported = program.File("after_save");
  const std::string script =
      Script("move.txt", std::string(kMoveAndPush) + "save\nexport " + exported + "\n");
  FreshCopy();
  const ProgramRun reference = Run(script);
  ASSERT_EQ(reference.status, 0) << reference.err;
  ASSERT_EQ(reference.out.find(saving::kSaveFailed), std::string::npos) << reference.out;
  const Contents moved = ReadContents(database);
  ASSERT_NE(moved, ReadContents(pristine));

  FreshCopy();
  ProgramRun blocked;
  Clock::duration waited{};
  {
    SqliteFile other(database);
    other.Execute("PRAGMA journal_mode=WAL");  // as the file is once Velmora has opened it
    other.Execute("BEGIN IMMEDIATE");
    other.Execute("UPDATE 番号管理マスタ SET 現在番号=現在番号+1");
    const auto start = Clock::now();
    blocked = Run(script);
    waited = Clock::now() - start;
    other.Execute("ROLLBACK");
  }
  // It waited for the other writer as long as the busy timeout allows, then gave up.
  EXPECT_GE(waited, std::chrono::milliseconds(db::Connection::kBusyTimeoutMs));
  EXPECT_NE(blocked.out.find(std::string("message\t\t") + saving::kSaveFailed), std::string::npos)
      << blocked.out << blocked.err;
  EXPECT_NE(blocked.out.find("他のプログラムで使用中です"), std::string::npos) << blocked.out;
  EXPECT_EQ(blocked.status, 1);  // the run goes on to its end, then reports the database error
  EXPECT_EQ(ReadContents(database), ReadContents(pristine));
  {
    const Csv plans(exported + "/plans.csv");
    EXPECT_EQ(plans.Find("OrderNo", "1001473").at("Changed"), "1");
    EXPECT_GE(CountChanged(plans), 3);  // the moved plan and the ones it pushed
  }

  const ProgramRun again = Run(script);
  ASSERT_EQ(again.status, 0) << again.err;
  EXPECT_EQ(again.out.find(saving::kSaveFailed), std::string::npos) << again.out;
  EXPECT_EQ(ReadContents(database), moved);
  EXPECT_EQ(CountChanged(Csv(exported + "/plans.csv")), 0);
}

// A question of the save that the script gave no answer for ends the run, and nothing is written:
// the save lets the script's failure through rather than reporting a database failure.
TEST_F(SaveOnDemo, AQuestionOfTheSaveWithoutAnAnswerEndsTheScript) {
  FreshCopy();
  const ProgramRun run =
      Run(Script("unanswered.txt", ExpandEveryMachine() + "save\n"), kExpandAllTo);
  EXPECT_EQ(run.status, 3);
  EXPECT_NE(run.err.find("金型が重複します"), std::string::npos) << run.err;
  EXPECT_EQ(ReadContents(database), ReadContents(pristine));
}

}  // namespace
}  // namespace velmora::test
