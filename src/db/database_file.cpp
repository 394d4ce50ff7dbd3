#include "db/database_file.h"

#include <unistd.h>

#include <filesystem>

namespace velmora::db {

bool MayWriteDatabase(const std::string& path) {
  std::error_code ec;
  std::filesystem::path dir = std::filesystem::absolute(path, ec).parent_path();
  if (ec || dir.empty()) dir = ".";
  return ::access(path.c_str(), W_OK) == 0 && ::access(dir.c_str(), W_OK) == 0;
}

std::string EngineFileName(const std::string& path) {
  return path.starts_with("file:") ? "./" + path : path;
}

std::string FileUri(const std::string& path) {
  std::error_code ec;
  std::string absolute = std::filesystem::absolute(path, ec).string();
  if (ec) absolute = path;
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string uri = "file:";
  for (const char c : absolute) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
        (byte >= '0' && byte <= '9') || c == '-' || c == '.' || c == '_' || c == '~' || c == '/') {
      uri += c;
    } else {
      uri += '%';
      uri += kHex[byte >> 4];
      uri += kHex[byte & 0xF];
    }
  }
  return uri;
}

}  // namespace velmora::db
