#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "common/datetime.h"
#include "common/questions.h"
#include "startup/app_state.h"

namespace velmora {

// Where the program was started from and with what.
// Empty paths stand for the running executable's directory, the default lock file and the
// user's folders ($XDG_CONFIG_HOME/velmora, $XDG_DATA_HOME/velmora); a zero Today for the clock.
struct StartupEnvironment {
  std::vector<std::string> Arguments;   // without the program name
  std::filesystem::path ExecutableDir;  // the settings file beside it wins
  std::filesystem::path LockFile;       // the single-instance lock
  std::filesystem::path ConfigDir{};    // the user's settings file, when none is beside
  std::filesystem::path DataDir{};      // where a first start creates the demo plant
  DateTime Today{};                     // the demo plant's data lie around it
};

// The directory of the running executable.
std::filesystem::path ExecutableDirectory();

// The start-up before any window: command line, settings file, the single-instance check,
// the connection and the shared command. Without a settings file in either place, the demo plant
// is offered (OfferDemoPlant); declining ends with the SettingsError naming both places. A second
// running copy tells "生産計画システムは既に 起動されています。" and ends this one (ProgramEnd with
// status 1). A bad settings file throws SettingsError, a database that cannot be opened
// DatabaseError, each naming the file.
void StartUp(AppState& state, const StartupEnvironment& environment, Questions& questions);

}  // namespace velmora
