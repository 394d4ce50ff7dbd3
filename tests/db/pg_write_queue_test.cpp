#include "db/pg_write_queue.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace velmora::db {
namespace {

// A queued write: an update of one column of row `ctid` of `table`, or (with no table) another
// statement.
struct Step {
  std::string table;
  std::string ctid;
  std::string column;
  std::optional<std::string> value;
};

std::string Sent(const PgStatement& statement) {
  std::string text = statement.sql + " |";
  for (const auto& parameter : statement.parameters) text += " " + parameter.value_or("NULL");
  return text;
}

TEST(PgWriteQueue, WritesOfOneRowJoinUntilAnotherStatementFollowsThem) {
  const std::string setA = "UPDATE \"t\" SET \"a\"=? WHERE ctid=? RETURNING ctid |";
  const struct {
    const char* name;
    std::vector<Step> steps;
    std::vector<std::string> sent;  // empty when the last write must wait for the queue to go
  } cases[] = {
      {"two columns of one row",
       {{"t", "(0,1)", "a", "1"}, {"t", "(0,1)", "b", std::nullopt}},
       {"UPDATE \"t\" SET \"a\"=?,\"b\"=? WHERE ctid=? RETURNING ctid | 1 NULL (0,1)"}},
      {"one column twice keeps the later value",
       {{"t", "(0,1)", "a", "1"}, {"t", "(0,1)", "a", "3"}},
       {setA + " 3 (0,1)"}},
      {"other rows' writes between",
       {{"t", "(0,1)", "a", "1"}, {"t", "(0,2)", "a", "2"}, {"t", "(0,1)", "b", "3"}},
       {"UPDATE \"t\" SET \"a\"=?,\"b\"=? WHERE ctid=? RETURNING ctid | 1 3 (0,1)",
        setA + " 2 (0,2)"}},
      {"the same place in another table is another row",
       {{"t", "(0,1)", "a", "1"}, {"u", "(0,1)", "a", "2"}},
       {setA + " 1 (0,1)", "UPDATE \"u\" SET \"a\"=? WHERE ctid=? RETURNING ctid | 2 (0,1)"}},
      {"a statement between keeps them apart",
       {{"t", "(0,1)", "a", "1"}, {"", "", "SAVEPOINT s", {}}, {"t", "(0,1)", "b", "2"}},
       {}},
      {"a statement before lets later writes join",
       {{"", "", "SAVEPOINT s", {}}, {"t", "(0,1)", "a", "1"}, {"t", "(0,1)", "a", "2"}},
       {"SAVEPOINT s |", setA + " 2 (0,1)"}},
  };
  for (const auto& c : cases) {
    PgWriteQueue queue;
    bool taken = true;
    for (const Step& step : c.steps) {
      if (step.table.empty()) {
        queue.Add(PgStatement{step.column, {}, false, {}, {}});
      } else {
        taken = queue.AddRowUpdate(step.table, step.ctid, {step.column}, {step.value});
      }
    }
    EXPECT_EQ(!c.sent.empty(), taken) << c.name;
    if (!taken) continue;
    std::vector<std::string> sent;
    for (const PgStatement& statement : queue.Take()) sent.push_back(Sent(statement));
    EXPECT_EQ(c.sent, sent) << c.name;
    EXPECT_EQ(0u, queue.Size()) << c.name;
  }
}

TEST(PgWriteQueue, ARowIsWrittenWhereItsLastWriteMovedIt) {
  PgWriteQueue queue;
  queue.Moved("t", "(0,1)", "(0,5)");
  queue.Moved("t", "(0,5)", "(3,2)");
  EXPECT_EQ("(3,2)", queue.Current("t", "(0,1)"));
  EXPECT_EQ("(3,2)", queue.Current("t", "(0,5)"));
  EXPECT_EQ("(0,1)", queue.Current("u", "(0,1)")) << "another table's row";
  // A write by the place an earlier read saw goes to where the row is now, and joins a write
  // queued there by that place.
  ASSERT_TRUE(queue.AddRowUpdate("t", "(3,2)", {"a"}, {"1"}));
  ASSERT_TRUE(queue.AddRowUpdate("t", "(0,1)", {"b"}, {"2"}));
  const std::vector<PgStatement> sent = queue.Take();
  ASSERT_EQ(1u, sent.size());
  EXPECT_EQ("UPDATE \"t\" SET \"a\"=?,\"b\"=? WHERE ctid=? RETURNING ctid | 1 2 (3,2)",
            Sent(sent[0]));
  queue.Clear();
  EXPECT_EQ("(0,1)", queue.Current("t", "(0,1)")) << "a new transaction knows no moves";
}

}  // namespace
}  // namespace velmora::db
