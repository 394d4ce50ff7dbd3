#include "startup/instance_guard.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <vector>

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

// Restores an environment variable (or its absence) when the test ends.
class SavedEnv {
 public:
  explicit SavedEnv(const char* name) : name_(name) {
    if (const char* value = std::getenv(name)) value_ = value;
  }
  ~SavedEnv() {
    if (value_) {
      setenv(name_, value_->c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }

 private:
  const char* name_;
  std::optional<std::string> value_;
};

TEST_F(InstanceGuardTest, CopiesOfOneDisplayShareALockWhateverTheirEnvironment) {
  SavedEnv runtime("XDG_RUNTIME_DIR"), wayland("WAYLAND_DISPLAY"), display("DISPLAY");
  unsetenv("WAYLAND_DISPLAY");
  const std::string number = std::to_string(getpid());  // a display no real session uses
  setenv("XDG_RUNTIME_DIR", dir_.path().c_str(), 1);
  setenv("DISPLAY", (":" + number + ".0").c_str(), 1);
  const std::filesystem::path lock = DefaultInstanceLockFile();
  Probe first("--default", "hold");
  ASSERT_EQ("held", first.FirstLine());

  unsetenv("XDG_RUNTIME_DIR");
  for (const std::string& same : {":" + number, "unix:" + number, "localhost:" + number + ".0"}) {
    setenv("DISPLAY", same.c_str(), 1);
    EXPECT_EQ(lock, DefaultInstanceLockFile()) << same;
    EXPECT_EQ(3, Probe("--default", "try").ExitStatus()) << same;
  }
  setenv("DISPLAY", (":" + number + "1").c_str(), 1);
  const std::filesystem::path other = DefaultInstanceLockFile();
  EXPECT_EQ(0, Probe("--default", "try").ExitStatus()) << "another display";

  first.Kill();
  std::filesystem::remove(lock);
  std::filesystem::remove(other);
}

TEST_F(InstanceGuardTest, LockDirectoryIsPrivateToTheUser) {
  const std::string uid = std::to_string(geteuid());
  const auto run = dir_.path() / "run", tmp = dir_.path() / "tmp";
  std::filesystem::create_directories(run);
  std::filesystem::create_directories(tmp);
  using std::filesystem::perms;

  // Without a runtime directory, one of our own in tmp, closed to others.
  const std::filesystem::path own = InstanceLockDirectory(run, tmp);
  EXPECT_EQ(tmp / ("velmora-" + uid), own);
  EXPECT_EQ(perms::owner_all, std::filesystem::status(own).permissions());
  EXPECT_EQ(own, InstanceLockDirectory(run, tmp));

  std::filesystem::create_directory(run / uid);
  std::filesystem::permissions(run / uid, perms::owner_all);
  EXPECT_EQ(run / uid, InstanceLockDirectory(run, tmp));
  std::filesystem::permissions(run / uid, perms::all);
  EXPECT_EQ(own, InstanceLockDirectory(run, tmp)) << "a runtime directory open to all is not used";

  struct Case {
    const char* what;
    std::function<void()> plant;
  };
  std::vector<Case> unsafe = {
      {"link to a private directory",
       [&] {
         std::filesystem::create_directory(dir_.path() / "elsewhere");
         std::filesystem::permissions(dir_.path() / "elsewhere", perms::owner_all);
         std::filesystem::create_directory_symlink(dir_.path() / "elsewhere", own);
       }},
      {"open to others",
       [&] {
         std::filesystem::create_directory(own);
         std::filesystem::permissions(own, perms::all);
       }},
  };
  if (geteuid() == 0) {
    unsafe.push_back({"another account's", [&] {
                        std::filesystem::create_directory(own);
                        std::filesystem::permissions(own, perms::owner_all);
                        ASSERT_EQ(0, chown(own.c_str(), 65534, 65534));
                      }});
  }
  for (const Case& c : unsafe) {
    std::filesystem::remove_all(own);
    c.plant();
    EXPECT_THROW(InstanceLockDirectory(run, tmp), std::runtime_error) << c.what;
  }
}

}  // namespace
}  // namespace velmora
