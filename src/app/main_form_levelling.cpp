#include <QApplication>
#include <QStatusBar>
#include <memory>

#include "app/level_dialog.h"
#include "app/main_form.h"
#include "app/program.h"
#include "app/proposal_panel.h"
#include "app/side_panel.h"
#include "startup/local_today.h"

namespace velmora {
namespace {

// The leveller searches for as long as it was given: the pointer says so.
struct BusyCursor {
  BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~BusyCursor() { QApplication::restoreOverrideCursor(); }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;
};

}  // namespace

void MainForm::Level_Click() {
  // One proposal at a time: the one shown is applied or dropped first.
  if (session_.ShownProposal() != nullptr) {
    program_.UserQuestions().Tell({kProposalShown});
    panel_->ShowProposal();
    return;
  }
  auto window =
      std::make_shared<LevelWindow>(session_.Data(), LocalToday(), program_.UserQuestions());
  window->Compute = [this](levelling::LevelRequest request) {
    const BusyCursor busy;
    panel_->Proposal()->Computed(session_.ProposeLevel(std::move(request)));
  };
  LevelDialog(window, this).exec();
  if (!window->Computed()) return;
  Shown();
  panel_->ShowProposal();
  if (const levelling::Proposal* shown = session_.ShownProposal()) {
    statusBar()->showMessage(
        QString("自動調整: %1 件を移動する提案です。一覧の「%2」で適用か取消を選んでください。")
            .arg(shown->moves.size())
            .arg(kProposalTabCaption),
        kNoticeMilliseconds);
  }
}

}  // namespace velmora
