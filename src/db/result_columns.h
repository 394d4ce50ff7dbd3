#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace velmora::db {

struct NameHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
};
using NameMap = std::unordered_map<std::string, int, NameHash, std::equal_to<>>;

// The columns of a result with their lookups by name, built once per statement and shared by
// every recordset that opens it.
struct ResultColumns {
  std::vector<std::string> names;
  std::vector<std::string> originNames;
  NameMap byName;
  NameMap byFoldedName;
  std::string table;  // the one table an updatable result reads, else empty
  // The INSERT and UPDATE texts by the columns they set (a byte per column, 1 = set): a result
  // written thousands of times builds each shape's text once.
  mutable std::unordered_map<std::string, std::string> inserts, updates;
  mutable std::string reload;  // the stored row read back by its row id

  // Adds a column; with duplicate names the first column wins, as lookups by name expect.
  void Add(std::string name, std::string origin);
};

}  // namespace velmora::db
