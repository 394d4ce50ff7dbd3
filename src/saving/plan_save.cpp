#include "saving/plan_save.h"

#include <exception>
#include <iostream>
#include <unordered_map>
#include <vector>

#include "chart/bar_layout.h"
#include "common/error_text.h"
#include "common/errors.h"
#include "common/questions.h"
#include "db/engine.h"
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
  ctx.questions.Tell({std::string(kSaveFailed) + "\r\n" + UserErrorText(failure), Tone::Critical});
  return SaveResult::Failed;
}

SaveResult Refused(SaveContext& ctx, EntriesBefore& before, const std::string& why) {
  before.Restore(ctx.data, ctx.model);
  ctx.questions.Tell({std::string(kSaveFailed) + "\r\n" + why, Tone::Critical});
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

// One pass of the writers, in one transaction. Once it is kept, what it wrote counts as read and
// its bars lose the look of unsaved work. Returns the messages of the writes that gave up; throws
// what the writers throw, with nothing kept.
std::vector<std::string> WritePass(SaveContext& ctx, const OthersChanges& accepted,
                                   const std::vector<int>& entries, const std::vector<DayOf>& days,
                                   WrittenBefore& written, bool holdAttempts) {
  PlanData& data = ctx.data;
  db::Transaction transaction(ctx.connection);
  // Under the write lock: the file is still the one loaded. Each writer then finds its row
  // as this copy read it, or stops the save before anything is kept.
  if (ctx.connection.FileMoved()) throw SaveRefused(kFileMoved);
  ProgressScope progress(ctx.progress, data.PlanCount());
  SlotWriter writer(ctx, accepted, holdAttempts);
  writer.ReadMasters(entries);
  std::size_t next = 0;
  for (int i = 2; i <= data.PlanCount(); ++i) {
    progress.Step(i, data.PlanCount());
    if (next == entries.size() || entries[next] != i) continue;
    ++next;
    PlanEntry& entry = data.PlanTable[static_cast<std::size_t>(i)];
    written.Keep(entry, i);
    writer.WriteEntry(entry);
    entry.Changed = 0;
  }
  for (const DayOf& day : days) {
    WriteCalendarDay(ctx.connection, data, day, accepted, ctx.checkOthers);
  }
  // What this copy wrote counts as read from now on: as stored, read back in one go.
  std::unordered_map<std::int32_t, std::uint64_t> versions;
  std::vector<std::uint64_t> dayVersions;
  if (ctx.checkOthers) {
    versions = ArrangementVersions(ctx.connection, writer.Written());
    for (const DayOf& day : days) dayVersions.push_back(DayVersion(ctx.connection, data, day));
  }
  transaction.Commit();
  for (const auto& [number, version] : versions) data.Stored.SetArrangement(number, version);
  for (std::size_t k = 0; k < dayVersions.size(); ++k)
    data.Stored.SetDay(days[k].first, days[k].second, dayVersions[k]);
  for (const DayOf& day : days) data.CalendarChanged(day.first, day.second) = 0;
  std::vector<std::string> deferred = writer.Deferred();
  // A written entry is no longer changed: its bar loses the bold caption of unsaved work, in
  // place, whoever runs the save.
  std::vector<PlanIdx> shown;
  for (const int i : entries) {
    if (data.PlanTable[static_cast<std::size_t>(i)].InUse > 0) shown.emplace_back(i);
  }
  chart::LayoutBars(data, ctx.model, shown, 1);
  return deferred;
}

// After a pass met rows other programs changed since this copy read them: whether to write over
// them, asked a bounded number of times. False when the user would not; throws SaveRefused when
// the others keep changing them.
bool AskToWriteOver(SaveContext& ctx, const std::vector<int>& entries,
                    const std::vector<DayOf>& days, OthersChanges& accepted, int& questions,
                    int rounds) {
  PlanData& data = ctx.data;
  const OthersChanges changed =
      FindOthersChanges(ctx.connection, data, RowsWrittenBy(data, entries, days), accepted);
  if (questions == kMaxOverwriteQuestions || rounds > 2 * kMaxOverwriteQuestions) {
    throw SaveRefused(kOthersKeepChanging);
  }
  if (!changed.Empty()) {
    ++questions;
    const Answer answer = ctx.questions.Ask({OverwriteQuestionText(data, changed), Answer::No});
    if (answer != Answer::Yes) return false;
    accepted.Add(changed);
  }
  return true;
}

// The messages of the writes that gave up, once nothing is locked, then how the save ended.
SaveResult Finished(Questions& questions, const std::vector<std::string>& deferred,
                    bool interrupted) {
  for (const std::string& message : deferred) questions.Tell({message});
  if (interrupted) {
    questions.Tell({kSaveInterrupted});
    return SaveResult::Interrupted;
  }
  return SaveResult::Complete;
}

}  // namespace

