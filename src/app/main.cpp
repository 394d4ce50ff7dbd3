#include <iostream>
#include <string>
#include <vector>

#include "app/program.h"
#include "app/velmora_application.h"
#include "automation/export_command.h"
#include "automation/export_options.h"
#include "startup/command_line.h"
#include "ui/qt_questions.h"

#if defined(__SANITIZE_ADDRESS__)
// Fontconfig keeps its caches until the process ends; in sanitized builds the leak checker
// would turn every normal exit into a failure.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig\n";
}
#endif

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  // Answered before any window system is touched, so they work without a display too.
  std::string unknown;
  const velmora::CommandLineRequest request = velmora::RequestOf(args, &unknown);
  if (request == velmora::CommandLineRequest::Help) {
    std::cout << velmora::kUsage;
    return 0;
  }
  if (request == velmora::CommandLineRequest::Version) {
    std::cout << "velmora " VELMORA_VERSION "\n";
    return 0;
  }
  // The exports run headless, before any window system is touched.
  if (velmora::IsExportCommand(args)) return velmora::RunExport(argc, argv, args);
  if (request == velmora::CommandLineRequest::Unknown) {
    std::cerr << "velmora: unknown option " << unknown << "\n" << velmora::kUsage;
    return 2;
  }

  velmora::ui::QtQuestions questions;
  velmora::VelmoraApplication app(argc, argv, questions);
  // Qt has taken its own options (-platform, -style, ...) out of argv: the rest is the
  // program's command line.
  velmora::StartupEnvironment environment;
  environment.Arguments.assign(argv + 1, argv + argc);
  return velmora::RunVelmora(app, environment);
}
