#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "e2e/program_copy.h"
#include "generator/demo_generator.h"
#include "support/run_program.h"

namespace velmora::test {

// A script of tests/e2e/scripts.
inline std::string ScriptPath(const std::string& name) {
  return std::string(VELMORA_SCRIPTS_DIR) + "/" + name;
}

// The real program on a fresh demo plant, driven by scripts for the busy weeks of May 2024.
class Scripts : public ::testing::Test {
 protected:
  Scripts() {
    demo::DemoOptions options;  // the fixed demo: data from 2024/04/01
    demo::GenerateDemoDatabase(program.File("demo.db"), options);
    program.Settings(program.File("demo.db"), options.plantCode);
  }

  ProgramRun Script(const std::string& path, const std::string& category = "3") {
    return RunProgram(
        program.executable(),
        {"--script", path, "--from", "20240514", "--to", "20240531", "--category", category}, {},
        program.File(""));
  }
  ProgramRun ScriptText(const std::string& text) {
    const std::string path = program.File("inline.txt");
    std::ofstream(path) << text;
    return Script(path);
  }
  std::string Out(const std::string& relative) { return program.File(relative); }
  void ExportLoaded() {
    const ProgramRun run =
        RunProgram(program.executable(), {"--export-csv", Out("loaded"), "--from", "20240514",
                                          "--to", "20240531", "--category", "3"});
    ASSERT_EQ(run.status, 0) << run.err;
  }

  ProgramCopy program;
};

}  // namespace velmora::test
