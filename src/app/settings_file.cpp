#include "app/settings_file.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

#include "common/errors.h"
#include "common/numeric.h"

namespace velmora {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}
bool IsLineEnd(char c) {
  return c == '\r' || c == '\n';
}

// Steps over one field delimiter: a comma, or a line end (CR LF counts once).
void SkipDelimiter(std::string_view text, std::size_t& pos) {
  if (pos >= text.size()) return;
  if (text[pos] == ',') {
    ++pos;
  } else if (text[pos] == '\r') {
    ++pos;
    if (pos < text.size() && text[pos] == '\n') ++pos;
  } else if (text[pos] == '\n') {
    ++pos;
  }
}

std::string ReadText(const std::filesystem::path& file) {
  std::error_code ec;
  if (!std::filesystem::exists(file, ec)) {
    throw SettingsError("設定ファイルがありません: " + file.string());
  }
  if (std::filesystem::is_directory(file, ec)) {
    throw SettingsError("設定ファイルを読み込めません: " + file.string() + " (フォルダです)");
  }
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    throw SettingsError("設定ファイルを読み込めません: " + file.string() + " (" +
                        std::strerror(errno) + ")");
  }
  std::ostringstream content;
  content << in.rdbuf();
  if (in.bad()) throw SettingsError("設定ファイルを読み込めません: " + file.string());
  std::string text = content.str();
  // Editors on other systems may put a byte order mark in front of the first field.
  if (text.starts_with("\xEF\xBB\xBF")) text.erase(0, 3);
  return text;
}

}  // namespace

std::vector<std::string> ReadDelimitedFields(std::string_view text, std::size_t count) {
  std::vector<std::string> fields;
  std::size_t pos = 0;
  while (fields.size() < count && pos < text.size()) {
    while (pos < text.size() && IsBlank(text[pos])) ++pos;
    std::string field;
    if (pos < text.size() && text[pos] == '"') {
      const std::size_t close = text.find('"', pos + 1);
      const std::size_t end = close == std::string_view::npos ? text.size() : close;
      field = text.substr(pos + 1, end - pos - 1);
      pos = end == text.size() ? end : end + 1;
      // Whatever follows the closing quote up to the delimiter is not part of the field.
      while (pos < text.size() && text[pos] != ',' && !IsLineEnd(text[pos])) ++pos;
    } else {
      const std::size_t start = pos;
      while (pos < text.size() && text[pos] != ',' && !IsLineEnd(text[pos])) ++pos;
      std::size_t end = pos;
      while (end > start && IsBlank(text[end - 1])) --end;
      field = text.substr(start, end - start);
    }
    SkipDelimiter(text, pos);
    fields.push_back(std::move(field));
  }
  return fields;
}

Settings ReadSettingsFile(const std::filesystem::path& file) {
  const std::vector<std::string> fields = ReadDelimitedFields(ReadText(file), 2);
  const std::string where = ": " + file.string();
  if (fields.empty() || fields[0].empty()) {
    throw SettingsError("設定ファイルにデータベースのパスがありません" + where);
  }
  if (fields.size() < 2 || fields[1].empty()) {
    throw SettingsError("設定ファイルに工場コードがありません" + where);
  }
  const std::string& plant = fields[1];
  if (!IsNumeric(plant)) {
    throw SettingsError("設定ファイルの工場コードが数値ではありません" + where + " (\"" + plant +
                        "\")");
  }
  Settings settings;
  settings.DatabasePath = fields[0];
  try {
    settings.PlantCode = ToInt16(Val(plant));
  } catch (const ConversionError&) {
    throw SettingsError("設定ファイルの工場コードが範囲外です" + where + " (\"" + plant + "\")");
  }
  return settings;
}

}  // namespace velmora
