#include "editing/merge_plans.h"

#include <utility>

#include "common/text.h"

namespace velmora::editing {
namespace {

// One slot of s into t's group of the same letter.
void MergeSlot(Member& from, MemberGroup& into) {
  for (int e = 1; e <= MemberGroup::kSlots; ++e) {
    const Member& existing = into[e];
    if (existing.OrderNo == 0) {
      into.Slot(e) = from;
      return;
    }
    if (existing.ProcessName == from.ProcessName && existing.ItemCode == from.ItemCode &&
        existing.PlanNo == from.PlanNo && existing.OrderQty != 0) {
      Member& same = into.Slot(e);
      same.OrderQty += from.OrderQty;
      same.ReceivedQty += from.ReceivedQty;
      from.OrderQty = 0;
      from.ReceivedQty = 0;
      if (same.OrderNo < 0) {
        same.OrderNo = from.OrderNo;
        from.OrderNo = 0;
        return;
      }
      if (from.OrderNo < 0) {
        from.OrderNo = 0;
        return;
      }
      // t keeps the smaller number; the other goes on, without quantities, to a free slot.
      if (from.OrderNo < same.OrderNo) std::swap(from.OrderNo, same.OrderNo);
    }
  }
}

void MergeGroup(MemberGroup& fromGroup, PlanEntry& t, MemberGroup& intoGroup, int c) {
  if (fromGroup[c].OrderNo == 0) return;
  Member& slot = fromGroup.Slot(c);
  if (slot.ProcessName != t.FirstProcessName || Mid(slot.ItemCode, 9, 1) != t.ItemKind) return;
  t.OrderQty += slot.OrderQty;
  t.ReceivedQty += slot.ReceivedQty;
  MergeSlot(slot, intoGroup);
}

}  // namespace

void MergePlans(EditContext& ctx, PlanIdx s, PlanIdx t) {
  PlanEntry& from = ctx.Edit(s);
  PlanEntry& into = ctx.Edit(t);
  for (int c = 1; c <= MemberGroup::kSlots; ++c) {
    MergeGroup(from.A, into, into.A, c);
    MergeGroup(from.B, into, into.B, c);
  }
  ctx.model.Bar(from.Bar()).Visible = false;
  ctx.model.JBar(from.Bar()).Visible = false;
  ctx.MarkChanged(into);
  from.Changed = 0;
  from.OrderNo = 0;
  from.InUse = 0;
}

}  // namespace velmora::editing
