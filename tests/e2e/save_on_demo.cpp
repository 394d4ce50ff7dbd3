#include "e2e/save_on_demo.h"

#include <filesystem>
#include <fstream>
#include <thread>

#include "generator/demo_generator.h"

namespace velmora::test {

namespace fs = std::filesystem;

SaveOnDemo::SaveOnDemo() {
  demo::DemoOptions options;  // the fixed demo: data from 2024/04/01
  demo::GenerateDemoDatabase(pristine, options);
  program.Settings(database, options.plantCode);
}

void SaveOnDemo::FreshCopy() {
  for (const char* suffix : {"", "-wal", "-shm"}) fs::remove(database + suffix);
  fs::copy_file(pristine, database);
}

std::string SaveOnDemo::Script(const std::string& name, const std::string& text) {
  const std::string path = program.File(name);
  std::ofstream(path) << text;
  return path;
}

std::vector<std::string> SaveOnDemo::Args(const std::string& script, const std::string& to) {
  return {"--script", script, "--from", "20240514", "--to", to, "--category", "3"};
}

ProgramRun SaveOnDemo::Run(const std::string& script, const std::string& to) {
  return RunProgram(program.executable(), Args(script, to), {}, program.File(""));
}

std::unique_ptr<StartedProgram> SaveOnDemo::Start(const std::string& script,
                                                  const std::string& to) {
  return std::make_unique<StartedProgram>(program.executable(), Args(script, to),
                                          std::vector<std::string>{}, program.File(""));
}

std::string Answers(int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += "answer yes\n";
  return text;
}

std::optional<Clock::time_point> WaitForOutput(const StartedProgram& program,
                                               const std::string& text, int count) {
  const auto deadline = Clock::now() + std::chrono::minutes(2);
  while (Clock::now() < deadline) {
    const bool running = program.Running();
    const std::string out = program.OutSoFar();
    int seen = 0;
    for (std::size_t at = out.find(text); at != std::string::npos; at = out.find(text, at + 1))
      ++seen;
    if (seen >= count) return Clock::now();
    if (!running) return std::nullopt;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return std::nullopt;
}

int CountChanged(const Csv& plans) {
  int changed = 0;
  for (const auto& p : plans.All()) changed += p.at("Changed") == "1";
  return changed;
}

}  // namespace velmora::test
