// Helper process for the instance guard tests.
//   guard_probe LOCKFILE hold : takes the lock, prints "held", then waits to be killed
//   guard_probe LOCKFILE try  : exits 0 when it gets the lock, 3 when another process has it
// LOCKFILE "--default" stands for the lock file this process's environment chooses.
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "startup/instance_guard.h"

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  velmora::InstanceGuard guard;
  const std::filesystem::path lock =
      std::strcmp(argv[1], "--default") == 0 ? velmora::DefaultInstanceLockFile() : argv[1];
  if (!guard.TryAcquire(lock)) return 3;
  if (std::strcmp(argv[2], "hold") == 0) {
    std::puts("held");
    std::fflush(stdout);
    for (;;) pause();
  }
  return 0;
}
