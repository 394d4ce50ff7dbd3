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

// The lock file of this user and display session: in $XDG_RUNTIME_DIR (else /tmp), named with
// the user id and the display ($WAYLAND_DISPLAY, else $DISPLAY).
std::filesystem::path DefaultInstanceLockFile();

}  // namespace velmora
