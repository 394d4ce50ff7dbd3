#pragma once

#include <cstdint>
#include <map>
#include <ostream>
#include <string>

namespace velmora::test {

// A checksum of one table: FNV-1a over every value's type, length and bytes in rowid order.
struct TableSum {
  int rows = 0;
  std::uint64_t hash = 14695981039346656037ull;
  bool operator==(const TableSum&) const = default;
};
void PrintTo(const TableSum& sum, std::ostream* os);

// The checksums of the tables a save writes, by table.
using Contents = std::map<std::string, TableSum>;
Contents ReadContents(const std::string& path);
// The same for a database on the test server, its rows in the order of all their columns (a
// server keeps no row order).
Contents ReadServerContents(const std::string& uri);

std::string IntegrityCheck(const std::string& path);

// Rows of `table` in the database at `path` that the one at `other` does not hold as they are.
int RowsNotIn(const std::string& path, const std::string& other, const std::string& table);

// Arrangement `orderNo` as stored, every column as text.
std::map<std::string, std::string> Arrangement(const std::string& path, const std::string& orderNo);

}  // namespace velmora::test
