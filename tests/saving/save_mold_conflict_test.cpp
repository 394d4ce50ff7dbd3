#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "save_world.h"

namespace velmora::test {
namespace {

using saving::SaveResult;

// Two plans on one mold at overlapping times: the user decides.
TEST(Save, MoldConflict) {
  struct Case {
    const char* name;
    const char* otherStart;
    const char* otherFixed;
    std::vector<Answer> answers;
    SaveResult result;
    bool asked;
    const char* machineAfter;  // of the first entry
    const char* otherAfter;
  } cases[] = {
      {"accepted",
       "2024/12/03 09:30:00",
       "0",
       {Answer::Yes},
       SaveResult::Complete,
       true,
       "M01     ",
       "M02     "},
      {"declined: both leave their machines",
       "2024/12/03 09:30:00",
       "0",
       {Answer::No},
       SaveResult::Interrupted,
       true,
       "        ",
       "        "},
      {"declined, the other fixed: it stays",
       "2024/12/03 09:30:00",
       "2",
       {Answer::No},
       SaveResult::Interrupted,
       true,
       "        ",
       "M02     "},
      {"touching intervals do not conflict",
       "2024/12/03 10:00:00",
       "0",
       {},
       SaveResult::Complete,
       false,
       "M01     ",
       "M02     "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SaveWorld w;
    ScriptedMessages messages;
    for (Answer a : c.answers) messages.Answer(a);
    const int first = w.Entry(101, "M01     ", "2024/12/03 09:00:00", "2024/12/03 10:00:00");
    const int other = w.Entry(102, "M02     ", c.otherStart, "2024/12/03 12:00:00");
    const int later = w.Entry(103, "M03     ", "2024/12/05 09:00:00", "2024/12/05 10:00:00");
    w.Plan(first).MoldNo = w.Plan(other).MoldNo = "K-1";
    w.Plan(other).Changed = 0;  // only changed entries start the check
    w.Plan(other).FixedFlag = c.otherFixed;
    w.data.CalendarChanged(2, 3) = 1;
    w.db.Insert("機械別勤務体系マスタ", {{"機械コード", "M01     "}, {"年月日", "20241203"}});
    w.data.WorkMinutes(2, 3) = 333;

    EXPECT_EQ(w.Save(), c.result);
    std::vector<std::string> shown;
    if (c.asked) shown.push_back(saving::kMoldConflictQuestion);
    if (c.result == SaveResult::Interrupted) shown.push_back(saving::kSaveInterrupted);
    EXPECT_EQ(messages.texts(), shown);
    if (c.asked) {
      EXPECT_EQ(messages.shown()[0].title, saving::kMoldConflictTitle);
      EXPECT_TRUE(messages.shown()[0].question);
      EXPECT_EQ(messages.shown()[0].byDefault, Answer::No);
    }
    EXPECT_EQ(w.Plan(first).MachineCode, c.machineAfter);
    EXPECT_EQ(w.Plan(other).MachineCode, c.otherAfter);
    // A plan taken off its machine is changed, so the next save writes where it now stands.
    EXPECT_EQ(w.Plan(other).Changed, std::string(c.otherAfter) != "M02     " ? 1 : 0);
    // Declined: the walk stops before the first entry; what follows stays to be saved; the
    // calendars are still written.
    const bool stopped = c.result == SaveResult::Interrupted;
    EXPECT_EQ(w.Plan(first).Changed, stopped ? 1 : 0);
    EXPECT_EQ(w.Plan(later).Changed, stopped ? 1 : 0);
    EXPECT_EQ(w.Sql("SELECT 勤務時間 FROM 機械別勤務体系マスタ"), "333");
    saving::AfterSave(w.data, c.result);
    EXPECT_EQ(w.data.Edits.CanSave(), stopped);  // nothing left unsaved without a question
  }
}

}  // namespace
}  // namespace velmora::test
