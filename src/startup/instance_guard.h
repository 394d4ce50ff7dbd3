#pragma once

#include <filesystem>

namespace velmora {

// Keeps a second copy of the program from running on the same desktop. The running copy holds
// an exclusive lock on a file; the kernel drops the lock when the process ends in any way, so a
// crashed copy never blocks the next start.
class InstanceGuard {
 public:
  InstanceGuard() = default;
  InstanceGuard(const InstanceGuard&) = delete;
  InstanceGuard& operator=(const InstanceGuard&) = delete;
  ~InstanceGuard();

  // True when this process now holds the lock (or already did), false when another process
  // holds it. A lock file that cannot be opened throws std::runtime_error naming it.
  bool TryAcquire(const std::filesystem::path& lockFile);
  bool Held() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

// The directory of this user's lock files. It must not depend on optional variables, or a copy
// started without $XDG_RUNTIME_DIR would miss the lock of one started with it: it is
// `runtimeRoot`/<euid> when that is the user's private directory (as the login manager makes
// it), else `tmpRoot`/velmora-<euid>, created 0700. Throws std::runtime_error naming it when
// that one is a link, belongs to another account or is open to others.
std::filesystem::path InstanceLockDirectory(const std::filesystem::path& runtimeRoot = "/run/user",
                                            const std::filesystem::path& tmpRoot = "/tmp");

// The lock file of this user and display session: in InstanceLockDirectory(), named with the
// display ($WAYLAND_DISPLAY, else $DISPLAY) in its one normal spelling.
std::filesystem::path DefaultInstanceLockFile();

}  // namespace velmora
