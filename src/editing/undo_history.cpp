#include "editing/undo_history.h"

#include <algorithm>
#include <utility>

namespace velmora::editing {
namespace {

std::size_t HeapOf(const std::string& s) {
  // Short texts live inside the string object itself.
  return s.capacity() > std::string().capacity() ? s.capacity() + 1 : 0;
}

std::size_t HeapOf(const Member& m) {
  return HeapOf(m.ItemCode) + HeapOf(m.ProcessName) + HeapOf(m.ModelName);
}

std::size_t HeapOf(const MemberGroup& g) {
  std::size_t bytes = static_cast<std::size_t>(g.Stored()) * sizeof(Member);
  for (int k = 1; k <= g.Stored(); ++k) bytes += HeapOf(g[k]);
  return bytes;
}

std::size_t HeapOf(const PlanEntry& p) {
  return HeapOf(p.A) + HeapOf(p.B) + HeapOf(p.MachineCode) + HeapOf(p.DestinationCode) +
         HeapOf(p.ItemCode) + HeapOf(p.PlanItemCode) + HeapOf(p.ProcessName) +
         HeapOf(p.FirstProcessName) + HeapOf(p.ModelName) + HeapOf(p.PlanNoText) +
         HeapOf(p.ConfirmFlag) + HeapOf(p.ItemKind) + HeapOf(p.SheetIssueDate) +
         HeapOf(p.FixedFlag) + HeapOf(p.MoldNo);
}

}  // namespace

void UndoHistory::Begin(const PlanData& data) {
  if (depth_++ > 0) return;
  open_ = Step{};
  open_.editedBefore = data.Edits.Edited();
  ++serial_;
}

void UndoHistory::TouchPlan(const PlanData& data, PlanIdx i) {
  if (depth_ == 0) return;  // a change outside any gesture (the load) is not undoable
  if (planMark_.size() <= i.Slot()) planMark_.resize(i.Slot() + 1, 0);
  if (planMark_[i.Slot()] == serial_) return;
  planMark_[i.Slot()] = serial_;
  open_.plans.emplace_back(i, data.Plan(i));
}

void UndoHistory::TouchDay(const PlanData& data, int r, int d) {
  if (depth_ == 0) return;
  const bool known = std::any_of(open_.days.begin(), open_.days.end(),
                                 [&](const DayCopy& c) { return c.row == r && c.day == d; });
  if (!known) open_.days.push_back(ReadDay(data, r, d));
}

void UndoHistory::End(const PlanData& data) {
  if (depth_ == 0 || --depth_ > 0) return;
  open_.editedAfter = data.Edits.Edited();
  if (!Changes(data, open_)) return;
  steps_.erase(steps_.begin() + static_cast<std::ptrdiff_t>(done_), steps_.end());
  steps_.push_back(std::move(open_));
  if (steps_.size() > kMaxSteps) steps_.pop_front();
  done_ = steps_.size();
  ++made_;
  open_ = Step{};
}

bool UndoHistory::Changes(const PlanData& data, const Step& step) const {
  if (step.editedBefore != step.editedAfter) return true;
  for (const auto& [i, before] : step.plans) {
    if (!(data.Plan(i) == before)) return true;
  }
  for (const DayCopy& before : step.days) {
    if (!(ReadDay(data, before.row, before.day) == before)) return true;
  }
  return false;
}

Restored UndoHistory::Undo(PlanData& data) {
  if (!CanUndo()) return {};
  Step& step = steps_[--done_];
  return Swap(data, step, step.editedBefore);
}

Restored UndoHistory::Redo(PlanData& data) {
  if (!CanRedo()) return {};
  Step& step = steps_[done_++];
  return Swap(data, step, step.editedAfter);
}

Restored UndoHistory::Swap(PlanData& data, Step& step, bool edited) {
  if (edited) {
    data.Edits.MarkEdited();
  } else {
    data.Edits.MarkSaved();
  }
  Restored restored;
  for (auto& [i, copy] : step.plans) {
    std::swap(data.Plan(i), copy);
    restored.plans.push_back(i);
  }
  for (DayCopy& copy : step.days) SwapDay(data, copy);
  restored.calendars = !step.days.empty();
  return restored;
}

void UndoHistory::Clear() {
  steps_.clear();
  done_ = 0;
}

void UndoHistory::DropRedo() {
  steps_.erase(steps_.begin() + static_cast<std::ptrdiff_t>(done_), steps_.end());
}

UndoHistory::DayCopy UndoHistory::ReadDay(const PlanData& data, int r, int d) {
  DayCopy c;
  c.row = static_cast<std::int16_t>(r);
  c.day = static_cast<std::int16_t>(d);
  for (int s = 1; s <= 8; ++s) c.shifts[static_cast<std::size_t>(s - 1)] = data.ShiftTimes(r, s, d);
  c.minutes = data.WorkMinutes(r, d);
  c.changed = data.CalendarChanged(r, d);
  return c;
}

void UndoHistory::SwapDay(PlanData& data, DayCopy& copy) {
  const DayCopy live = ReadDay(data, copy.row, copy.day);
  for (int s = 1; s <= 8; ++s) {
    data.ShiftTimes(copy.row, s, copy.day) = copy.shifts[static_cast<std::size_t>(s - 1)];
  }
  data.WorkMinutes(copy.row, copy.day) = copy.minutes;
  data.CalendarChanged(copy.row, copy.day) = copy.changed;
  copy = live;
}

std::size_t UndoHistory::MemoryBytes() const {
  std::size_t bytes = 0;
  for (const Step& step : steps_) {
    bytes += sizeof(Step) + step.plans.capacity() * sizeof(std::pair<PlanIdx, PlanEntry>) +
             step.days.capacity() * sizeof(DayCopy);
    for (const auto& [i, copy] : step.plans) bytes += HeapOf(copy);
  }
  return bytes;
}

}  // namespace velmora::editing
