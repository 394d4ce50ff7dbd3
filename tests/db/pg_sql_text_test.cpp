#include "db/pg_sql_text.h"

#include <gtest/gtest.h>

namespace velmora::db {
namespace {

// The program's `?` marks become numbered ones; a `?` that is data or a comment stays.
TEST(PgSqlText, MarksOutsideQuotesAndCommentsAreNumberedInOrder) {
  const struct {
    const char* sql;
    const char* sent;
    int marks;
  } cases[] = {
      {"SELECT * FROM t WHERE a=? AND b=?", "SELECT * FROM t WHERE a=$1 AND b=$2", 2},
      {"SELECT '?' FROM t WHERE a=?", "SELECT '?' FROM t WHERE a=$1", 1},
      {"SELECT 'it''s ?' , ? FROM t", "SELECT 'it''s ?' , $1 FROM t", 1},
      {"SELECT \"a?b\" FROM t WHERE c=?", "SELECT \"a?b\" FROM t WHERE c=$1", 1},
      {"SELECT 1 -- why?\nFROM t WHERE a=?", "SELECT 1 -- why?\nFROM t WHERE a=$1", 1},
      {"SELECT 'open ?", "SELECT 'open ?", 0},
      {"INSERT INTO t (a,b) VALUES (?,?)", "INSERT INTO t (a,b) VALUES ($1,$2)", 2},
  };
  for (const auto& c : cases) {
    int marks = -1;
    EXPECT_EQ(c.sent, NumberedParameters(c.sql, &marks)) << c.sql;
    EXPECT_EQ(c.marks, marks) << c.sql;
  }
}

}  // namespace
}  // namespace velmora::db
