// A category and period with more plans than 16-bit indexes hold: it loads, lays out every bar,
// and a plan far up the table saves and loads again.
#include <gtest/gtest.h>

#include <string>

#include "common/date_text.h"
#include "session/edit_session.h"
#include "support/scripted_messages.h"
#include "support/test_db.h"

namespace velmora {
namespace {

constexpr int kPlans = 33000;

TEST(LargePlan, MoreThan32767PlansLoadAndTheLastSavesAndLoadsAgain) {
  test::ScriptedMessages messages;
  test::TestDb db;
  db.Insert("工程内容マスタ",
            {{"工程内容コード", "301"}, {"工程内容名", "組立"}, {"工程分類コード", "03"}});
  db.Insert("品目マスタ", {{"品名コード", "P"}, {"品名＿品名仕様", "部品"}});
  db.Insert("工程手順マスタ",
            {{"品名コード", "P"}, {"順序", 1}, {"生産工場コード", 12}, {"工程内容コード", "301"}});
  db.Insert("機械マスタ", {{"機械コード", "A01     "},
                           {"機械名", "組立ライン1"},
                           {"生産工場コード", 12},
                           {"工程分類コード", "03"}});
  // Only the columns the load needs; every plan an hour on A01 within one week.
  db.connection().ExecuteScript(
      "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " +
      std::to_string(kPlans) +
      ") INSERT INTO 手配情報 (手配番号,生産計画番号,品名コード,順序,生産工場コード,機械コード,"
      "開始日,納期,GNT開始時刻,GNT終了時刻,GNT所要時間（分）,手配数,手配確定区分) SELECT "
      "i, i, 'P', 1, 12, 'A01     ', '2024041' || (1 + i % 5), '2024041' || (1 + i % 5), "
      "'090000', '100000', 60, 10, '2' FROM n");

  db::Command command;
  command.ActiveConnection = &db.connection();
  PlanData selection;
  selection.PlantCode = 12;
  selection.CategoryCode = "3";
  selection.SetPeriod("2024/04/10", "2024/04/17");
  selection.SetCommandLine("20240410 3");
  EditSession session(selection, &db.connection(), &command, test::TestQuestions());
  session.Load();
  PlanData& data = session.Data();
  ASSERT_EQ(data.PlanCount(), kPlans + 1);  // entry 1 is the table's own

  // The last entry's bar lies past any 16-bit index, laid out where its plan is.
  PlanEntry& last = data.Plan(PlanIdx{data.PlanCount()});
  EXPECT_GT(last.BarIndex, 32767);
  EXPECT_TRUE(session.Chart().Bar(last.Bar()).Visible);
  EXPECT_EQ(session.TipFor(last.Bar()).find(std::to_string(last.OrderNo)) == std::string::npos,
            false);

  // Moved a day later and saved: a fresh load shows it there.
  const std::int32_t moved = last.OrderNo;
  last.StartDate = last.StartDate.AddDays(1);
  last.EndDate = last.EndDate.AddDays(1);
  last.Changed = 1;
  data.Edits.MarkEdited();
  ASSERT_EQ(session.Save(), saving::SaveResult::Complete);
  EXPECT_EQ(last.Changed, 0);
  EXPECT_EQ(db.Scalar("SELECT 開始日 FROM 手配情報 WHERE 手配番号=" + std::to_string(moved)).Text(),
            FormatYmd(last.StartDate));
  session.Reload();
  EXPECT_EQ(session.Data().PlanCount(), kPlans + 1);
}

}  // namespace
}  // namespace velmora
