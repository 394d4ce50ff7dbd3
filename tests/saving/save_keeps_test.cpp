// What the save must store for a fresh load to show what the user saw: keys it looks up by, the
// quantities of new lots, chains across the member groups, values out of form, the file itself.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>

#include "save_world.h"

namespace velmora::test {
namespace {

using saving::SaveResult;

// A new cycle row takes the key it is looked up by: the arrangement row's item and step. A plan
// whose members are other items' steps adds one row each, and the next save finds them.
TEST(SaveKeeps, CycleRowsAreAddedUnderTheKeyTheyAreLookedUpBy) {
  SaveWorld w;
  ScriptedMessages messages;
  const int p = w.Entry(101, "M01     ", "2024/12/03 09:00:00", "2024/12/03 10:00:00");
  w.Plan(p).CycleSeconds = 4;
  w.db.Insert("手配情報", {{"手配番号", 102}, {"品名コード", "ITEM-F"}, {"順序", 3}});
  Member& folded = w.Plan(p).A.Slot(2);
  folded.OrderNo = 102;
  folded.ItemCode = "ITEM-F";
  folded.Seq = 3;
  folded.OrderQty = 100;
  ASSERT_EQ(w.Save(), SaveResult::Complete);
  w.Plan(p).Changed = 1;
  ASSERT_EQ(w.Save(), SaveResult::Complete);
  EXPECT_TRUE(messages.texts().empty()) << messages.texts()[0];
  EXPECT_EQ(w.Sql("SELECT group_concat(品名コード||'/'||順序, ' ') FROM (SELECT * FROM "
                  "品目別機械別ｻｲｸﾙﾏｽﾀ ORDER BY 品名コード)"),
            "ITEM-A/1 ITEM-F/3");
}

// A new lot's requirement rows are computed for its own quantity, not copied with the quantity
// of the lot they came from.
TEST(SaveKeeps, RequirementRowsOfANewLotFollowItsQuantity) {
  SaveWorld w;
  ScriptedMessages messages;
  const int p = w.Entry(101, "M01     ", "2024/12/03 09:00:00", "2024/12/03 10:00:00", 40);
  w.db.Insert("所要量情報", {{"上位手配番号", 101},
                             {"手配番号", 900},
                             {"原単位分子", 2.0},
                             {"原単位分母", 1.0},
                             {"必要数", 280.0}});
  Member& part = w.Plan(p).A.Slot(2);
  part = w.Plan(p).A[1];
  part.OrderNo = -1;
  part.SourceOrderNo = 101;
  part.OrderQty = 100;
  ASSERT_EQ(w.Save(), SaveResult::Complete);
  EXPECT_EQ(w.Sql("SELECT 必要数 FROM 所要量情報 WHERE 上位手配番号=101"), "80");
  EXPECT_EQ(w.Sql("SELECT 必要数 FROM 所要量情報 WHERE 上位手配番号=5001"), "200");
}

// The chain of new arrangements goes on from the inner ring's last slot into the outer ring's
// first: only the previous source number starts again at slot 21.
TEST(SaveKeeps, NewArrangementsChainFromTheInnerIntoTheOuterRing) {
  SaveWorld w;
  ScriptedMessages messages;
  const int p = w.Entry(101, "M01     ", "2024/12/03 09:00:00", "2024/12/03 10:00:00");
  for (int k = 2; k <= 19; ++k) {
    w.db.Insert("手配情報", {{"手配番号", 100 + k}});
    Member& m = w.Plan(p).A.Slot(k);
    m.OrderNo = 100 + k;
    m.OrderQty = 1;
  }
  w.db.Insert("手配情報", {{"手配番号", 201}, {"上位手配番号", 202}, {"品名コード", "PART-A"}});
  w.db.Insert("手配情報", {{"手配番号", 202}, {"品名コード", "PART-4"}});
  Member& inner = w.Plan(p).A.Slot(20);
  inner.OrderNo = -1;
  inner.SourceOrderNo = 201;
  inner.OrderQty = 10;
  Member& outer = w.Plan(p).B.Slot(1);
  outer.OrderNo = -2;
  outer.SourceOrderNo = 202;
  outer.OrderQty = 10;
  ASSERT_EQ(w.Save(), SaveResult::Complete);
  // 5001 copies 201, whose next step 202 became 5002.
  EXPECT_EQ(w.Column(5001, "上位手配番号"), "5002");
}

// The last guard: a value with no stored form stores nothing of the save and names the lot.
TEST(SaveKeeps, ValuesOutOfFormStoreNothing) {
  struct Case {
    const char* name;
    void (*spoil)(PlanEntry&);
    const char* field;
  } cases[] = {
      {"an endless cycle", [](PlanEntry& e) { e.CycleSeconds = INFINITY; }, "サイクル"},
      {"a negative setup", [](PlanEntry& e) { e.SetupMinutes = -5; }, "段取時間"},
      {"a fixed flag of あ", [](PlanEntry& e) { e.FixedFlag = "あ"; }, "固定区分"},
      {"an end in the year 10000",
       [](PlanEntry& e) { e.EndDate = DateTime::FromDate(9999, 12, 31).AddDays(1); }, "納期"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SaveWorld w;
    ScriptedMessages messages;
    w.Entry(101, "M01     ", "2024/12/03 09:00:00", "2024/12/03 10:00:00");
    const int p = w.Entry(102, "M02     ", "2024/12/04 09:00:00", "2024/12/04 10:00:00");
    c.spoil(w.Plan(p));
    EXPECT_EQ(w.Save(), SaveResult::Failed);
    ASSERT_EQ(messages.texts().size(), 1u);
    EXPECT_NE(messages.texts()[0].find("手配番号 102 の"), std::string::npos);
    EXPECT_NE(messages.texts()[0].find(c.field), std::string::npos);
    EXPECT_EQ(w.Column(101, "開始日"), "00000000");
  }
}

// A file deleted, renamed or replaced after the load is not written into: the save says so.
TEST(SaveKeeps, AFileThatIsNoLongerTheOneLoadedIsNotWritten) {
  namespace fs = std::filesystem;
  for (const bool replaced : {false, true}) {
    SCOPED_TRACE(replaced ? "replaced" : "deleted");
    SaveWorld w;
    ScriptedMessages messages;
    w.Entry(101, "M01     ", "2024/12/03 09:00:00", "2024/12/03 10:00:00");
    const std::string path = w.db.path();
    fs::rename(path, path + ".moved");
    if (replaced) fs::copy_file(path + ".moved", path);
    EXPECT_EQ(w.Save(), SaveResult::Failed);
    ASSERT_EQ(messages.texts().size(), 1u);
    EXPECT_NE(messages.texts()[0].find(saving::kFileMoved), std::string::npos);
    EXPECT_EQ(w.Plan(2).Changed, 1);
  }
}

}  // namespace
}  // namespace velmora::test
