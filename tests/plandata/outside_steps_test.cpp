// The steps next to the loaded plans that the load did not take (another category, another
// period): the load keeps each plan's 上位手配番号, and the reader finds the stored steps above and
// below, on either engine.
#include "plandata/outside_steps.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "common/date_text.h"
#include "plandata/plan_loader.h"
#include "plant_tables.h"
#include "support/test_db.h"

namespace velmora {
namespace {

class OutsideSteps : public ::testing::TestWithParam<test::Engine> {};
INSTANTIATE_TEST_SUITE_P(Engines, OutsideSteps,
                         ::testing::Values(test::Engine::File, test::Engine::Server),
                         [](const auto& info) { return test::EngineName(info.param); });

// Plant 3's molding (category 03) of 2024/04/10-30; its assembly (category 30) is not loaded.
struct Plant {
  explicit Plant(test::Engine engine) : db(engine) {
    data.PlantCode = 3;
    data.CategoryCode = "3";
    data.SetPeriod("2024/04/10", "2024/04/30");
    data.ResetPlanTable();
    db.Insert("工程内容マスタ",
              {{"工程内容コード", "101"}, {"工程内容名", "成形"}, {"工程分類コード", "03"}});
    db.Insert("工程内容マスタ",
              {{"工程内容コード", "301"}, {"工程内容名", "組立"}, {"工程分類コード", "30"}});
    for (const char* item : {"BX1000-01A", "AS2000-01C"}) {
      db.Insert("工程手順マスタ", {{"品名コード", item},
                                   {"順序", 1},
                                   {"生産工場コード", 3},
                                   {"工程内容コード", item[0] == 'B' ? "101" : "301"}});
    }
  }

  // A confirmed molding arrangement of the period; `overrides` replace or add columns.
  void Arrangement(int no, int parent, const test::TestDb::Fields& overrides = {}) {
    test::InsertArrangement(db, no, {{"上位手配番号", parent}}, overrides);
  }

  PlanEntry& Entry(std::int32_t orderNo) {
    for (PlanEntry& e : data.PlanTable) {
      if (e.OrderNo == orderNo) return e;
    }
    throw std::logic_error("no entry for arrangement " + std::to_string(orderNo));
  }

  test::TestDb db;
  PlanData data;
};

// "30<41 2024/03/01 08:00:00～2024/03/02 12:00:00", "-" for a time not stored.
std::vector<std::string> Described(const std::vector<OutsideStep>& steps) {
  const auto moment = [](DateTime at) {
    return at.IsZero() ? std::string("-")
                       : FormatSlashDate(at.DatePart()) + " " + FormatColonTime(at.TimePart());
  };
  std::vector<std::string> lines;
  for (const OutsideStep& s : steps) {
    lines.push_back(std::to_string(s.orderNo) + "<" + std::to_string(s.parentOrderNo) + " " +
                    moment(s.start) + "～" + moment(s.end));
  }
  return lines;
}

TEST_P(OutsideSteps, TheLoadKeepsTheStepAboveAndTheReaderFindsTheStoredNeighbours) {
  Plant w(GetParam());
  w.Arrangement(41, 50);
  w.Arrangement(42, 41);  // loaded below a loaded plan: no outside step
  // Above 41, in assembly; its seconds-form end time reads as the load reads one.
  w.Arrangement(50, 60,
                {{"品名コード", "AS2000-01C"},
                 {"開始日", "20240418"},
                 {"GNT開始時刻", "090000"},
                 {"納期", "20240419"},
                 {"GNT終了時刻", "36000"}});
  w.Arrangement(60, 0, {{"品名コード", "AS2000-01C"}});  // two steps away
  // Below 41 and 42, before the period.
  w.Arrangement(30, 41, {{"開始日", "20240301"}, {"納期", "20240302"}, {"GNT終了時刻", "120000"}});
  w.Arrangement(31, 41, {{"開始日", "20240301"}, {"納期", "20240302"}, {"削除フラグ", "1"}});
  w.Arrangement(32, 42, {{"開始日", "00000000"}, {"納期", "20240305"}});
  w.Arrangement(70, 0, {{"開始日", "20240301"}, {"納期", "20240302"}});
  NoBarControls bars;
  ReturnPlanData(w.data, w.db.connection(), bars);
  ASSERT_EQ(2, w.data.PlanCount() - 1);
  EXPECT_EQ(50, w.Entry(41).ParentOrderNo);
  EXPECT_EQ(41, w.Entry(42).ParentOrderNo);

  EXPECT_EQ((std::vector<std::string>{
                "30<41 2024/03/01 08:30:00～2024/03/02 12:00:00",
                "32<42 -～2024/03/05 17:00:00",
                "50<60 2024/04/18 09:00:00～2024/04/19 10:00:00",
            }),
            Described(ReadOutsideSteps(w.db.connection(), w.data)));

  // Merged into a loaded plan, an arrangement is loaded: its stored times no longer hold.
  w.Entry(42).B.Slot(1).OrderNo = 30;
  EXPECT_EQ((std::vector<std::string>{"32<42 -～2024/03/05 17:00:00",
                                      "50<60 2024/04/18 09:00:00～2024/04/19 10:00:00"}),
            Described(ReadOutsideSteps(w.db.connection(), w.data)));
}

// More numbers than one statement or one exchange with a server takes.
TEST_P(OutsideSteps, ThousandsOfPlansAreAskedForInBatches) {
  constexpr int kPlans = 4321;
  test::TestDb db(GetParam());
  db.connection().ExecuteScript(
      "WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n WHERE x < 4321) "
      "INSERT INTO 手配情報 (手配番号, 上位手配番号, 開始日, 納期) "
      "SELECT 10000 + x, 0, '20240501', '20240502' FROM n "
      "UNION ALL SELECT 20000 + x, x, '20240401', '20240402' FROM n");
  PlanData data;
  data.ResetPlanTable();
  for (int i = 1; i <= kPlans; ++i) {
    PlanEntry& e = data.PlanTable.emplace_back();
    e.OrderNo = i;
    e.ParentOrderNo = 10000 + i;
    e.InUse = 1;
  }
  const std::vector<OutsideStep> steps = ReadOutsideSteps(db.connection(), data);
  ASSERT_EQ(static_cast<std::size_t>(2 * kPlans), steps.size());
  for (int i = 1; i <= kPlans; ++i) {
    const OutsideStep& above = steps[static_cast<std::size_t>(i - 1)];
    const OutsideStep& below = steps[static_cast<std::size_t>(kPlans + i - 1)];
    ASSERT_EQ(10000 + i, above.orderNo);
    ASSERT_EQ(20000 + i, below.orderNo);
    ASSERT_EQ(i, below.parentOrderNo);
  }
  EXPECT_EQ(*ParseStoredDate("20240501"), steps.front().start);
  EXPECT_EQ(*ParseStoredDate("20240402"), steps.back().end);
}

}  // namespace
}  // namespace velmora
