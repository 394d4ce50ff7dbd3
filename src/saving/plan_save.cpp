#include "saving/plan_save.h"

#include <exception>
#include <iostream>
#include <vector>

#include "common/error_text.h"
#include "common/errors.h"
#include "common/msgbox.h"
#include "db/transaction.h"
#include "saving/calendar_writer.h"
#include "saving/entries_before.h"
#include "saving/mold_check.h"
#include "saving/others_changes.h"
#include "saving/save_refused.h"
#include "saving/slot_writer.h"

namespace velmora::saving {
namespace {

class ProgressScope {
 public:
  ProgressScope(SaveProgress* progress, int maximum) : progress_(progress) {
    if (progress_) progress_->Start(maximum);
  }
  ~ProgressScope() {
    if (progress_) progress_->Finish();
  }
  void Step(int i, int n) {
    if (progress_) progress_->Step(i, n, i % 10 == 0);
  }

 private:
  SaveProgress* progress_;
};

// Nothing of the save is kept: the table goes back as it was, the user reads why in Japanese
// and the technical detail goes to standard error.
SaveResult Failed(SaveContext& ctx, EntriesBefore& before, std::exception_ptr failure) {
  before.Restore(ctx.data, ctx.model);
  const std::string detail = TechnicalErrorText(failure);
  if (!detail.empty()) std::cerr << "velmora: " << detail << std::endl;
  ui::MsgBox(std::string(kSaveFailed) + "\r\n" + UserErrorText(failure), ui::kCritical);
  return SaveResult::Failed;
}

SaveResult Refused(SaveContext& ctx, EntriesBefore& before, const std::string& why) {
  before.Restore(ctx.data, ctx.model);
  ui::MsgBox(std::string(kSaveFailed) + "\r\n" + why, ui::kCritical);
  return SaveResult::Failed;
}

// The changed entries before `stop`, in table order: those the walk reaches.
std::vector<int> EntriesToWrite(const PlanData& data, int stop) {
  std::vector<int> entries;
  for (int i = 2; i < stop && i <= data.PlanCount(); ++i) {
    if (data.PlanTable[static_cast<std::size_t>(i)].Changed != 0) entries.push_back(i);
  }
  return entries;
}

}  // namespace

bool AnyChanged(const PlanData& data) {
  for (int i = 2; i <= data.PlanCount(); ++i) {
    if (data.PlanTable[static_cast<std::size_t>(i)].Changed != 0) return true;
  }
  return false;
}

void AfterSave(PlanData& data, SaveResult result) {
  if (result == SaveResult::Failed || result == SaveResult::Declined) return;
  if (AnyChanged(data)) {
    data.Edits.MarkEdited();
  } else {
    data.Edits.MarkSaved();
  }
}

SaveResult SavePlan(SaveContext& ctx) {
  PlanData& data = ctx.data;
  EntriesBefore before;
  if (ctx.connection.FileMoved()) return Refused(ctx, before, kFileMoved);

  // Every question comes before anything is locked: first the molds, in memory only.
  const int stop = AskMoldConflicts(ctx, before);
  const bool interrupted = stop <= data.PlanCount();
  const std::vector<int> entries = EntriesToWrite(data, stop);
  const std::vector<DayOf> days = ChangedDays(data);
  const RowsToWrite rows = RowsWrittenBy(data, entries, days);

  OthersChanges accepted;  // rows the user agreed to write over, as they stood when asked
  std::vector<std::string> deferred;
  for (int asked = 0;; ++asked) {
    try {
      db::Transaction transaction(ctx.connection);
      // Under the write lock: the file is still the one loaded, and nobody changed a row to
      // write since it was read (or since the user agreed to write over it).
      if (ctx.connection.FileMoved()) throw SaveRefused(kFileMoved);
      const OthersChanges changed = FindOthersChanges(ctx.connection, data, rows, accepted);
      if (!changed.Empty()) {
        transaction.Rollback();  // no question while the lock is held
        if (asked == kMaxOverwriteQuestions) throw SaveRefused(kOthersKeepChanging);
        const ui::Answer answer =
            ui::MsgBox(OverwriteQuestionText(data, changed), ui::kYesNo | ui::kDefaultButton2);
        if (answer != ui::Answer::Yes) return SaveResult::Declined;
        accepted.Add(changed);
        continue;
      }

      ProgressScope progress(ctx.progress, data.PlanCount());
      SlotWriter writer(ctx);
      std::size_t next = 0;
      for (int i = 2; i <= data.PlanCount(); ++i) {
        progress.Step(i, data.PlanCount());
        if (next == entries.size() || entries[next] != i) continue;
        ++next;
        before.Keep(data, i);
        PlanEntry& entry = data.PlanTable[static_cast<std::size_t>(i)];
        writer.WriteEntry(entry);
        entry.Changed = 0;
      }
      for (const DayOf& day : days) WriteCalendarDay(ctx.connection, data, day);
      // What this copy wrote counts as read from now on.
      RecordVersions(ctx.connection, data, writer.Written(), days);
      transaction.Commit();
      for (const DayOf& day : days) data.CalendarChanged(day.first, day.second) = 0;
      deferred = writer.Deferred();
    } catch (const SaveRefused& refusal) {
      return Refused(ctx, before, refusal.what());
    } catch (const DatabaseError&) {
      return Failed(ctx, before, std::current_exception());
    } catch (const ConversionError&) {
      return Failed(ctx, before, std::current_exception());
    } catch (...) {
      // Not the database's: the table goes back as it was and the failure goes on to whoever
      // ends the run.
      before.Restore(data, ctx.model);
      throw;
    }
    break;
  }
  for (const std::string& message : deferred) ui::MsgBox(message);
  if (interrupted) {
    ui::MsgBox(kSaveInterrupted);
    return SaveResult::Interrupted;
  }
  return SaveResult::Complete;
}

}  // namespace velmora::saving
