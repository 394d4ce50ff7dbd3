#include "db/pg_sql_text.h"

namespace velmora::db {

std::string NumberedParameters(std::string_view sql, int* count) {
  std::string out;
  out.reserve(sql.size() + 16);
  int marks = 0;
  for (std::size_t i = 0; i < sql.size(); ++i) {
    const char c = sql[i];
    if (c == '\'' || c == '"') {
      // A quoted text or name runs to its closing quote; a doubled quote stays inside.
      const std::size_t end = sql.find(c, i + 1);
      const std::size_t stop = end == std::string_view::npos ? sql.size() : end + 1;
      out.append(sql.substr(i, stop - i));
      i = stop - 1;
    } else if (c == '-' && i + 1 < sql.size() && sql[i + 1] == '-') {
      const std::size_t end = sql.find('\n', i);
      const std::size_t stop = end == std::string_view::npos ? sql.size() : end;
      out.append(sql.substr(i, stop - i));
      i = stop - 1;
    } else if (c == '?') {
      out += '$';
      out += std::to_string(++marks);
    } else {
      out += c;
    }
  }
  if (count) *count = marks;
  return out;
}

}  // namespace velmora::db
