#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/datetime.h"
#include "plandata/table_index.h"

namespace velmora {

// One member arrangement of a plan entry (a 手配情報 row carried by the bar).
struct Member {
  std::int32_t PlanNo = 0;         // 生産計画番号
  std::int32_t OrderNo = 0;        // 手配番号; 0 = free slot, negative = new, not yet saved
  std::int32_t SourceOrderNo = 0;  // for a member created by a split: the number copied from
  std::string ItemCode;
  std::int16_t Seq = 0;
  std::string ProcessName;
  std::string ModelName;
  std::int32_t OrderQty = 0;
  std::int32_t ReceivedQty = 0;

  bool operator==(const Member&) const = default;
};

// Member slots 1..20 of one group. Only slots up to the highest one written are stored, so an
// entry with one member does not pay for twenty; a slot never written reads as free.
class MemberGroup {
 public:
  static constexpr int kSlots = 20;

  // Slot k (1..20); a slot beyond the stored ones is a free, empty member.
  const Member& operator[](int k) const;
  // Slot k for writing; storage grows to hold it.
  Member& Slot(int k);
  // Number of stored slots (free slots included).
  int Stored() const { return static_cast<int>(slots_.size()); }
  // First free slot (1..20), or 0 when the group is full.
  int FirstFree() const;
  // Takes slot k out: the later slots move up by one and the last one comes free.
  void Remove(int k);
  // Every slot free.
  void Clear() { slots_.clear(); }
  // Members in slot order (the non-free slots); a list shows one line per member.
  int Count() const;
  // The slot of the line-th member (from 0), or 0 when there are fewer members.
  int SlotOfLine(int line) const;

  bool operator==(const MemberGroup&) const = default;

 private:
  std::vector<Member> slots_;
};

// One bar: one arrangement, or several merged into groups A and B.
struct PlanEntry {
  MemberGroup A;  // members whose item code has a 9th character other than "4" and "2"
  MemberGroup B;  // members whose 9th character is "4" or "2"

  std::int32_t BarIndex = 0;
  std::int32_t OrderNo = 0;
  // 上位手配番号 of the entry's own arrangement: the next step's arrangement, 0 when none. A
  // split-off entry keeps the number of the entry it came from: its members are the same step.
  std::int32_t ParentOrderNo = 0;
  std::string MachineCode;  // eight blanks: the unplanned row
  std::string DestinationCode;
  float CycleSeconds = 0;
  std::string ItemCode;
  std::int16_t Seq = 0;
  std::int16_t SetupMinutes = 0;
  std::string PlanItemCode;
  std::string ProcessName;
  std::string FirstProcessName;
  std::string ModelName;
  std::int16_t InUse = 0;
  DateTime StartDate;
  DateTime StartTime;
  DateTime EndDate;
  DateTime EndTime;
  DateTime InitialDueDate;
  std::int32_t OrderQty = 0;
  std::int32_t ReceivedQty = 0;
  DateTime LastResultDate;  // zero when there is none
  std::string PlanNoText;
  std::uint8_t Changed = 0;
  std::string ConfirmFlag;  // "1" tentative, "2" confirmed
  std::string ItemKind;
  std::int32_t DurationMinutes = 0;
  std::int32_t PlanQty = 0;
  std::string SheetIssueDate;
  std::uint8_t Hidden = 0;
  std::string FixedFlag;  // "0" free, "1" end fixed, "2" locked
  std::int32_t PackQty = 0;
  std::int32_t Cavities = 0;
  std::int32_t PieceWeight = 0;
  std::int32_t Workers = 0;
  std::int32_t ResultMinutes = 0;
  float MoldCycle = 0;
  std::string MoldNo;

  BarIdx Bar() const { return BarIdx{BarIndex}; }
  DateTime Start() const { return StartDate + StartTime; }
  DateTime End() const { return EndDate + EndTime; }
  // The plan has a bar on the chart: in use and not hidden.
  bool IsOnChart() const { return InUse > 0 && Hidden != 1; }
  bool IsConfirmed() const { return ConfirmFlag == "2"; }
  // The end may not move later, nor the plan leave its row.
  bool IsEndFixed() const { return FixedFlag == "1"; }
  // Nothing about the plan moves.
  bool IsLocked() const { return FixedFlag == "2"; }
  // Either fix: the plan keeps its place when others move around it.
  bool IsFixed() const { return IsEndFixed() || IsLocked(); }
  bool HasStorableFixedFlag() const { return FixedFlag == "0" || IsFixed(); }

  bool operator==(const PlanEntry&) const = default;

  // The member group an item code belongs to, by its 9th character.
  static bool IsGroupB(const std::string& itemCode);
};

}  // namespace velmora
