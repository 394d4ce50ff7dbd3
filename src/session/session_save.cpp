// What becomes of the unsaved edits: the save, dropping them for a fresh load, the close.
#include "common/questions.h"
#include "lotdetail/lot_opening.h"
#include "session/edit_session.h"
#include "startup/current_user.h"
#include "startup/local_today.h"

namespace velmora {

bool EditSession::Discard() {
  if (ProposalRefuses()) return false;
  if (!lotdetail::ConfirmDiscard(data_, questions_)) return false;
  // Nothing of the dropped plan can be undone into the one loaded next.
  editor_.History().Clear();
  return true;
}

std::optional<saving::SaveResult> EditSession::Save(saving::SaveProgress* progress) {
  if (ProposalRefuses() || saving_ || connection_ == nullptr) return std::nullopt;
  saving_ = true;
  struct Done {
    bool& flag;
    ~Done() { flag = false; }
  } done{saving_};
  if (outcomeUnknown_) {
    questions_.Tell({saving::kOutcomeUnknownRefusal, Tone::Critical});
    return saving::SaveResult::Failed;
  }
  saving::SaveContext context{data_,      chart_,  *connection_, questions_, CurrentUserName(),
                              LocalNow(), progress};
  const saving::SaveResult result = saving::SavePlan(context);
  saving::AfterSave(data_, result);
  outcomeUnknown_ = result == saving::SaveResult::Unknown;
  // What was written can no longer be undone; when nothing was written the tables are as
  // before, so the edits stay undoable.
  if (result == saving::SaveResult::Complete || result == saving::SaveResult::Interrupted) {
    editor_.History().Clear();
  }
  return result;
}

bool EditSession::ConfirmClose() const {
  if (!CanSave()) return true;
  return questions_.Ask({kUnsavedCloseQuestion, Answer::No}) != Answer::No;
}

}  // namespace velmora