bool AnyChanged(const PlanData& data) {
  for (int i = 2; i <= data.PlanCount(); ++i) {
    if (data.PlanTable[static_cast<std::size_t>(i)].Changed != 0) return true;
  }
  return false;
}

void AfterSave(PlanData& data, SaveResult result) {
  if (result == SaveResult::Failed || result == SaveResult::Declined ||
      result == SaveResult::Unknown) {
    return;
  }
  if (AnyChanged(data)) {
    data.Edits.MarkEdited();
  } else {
    data.Edits.MarkSaved();
  }
}

SaveResult SavePlan(SaveContext& ctx) {
  PlanData& data = ctx.data;
  EntriesBefore asked;    // entries the mold questions took off their machines
  WrittenBefore written;  // entries as they were before the writers changed them
  const auto nothingKept = [&] {
    written.Restore(data, ctx.model);
    asked.Restore(data, ctx.model);
  };
  if (ctx.connection.FileMoved()) return Refused(ctx, asked, kFileMoved);

  // Every question comes before anything is locked: first the molds, in memory only.
  const int stop = AskMoldConflicts(ctx, asked);
  const bool interrupted = stop <= data.PlanCount();
  const std::vector<int> entries = EntriesToWrite(data, stop);
  const std::vector<DayOf> days = ChangedDays(data);

  OthersChanges accepted;  // rows the user agreed to write over, as they stood when asked
  std::vector<std::string> deferred;
  bool holdAttempts = true;
  for (int questions = 0, rounds = 0, conflicts = 0;; ++rounds) {
    try {
      deferred = WritePass(ctx, accepted, entries, days, written, holdAttempts);
    } catch (const db::HeldAttemptFailed&) {
      // A row added together with other statements failed: the pass runs again sending each
      // such row alone, where a failed one is undone and retried alone.
      written.Restore(data, ctx.model);
      if (!holdAttempts) {
        nothingKept();
        return Failed(ctx, asked, std::current_exception());
      }
      holdAttempts = false;
      --rounds;
      continue;
    } catch (const TransactionConflict&) {
      // The server undid the pass for meeting another saver's: the same pass runs again.
      written.Restore(data, ctx.model);
      if (++conflicts <= kMaxConflictRetries) continue;
      nothingKept();
      return Refused(ctx, asked, kSaversKeepMeeting);
    } catch (const OthersChangedDuringSave&) {
      // Rolled back: nothing is locked while the user reads which rows changed and decides.
      written.Restore(data, ctx.model);
      try {
        if (!AskToWriteOver(ctx, entries, days, accepted, questions, rounds)) {
          return SaveResult::Declined;
        }
      } catch (const SaveRefused& refusal) {
        nothingKept();
        return Refused(ctx, asked, refusal.what());
      } catch (const DatabaseError&) {
        nothingKept();
        return Failed(ctx, asked, std::current_exception());
      }
      continue;
    } catch (const SaveRefused& refusal) {
      written.Restore(data, ctx.model);
      return Refused(ctx, asked, refusal.what());
    } catch (const CommitOutcomeUnknown&) {
      // Neither "saved" nor "nothing written" would be true: the edits stay as they were and the
      // user learns that a fresh load will tell.
      written.Restore(data, ctx.model);
      asked.Restore(data, ctx.model);
      const std::string detail = TechnicalErrorText(std::current_exception());
      if (!detail.empty()) std::cerr << "velmora: " << detail << std::endl;
      ctx.questions.Tell({UserErrorText(std::current_exception()), Tone::Critical});
      return SaveResult::Unknown;
    } catch (const DatabaseError&) {
      written.Restore(data, ctx.model);
      return Failed(ctx, asked, std::current_exception());
    } catch (const ConversionError&) {
      written.Restore(data, ctx.model);
      return Failed(ctx, asked, std::current_exception());
    } catch (...) {
      // Not the database's: the table goes back as it was and the failure goes on to whoever
      // ends the run.
      nothingKept();
      throw;
    }
    break;
  }
  return Finished(ctx.questions, deferred, interrupted);
}

}  // namespace velmora::saving
