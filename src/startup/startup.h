#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "startup/app_state.h"

namespace velmora {

// Where the program was started from and with what.
// Empty paths stand for the running executable's directory and the default lock file.
struct StartupEnvironment {
  std::vector<std::string> Arguments;   // without the program name
  std::filesystem::path ExecutableDir;  // holds the settings file
  std::filesystem::path LockFile;       // the single-instance lock
};

// The directory of the running executable.
std::filesystem::path ExecutableDirectory();

// The start-up before any window: command line, settings file, the single-instance check,
// the connection and the shared command. A second running copy gets "生産計画システムは既に
// 起動されています。" and ends this one (ProgramEnd with status 1). A bad settings file throws
// SettingsError, a database that cannot be opened DatabaseError, each naming the file.
void StartUp(AppState& state, const StartupEnvironment& environment);

}  // namespace velmora
