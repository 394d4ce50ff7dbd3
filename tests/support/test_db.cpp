#include "support/test_db.h"

#include <stdlib.h>

#include <stdexcept>
#include <vector>

#include "db/recordset.h"
#include "schema_sql.h"
#include "support/pg_test_server.h"

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

const char* EngineName(Engine engine) {
  return engine == Engine::File ? "File" : "Server";
}

TestDb::TestDb(Engine engine) : path_(dir_.File("test.db")) {
  if (engine == Engine::File) {
    target_ = path_;
    connection_ = db::CreateDatabase(path_);
  } else {
    serverName_ = UniquePgDatabaseName("t");
    target_ = FreshPgDatabase(serverName_);
    connection_.OpenServer(target_);
  }
  connection_.ExecuteScript(SchemaSql());
}

TestDb::~TestDb() {
  if (serverName_.empty()) return;
  connection_ = db::Connection();
  DropPgDatabase(serverName_);
}

void TestDb::Insert(const std::string& table, const Fields& fields) {
  std::string columns;
  std::string marks;
  std::vector<db::Value> values;
  for (const auto& [name, value] : fields) {
    if (!columns.empty()) columns += ",", marks += ",";
    columns += name;
    marks += "?";
    values.push_back(value);
  }
  connection_.Run("INSERT INTO " + table + " (" + columns + ") VALUES (" + marks + ")", values);
}

db::Value TestDb::Scalar(const std::string& sql) {
  db::Recordset rs;
  rs.Open(sql, connection_);
  if (rs.Eof()) return {};
  return rs.Fields(0).Get();
}

}  // namespace velmora::test
