#include "saving/plan_save.h"

#include <algorithm>
#include <exception>
#include <iostream>
#include <map>
#include <optional>
#include <unordered_map>
#include <vector>

#include "chart/bar_layout.h"
#include "common/date_text.h"
#include "common/error_text.h"
#include "common/errors.h"
#include "common/msgbox.h"
#include "common/text.h"
#include "db/recordset.h"
#include "db/sql_text.h"
#include "db/transaction.h"
#include "editing/row_code_at.h"
#include "saving/slot_writer.h"

namespace velmora::saving {
namespace {

using editing::kNoMachine;

// Entries as they were before the save wrote into them, so that a failed save can put every
// flag, code and new member's number back and the user can save again.
class EntriesBefore {
 public:
  void Keep(const PlanData& data, int i) {
    if (!kept_.count(i)) kept_.emplace(i, data.PlanTable[static_cast<std::size_t>(i)]);
  }
  void Restore(PlanData& data, chart::ChartModel& model, int only = -1) {
    for (auto& [i, entry] : kept_) {
      if (only >= 0 && i != only) continue;
      data.PlanTable[static_cast<std::size_t>(i)] = entry;
      if (entry.InUse > 0) chart::LayoutBar(data, model, PlanIdx{i}, 0);
    }
  }
  void Forget(int i) { kept_.erase(i); }

 private:
  std::map<int, PlanEntry> kept_;
};

bool IsFixed(const PlanEntry& p) {
  return p.FixedFlag == "1" || p.FixedFlag == "2";
}

// Entries by mold number, gathered once per save: a changed entry's check then looks at the
// entries sharing its mold, not at the whole table. Molds do not change during a save.
class MoldIndex {
 public:
  explicit MoldIndex(const PlanData& data) {
    for (int j = 1; j <= data.PlanCount(); ++j)
      byMold_[data.PlanTable[static_cast<std::size_t>(j)].MoldNo].push_back(j);
  }
  const std::vector<int>& Sharing(const std::string& mold) const { return byMold_.at(mold); }

