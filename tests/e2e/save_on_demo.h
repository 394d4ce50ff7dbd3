#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "e2e/csv_file.h"
#include "e2e/program_copy.h"
#include "support/run_program.h"

namespace velmora::test {

using Clock = std::chrono::steady_clock;

// The demo plant, kept pristine beside the copy the program works on.
class SaveOnDemo : public ::testing::Test {
 protected:
  SaveOnDemo();

  void FreshCopy();
  std::string Script(const std::string& name, const std::string& text);
  std::vector<std::string> Args(const std::string& script, const std::string& to);
  ProgramRun Run(const std::string& script, const std::string& to = "20240531");
  std::unique_ptr<StartedProgram> Start(const std::string& script, const std::string& to);

  ProgramCopy program;
  const std::string pristine = program.File("pristine.db");
  const std::string database = program.File("plan.db");
};

// Plan 1001473 dragged to M101, pushing the plans after it.
inline const char* const kMoveAndPush =
    "answer yes\nanswer yes\ndrag 1001473 to M101 at 2024/05/15 10:00\n";

// `count` script lines answering Yes.
std::string Answers(int count);

// Waits until standard output holds `text` `count` times; the moment it did, nothing when the
// program ended before.
std::optional<Clock::time_point> WaitForOutput(const StartedProgram& program,
                                               const std::string& text, int count = 1);

// Plans an export marks as changed and not yet saved.
int CountChanged(const Csv& plans);

}  // namespace velmora::test
