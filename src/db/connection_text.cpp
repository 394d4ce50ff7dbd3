#include "db/connection_text.h"

#include <algorithm>

#include "common/errors.h"
#include "common/text.h"

namespace velmora::db {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

bool NeedsQuotes(std::string_view path) {
  return path.empty() || path.find_first_of(";\"'") != std::string_view::npos ||
         IsBlank(path.front()) || IsBlank(path.back());
}

// Reads a quoted value starting at rest[0] (the quote); rest is left after the closing quote.
std::string Unquote(std::string_view& rest, std::string_view connectionString) {
  const char quote = rest.front();
  std::string value;
  std::size_t i = 1;
  for (;; ++i) {
    if (i >= rest.size()) {
      throw DatabaseError("connection text has an unclosed quote: " +
                          std::string(connectionString));
    }
    if (rest[i] != quote) {
      value += rest[i];
    } else if (i + 1 < rest.size() && rest[i + 1] == quote) {
      value += quote;
      ++i;
    } else {
      break;
    }
  }
  rest.remove_prefix(i + 1);
  return value;
}

}  // namespace

std::string MakeConnectionString(std::string_view databasePath) {
  if (!NeedsQuotes(databasePath)) return "Data Source=" + std::string(databasePath) + ";";
  std::string quoted = "\"";
  for (char c : databasePath) {
    quoted += c;
    if (c == '"') quoted += '"';
  }
  return "Data Source=" + quoted + "\";";
}

std::string DataSource(std::string_view connectionString) {
  std::string_view rest = connectionString;
  while (!rest.empty()) {
    const std::size_t eq = rest.find_first_of("=;");
    if (eq == std::string_view::npos) break;
    if (rest[eq] == ';') {  // a part without a value
      rest.remove_prefix(eq + 1);
      continue;
    }
    const std::string key = Trim(rest.substr(0, eq));
    rest.remove_prefix(eq + 1);
    while (!rest.empty() && IsBlank(rest.front())) rest.remove_prefix(1);
    std::string value;
    if (!rest.empty() && (rest.front() == '"' || rest.front() == '\'')) {
      value = Unquote(rest, connectionString);
      const std::size_t end = rest.find(';');
      rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
    } else {
      const std::size_t end = rest.find(';');
      value = Trim(rest.substr(0, end));
      rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
    }
    if (key == "Data Source") return value;
  }
  throw DatabaseError("connection text has no Data Source: " + std::string(connectionString));
}

namespace {

// "user:secret@host" loses ":secret"; "?password=secret&..." loses the parameter.
std::string WithoutUserPassword(std::string_view address) {
  const std::size_t scheme = address.find("://");
  if (scheme == std::string_view::npos) return std::string(address);
  const std::size_t start = scheme + 3;
  const std::size_t end = std::min(address.find_first_of("/?", start), address.size());
  const std::string_view authority = address.substr(start, end - start);
  const std::size_t at = authority.rfind('@');
  if (at == std::string_view::npos) return std::string(address);
  const std::size_t colon = authority.substr(0, at).find(':');
  if (colon == std::string_view::npos) return std::string(address);
  return std::string(address.substr(0, start + colon)) + std::string(address.substr(start + at));
}

}  // namespace

std::string AddressWithoutPassword(std::string_view address) {
  std::string out = WithoutUserPassword(address);
  const std::size_t query = out.find('?');
  if (query == std::string::npos) return out;
  std::string kept;
  std::size_t pos = query + 1;
  while (pos <= out.size()) {
    const std::size_t amp = std::min(out.find('&', pos), out.size());
    const std::string part = out.substr(pos, amp - pos);
    if (!part.empty() && !part.starts_with("password=")) kept += (kept.empty() ? "" : "&") + part;
    pos = amp + 1;
  }
  return out.substr(0, query) + (kept.empty() ? "" : "?" + kept);
}

}  // namespace velmora::db
