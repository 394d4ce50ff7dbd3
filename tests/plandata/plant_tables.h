#pragma once

#include <map>
#include <string>

#include "support/test_db.h"

namespace velmora::test {

// A table as another program may have made it in a plant's database: the same columns and rows,
// but no constraint, so any column may hold Null. On a server `textColumn` (if any) becomes a
// text column too; a file's column holds a text whatever its declared type.
inline void LoosenTable(TestDb& db, Engine engine, const std::string& table,
                        const std::string& textColumn = "") {
  db.connection().ExecuteScript("ALTER TABLE " + table + " RENAME TO strict_table; CREATE TABLE " +
                                table + " AS SELECT * FROM strict_table; DROP TABLE strict_table");
  if (engine == Engine::Server && !textColumn.empty()) {
    db.connection().ExecuteScript("ALTER TABLE " + table + " ALTER COLUMN " + textColumn +
                                  " TYPE TEXT");
  }
}

// A confirmed molding arrangement of 2024/04/15-16 on M01; `own` and then `overrides` replace or
// add columns.
inline void InsertArrangement(TestDb& db, int no, const TestDb::Fields& own,
                              const TestDb::Fields& overrides) {
  std::map<std::string, db::Value> row = {{"手配番号", no},
                                          {"品名コード", "BX1000-01A"},
                                          {"順序", 1},
                                          {"生産工場コード", 3},
                                          {"機械コード", "M01     "},
                                          {"開始日", "20240415"},
                                          {"納期", "20240416"},
                                          {"GNT開始時刻", "083000"},
                                          {"GNT終了時刻", "170000"},
                                          {"GNT所要時間（分）", 300},
                                          {"手配数", 1000},
                                          {"手配確定区分", "2"}};
  for (const auto& [column, value] : own) row[column] = value;
  for (const auto& [column, value] : overrides) row[column] = value;
  db.Insert("手配情報", TestDb::Fields(row.begin(), row.end()));
}

}  // namespace velmora::test
