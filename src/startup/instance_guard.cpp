#include "startup/instance_guard.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>

#include "startup/display_name.h"

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

// A real directory (not a link) of this user that no other account can enter.
bool IsPrivateDirectory(const std::filesystem::path& dir) {
  struct stat info {};
  return lstat(dir.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == geteuid() &&
         (info.st_mode & 077) == 0;
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

std::filesystem::path InstanceLockDirectory(const std::filesystem::path& runtimeRoot,
                                            const std::filesystem::path& tmpRoot) {
  const std::string uid = std::to_string(geteuid());
  const std::filesystem::path runtime = runtimeRoot / uid;
  if (IsPrivateDirectory(runtime)) return runtime;

  // In the shared /tmp another account could have made the name first: use it only when it is
  // ours and closed to others.
  const std::filesystem::path own = tmpRoot / ("velmora-" + uid);
  if (mkdir(own.c_str(), 0700) != 0 && errno != EEXIST) {
    throw std::runtime_error("二重起動の確認用フォルダを作れません: " + own.string() + " (" +
                             std::strerror(errno) + ")");
  }
  if (!IsPrivateDirectory(own)) {
    throw std::runtime_error("二重起動の確認用フォルダを使えません: " + own.string() +
                             " (リンク、他のユーザーのもの、または他のユーザーにも開かれています)");
  }
  return own;
}

std::filesystem::path DefaultInstanceLockFile() {
  std::string display = Env("WAYLAND_DISPLAY");
  if (display.empty()) display = Env("DISPLAY");
  return InstanceLockDirectory() /
         ("velmora-" + FileNamePart(NormalizeDisplayName(display)) + ".lock");
}

}  // namespace velmora
