#include "support/run_program.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string_view>

extern char** environ;

namespace velmora::test {
std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

StartedProgram::StartedProgram(const std::string& program, const std::vector<std::string>& args,
                               const std::vector<std::string>& extraEnvironment,
                               const std::string& workingDirectory, bool input)
    : outPath_(capture_.File("out")), errPath_(capture_.File("err")) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  int pipeEnds[2] = {-1, -1};
  if (input) {
    if (pipe2(pipeEnds, O_CLOEXEC) != 0) throw std::runtime_error("cannot make a pipe");
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[0], 0);
    input_ = pipeEnds[1];
  }
  posix_spawn_file_actions_addopen(&actions, 1, outPath_.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0600);
  posix_spawn_file_actions_addopen(&actions, 2, errPath_.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0600);
  if (!workingDirectory.empty()) {
    posix_spawn_file_actions_addchdir_np(&actions, workingDirectory.c_str());
  }

  std::vector<std::string> argStrings = {program};
  argStrings.insert(argStrings.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& a : argStrings) argv.push_back(a.data());
  argv.push_back(nullptr);

  // A variable given here replaces the inherited one: the first of a name is the one read.
  const auto named = [](std::string_view entry, std::string_view other) {
    const std::size_t equals = entry.find('=');
    return equals != std::string_view::npos &&
           other.substr(0, equals + 1) == entry.substr(0, equals + 1);
  };
  std::vector<std::string> envStrings;
  for (char** e = environ; *e; ++e) {
    bool replaced = false;
    for (const std::string& extra : extraEnvironment) replaced = replaced || named(extra, *e);
    if (!replaced) envStrings.emplace_back(*e);
  }
  envStrings.insert(envStrings.end(), extraEnvironment.begin(), extraEnvironment.end());
  std::vector<char*> envp;
  for (std::string& e : envStrings) envp.push_back(e.data());
  envp.push_back(nullptr);

  const int rc = posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  if (pipeEnds[0] >= 0) close(pipeEnds[0]);
  if (rc != 0) throw std::runtime_error("cannot start " + program);
}

void StartedProgram::Send(const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = write(input_, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) throw std::runtime_error("cannot write to the program");
    done += static_cast<std::size_t>(n);
  }
}

void StartedProgram::CloseInput() {
  if (input_ >= 0) close(input_);
  input_ = -1;
}

bool StartedProgram::WaitForOutput(const std::string& text, int seconds) const {
  for (int waited = 0; waited < seconds * 50; ++waited) {
    if (OutSoFar().find(text) != std::string::npos) return true;
    if (!Running()) return OutSoFar().find(text) != std::string::npos;
    usleep(20000);
  }
  return false;
}

StartedProgram::~StartedProgram() {
  CloseInput();
  if (pid_ <= 0) return;
  kill(pid_, SIGKILL);
  while (waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {
  }
}

bool StartedProgram::Running() const {
  if (pid_ <= 0) return false;
  siginfo_t info{};
  if (waitid(P_PID, static_cast<id_t>(pid_), &info, WEXITED | WNOHANG | WNOWAIT) != 0) return false;
  return info.si_pid == 0;
}

ProgramRun StartedProgram::Wait() {
  CloseInput();
  ProgramRun run;
  if (pid_ <= 0) throw std::logic_error("the program was already waited for");
  int wstatus = 0;
  while (waitpid(pid_, &wstatus, 0) < 0) {
    if (errno != EINTR) throw std::runtime_error("waitpid failed");
  }
  pid_ = -1;
  run.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
  run.out = ReadWholeFile(outPath_);
  run.err = ReadWholeFile(errPath_);
  return run;
}

ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& args,
                      const std::vector<std::string>& extraEnvironment,
                      const std::string& workingDirectory) {
  return StartedProgram(program, args, extraEnvironment, workingDirectory).Wait();
}

}  // namespace velmora::test
