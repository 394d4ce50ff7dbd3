// Another program changed or deleted rows this copy is about to write: the save asks first, never
// while it holds the database, and writes either everything or nothing.
#include <gtest/gtest.h>

#include <functional>

#include "plandata/calendar_reader.h"
#include "save_world.h"
#include "saving/others_changes.h"

namespace velmora::test {
namespace {

using saving::SaveResult;

// Answers questions in order and runs `whenAsked` while a question is open.
class Asked : public ScriptedMessages {
 public:
  void Tell(const Message& message) override { texts.emplace_back(message.text); }
  velmora::Answer Ask(const Question& question) override {
    texts.emplace_back(question.text);
    if (whenAsked) whenAsked();
    const velmora::Answer a = answers.empty() ? velmora::Answer::No : answers.front();
    if (!answers.empty()) answers.erase(answers.begin());
    return a;
  }
  std::vector<velmora::Answer> answers;
  std::function<void()> whenAsked;
  std::vector<std::string> texts;
};

// Three lots on M01..M03 as read from the file, and a second program's connection to it.
struct SharedWorld : SaveWorld {
  SharedWorld() {
    for (int k = 0; k < 3; ++k) {
      const std::string machine = "M0" + std::to_string(k + 1) + "     ";
      lots[k] = Entry(101 + k, machine, "2024/12/03 09:00:00", "2024/12/03 10:00:00");
      ReadRow(101 + k);
      Plan(lots[k]).Changed = 0;
    }
    db.Insert("機械別勤務体系マスタ",
              {{"機械コード", "M01     "}, {"年月日", "20241203"}, {"勤務時間", 480}});
    ReadMachineCalendar(data, db.connection(), 2, "M01     ", test::TestQuestions());
    other.OpenFile(db.path());
  }
  void Other(const std::string& sql) { other.ExecuteScript(sql); }
  // Lot k moved a day later in this copy.
  void Move(int k) {
    PlanEntry& p = Plan(lots[k]);
    p.StartDate = p.StartDate.AddDays(1);
    p.EndDate = p.EndDate.AddDays(1);
    p.Changed = 1;
  }

  int lots[3] = {};
  db::Connection other;
};

TEST(OthersChanges, RowsNobodyElseTouchedAskNothing) {
  SharedWorld w;
  Asked asked;
  w.Other("UPDATE 手配情報 SET 手配数=7 WHERE 手配番号=103");  // not one this copy writes
  w.Move(0);
  w.Move(1);
  EXPECT_EQ(w.Save(), SaveResult::Complete);
  EXPECT_TRUE(asked.texts.empty());
  // What this copy wrote counts as read: the next save of the same lots asks nothing either.
  w.Move(0);
  EXPECT_EQ(w.Save(), SaveResult::Complete);
  EXPECT_TRUE(asked.texts.empty());
  EXPECT_EQ(w.Column(101, "開始日"), "20241205");
}

// Each answer leaves exactly the chosen rows: Yes writes this copy's values over the other's,
// No writes nothing and keeps every edit for another save.
TEST(OthersChanges, TheUserChoosesWhoseChangeStays) {
  for (const bool overwrite : {true, false}) {
    SCOPED_TRACE(overwrite ? "yes" : "no");
    SharedWorld w;
    Asked asked;
    asked.answers = {overwrite ? Answer::Yes : Answer::No};
    w.Other("UPDATE 手配情報 SET 開始日='20241210', 受入実績数=5 WHERE 手配番号=101");
    w.Other("DELETE FROM 手配情報 WHERE 手配番号=102");
    w.Other("UPDATE 機械別勤務体系マスタ SET 勤務時間=300");
    w.Move(0);
    w.Move(1);
    w.Move(2);
    w.data.CalendarChanged(2, 3) = 1;
    w.data.WorkMinutes(2, 3) = 420;

    EXPECT_EQ(w.Save(), overwrite ? SaveResult::Complete : SaveResult::Declined);
    ASSERT_EQ(asked.texts.size(), 1u);
    EXPECT_EQ(asked.texts[0], std::string(saving::kOthersChangedQuestion) +
                                  "\n101、102、M01 2024/12/03\n" + saving::kOverwriteQuestion);
    EXPECT_EQ(w.Column(101, "開始日"), overwrite ? "20241204" : "20241210");
    EXPECT_EQ(w.Column(101, "受入実績数"), "5") << "a column this copy does not write stays";
    EXPECT_EQ(w.Column(103, "開始日"), overwrite ? "20241204" : "00000000");
    EXPECT_EQ(w.Sql("SELECT 勤務時間 FROM 機械別勤務体系マスタ"), overwrite ? "420" : "300");
    EXPECT_EQ(w.Plan(w.lots[0]).Changed, overwrite ? 0 : 1);
    EXPECT_EQ(w.data.CalendarChanged(2, 3), overwrite ? 0 : 1);
  }
}

TEST(OthersChanges, TheQuestionNamesTenAndCountsTheRest) {
  SaveWorld w;
  std::vector<int> entries;
  for (int k = 0; k < 13; ++k) {
    entries.push_back(w.Entry(201 + k, "M01     ", "2024/12/03 09:00:00", "2024/12/03 10:00:00"));
    w.data.Stored.SetArrangement(201 + k, 42);  // read as something else than the file holds
  }
  saving::OthersChanges changes = saving::FindOthersChanges(
      w.db.connection(), w.data, saving::RowsWrittenBy(w.data, entries, {}), {});
  EXPECT_EQ(saving::OverwriteQuestionText(w.data, changes),
            std::string(saving::kOthersChangedQuestion) +
                "\n201、202、203、204、205、206、207、208、209、210、ほか3件\n" +
                saving::kOverwriteQuestion);
}

// While the question is open the save holds nothing: the other program writes at once. What it
// changes meanwhile is asked about again, and a row that keeps changing ends the save with
// nothing written.
TEST(OthersChanges, NoLockWhileAskingAndChangesMeanwhileAreAskedAgain) {
  SharedWorld w;
  Asked asked;
  asked.answers = {Answer::Yes, Answer::Yes, Answer::Yes, Answer::Yes};
  db::Connection::Options impatient;
  impatient.busyTimeoutMs = 0;
  db::Connection third;
  third.OpenFile(w.db.path(), impatient);
  int count = 0;
  asked.whenAsked = [&] {
    third.ExecuteScript("UPDATE 手配情報 SET 手配数=" + std::to_string(++count) +
                        " WHERE 手配番号=101");
  };
  w.Other("UPDATE 手配情報 SET 手配数=0 WHERE 手配番号=101");
  w.Move(0);
  EXPECT_EQ(w.Save(), SaveResult::Failed);
  EXPECT_EQ(count, saving::kMaxOverwriteQuestions);
  EXPECT_EQ(asked.texts.back().find(saving::kOthersKeepChanging) != std::string::npos, true);
  EXPECT_EQ(w.Column(101, "開始日"), "00000000");
  EXPECT_EQ(w.Plan(w.lots[0]).Changed, 1);

  // Once the other program stops, the next save asks once more and writes.
  asked.whenAsked = nullptr;
  asked.texts.clear();
  EXPECT_EQ(w.Save(), SaveResult::Complete);
  EXPECT_EQ(asked.texts.size(), 1u);
  EXPECT_EQ(w.Column(101, "開始日"), "20241204");
}

}  // namespace
}  // namespace velmora::test
