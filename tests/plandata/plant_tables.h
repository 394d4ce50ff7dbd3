#pragma once

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

}  // namespace velmora::test
