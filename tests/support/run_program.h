#pragma once

#include <string>
#include <vector>

namespace velmora::test {

struct ProgramRun {
  int status = -1;  // exit status; -1 when the program did not exit normally
  std::string out;
  std::string err;
};

// The whole content of a file ("" when it cannot be read).
std::string ReadWholeFile(const std::string& path);

// Runs `program` with `args` (no shell), in `workingDirectory` when one is given, and collects
// its exit status and output. Output files are opened before the change of directory.
ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& args,
                      const std::vector<std::string>& extraEnvironment = {},
                      const std::string& workingDirectory = "");

}  // namespace velmora::test
