#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "save_world.h"

namespace velmora::test {
namespace {

using saving::SaveResult;

// Numbering that cannot go on stores nothing of the save (not the entries before it, not the
// shortened lot without its new one, not the calendars) and names the numbering row.
TEST(Save, NumberingThatCannotGoOnStoresNothing) {
  struct Case {
    const char* name;
    const char* setup;  // SQL run on the world before the save
    const char* says;   // part of the message
  } cases[] = {
      {"no numbering row", "DELETE FROM 番号管理マスタ", saving::kNoNumbering},
      {"the last 32-bit number",
       "UPDATE 番号管理マスタ SET 現在番号=2147483647,終了番号=3000000000", "2147483648"},
      {"past the end number", "UPDATE 番号管理マスタ SET 現在番号=9999999", "10000000"},
      {"below the start number", "UPDATE 番号管理マスタ SET 開始番号=6000", "5001"},
      {"a number already taken", "INSERT INTO 手配情報 (手配番号) VALUES (5001)", "既に"},
      {"a current number that is no whole number", "UPDATE 番号管理マスタ SET 現在番号=12.5",
       "整数"},
      {"a current number with trailing junk", "UPDATE 番号管理マスタ SET 現在番号='5000abc'",
       "現在番号「5000abc」が整数ではありません"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SaveWorld w;
    ScriptedMessages messages;
    w.db.Insert("手配情報", {{"手配番号", 201}});
    const int plain = w.Entry(101, "M01     ", "2024/12/03 09:00:00", "2024/12/03 10:00:00");
    const int split = w.Entry(102, "M02     ", "2024/12/04 09:00:00", "2024/12/04 10:00:00");
    Member& fresh = w.Plan(split).A.Slot(2);
    fresh.OrderNo = -1;
    fresh.SourceOrderNo = 201;
    fresh.OrderQty = 10;
    w.data.CalendarChanged(2, 3) = 1;
    w.data.WorkMinutes(2, 3) = 333;
    w.db.connection().ExecuteScript(c.setup);
    const std::string numbers = w.Sql("SELECT 現在番号 FROM 番号管理マスタ");
    const std::string rows = w.Sql("SELECT COUNT(*) FROM 手配情報");

    EXPECT_EQ(w.Save(), SaveResult::Failed);
    ASSERT_EQ(messages.texts().size(), 1u);
    EXPECT_EQ(messages.texts()[0].rfind(saving::kSaveFailed, 0), 0u);
    EXPECT_NE(messages.texts()[0].find(saving::kNoNumbering), std::string::npos);
    EXPECT_NE(messages.texts()[0].find(c.says), std::string::npos) << messages.texts()[0];
    EXPECT_EQ(w.Column(101, "開始日"), "00000000");
    EXPECT_EQ(w.Sql("SELECT COUNT(*) FROM 手配情報"), rows);
    EXPECT_EQ(w.Sql("SELECT 現在番号 FROM 番号管理マスタ"), numbers);
    EXPECT_EQ(w.Sql("SELECT COUNT(*) FROM 機械別勤務体系マスタ"), "0");
    EXPECT_EQ(w.Plan(plain).Changed, 1);
    EXPECT_EQ(w.Plan(split).A[2].OrderNo, -1);
    EXPECT_EQ(w.Plan(split).A[2].SourceOrderNo, 201);
  }
}

// A database failure in the middle writes nothing and leaves the table as before the save.
TEST(Save, ADatabaseFailureWritesNothing) {
  SaveWorld w;
  ScriptedMessages messages;
  const int a = w.Entry(101, "M01     ", "2024/12/03 09:00:00", "2024/12/03 10:00:00");
  const int b = w.Entry(102, "M02     ", "2024/12/04 09:00:00", "2024/12/04 10:00:00");
  Member& fresh = w.Plan(a).A.Slot(2);
  fresh.OrderNo = -1;
  fresh.SourceOrderNo = 102;
  fresh.OrderQty = 10;
  w.db.connection().ExecuteScript(
      "CREATE TRIGGER refuse BEFORE UPDATE ON 手配情報 WHEN NEW.手配番号=102 "
      "BEGIN SELECT RAISE(ABORT, 'refused'); END;");
  const std::vector<PlanEntry> before(w.data.PlanTable);
  w.data.Edits.MarkEdited();

  EXPECT_EQ(w.Save(), SaveResult::Failed);
  ASSERT_EQ(messages.shown().size(), 1u);
  EXPECT_EQ(messages.texts()[0].rfind(saving::kSaveFailed, 0), 0u);
  EXPECT_TRUE(w.data.PlanTable == before);
  EXPECT_EQ(w.Column(101, "開始日"), "00000000");
  EXPECT_EQ(w.Sql("SELECT COUNT(*) FROM 手配情報"), "2");
  EXPECT_EQ(w.Sql("SELECT 現在番号 FROM 番号管理マスタ"), "5000");
  saving::AfterSave(w.data, SaveResult::Failed);
  EXPECT_TRUE(w.data.Edits.CanSave());
  (void)b;
}

// The two retried writes give up with their message and the save goes on; a failed attempt
// leaves nothing behind.
TEST(Save, RetriedWritesGiveUpAndTheSaveGoesOn) {
  SaveWorld w;
  ScriptedMessages messages;
  const int p = w.Entry(101, "M01     ", "2024/12/03 09:00:00", "2024/12/03 10:00:00");
  w.Plan(p).CycleSeconds = 3;
  w.db.Insert("手配情報", {{"手配番号", 201}});
  w.db.Insert("所要量情報", {{"上位手配番号", 201}, {"手配番号", 1}});
  w.db.Insert("所要量情報", {{"上位手配番号", 201}, {"手配番号", 2}});
  Member& fresh = w.Plan(p).A.Slot(2);
  fresh.OrderNo = -1;
  fresh.SourceOrderNo = 201;
  fresh.OrderQty = 10;
  w.db.connection().ExecuteScript(
      "CREATE TRIGGER no_cycle BEFORE INSERT ON 品目別機械別ｻｲｸﾙﾏｽﾀ BEGIN SELECT RAISE(ABORT, "
      "'x'); END;"
      "CREATE TRIGGER no_copy BEFORE INSERT ON 所要量情報 BEGIN SELECT RAISE(ABORT, 'x'); END;");
  EXPECT_EQ(w.Save(), SaveResult::Complete);
  // Each slot's cycle row fails on its own; the copy of the new member's rows gives up once.
  EXPECT_EQ(messages.texts(),
            (std::vector<std::string>{saving::kCycleRowFailed, saving::kRequirementCopyFailed,
                                      saving::kCycleRowFailed}));
  EXPECT_EQ(w.Column(101, "開始日"), "20241203");
  EXPECT_EQ(w.Column(5001, "開始日"), "20241203");
  EXPECT_EQ(w.Sql("SELECT COUNT(*) FROM 所要量情報"), "2");
  EXPECT_EQ(w.Sql("SELECT COUNT(*) FROM 品目別機械別ｻｲｸﾙﾏｽﾀ"), "0");
}

}  // namespace
}  // namespace velmora::test
