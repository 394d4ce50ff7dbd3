#include "app/main_form.h"

#include <QCloseEvent>

#include "app/program.h"
#include "common/errors.h"

namespace velmora {

MainForm::MainForm(AppState& state, Program& program) : state_(state), program_(program) {
  setWindowTitle(kMainFormCaption);
}

void MainForm::Form_Load() {
  // The rows, calendars, plans and the chart are loaded here, before the window is shown.
  move(0, 0);
  show();
  if (state_.Data.InquiryMode()) setWindowTitle(windowTitle() + kInquiryCaptionSuffix);
  program_.UnloadSplash();
  // The restart is over: a later close of this window must ask and end again.
  state_.ReloadPending = 0;
}

void MainForm::closeEvent(QCloseEvent* event) {
  event->accept();
  if (state_.ReloadPending == 0) throw ProgramEnd{0};
}

}  // namespace velmora
