// A server save sends the writes of entries that gain new members with its next requests; what
// it stores, and what it tells when a retried write gives up, is the same on both engines.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "save_world.h"

namespace velmora::test {
namespace {

using saving::SaveResult;

// `count` entries on M02 whose one arrangement (with two requirement rows) gives half of its
// quantity to a new member; each has a cycle, so its cycle row is added too.
void SplitEntries(SaveWorld& w, int count) {
  for (int k = 0; k < count; ++k) {
    const int number = 101 + k;
    const int p = w.Entry(number, "M02     ", "2024/12/03 09:00:00", "2024/12/03 10:00:00");
    w.Plan(p).CycleSeconds = 30;
    w.db.Insert("所要量情報", {{"上位手配番号", number}, {"手配番号", 1}, {"原単位分子", 2}});
    w.db.Insert("所要量情報", {{"上位手配番号", number}, {"手配番号", 2}, {"原単位分子", 3}});
    Member& fresh = w.Plan(p).A.Slot(2);
    fresh.OrderNo = -(k + 1);
    fresh.SourceOrderNo = number;
    fresh.OrderQty = 40;
    w.Plan(p).A.Slot(1).OrderQty = 60;
  }
}

std::size_t RequestsToSave(int entries) {
  SaveWorld w(Engine::Server);
  ScriptedMessages messages;
  SplitEntries(w, entries);
  const std::size_t before = w.db.connection().RoundTrips();
  EXPECT_EQ(w.Save(), SaveResult::Complete) << testing::PrintToString(messages.texts());
  EXPECT_EQ(w.Sql("SELECT count(*) FROM 所要量情報"), std::to_string(4 * entries));
  EXPECT_EQ(w.Sql("SELECT 現在番号 FROM 番号管理マスタ"), std::to_string(5000 + entries));
  return w.db.connection().RoundTrips() - before;
}

TEST(SaveOnServer, AnEntryGainingAMemberCostsAtMostThreeRequests) {
  const std::size_t one = RequestsToSave(1);
  const std::size_t six = RequestsToSave(6);
  EXPECT_LE(six - one, 5u * 3u) << one << " requests for one entry, " << six << " for six";
}

// The two retried writes give up on their own and the save goes on, on each engine alike:
// a server that first sent them with other statements finds the failure later and writes again.
TEST(Save, RetriedWritesGiveUpAloneOnEveryEngine) {
  for (const Engine engine : {Engine::File, Engine::Server}) {
    SCOPED_TRACE(EngineName(engine));
    SaveWorld w(engine);
    ScriptedMessages messages;
    SplitEntries(w, 2);
    if (engine == Engine::File) {
      w.db.connection().ExecuteScript(
          "CREATE TRIGGER no_cycle BEFORE INSERT ON 品目別機械別ｻｲｸﾙﾏｽﾀ BEGIN SELECT RAISE(ABORT, "
          "'x'); END;"
          "CREATE TRIGGER no_copy BEFORE INSERT ON 所要量情報 WHEN NEW.手配番号=2 BEGIN "
          "SELECT RAISE(ABORT, 'x'); END;");
    } else {
      w.db.connection().ExecuteScript(
          "CREATE FUNCTION refuse() RETURNS trigger AS $$ BEGIN RAISE EXCEPTION 'x'; END $$ "
          "LANGUAGE plpgsql;"
          "CREATE TRIGGER no_cycle BEFORE INSERT ON 品目別機械別ｻｲｸﾙﾏｽﾀ FOR EACH ROW EXECUTE "
          "FUNCTION refuse();"
          "CREATE TRIGGER no_copy BEFORE INSERT ON 所要量情報 FOR EACH ROW WHEN (NEW.手配番号=2) "
          "EXECUTE FUNCTION refuse();");
    }
    ASSERT_EQ(w.Save(), SaveResult::Complete);
    // Per entry: the kept arrangement's cycle row, then the new member's second copy and the
    // cycle row again; the first copy of each is kept.
    const std::vector<std::string> entry{saving::kCycleRowFailed, saving::kRequirementCopyFailed,
                                         saving::kCycleRowFailed};
    std::vector<std::string> expected = entry;
    expected.insert(expected.end(), entry.begin(), entry.end());
    EXPECT_EQ(messages.texts(), expected);
    EXPECT_EQ(w.Sql("SELECT count(*) FROM 所要量情報 WHERE 上位手配番号>5000"), "2");
    EXPECT_EQ(w.Sql("SELECT count(*) FROM 品目別機械別ｻｲｸﾙﾏｽﾀ"), "0");
    EXPECT_EQ(w.Column(5001, "手配数"), "40");
    EXPECT_EQ(w.Column(5002, "開始日"), "20241203");
    EXPECT_EQ(w.Sql("SELECT 現在番号 FROM 番号管理マスタ"), "5002");
  }
}

}  // namespace
}  // namespace velmora::test
