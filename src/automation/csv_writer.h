#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

// Writes records as RFC 4180 says: fields separated by commas, records ended by CRLF, a field
// quoted (with its quotes doubled) when it holds a comma, a quote or a line break. Fields are
// made spreadsheet-safe first (see SpreadsheetSafe).
class CsvWriter {
 public:
  explicit CsvWriter(std::ostream& out) : out_(out) {}
  void Record(const std::vector<std::string>& fields);

 private:
  std::ostream& out_;
};

std::string CsvField(std::string_view field);

// A caption on one line: each line break (CRLF, CR or LF) becomes the two characters \n.
std::string EscapedBreaks(std::string_view text);

}  // namespace velmora
