// The save run by the real program under what a shared database meets: the program killed at any
// moment, another program holding the write lock, codes full of SQL punctuation, the same save
// made twice. The checks read the file with SQLite directly, not through the program's layer.
#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "db/connection.h"
#include "e2e/csv_file.h"
#include "e2e/program_copy.h"
#include "generator/demo_generator.h"
#include "saving/plan_save.h"
#include "support/run_program.h"
#include "support/test_db.h"

namespace velmora::test {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// A connection of the test's own, straight on the engine.
class SqliteFile {
 public:
  explicit SqliteFile(const std::string& path) {
    if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
      const std::string why = sqlite3_errmsg(db_);
      sqlite3_close(db_);
      throw std::runtime_error("cannot open " + path + ": " + why);
    }
  }
  ~SqliteFile() { sqlite3_close(db_); }
  SqliteFile(const SqliteFile&) = delete;
  SqliteFile& operator=(const SqliteFile&) = delete;

  void Execute(const std::string& sql) {
    char* error = nullptr;
    if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
      const std::string why = error ? error : sqlite3_errmsg(db_);
      sqlite3_free(error);
      throw std::runtime_error(sql + ": " + why);
    }
  }

  // Calls `row` with the statement on each result row; `texts` fill the `?`s in order.
  template <typename Row>
  void Each(const std::string& sql, Row row, const std::vector<std::string>& texts = {}) {
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) {
      throw std::runtime_error(sql + ": " + sqlite3_errmsg(db_));
    }
    for (std::size_t i = 0; i < texts.size(); ++i) {
      sqlite3_bind_text(stmt, static_cast<int>(i + 1), texts[i].data(),
                        static_cast<int>(texts[i].size()), SQLITE_TRANSIENT);
    }
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) row(stmt);
    sqlite3_finalize(stmt);
    if (rc != SQLITE_DONE) throw std::runtime_error(sql + ": " + sqlite3_errmsg(db_));
  }

  // The first column of the first row as text; "" when there is no row.
  std::string Text(const std::string& sql, const std::vector<std::string>& texts = {}) {
    std::optional<std::string> first;
    Each(
        sql,
        [&](sqlite3_stmt* s) {
          if (!first) first = ColumnText(s, 0);
        },
        texts);
    return first.value_or("");
  }

  static std::string ColumnText(sqlite3_stmt* s, int c) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(s, c));
    return text ? std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(s, c))) : "";
  }

 private:
  sqlite3* db_ = nullptr;
};

// The tables a save writes.
const char* const kSavedTables[] = {"手配情報", "所要量情報", "品目別機械別ｻｲｸﾙﾏｽﾀ",
                                    "番号管理マスタ", "機械別勤務体系マスタ"};

// A checksum of one table: FNV-1a over every value's type, length and bytes in rowid order.
struct TableSum {
  int rows = 0;
  std::uint64_t hash = 14695981039346656037ull;
  bool operator==(const TableSum&) const = default;
};
void PrintTo(const TableSum& sum, std::ostream* os) {
  *os << sum.rows << " rows #" << std::hex << sum.hash << std::dec;
}
using Contents = std::map<std::string, TableSum>;

void Mix(std::uint64_t& hash, const void* data, std::size_t size) {
  const auto* bytes = static_cast<const unsigned char*>(data);
  for (std::size_t i = 0; i < size; ++i) {
    hash ^= bytes[i];
    hash *= 1099511628211ull;
  }
}

Contents ReadContents(const std::string& path) {
  SqliteFile file(path);
  Contents contents;
  for (const char* table : kSavedTables) {
    TableSum& sum = contents[table];
    file.Each(std::string("SELECT * FROM \"") + table + "\" ORDER BY rowid", [&](sqlite3_stmt* s) {
      ++sum.rows;
      for (int c = 0; c < sqlite3_column_count(s); ++c) {
        const int type = sqlite3_column_type(s, c);
        Mix(sum.hash, &type, sizeof type);
        if (type == SQLITE_INTEGER) {
          const sqlite3_int64 v = sqlite3_column_int64(s, c);
          Mix(sum.hash, &v, sizeof v);
        } else if (type == SQLITE_FLOAT) {
          const double v = sqlite3_column_double(s, c);
          Mix(sum.hash, &v, sizeof v);
        } else if (type != SQLITE_NULL) {
          const void* bytes = sqlite3_column_blob(s, c);
          const int size = sqlite3_column_bytes(s, c);
          Mix(sum.hash, &size, sizeof size);
          Mix(sum.hash, bytes, static_cast<std::size_t>(size));
        }
      }
    });
  }
  return contents;
}

