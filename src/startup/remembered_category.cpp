#include "startup/remembered_category.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "startup/settings_file.h"
#include "startup/user_dirs.h"

namespace velmora {
namespace {

std::string ReadAll(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return "";
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

// The lines after the first, one category's period each.
std::map<std::string, PeriodPrefill> PeriodLines(const std::string& content) {
  std::map<std::string, PeriodPrefill> periods;
  std::istringstream lines(content);
  std::string line;
  std::getline(lines, line);
  while (std::getline(lines, line)) {
    const std::vector<std::string> fields = ReadDelimitedFields(line, 3);
    if (fields.size() == 3 && !fields[0].empty() && !fields[1].empty() && !fields[2].empty()) {
      periods[fields[0]] = {fields[1], fields[2]};
    }
  }
  return periods;
}

}  // namespace

std::filesystem::path RememberedCategoryFile(const std::string& account) {
  return VelmoraConfigDir() / (account + ".txt");
}

std::string ReadRememberedCategory(const std::filesystem::path& file) {
  const auto fields = ReadDelimitedFields(ReadAll(file), 1);
  return fields.empty() ? "" : fields[0];
}

std::map<std::string, PeriodPrefill> ReadRememberedPeriods(const std::filesystem::path& file) {
  return PeriodLines(ReadAll(file));
}

void WriteRememberedCategory(const std::filesystem::path& file, const std::string& code,
                             const PeriodPrefill& period) {
  std::map<std::string, PeriodPrefill> periods = PeriodLines(ReadAll(file));
  if (!period.Start.empty() && !period.End.empty()) periods[code] = period;

  std::error_code ec;
  std::filesystem::create_directories(file.parent_path(), ec);
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  if (out) {
    out << code << '\n';
    for (const auto& [category, dates] : periods) {
      out << category << ',' << dates.Start << ',' << dates.End << '\n';
    }
  }
  out.close();
  if (!out) {
    throw std::runtime_error("前回の工程分類を保存できません: " + file.string() + " (" +
                             std::strerror(errno) + ")");
  }
}

}  // namespace velmora
