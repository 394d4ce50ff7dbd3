#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "e2e/program_copy.h"
#include "generator/demo_options.h"
#include "support/demo_database.h"
#include "support/run_program.h"

namespace velmora::test {

// A script of tests/e2e/scripts.
inline std::string ScriptPath(const std::string& name) {
  return std::string(VELMORA_SCRIPTS_DIR) + "/" + name;
}

// The real program on a fresh demo plant, driven by scripts for the busy weeks of May 2024, on
// each engine.
class Scripts : public ::testing::TestWithParam<Engine> {
 protected:
  Scripts() { program.Settings(plant.target(), demo::DemoOptions{}.plantCode); }

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
  DemoDatabase plant{GetParam(), program.File("demo.db")};
};

#define VELMORA_ON_EVERY_ENGINE(Suite)                                                      \
  INSTANTIATE_TEST_SUITE_P(Engines, Suite, ::testing::Values(Engine::File, Engine::Server), \
                           [](const auto& info) { return EngineName(info.param); })

}  // namespace velmora::test
