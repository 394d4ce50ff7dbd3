#include "app/instance_guard.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>

namespace velmora {
namespace {

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// Keeps a display name usable as part of a file name (":0" becomes "_0").
std::string FileNamePart(const std::string& text) {
  std::string out;
  for (char c : text) {
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                       c == '.' || c == '-';
    out += plain ? c : '_';
  }
  return out.empty() ? "none" : out;
}

}  // namespace

InstanceGuard::~InstanceGuard() {
  if (fd_ >= 0) close(fd_);
}

bool InstanceGuard::TryAcquire(const std::filesystem::path& lockFile) {
  if (fd_ >= 0) return true;
  // O_NOFOLLOW: in a shared /tmp another account could plant a link under our name.
  const int fd = open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) {
    throw std::runtime_error("二重起動の確認用ファイルを開けません: " + lockFile.string() + " (" +
                             std::strerror(errno) + ")");
  }
  int rc;
  do {
    rc = flock(fd, LOCK_EX | LOCK_NB);
  } while (rc != 0 && errno == EINTR);
  if (rc == 0) {
    fd_ = fd;
    return true;
  }
  const int error = errno;
  close(fd);
  if (error == EWOULDBLOCK) return false;
  throw std::runtime_error("二重起動の確認ができません: " + lockFile.string() + " (" +
                           std::strerror(error) + ")");
}

std::filesystem::path DefaultInstanceLockFile() {
  std::filesystem::path dir = Env("XDG_RUNTIME_DIR");
  std::error_code ec;
  if (dir.empty() || !dir.is_absolute() || !std::filesystem::is_directory(dir, ec)) dir = "/tmp";
  std::string display = Env("WAYLAND_DISPLAY");
  if (display.empty()) display = Env("DISPLAY");
  return dir / ("velmora-" + std::to_string(geteuid()) + "-" + FileNamePart(display) + ".lock");
}

}  // namespace velmora
