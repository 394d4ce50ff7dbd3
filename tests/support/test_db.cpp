#include "support/test_db.h"

#include <sqlite3.h>
#include <stdlib.h>

#include <stdexcept>
#include <vector>

#include "db/binding.h"
#include "schema_sql.h"

namespace velmora::test {

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "velmora-test-XXXXXX").string();
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  if (mkdtemp(buffer.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = buffer.data();
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

TestDb::TestDb() : path_(dir_.File("test.db")), connection_(db::CreateDatabase(path_)) {
  connection_.ExecuteScript(SchemaSql());
}

void TestDb::Insert(const std::string& table, const Fields& fields) {
  std::string columns;
  std::string marks;
  for (const auto& [name, value] : fields) {
    if (!columns.empty()) columns += ",", marks += ",";
    columns += std::string("\"") + name + "\"";
    marks += "?";
  }
  db::StatementPtr stmt =
      db::Prepare(connection_.Handle(),
                  "INSERT INTO \"" + table + "\" (" + columns + ") VALUES (" + marks + ")");
  int position = 1;
  for (const auto& [name, value] : fields) {
    db::Bind(connection_.Handle(), stmt.get(), position, value);
    ++position;
  }
  db::Check(connection_.Handle(), sqlite3_step(stmt.get()), "inserting into " + table);
}

db::Value TestDb::Scalar(const std::string& sql) {
  db::StatementPtr stmt = db::Prepare(connection_.Handle(), sql);
  if (sqlite3_step(stmt.get()) != SQLITE_ROW) return {};
  return db::ColumnValue(stmt.get(), 0);
}

}  // namespace velmora::test
