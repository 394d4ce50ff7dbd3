#include "app/program.h"

#include "common/errors.h"
#include "dialogs/kbun_select.h"
#include "startup/command_line.h"
#include "startup/current_user.h"
#include "startup/local_today.h"
#include "startup/remembered_category.h"

namespace velmora {

Program::Program(AppState& state, VelmoraApplication& app, std::function<DateTime()> today)
    : state_(state), app_(app), today_(std::move(today)) {}

Program::~Program() {
  delete main_;
  delete splash_;
}

void Program::SelectCategoryAndPeriod() {
  const std::filesystem::path remembered = RememberedCategoryFile(CurrentUserName());
  KBunSelect dialog(state_.Connection, state_.Data.CommandLine(),
                    ReadRememberedCategory(remembered), today_(), app_.UserQuestions(),
                    ReadRememberedPeriods(remembered));
  dialog.exec();
  app_.ThrowIfEnded();
  PublishSelection(dialog.Selection(), state_.Data, remembered, app_.UserQuestions());
}

void Program::ShowSelectionAndMain() {
  SelectCategoryAndPeriod();

  delete splash_;
  splash_ = new SchedulerSplash();
  splash_->show();
  // Painted now: the load that follows keeps the event loop busy.
  splash_->repaint();

  main_ = new MainForm(state_, *this);
  main_->Form_Load();
}

void Program::Restart() {
  state_.Data.SetCommandLine(RestartCommandLine(state_.Data.CommandLine()));
  state_.ReloadPending = 1;
  if (main_) {
    main_->close();
    // Restart may run inside one of the window's own handlers.
    main_->deleteLater();
    main_ = nullptr;
  }
  ShowSelectionAndMain();
}

void Program::UnloadSplash() {
  if (splash_) splash_->close();
}

int RunVelmora(VelmoraApplication& app, const StartupEnvironment& environment) {
  AppState state;
  try {
    StartUp(state, environment, app.UserQuestions());
    Program program(state, app, LocalToday);
    program.ShowSelectionAndMain();
    const int status = app.exec();
    app.ThrowIfEnded();
    return status;
  } catch (const ProgramEnd& end) {
    return end.status;
  } catch (...) {
    return ReportFailure(std::current_exception(), app.UserQuestions());
  }
}

}  // namespace velmora
