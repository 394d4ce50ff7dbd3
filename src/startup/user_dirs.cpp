#include "startup/user_dirs.h"

#include <cstdlib>

#include "startup/current_user.h"

namespace velmora {
namespace {

std::filesystem::path FromVariable(const char* name, const std::filesystem::path& underHome) {
  const char* value = std::getenv(name);
  if (value && std::filesystem::path(value).is_absolute()) return value;
  return CurrentUserHome() / underHome;
}

}  // namespace

std::filesystem::path UserConfigHome() {
  return FromVariable("XDG_CONFIG_HOME", ".config");
}

std::filesystem::path UserDataHome() {
  return FromVariable("XDG_DATA_HOME", std::filesystem::path(".local") / "share");
}

std::filesystem::path VelmoraConfigDir() {
  return UserConfigHome() / "velmora";
}

std::filesystem::path VelmoraDataDir() {
  return UserDataHome() / "velmora";
}

}  // namespace velmora
