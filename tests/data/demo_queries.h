#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "db/connection.h"
#include "db/recordset.h"

namespace velmora::test {

// Every row of a query as texts (Null as ""), read the way the program reads them.
inline std::vector<std::vector<std::string>> Rows(db::Connection& connection,
                                                  const std::string& sql) {
  db::Recordset rs;
  rs.Open(sql, connection);
  std::vector<std::vector<std::string>> rows;
  for (; !rs.Eof(); rs.MoveNext()) {
    std::vector<std::string> row;
    for (int i = 0; i < rs.FieldCount(); ++i) row.push_back(rs.Fields(i).Text());
    rows.push_back(std::move(row));
  }
  return rows;
}

// The first column of a query's rows.
inline std::vector<std::string> Column(db::Connection& connection, const std::string& sql) {
  std::vector<std::string> values;
  for (auto& row : Rows(connection, sql)) values.push_back(row.at(0));
  return values;
}

// A one-number query such as a count.
inline std::int64_t Number(db::Connection& connection, const std::string& sql) {
  db::Recordset rs;
  rs.Open(sql, connection);
  return rs.Eof() ? 0 : static_cast<std::int64_t>(rs.Fields(0).Number());
}

}  // namespace velmora::test
