// The generator as a tool: the same options give the same data, sizes follow the options,
// and nothing existing is ever overwritten.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>

#include "common/errors.h"
#include "data/demo_queries.h"
#include "db/recordset.h"
#include "generator/demo_generator.h"
#include "support/test_db.h"

namespace velmora::demo {
namespace {

using test::Column;
using test::Number;

DemoOptions Small(std::uint64_t seed) {
  DemoOptions options;
  options.seed = seed;
  options.baseDate = DateTime::FromDate(2023, 12, 18);  // across the year-end shutdown
  options.days = 30;
  options.machines = 8;
  options.arrangements = 400;
  return options;
}

// Every table's rows in storage order, with each value's type.
std::map<std::string, std::string> Dump(const std::string& path) {
  db::Connection connection;
  connection.OpenFile(path);
  std::map<std::string, std::string> tables;
  for (const std::string& table :
       Column(connection, "SELECT name FROM sqlite_master WHERE type='table'")) {
    std::string text;
    db::Recordset rs;
    rs.Open("SELECT * FROM \"" + table + "\" ORDER BY rowid", connection);
    for (; !rs.Eof(); rs.MoveNext()) {
      for (int i = 0; i < rs.FieldCount(); ++i) {
        const db::Value value = rs.Fields(i).Get();
        text += std::to_string(value.Raw().index()) + ":" + value.Text() + "\t";
      }
      text += "\n";
    }
    tables[table] = text;
  }
  return tables;
}

TEST(DemoGenerator, SameOptionsGiveIdenticalTablesAndAnotherSeedDiffers) {
  test::TempDir dir;
  GenerateDemoDatabase(dir.File("a.db"), Small(7));
  GenerateDemoDatabase(dir.File("b.db"), Small(7));
  GenerateDemoDatabase(dir.File("c.db"), Small(8));
  const auto a = Dump(dir.File("a.db"));
  EXPECT_EQ(22u, a.size());
  EXPECT_EQ(a, Dump(dir.File("b.db")));
  const auto c = Dump(dir.File("c.db"));
  EXPECT_NE(a.at("手配情報"), c.at("手配情報"));
  EXPECT_NE(a.at("品目マスタ"), c.at("品目マスタ"));
}

TEST(DemoGenerator, LargeOptionsGiveTheRequestedCounts) {
  test::TempDir dir;
  DemoOptions options;
  options.arrangements = 20000;
  options.machines = 100;
  GenerateDemoDatabase(dir.File("large.db"), options);
  db::Connection c;
  c.OpenFile(dir.File("large.db"));
  EXPECT_EQ(20000, Number(c, "SELECT count(*) FROM 手配情報"));
  EXPECT_EQ(100,
            Number(c, "SELECT count(*) FROM 機械マスタ WHERE 生産工場コード=3 AND 削除フラグ='0'"));
  EXPECT_EQ(
      Number(c, "SELECT max(手配番号) FROM 手配情報"),
      Number(c, "SELECT 現在番号 FROM 番号管理マスタ WHERE 番号管理キー='手配番号            '"));
  EXPECT_EQ(0, Number(c,
                      "SELECT count(*) FROM (SELECT min(開始時刻１) s FROM 機械別勤務体系マスタ "
                      "WHERE 勤務時間<>0 "
                      "GROUP BY 機械コード,年月日) WHERE s>'100000'"));
}

TEST(DemoGenerator, EdgeSizesStillMakeAConsistentDatabase) {
  test::TempDir dir;
  DemoOptions options = Small(1);
  options.arrangements = 0;
  options.machines = 4;   // one machine per live category
  options.plantCode = 2;  // the other departments move to the free codes
  GenerateDemoDatabase(dir.File("empty.db"), options);
  db::Connection c;
  c.OpenFile(dir.File("empty.db"));
  EXPECT_EQ(0, Number(c, "SELECT count(*) FROM 手配情報"));
  EXPECT_EQ(4,
            Number(c, "SELECT count(*) FROM 機械マスタ WHERE 生産工場コード=2 AND 削除フラグ='0'"));
  EXPECT_EQ(
      1,
      Number(
          c,
          "SELECT count(*) FROM 部課マスタ WHERE 部コード=2 AND 課コード=0 AND 部名='滝沢工場'"));
  EXPECT_EQ(0, Number(c,
                      "SELECT count(*) FROM (SELECT 部コード,課コード FROM 部課マスタ GROUP BY 1,2 "
                      "HAVING count(*)>1)"));
  // Nothing numbered yet: the next number the save takes is the start of the range.
  EXPECT_EQ(1, Number(c,
                      "SELECT 開始番号-現在番号 FROM 番号管理マスタ WHERE 番号管理キー='手配番号   "
                      "         '"));
}

TEST(DemoGenerator, NeverOverwritesAndLeavesNothingForBadOptions) {
  test::TempDir dir;
  const std::string existing = dir.File("existing.db");
  std::ofstream(existing) << "someone's data";
  EXPECT_THROW(GenerateDemoDatabase(existing, Small(1)), DatabaseError);
  std::stringstream kept;
  kept << std::ifstream(existing).rdbuf();
  EXPECT_EQ("someone's data", kept.str());

  for (auto broken : {&DemoOptions::machines, &DemoOptions::days, &DemoOptions::plantCode}) {
    DemoOptions options = Small(1);
    options.*broken = 1;
    EXPECT_THROW(GenerateDemoDatabase(dir.File("bad.db"), options), std::invalid_argument);
    EXPECT_FALSE(std::filesystem::exists(dir.File("bad.db")));
  }
}

}  // namespace
}  // namespace velmora::demo
