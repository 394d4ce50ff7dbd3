#include "app/instance_guard.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "support/test_db.h"

extern char** environ;

namespace velmora {
namespace {

// A guard_probe process; `hold` ones are started and left running until killed.
class Probe {
 public:
  Probe(const std::filesystem::path& lock, const char* mode) {
    int fds[2];
    if (pipe(fds) != 0) throw std::runtime_error("pipe");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    const std::string path = lock.string();
    char* argv[] = {const_cast<char*>(VELMORA_GUARD_PROBE), const_cast<char*>(path.c_str()),
                    const_cast<char*>(mode), nullptr};
    const int rc = posix_spawn(&pid_, VELMORA_GUARD_PROBE, &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    out_ = fds[0];
    if (rc != 0) throw std::runtime_error("posix_spawn failed");
  }
  ~Probe() {
    if (pid_ > 0) Kill();
    close(out_);
  }
  std::string FirstLine() {
    std::string line;
    char c;
    while (read(out_, &c, 1) == 1 && c != '\n') line += c;
    return line;
  }
  int ExitStatus() {
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  void Kill() {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }

 private:
  pid_t pid_ = -1;
  int out_ = -1;
};

class InstanceGuardTest : public ::testing::Test {
 protected:
  test::TempDir dir_;
  std::filesystem::path lock_ = dir_.path() / "velmora.lock";
};

TEST_F(InstanceGuardTest, SecondProcessIsRefusedUntilTheFirstDies) {
  Probe first(lock_, "hold");
  ASSERT_EQ("held", first.FirstLine());
  EXPECT_EQ(3, Probe(lock_, "try").ExitStatus());
  InstanceGuard here;
  EXPECT_FALSE(here.TryAcquire(lock_));

  first.Kill();  // a crash: nothing is cleaned up, the lock file stays behind
  EXPECT_TRUE(std::filesystem::exists(lock_));
  EXPECT_EQ(0, Probe(lock_, "try").ExitStatus());
}

TEST_F(InstanceGuardTest, HeldLockRefusesEvenInTheSameProcessAndIsFreedWithTheGuard) {
  {
    InstanceGuard guard;
    EXPECT_TRUE(guard.TryAcquire(lock_));
    EXPECT_TRUE(guard.TryAcquire(lock_)) << "holding it already";
    EXPECT_EQ(3, Probe(lock_, "try").ExitStatus());
  }
  EXPECT_EQ(0, Probe(lock_, "try").ExitStatus());
}

TEST_F(InstanceGuardTest, UnusableLockFileIsAnError) {
  std::filesystem::create_symlink(dir_.path() / "elsewhere", lock_);
  InstanceGuard guard;
  EXPECT_THROW(guard.TryAcquire(lock_), std::runtime_error) << "links are not followed";
}

TEST_F(InstanceGuardTest, OneLockPerUserAndDisplay) {
  setenv("XDG_RUNTIME_DIR", dir_.path().c_str(), 1);
  unsetenv("WAYLAND_DISPLAY");
  setenv("DISPLAY", ":0", 1);
  const auto first = DefaultInstanceLockFile();
  EXPECT_EQ(dir_.path(), first.parent_path());
  EXPECT_NE(std::string::npos, first.filename().string().find(std::to_string(geteuid())));
  EXPECT_EQ(first, DefaultInstanceLockFile());
  setenv("DISPLAY", ":1", 1);
  EXPECT_NE(first, DefaultInstanceLockFile());
  setenv("XDG_RUNTIME_DIR", "relative", 1);
  EXPECT_EQ("/tmp", DefaultInstanceLockFile().parent_path());
}

}  // namespace
}  // namespace velmora
