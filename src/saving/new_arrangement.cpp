// The slots that make a new arrangement: a copy of their source under a new number, with the
// source's requirement rows, in three requests at most on a server.
#include <vector>

#include "common/errors.h"
#include "db/recordset.h"
#include "saving/slot_statements.h"
#include "saving/slot_writer.h"

namespace velmora::saving {

using db::CursorType;
using db::LockType;
using db::Recordset;
using namespace slot_statements;

void SlotWriter::WriteNew(PlanEntry& entry, Member& slot, SlotMemory& memory,
                          std::int32_t previousSource) {
  const std::int32_t a = slot.OrderNo;
  const std::int32_t s = slot.SourceOrderNo;
  const std::int32_t q = slot.OrderQty;
  SlotReads reads;
  Recordset& r = reads.row;
  NewSlotReads start;
  // Read after the writes before them, so the source is copied as this save leaves it.
  start.upcoming = numbers_.Upcoming();
  std::vector<db::BatchRead> batch{
      {kArrangement, {a}, &r, LockType::Optimistic},
      {kArrangement, {s}, &start.source},
      {kRequirements, {s}, &start.requirements},
  };
  if (start.upcoming) {
    batch.push_back({kNumberTaken, {*start.upcoming}, &start.taken});
    batch.push_back({kRequirements, {*start.upcoming}, &start.copy, LockType::Optimistic, true});
  }
  Recordset::OpenTogether(batch, ctx_.connection);
  // The requirement rows the quantities are computed for are the copies.
  const std::int32_t owner = NumberNewArrangement(entry, slot, memory, r, start, previousSource);

  const Destination destination = ChosenDestination(entry);
  entry.DestinationCode = destination.code;
  entry.MachineCode = destination.machine;
  ReadForNew(entry, r, a, owner, reads);
  Classify(entry, r, a, q, reads);
  RequirementQuantities(r, owner, q, reads);
  CycleMaster(entry, r, reads);
  WriteColumns(entry, slot, r);

  r.Append();  // nothing reads the new row back before the next request
  written_.push_back(slot.OrderNo);
  if (q != 0) priceFlag_ = false;
}

void SlotWriter::ReadForNew(const PlanEntry& entry, Recordset& r, std::int32_t a,
                            std::int32_t owner, SlotReads& reads) {
  // The same reads Classify, RequirementQuantities and CycleMaster would make one by one. None
  // of them reads what another one writes before it: the first requirement rows of the new
  // arrangement's slot and of its parent are not the copies the quantities go to.
  const auto optimistic = LockType::Optimistic;
  const db::Value parent = r.Fields("上位手配番号").Get();
  const db::Value own = a;
  std::vector<db::BatchRead> batch;
  const std::optional<std::string> kind = masters_.SupplierKind(entry.DestinationCode);
  if (kind == "1") {
    batch.push_back({kFirstSupplyControl, {own}, &reads.ownFirstRequirement, optimistic, true});
    batch.push_back({kKindOf, {parent}, &reads.parentKind});
    batch.push_back(
        {kFirstSupplyControl, {parent}, &reads.parentFirstRequirement, optimistic, true});
  } else if (kind == "2") {
    if (r.Fields("単価").Number() == 0 &&
        r.Fields("指示先コード").Text() != entry.DestinationCode) {
      batch.push_back(
          {kPrice,
           {entry.DestinationCode, r.Fields("品名コード").Text(), r.Fields("順序").Get()},
           &reads.price});
      reads.priceRead = true;
    }
    batch.push_back({kChildKind, {own}, &reads.childKind});
    batch.push_back({kFirstSupplyControl, {own}, &reads.ownFirstRequirement, optimistic, true});
    batch.push_back(
        {kFirstSupplyControl, {parent}, &reads.parentFirstRequirement, optimistic, true});
  }
  batch.push_back({kRequirements, {owner}, &reads.requirements, optimistic});
  if (KeepsCycle(entry, entry.MachineCode)) {
    batch.push_back({kCycle,
                     {r.Fields("品名コード").Text(), r.Fields("順序").Get(), entry.MachineCode},
                     &reads.cycle,
                     optimistic});
  }
  Recordset::OpenTogether(batch, ctx_.connection);
  reads.together = true;
}

std::int32_t SlotWriter::NumberNewArrangement(PlanEntry& entry, Member& slot, SlotMemory& memory,
                                              Recordset& r, NewSlotReads& reads,
                                              std::int32_t previousSource) {
  const std::int32_t a = slot.OrderNo;
  const std::int32_t s = slot.SourceOrderNo;
  db::Connection& connection = ctx_.connection;
  Recordset& source = reads.source;
  if (source.Eof()) {
    throw DatabaseError("手配番号 " + std::to_string(s) + " の元の手配がありません");
  }
  r.AddNew();
  CopyFields(source, r);
  r.Fields("指示書発行日") = "00000000";
  r.Fields("受入実績数") = 0;
  const std::int32_t number = numbers_.Next(connection, reads.upcoming, &reads.taken);
  r.Fields("手配番号") = number;
  slot.OrderNo = number;
  // A bar known by its new member is known by the member's number from now on.
  if (entry.OrderNo == a) entry.OrderNo = number;
  slot.SourceOrderNo = 0;
  // Copies chain as their sources did: one whose parent is the other's source hangs under the
  // other's copy.
  if (memory.previousNewParent == s && memory.previousNew != 0) {
    Recordset previous;
    previous.Open(kArrangement, {memory.previousNew}, connection, CursorType::Keyset,
                  LockType::Optimistic);
    if (!previous.Eof()) {
      previous.Fields("上位手配番号") = number;
      previous.Update();
      written_.push_back(memory.previousNew);
    }
  }
  if (previousSource != 0 && r.Fields("上位手配番号").Number() == previousSource) {
    r.Fields("上位手配番号") = memory.previousNew;
  }
  memory.previousNew = number;
  memory.previousNewParent = static_cast<std::int32_t>(r.Fields("上位手配番号").Number());
  CopyRequirements(reads.requirements, a, number, reads.copy);
  return a < 0 ? number : a;
}

void SlotWriter::CopyRequirements(Recordset& rows, std::int32_t a, std::int32_t number,
                                  Recordset& copy) {
  for (; !rows.Eof(); rows.MoveNext()) {
    // Opened to add rows: the copies made so far need not be read.
    if (!copy.IsOpen())
      copy.OpenFirstRow(kRequirements, {number}, ctx_.connection, LockType::Optimistic);
    const bool stored = AddRow(copy, [&] {
      CopyFields(rows, copy);
      copy.Fields("上位手配番号") = a < 0 ? number : a;
    });
    if (!stored) {
      Defer(kRequirementCopyFailed);
      return;
    }
  }
}

}  // namespace velmora::saving