 private:
  std::unordered_map<std::string, std::vector<int>> byMold_;
};

// The first entry that uses entry i's mold at an overlapping time on some machine, after `from`;
// 0 when none does.
int NextMoldConflict(const PlanData& data, const MoldIndex& molds, int i, int from) {
  const PlanEntry& p = data.PlanTable[static_cast<std::size_t>(i)];
  const std::vector<int>& sharing = molds.Sharing(p.MoldNo);
  for (auto it = std::lower_bound(sharing.begin(), sharing.end(), from); it != sharing.end();
       ++it) {
    const int j = *it;
    const PlanEntry& other = data.PlanTable[static_cast<std::size_t>(j)];
    if (j == i || !(p.End() > other.Start() && other.End() > p.Start())) continue;
    if (!Trim(other.MachineCode).empty()) return j;
  }
  return 0;
}

// Takes a plan off its machine: the mold conflict was not accepted.
void Unassign(SaveContext& ctx, EntriesBefore& before, int i) {
  PlanEntry& p = ctx.data.PlanTable[static_cast<std::size_t>(i)];
  if (IsFixed(p)) return;
  before.Keep(ctx.data, i);
  p.DestinationCode.clear();
  p.MachineCode = kNoMachine;
  chart::LayoutBar(ctx.data, ctx.model, PlanIdx{i}, 0);
}

// False when the user declined a conflict: the walk must stop.
bool MoldCheck(SaveContext& ctx, const MoldIndex& molds, EntriesBefore& before, int i) {
  if (Trim(ctx.data.PlanTable[static_cast<std::size_t>(i)].MoldNo).empty()) return true;
  for (int j = NextMoldConflict(ctx.data, molds, i, 1); j != 0;
       j = NextMoldConflict(ctx.data, molds, i, j + 1)) {
    const ui::Answer answer =
        ui::MsgBox(kMoldConflictQuestion, ui::kYesNo | ui::kDefaultButton2, kMoldConflictTitle);
    if (answer == ui::Answer::Yes) continue;
    Unassign(ctx, before, i);
    Unassign(ctx, before, j);
    return false;
  }
  return true;
}

void WriteCalendars(SaveContext& ctx) {
  const PlanData& data = ctx.data;
  const DateTime first = data.PeriodStartDate().AddDays(-2);
  for (int d = 0; d <= data.DayCount && d < data.Calendars.Days(); ++d) {
    for (int r = 1; r <= data.MachineRowCount; ++r) {
      if (data.CalendarChanged(r, d) != 1) continue;
      db::Recordset day;
      day.Open("SELECT * FROM 機械別勤務体系マスタ WHERE 機械コード='" +
                   db::SqlText(data.RowCode[static_cast<std::size_t>(r)]) + "' AND 年月日='" +
                   FormatYmd(first.AddDays(d)) + "'",
               ctx.connection, db::CursorType::Keyset, db::LockType::Optimistic);
      if (day.Eof()) continue;
      day.Fields("勤務時間") = data.WorkMinutes(r, d);
      const char* columns[] = {"開始時刻１", "終了時刻１", "開始時刻２", "終了時刻２"};
      for (int s = 1; s <= 4; ++s) day.Fields(columns[s - 1]) = FormatHms(data.ShiftTimes(r, s, d));
      day.Update();
    }
  }
}

bool HasNewMember(const PlanEntry& entry) {
  for (const MemberGroup* group : {&entry.A, &entry.B}) {
    for (int k = 1; k <= group->Stored(); ++k) {
      if ((*group)[k].OrderNo != 0 && (*group)[k].SourceOrderNo != 0) return true;
    }
  }
  return false;
}

// Writes entry i's forty slots; false when numbering failed.
bool WriteEntry(SlotWriter& writer, PlanEntry& entry) {
  for (MemberGroup* group : {&entry.A, &entry.B}) {
    SlotMemory memory;  // the previous source number starts at 0 in each group
    for (int k = 1; k <= MemberGroup::kSlots; ++k) {
      if ((*group)[k].OrderNo == 0) {
        // An empty slot still passes its (empty) source number on and resets the chain.
        Member empty = (*group)[k];
        if (!writer.Write(entry, empty, memory)) return false;
        continue;
      }
      if (!writer.Write(entry, group->Slot(k), memory)) return false;
    }
  }
  return true;
}

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

}  // namespace

bool AnyChanged(const PlanData& data) {
  for (int i = 2; i <= data.PlanCount(); ++i) {
    if (data.PlanTable[static_cast<std::size_t>(i)].Changed != 0) return true;
  }
  return false;
}

void AfterSave(PlanData& data, SaveResult result) {
  if (result == SaveResult::Failed) return;
  if (AnyChanged(data)) {
    data.Edits.MarkEdited();
  } else {
    data.Edits.MarkSaved();
  }
}

SaveResult SavePlan(SaveContext& ctx) {
  PlanData& data = ctx.data;
  const int n = data.PlanCount();
  EntriesBefore before;
  const char* stopped = nullptr;  // the message of an early stop, shown once the work is kept
  {
    ProgressScope progress(ctx.progress, n);
    try {
      db::Transaction transaction(ctx.connection);
      SlotWriter writer(ctx);
      const MoldIndex molds(data);
      bool numbered = true;
      for (int i = 2; i <= n; ++i) {
        progress.Step(i, n);
        PlanEntry& entry = data.PlanTable[static_cast<std::size_t>(i)];
        if (entry.Changed == 0) continue;
        if (!MoldCheck(ctx, molds, before, i)) {
          stopped = kSaveInterrupted;
          break;
        }
        before.Keep(data, i);
        // Only numbering a new member can fail part way; other entries need no point to go back
        // to, and an open savepoint copies every page the entry touches before changing it.
        std::optional<db::Savepoint> entryPoint;
        if (HasNewMember(entry)) entryPoint.emplace(ctx.connection);
        if (!WriteEntry(writer, entry)) {
          // Nothing of this entry is kept: its rows and its numbers go back together.
          entryPoint->RollbackTo();
          before.Restore(data, ctx.model, i);
          before.Forget(i);
          numbered = false;
          stopped = kNoNumbering;
          break;
        }
        if (entryPoint) entryPoint->Release();
        entry.Changed = 0;
      }
      if (numbered) WriteCalendars(ctx);
      transaction.Commit();
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
  }
  if (stopped != nullptr) {
    ui::MsgBox(stopped);
    return SaveResult::Interrupted;
  }
  return SaveResult::Complete;
}

}  // namespace velmora::saving
