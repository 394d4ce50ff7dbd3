#include "startup/remembered_category.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "startup/settings_file.h"
#include "startup/user_dirs.h"

namespace velmora {

std::filesystem::path RememberedCategoryFile(const std::string& account) {
  return VelmoraConfigDir() / (account + ".txt");
}

std::string ReadRememberedCategory(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return "";
  std::ostringstream content;
  content << in.rdbuf();
  const auto fields = ReadDelimitedFields(content.str(), 1);
  return fields.empty() ? "" : fields[0];
}

void WriteRememberedCategory(const std::filesystem::path& file, const std::string& code) {
  std::error_code ec;
  std::filesystem::create_directories(file.parent_path(), ec);
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  if (out) out << code << '\n';
  out.close();
  if (!out) {
    throw std::runtime_error("前回の工程分類を保存できません: " + file.string() + " (" +
                             std::strerror(errno) + ")");
  }
}

}  // namespace velmora
