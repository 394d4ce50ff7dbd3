#include "startup/settings_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <string>

#include "common/errors.h"
#include "common/numeric.h"
#include "startup/user_dirs.h"

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

// A settings file is a line or two; anything larger is not one.
constexpr std::size_t kMaxSettingsBytes = 64 * 1024;

std::string ReadText(const std::filesystem::path& file) {
  const std::string cannot = "設定ファイルを読み込めません: " + file.string();
  // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer.
  const int fd = open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ENOENT) throw SettingsError("設定ファイルがありません: " + file.string());
    throw SettingsError(cannot + " (" + std::strerror(errno) + ")");
  }
  struct Closer {
    int fd;
    ~Closer() { close(fd); }
  } closer{fd};

  // Links are followed; what they lead to must be a plain file of settings size, never a
  // device, FIFO or socket that could block or never end.
  struct stat info {};
  if (fstat(fd, &info) != 0) throw SettingsError(cannot + " (" + std::strerror(errno) + ")");
  if (S_ISDIR(info.st_mode)) throw SettingsError(cannot + " (フォルダです)");
  if (!S_ISREG(info.st_mode)) throw SettingsError(cannot + " (通常のファイルではありません)");
  const std::string tooLarge =
      cannot + " (" + std::to_string(kMaxSettingsBytes / 1024) + " KB を超えています)";
  if (static_cast<std::uintmax_t>(info.st_size) > kMaxSettingsBytes) throw SettingsError(tooLarge);

  // Read at most one byte past the limit, in case the file grew after fstat.
  std::string text(kMaxSettingsBytes + 1, '\0');
  std::size_t size = 0;
  while (size < text.size()) {
    const ssize_t n = read(fd, text.data() + size, text.size() - size);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) throw SettingsError(cannot + " (" + std::strerror(errno) + ")");
    if (n == 0) break;
    size += static_cast<std::size_t>(n);
  }
  if (size > kMaxSettingsBytes) throw SettingsError(tooLarge);
  text.resize(size);
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

SettingsPlaces SettingsPlaces::For(const std::filesystem::path& executableDir,
                                   const std::filesystem::path& configDir) {
  return {executableDir / kSettingsFileName,
          (configDir.empty() ? VelmoraConfigDir() : configDir) / kSettingsFileName};
}

std::optional<std::filesystem::path> SettingsPlaces::Find() const {
  std::error_code ec;
  // symlink_status: a dangling link or a folder beside the executable still counts as there.
  if (std::filesystem::exists(std::filesystem::symlink_status(BesideExecutable, ec))) {
    return BesideExecutable;
  }
  if (std::filesystem::exists(std::filesystem::symlink_status(User, ec))) return User;
  return std::nullopt;
}

SettingsError SettingsPlaces::Missing() const {
  return SettingsError("設定ファイルがありません: " + BesideExecutable.string() + " または " +
                       User.string());
}

Settings ReadSettings(const SettingsPlaces& places) {
  const std::optional<std::filesystem::path> file = places.Find();
  if (!file) throw places.Missing();
  return ReadSettingsFile(*file);
}

}  // namespace velmora
