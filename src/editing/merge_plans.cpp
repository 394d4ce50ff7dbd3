#include "editing/merge_plans.h"

#include <utility>

#include "chart/bar_layout.h"
#include "common/text.h"

namespace velmora::editing {
namespace {

// One slot of s into t's group of the same letter. The slot of s is emptied once its member
// lives on in t: copied into a free slot, or absorbed with its number given up.
void MergeSlot(Member& from, MemberGroup& into) {
  for (int e = 1; e <= MemberGroup::kSlots; ++e) {
    const Member& existing = into[e];
    if (existing.OrderNo == 0) {
      into.Slot(e) = from;
      from = Member{};
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
        from = Member{};
        return;
      }
      if (from.OrderNo < 0) {
        from = Member{};
        return;
      }
      // t keeps the smaller number; the other goes on, without quantities, to a free slot.
      if (from.OrderNo < same.OrderNo) std::swap(from.OrderNo, same.OrderNo);
    }
  }
}

// The quantities that left s with slot c of `fromGroup`.
void MergeGroup(MemberGroup& fromGroup, PlanEntry& s, PlanEntry& t, MemberGroup& intoGroup, int c) {
  if (fromGroup[c].OrderNo == 0) return;
  Member& slot = fromGroup.Slot(c);
  if (slot.ProcessName != t.FirstProcessName || Mid(slot.ItemCode, 9, 1) != t.ItemKind) return;
  const std::int32_t quantity = slot.OrderQty;
  const std::int32_t received = slot.ReceivedQty;
  MergeSlot(slot, intoGroup);
  // What went over counts for t; a member t had no room for keeps its quantities in s.
  const std::int32_t movedQuantity = quantity - slot.OrderQty;
  const std::int32_t movedReceived = received - slot.ReceivedQty;
  t.OrderQty += movedQuantity;
  t.ReceivedQty += movedReceived;
  s.OrderQty -= movedQuantity;
  s.ReceivedQty -= movedReceived;
}

// The members left in a group move up over the slots that emptied.
void CloseGaps(MemberGroup& group) {
  for (int k = group.Stored(); k >= 1; --k) {
    if (group[k].OrderNo == 0) group.Remove(k);
  }
}

}  // namespace

void MergePlans(EditContext& ctx, PlanIdx s, PlanIdx t) {
  PlanEntry& from = ctx.Edit(s);
  PlanEntry& into = ctx.Edit(t);
  for (int c = 1; c <= MemberGroup::kSlots; ++c) {
    MergeGroup(from.A, from, into, into.A, c);
    MergeGroup(from.B, from, into, into.B, c);
  }
  ctx.MarkChanged(into);
  CloseGaps(from.A);
  CloseGaps(from.B);
  if (from.A.Count() + from.B.Count() > 0) {
    // Members that did not fit stay on their own bar: leaving the chart with s would hide
    // arrangements that are still planned where they were.
    if (const int k = from.A.SlotOfLine(0); k != 0) {
      from.OrderNo = from.A[k].OrderNo;
    } else {
      from.OrderNo = from.B[from.B.SlotOfLine(0)].OrderNo;
    }
    ctx.MarkChanged(from);
    chart::LayoutBar(ctx.data, ctx.model, s, 0);
    return;
  }
  ctx.model.Bar(from.Bar()).Visible = false;
  ctx.model.JBar(from.Bar()).Visible = false;
  from.Changed = 0;
  from.OrderNo = 0;
  from.InUse = 0;
}

}  // namespace velmora::editing
