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

// A fresh database file with the full schema, and a one-line way to add rows:
//   db.Insert("機械マスタ", {{"機械コード", "M1      "}, {"機械名", "成形機1"}});
class TestDb {
 public:
  TestDb();
  db::Connection& connection() { return connection_; }
  const std::string& path() const { return path_; }
  using Fields = std::vector<std::pair<std::string, db::Value>>;
  void Insert(const std::string& table, const Fields& fields);
  // Runs a query returning one value (first column of the first row).
  db::Value Scalar(const std::string& sql);

 private:
  TempDir dir_;
  std::string path_;
  db::Connection connection_;
};

}  // namespace velmora::test
