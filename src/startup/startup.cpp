#include "startup/startup.h"

#include "common/errors.h"
#include "common/questions.h"
#include "startup/command_line.h"
#include "startup/first_start.h"
#include "startup/local_today.h"
#include "startup/settings_file.h"
#include "startup/user_dirs.h"

namespace velmora {

std::filesystem::path ExecutableDirectory() {
  std::error_code ec;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) throw std::runtime_error("実行ファイルの場所が分かりません (" + ec.message() + ")");
  return exe.parent_path();
}

void StartUp(AppState& state, const StartupEnvironment& environment, Questions& questions) {
  state.Data.SetCommandLine(JoinArguments(environment.Arguments));

  // The settings file is read before the instance check, so a bad file is reported even by
  // a second copy.
  const std::filesystem::path dir =
      environment.ExecutableDir.empty() ? ExecutableDirectory() : environment.ExecutableDir;
  const SettingsPlaces places = SettingsPlaces::For(dir, environment.ConfigDir);
  if (!places.Find()) {
    const std::filesystem::path data =
        environment.DataDir.empty() ? VelmoraDataDir() : environment.DataDir;
    const DateTime today = environment.Today.IsZero() ? LocalToday() : environment.Today;
    if (!OfferDemoPlant(places, data, today, questions)) throw places.Missing();
  }
  const Settings settings = ReadSettings(places);
  state.Data.PlantCode = settings.PlantCode;

  const std::filesystem::path lock =
      environment.LockFile.empty() ? DefaultInstanceLockFile() : environment.LockFile;
  if (!state.Guard.TryAcquire(lock)) {
    questions.Tell({"生産計画システムは既に起動されています。", Tone::Information, "二重起動"});
    throw ProgramEnd{1};
  }

  state.ConnectionString = db::MakeConnectionString(settings.DatabasePath);
  try {
    // The settings hold a path, opened as written, or a server address: no connection text
    // parsing in between. The inquiry mode never writes, so it opens the database read-only and
    // leaves even a file's journal mode as it found it.
    db::Connection::Options options;
    options.readOnly = state.Data.InquiryMode();
    state.Connection.OpenTarget(settings.DatabasePath, options);
  } catch (const DatabaseError& e) {
    throw DatabaseError(std::string("データベースを開けません。\n") + e.what());
  }
  state.Command.ActiveConnection = &state.Connection;
}

}  // namespace velmora
