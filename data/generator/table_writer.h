#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include "db/connection.h"
#include "db/value.h"
#include "generator/demo_world.h"

namespace velmora::demo {

// One INSERT, prepared once and reused for every row of a table: fast enough for tens of
// thousands of rows inside one transaction.
class RowInserter {
 public:
  RowInserter(db::Connection& connection, const std::string& table,
              const std::vector<std::string>& columns);
  void Insert(std::initializer_list<db::Value> values);

 private:
  db::Connection& connection_;
  std::string sql_;
  std::string table_;
  std::size_t columnCount_;
};

// Writes every table of the world (inside the caller's transaction).
void WriteWorld(db::Connection& connection, const DemoWorld& world);

}  // namespace velmora::demo
