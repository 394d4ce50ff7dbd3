#pragma once

#include <QPointer>
#include <functional>

#include "app/main_form.h"
#include "app/velmora_application.h"
#include "common/datetime.h"
#include "dialogs/scheduler_splash.h"
#include "startup/app_state.h"
#include "startup/startup.h"

namespace velmora {

// The program's windows after the connection is open: the selection, the splash and the main
// window, and the restart that shows them again.
class Program {
 public:
  Program(AppState& state, VelmoraApplication& app, std::function<DateTime()> today);
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  // The selection dialog (modal), the splash and the loaded main window. Ends the program
  // (ProgramEnd) when the selection is closed without a category or a period.
  void ShowSelectionAndMain();

  // Starts over from the selection, dropping the loaded plan: the command line keeps only its
  // date, so the selection waits for the user; the current main window is unloaded without a
  // question. The caller has asked about unsaved changes.
  void Restart();

  void UnloadSplash();
  Questions& UserQuestions() { return app_.UserQuestions(); }
  MainForm* Main() const { return main_; }

 private:
  void SelectCategoryAndPeriod();

  AppState& state_;
  VelmoraApplication& app_;
  std::function<DateTime()> today_;
  QPointer<SchedulerSplash> splash_;
  QPointer<MainForm> main_;
};

// The whole run after the entry point has created the application: start-up, the windows and
// the event loop. Returns the exit status; an error is shown in a critical message box and
// gives status 1.
int RunVelmora(VelmoraApplication& app, const StartupEnvironment& environment);

}  // namespace velmora
