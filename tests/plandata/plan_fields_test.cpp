// The field table's own rules: the loader, the save's fingerprint, plans.csv and the bar's tip
// all loop over it, so a row that breaks one of these breaks them silently.
#include "plandata/plan_fields.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "db/recordset.h"
#include "plandata/queries.h"
#include "support/test_db.h"

namespace velmora {
namespace {

// Each header, tip label, tip line and column belongs to one field; what a field shows has a
// text, and what the load reads straight into the entry has a column.
TEST(PlanFieldTable, EveryFieldIsNamedOnceAndShowsWhatItNames) {
  std::set<std::string> headers, labels, columns;
  std::set<int> tipLines;
  for (const PlanField& field : PlanFields()) {
    const std::string name = field.header        ? field.header
                             : field.column.name ? field.column.name
                                                 : "";
    SCOPED_TRACE(name);
    ASSERT_FALSE(name.empty()) << "a field with neither a header nor a column";
    if (field.header) {
      EXPECT_TRUE(headers.insert(field.header).second);
      EXPECT_NE(field.text, nullptr);
    }
    if (field.tipLabel) {
      EXPECT_TRUE(labels.insert(field.tipLabel).second);
      EXPECT_TRUE(tipLines.insert(field.tipLine).second);
      EXPECT_NE(field.tip, nullptr);
    }
    if (field.read) {
      EXPECT_NE(field.column.name, nullptr);
    }
    if (field.column.name) {
      EXPECT_TRUE(columns.insert(field.column.name).second);
    }
  }
  // plans.csv writes the table index first, under its own header.
  EXPECT_FALSE(headers.contains("index"));
  EXPECT_EQ(labels.size(), TipFields().size());
}

class PlanFieldColumns : public ::testing::TestWithParam<test::Engine> {};
INSTANTIATE_TEST_SUITE_P(Engines, PlanFieldColumns,
                         ::testing::Values(test::Engine::File, test::Engine::Server),
                         [](const auto& info) { return test::EngineName(info.param); });

// The plan query holds all of 手配情報's columns and then each joined column once, so the save's
// fingerprint over all but the joined count covers exactly the arrangement's own row: one column
// short and every save would take other users' changes to the masters for changes to the lot.
// A joined column named like one of 手配情報's would read the arrangement's value instead.
TEST_P(PlanFieldColumns, TheQueryHoldsTheOwnColumnsThenEachJoinedColumnOnce) {
  test::TestDb db(GetParam());
  PlanData data;
  data.PlantCode = 3;
  data.CategoryCode = "3";
  data.SetPeriod("2024/04/10", "2024/04/30");
  db::Recordset own;
  own.Open("SELECT * FROM 手配情報", db.connection());
  db::Recordset plan;
  plan.Open(PlanQueryText(data), db.connection());

  const int ownColumns = plan.FieldCount() - JoinedColumnCount();
  EXPECT_EQ(own.FieldCount(), ownColumns);
  std::set<std::string> joined;
  for (int i = ownColumns; i < plan.FieldCount(); ++i) joined.insert(plan.NameAt(i));
  EXPECT_EQ(static_cast<int>(joined.size()), JoinedColumnCount());

  for (const PlanField& field : PlanFields()) {
    if (!field.column.name) continue;
    SCOPED_TRACE(field.column.name);
    const int at = plan.FieldIndex(field.column.name);
    if (field.column.IsJoined()) {
      EXPECT_LT(own.FieldIndex(field.column.name), 0);
      EXPECT_GE(at, ownColumns);
      db::Recordset master;
      master.Open(std::string("SELECT * FROM ") + TableOf(field.column.home), db.connection());
      EXPECT_GE(master.FieldIndex(field.column.StoredName()), 0);
    } else {
      EXPECT_GE(at, 0);
      EXPECT_LT(at, ownColumns);
    }
  }
}

}  // namespace
}  // namespace velmora
