#include "automation/csv_writer.h"

#include "automation/formula_guard.h"

namespace velmora {

std::string CsvField(std::string_view field) {
  if (field.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(field);
  std::string out = "\"";
  for (char c : field) {
    out += c;
    if (c == '"') out += '"';
  }
  return out + "\"";
}

std::string EscapedBreaks(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      out += "\\n";
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

void CsvWriter::Record(const std::vector<std::string>& fields) {
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) out_ << ',';
    out_ << CsvField(SpreadsheetSafe(fields[i]));
  }
  out_ << "\r\n";
}

}  // namespace velmora
