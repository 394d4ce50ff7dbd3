#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "save_world.h"

namespace velmora::test {
namespace {

using saving::SaveResult;

// New members are numbered in slot order, copied with their requirement rows and chained to
// each other as their sources were; a second save writes them as the rows they now are.
TEST(Save, NewMembersAreNumberedAndChained) {
  struct Case {
    const char* name;
    int parentOf201, parentOf202, parentOf203;  // the sources' chain
    std::vector<std::int32_t> parents;          // of the new rows 5001..5003
  } cases[] = {
      {"each source's next step is the next source", 202, 203, 0, {5002, 5003, 0}},
      {"each source names the one before", 0, 201, 202, {0, 5001, 5002}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SaveWorld w;
    ScriptedMessages messages;
    const int p = w.Entry(101, "M01     ", "2024/12/03 09:00:00", "2024/12/03 10:00:00");
    const int parents[] = {c.parentOf201, c.parentOf202, c.parentOf203};
    for (int k = 0; k < 3; ++k) {
      w.db.Insert("手配情報", {{"手配番号", 201 + k},
                               {"上位手配番号", parents[k]},
                               {"品名コード", "PART-" + std::to_string(k)},
                               {"受入実績数", 5},
                               {"指示書発行日", "20241101"}});
      w.db.Insert("所要量情報",
                  {{"上位手配番号", 201 + k}, {"手配番号", 700 + k}, {"必要数", 2.0}});
      Member& m = w.Plan(p).A.Slot(2 + k);
      m.OrderNo = -(k + 1);
      m.SourceOrderNo = 201 + k;
      m.OrderQty = 40;
    }
    ASSERT_EQ(w.Save(), SaveResult::Complete);
    for (int k = 0; k < 3; ++k) {
      const int number = 5001 + k;
      EXPECT_EQ(w.Plan(p).A[2 + k].OrderNo, number);
      EXPECT_EQ(w.Plan(p).A[2 + k].SourceOrderNo, 0);
      EXPECT_EQ(w.Column(number, "上位手配番号"),
                std::to_string(c.parents[static_cast<std::size_t>(k)]));
      EXPECT_EQ(w.Column(number, "品名コード"), "PART-" + std::to_string(k));
      EXPECT_EQ(w.Column(number, "受入実績数"), "0");
      EXPECT_EQ(w.Column(number, "指示書発行日"), "00000000");
      EXPECT_EQ(w.Column(number, "手配数"), "40");
      EXPECT_EQ(
          w.Sql("SELECT COUNT(*) FROM 所要量情報 WHERE 上位手配番号=" + std::to_string(number)),
          "1");
    }
    EXPECT_EQ(w.Sql("SELECT 現在番号 FROM 番号管理マスタ"), "5003");

    // The same edits saved again: the three rows are existing ones now, nothing new is made.
    w.Plan(p).Changed = 1;
    const std::string rows = w.Sql("SELECT COUNT(*) FROM 手配情報");
    ASSERT_EQ(w.Save(), SaveResult::Complete);
    EXPECT_EQ(w.Sql("SELECT COUNT(*) FROM 手配情報"), rows);
    EXPECT_EQ(w.Sql("SELECT 現在番号 FROM 番号管理マスタ"), "5003");
  }
}

TEST(Save, AnEntryKnownByItsNewMemberTakesItsNumber) {
  SaveWorld w;
  ScriptedMessages messages;
  const int p = w.Entry(101, "M01     ", "2024/12/03 09:00:00", "2024/12/03 10:00:00");
  w.db.Insert("手配情報", {{"手配番号", 201}, {"品名コード", "PART-0"}});
  Member& m = w.Plan(p).A.Slot(1);
  m.OrderNo = -1;
  m.SourceOrderNo = 201;
  m.OrderQty = 40;
  w.Plan(p).OrderNo = -1;
  ASSERT_EQ(w.Save(), SaveResult::Complete);
  EXPECT_EQ(w.Plan(p).OrderNo, 5001);
  EXPECT_EQ(w.Plan(p).A[1].OrderNo, 5001);
}

}  // namespace
}  // namespace velmora::test