std::string IntegrityCheck(const std::string& path) {
  return SqliteFile(path).Text("PRAGMA integrity_check");
}

// Rows of `table` in the database at `path` that the one at `other` does not hold as they are.
int RowsNotIn(const std::string& path, const std::string& other, const std::string& table) {
  SqliteFile file(path);
  file.Each("ATTACH DATABASE ? AS other", [](sqlite3_stmt*) {}, {other});
  return std::stoi(file.Text("SELECT count(*) FROM (SELECT * FROM main.\"" + table +
                             "\" EXCEPT SELECT * FROM other.\"" + table + "\")"));
}

// Arrangement `orderNo` as stored, every column as text.
std::map<std::string, std::string> Arrangement(const std::string& path,
                                               const std::string& orderNo) {
  std::map<std::string, std::string> row;
  SqliteFile(path).Each("SELECT * FROM 手配情報 WHERE 手配番号=CAST(? AS INTEGER)",
                        [&](sqlite3_stmt* s) {
                          for (int c = 0; c < sqlite3_column_count(s); ++c)
                            row[sqlite3_column_name(s, c)] = SqliteFile::ColumnText(s, c);
                        },
                        {orderNo});
  return row;
}

std::string Without(std::string text, char c) {
  std::erase(text, c);
  return text;
}

std::string Answers(int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += "answer yes\n";
  return text;
}

// Waits until standard output holds `text` `count` times; the moment it did, nothing when the
// program ended before.
std::optional<Clock::time_point> WaitForOutput(const StartedProgram& program,
                                               const std::string& text, int count = 1) {
  const auto deadline = Clock::now() + std::chrono::minutes(2);
  while (Clock::now() < deadline) {
    const bool running = program.Running();
    const std::string out = program.OutSoFar();
    int seen = 0;
    for (std::size_t at = out.find(text); at != std::string::npos; at = out.find(text, at + 1))
      ++seen;
    if (seen >= count) return Clock::now();
    if (!running) return std::nullopt;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return std::nullopt;
}

int CountChanged(const Csv& plans) {
  int changed = 0;
  for (const auto& p : plans.All()) changed += p.at("Changed") == "1";
  return changed;
}

// The demo plant, kept pristine beside the copy the program works on.
class SaveOnDemo : public ::testing::Test {
 protected:
  SaveOnDemo() {
    demo::DemoOptions options;  // the fixed demo: data from 2024/04/01
    demo::GenerateDemoDatabase(pristine, options);
    program.Settings(database, options.plantCode);
  }

  void FreshCopy() {
    for (const char* suffix : {"", "-wal", "-shm"}) fs::remove(database + suffix);
    fs::copy_file(pristine, database);
  }
  std::string Script(const std::string& name, const std::string& text) {
    const std::string path = program.File(name);
    std::ofstream(path) << text;
    return path;
  }
  std::vector<std::string> Args(const std::string& script, const std::string& to) {
    return {"--script", script, "--from", "20240514", "--to", to, "--category", "3"};
  }
  ProgramRun Run(const std::string& script, const std::string& to = "20240531") {
    return RunProgram(program.executable(), Args(script, to), {}, program.File(""));
  }
  std::unique_ptr<StartedProgram> Start(const std::string& script, const std::string& to) {
    return std::make_unique<StartedProgram>(program.executable(), Args(script, to),
                                            std::vector<std::string>{}, program.File(""));
  }

  ProgramCopy program;
  const std::string pristine = program.File("pristine.db");
  const std::string database = program.File("plan.db");
};

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

// Disabled until new rows of the cycle master hold the cycle per shot, as updated rows do: the
// load divides that column by the cavities, so a plan whose machine had no row comes back with
// its cycle divided by the cavities.
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

// Disabled until the save lets a script's failure through instead of reporting it as a
// database failure and going on.
TEST_F(SaveOnDemo, AQuestionOfTheSaveWithoutAnAnswerEndsTheScript) {
  FreshCopy();
  const ProgramRun run =
      Run(Script("unanswered.txt", ExpandEveryMachine() + "save\n"), kExpandAllTo);
  EXPECT_EQ(run.status, 3);
  EXPECT_NE(run.err.find("金型が重複します"), std::string::npos) << run.err;
  EXPECT_EQ(ReadContents(database), ReadContents(pristine));
}

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
