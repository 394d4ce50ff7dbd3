#pragma once

#include <filesystem>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "db/connection.h"
#include "db/value.h"

namespace velmora::test {

// A scratch directory removed with its contents when the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::string File(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

// The engines a test can run on.
enum class Engine { File, Server };
const char* EngineName(Engine engine);

// A fresh database with the full schema, and a one-line way to add rows:
//   db.Insert("機械マスタ", {{"機械コード", "M1      "}, {"機械名", "成形機1"}});
// On the server engine it is a new database on the test server, dropped when the object goes.
class TestDb {
 public:
  explicit TestDb(Engine engine = Engine::File);
  ~TestDb();
  TestDb(const TestDb&) = delete;
  TestDb& operator=(const TestDb&) = delete;
  // What another connection opens to reach the same database.
  const std::string& target() const { return target_; }
  db::Connection& connection() { return connection_; }
  const std::string& path() const { return path_; }
  using Fields = std::vector<std::pair<std::string, db::Value>>;
  void Insert(const std::string& table, const Fields& fields);
  // Runs a query returning one value (first column of the first row).
  db::Value Scalar(const std::string& sql);

 private:
  TempDir dir_;
  std::string path_;
  std::string target_;
  std::string serverName_;  // the server database's name, dropped at the end
  db::Connection connection_;
};

}  // namespace velmora::test
