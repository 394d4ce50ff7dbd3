#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

#include "support/test_db.h"

namespace velmora::test {

struct ProgramRun {
  int status = -1;  // exit status; -1 when the program did not exit normally
  std::string out;
  std::string err;
};

// The whole content of a file ("" when it cannot be read).
std::string ReadWholeFile(const std::string& path);

// A program started without waiting for it (no shell), in `workingDirectory` when one is given;
// its output goes to files that can be read while it runs. A program still running when the
// object goes is killed and reaped, so a failed test leaves no process behind.
class StartedProgram {
 public:
  // With `input`, the program's standard input is a pipe the test writes with Send.
  StartedProgram(const std::string& program, const std::vector<std::string>& args,
                 const std::vector<std::string>& extraEnvironment = {},
                 const std::string& workingDirectory = "", bool input = false);
  ~StartedProgram();
  StartedProgram(const StartedProgram&) = delete;
  StartedProgram& operator=(const StartedProgram&) = delete;

  pid_t pid() const { return pid_; }
  // False once the program has ended (it is reaped only by Wait).
  bool Running() const;
  // Standard output as far as the program has written it.
  std::string OutSoFar() const { return ReadWholeFile(outPath_); }
  // Writes to the program's standard input; CloseInput ends it.
  void Send(const std::string& text);
  void CloseInput();
  // Waits until standard output holds `text` (false after `seconds`, or when the program ended).
  bool WaitForOutput(const std::string& text, int seconds = 60) const;
  // Waits for the end and collects the exit status and the output.
  ProgramRun Wait();

 private:
  TempDir capture_;
  std::string outPath_;
  std::string errPath_;
  pid_t pid_ = -1;
  int input_ = -1;  // write end of the standard input pipe
};

// Runs `program` with `args` and waits for it. Output files are opened before the change of
// directory.
ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& args,
                      const std::vector<std::string>& extraEnvironment = {},
                      const std::string& workingDirectory = "");

}  // namespace velmora::test
