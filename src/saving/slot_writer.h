#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "db/recordset.h"
#include "saving/numbering.h"
#include "saving/others_changes.h"
#include "saving/plan_save.h"
#include "saving/save_masters.h"

namespace velmora::saving {

// What one slot leaves for the next slots of its entry: chaining new arrangements to each other.
struct SlotMemory {
  std::int32_t previousSource = 0;
  std::int32_t previousNew = 0;
  std::int32_t previousNewParent = 0;
};

// What a slot reads before it writes. A slot that keeps its arrangement reads it all at once, by
// the arrangement's number; a slot that makes a new one reads each as it needs it.
struct SlotReads {
  db::Recordset row;                     // the arrangement, for update
  db::Recordset ownFirstRequirement;     // its first requirement row, for update
  db::Recordset childKind;               // 手配区分 of the arrangements under it
  db::Recordset parentKind;              // 手配区分 of the arrangement above it
  db::Recordset parentFirstRequirement;  // the first requirement row of that one, for update
  db::Recordset requirements;            // all its requirement rows, for update
  db::Recordset cycle;                   // its cycle master row, for update, when it has one
  db::Recordset price;                   // its purchase price, when the classification needs it
  bool together = false;
  bool priceRead = false;
};

// What a slot that makes a new arrangement reads before it numbers it, asked together.
struct NewSlotReads {
  db::Recordset source;                  // the arrangement it copies
  db::Recordset requirements;            // the source's requirement rows
  std::optional<std::int32_t> upcoming;  // the number it will take, when known before
  db::Recordset taken;                   // an arrangement that has that number already
  db::Recordset copy;                    // opened to add the requirement copies
};

// Where an entry's work goes as the save stores it.
struct Destination {
  std::string code;
  std::string machine;
};

// Writes the member slots of changed entries to 手配情報 with what hangs on them: new
// arrangements numbered and chained with their requirement rows, destination and
// classification, unit price, requirement quantities, cycle master, completion stamp.
class SlotWriter {
 public:
  // `accepted`: rows the user agreed to write over, as they stood when asked. `holdAttempts`:
  // rows added as attempts go with the next request where the engine holds writes back (a
  // failed one then fails the pass with db::HeldAttemptFailed); otherwise each is sent alone and
  // retried alone.
  SlotWriter(SaveContext& ctx, const OthersChanges& accepted, bool holdAttempts = true)
      : ctx_(ctx), accepted_(accepted), holdAttempts_(holdAttempts) {}

  // Writes entry i's forty slots. Throws SaveRefused when numbering cannot go on, and
  // OthersChangedDuringSave when a row to write is not as this copy read it.
  void WriteEntry(PlanEntry& entry);

  // Reads ahead, where each read costs an exchange, the machines and suppliers the entries (by
  // their table positions) will ask for.
  void ReadMasters(const std::vector<int>& entries);

  // The arrangement rows written so far (updated or added), for their new fingerprints.
  const std::vector<std::int32_t>& Written() const { return written_; }
  // Messages of the two retried writes that gave up; shown once nothing is locked any more.
  const std::vector<std::string>& Deferred() const { return deferred_; }

 private:
  void Write(PlanEntry& entry, Member& slot, SlotMemory& memory);
  // A slot that makes a new arrangement, in three exchanges at most on a server: what it copies,
  // what the classification and quantities read, and the writes going with the next slot's.
  void WriteNew(PlanEntry& entry, Member& slot, SlotMemory& memory, std::int32_t previousSource);
  // Reads what the new arrangement `r` of slot `a` needs after its copies are made, in one
  // request.
  void ReadForNew(const PlanEntry& entry, db::Recordset& r, std::int32_t a, std::int32_t owner,
                  SlotReads& reads);
  // Adds `rs`'s new row filled by `fill`: as one held attempt, or sent alone and retried.
  bool AddRow(db::Recordset& rs, const std::function<void()>& fill);
  // Throws OthersChangedDuringSave when arrangement a's row is not as expected.
  void CheckUnchanged(const db::Recordset& r, std::int32_t a) const;
  // Reads what slot `a` of an entry that keeps its arrangement needs, in one request.
  void ReadTogether(const PlanEntry& entry, std::int32_t a, SlotReads& reads);
  // Adds the slot's new arrangement to `r` as a copy of its source under a new number, chained
  // to the slot's previous copy, with the source's requirement rows. Returns the number whose
  // requirement rows take the quantities.
  std::int32_t NumberNewArrangement(PlanEntry& entry, Member& slot, SlotMemory& memory,
                                    db::Recordset& r, NewSlotReads& reads,
                                    std::int32_t previousSource);
  // The entry's destination (and machine, for a bare department) as the save stores them.
  Destination ChosenDestination(const PlanEntry& entry);
  // The entry's own columns on the slot's row.
  void WriteColumns(const PlanEntry& entry, const Member& slot, db::Recordset& r);
  void StampCompletion(db::Recordset& r);
  void Classify(PlanEntry& entry, db::Recordset& r, std::int32_t a, std::int32_t q,
                SlotReads& reads);
  void LookUpPrice(const PlanEntry& entry, db::Recordset& r, std::int32_t q, SlotReads& reads);
  void RequirementQuantities(db::Recordset& r, std::int32_t owner, std::int32_t q,
                             SlotReads& reads);
  void CycleMaster(const PlanEntry& entry, db::Recordset& r, SlotReads& reads);
  void CopyRequirements(db::Recordset& rows, std::int32_t a, std::int32_t number,
                        db::Recordset& copy);
  // Sets the first requirement row of `parent`, as `read` holds it when it was read already.
  void SetFirstSupplyControl(const db::Value& parent, const char* value, db::Recordset* read);
  void Defer(const char* message);

  SaveContext& ctx_;
  const OthersChanges& accepted_;
  const bool holdAttempts_;
  ArrangementNumbers numbers_;
  SaveMasters masters_{ctx_.connection};
  bool priceFlag_ = false;  // carried across slots and entries until a slot with a quantity
  std::vector<std::int32_t> written_;
  std::vector<std::string> deferred_;
};

}  // namespace velmora::saving
