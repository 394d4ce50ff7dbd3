#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

#include "plandata/plan_data.h"

namespace velmora::editing {

// What an undo or redo changed, for the caller to show: the entries whose bars need laying out
// again, and whether calendar days changed (which redraws the whole chart).
struct Restored {
  std::vector<PlanIdx> plans;
  bool calendars = false;
};

// Undo and redo of whole gestures. A step holds each entry and calendar day it touched once:
// until it is undone the copies are the state before the gesture, afterwards the state after it,
// because undo and redo swap them with the live tables. No step copies the whole table.
class UndoHistory {
 public:
  static constexpr std::size_t kMaxSteps = 200;

  // Gestures nest: only the outermost Begin/End pair makes a step.
  void Begin(const PlanData& data);
  // Before entry i or calendar day (r, d) is written inside a gesture.
  void TouchPlan(const PlanData& data, PlanIdx i);
  void TouchDay(const PlanData& data, int r, int d);
  // Ends the gesture: a step that changed nothing is dropped; a new step clears the redo steps.
  void End(const PlanData& data);

  bool CanUndo() const { return done_ > 0; }
  bool CanRedo() const { return done_ < steps_.size(); }
  Restored Undo(PlanData& data);
  Restored Redo(PlanData& data);
  // After a save or a discard nothing before it can be undone.
  void Clear();
  // Forgets the undone steps: a step taken back for good (a dropped proposal) is not redone.
  void DropRedo();
  // Counts every step a gesture ever made, so a caller can tell whether its gesture made one.
  std::uint64_t StepsMade() const { return made_; }

  std::size_t Steps() const { return steps_.size(); }
  // Heap and inline bytes the steps hold, for the benchmarks.
  std::size_t MemoryBytes() const;

 private:
  struct DayCopy {
    std::int16_t row = 0;
    std::int16_t day = 0;
    std::array<DateTime, 8> shifts{};  // slots 1..8
    std::int16_t minutes = 0;
    std::int16_t changed = 0;
    bool operator==(const DayCopy&) const = default;
  };
  struct Step {
    std::vector<std::pair<PlanIdx, PlanEntry>> plans;
    std::vector<DayCopy> days;
    bool editedBefore = false;
    bool editedAfter = false;
  };

  static DayCopy ReadDay(const PlanData& data, int r, int d);
  static void SwapDay(PlanData& data, DayCopy& copy);
  // Swaps the step's copies with the live tables; `edited` is the unsaved state they leave.
  Restored Swap(PlanData& data, Step& step, bool edited);
  bool Changes(const PlanData& data, const Step& step) const;

  std::deque<Step> steps_;
  std::size_t done_ = 0;  // steps_[0..done_) can be undone, the rest redone
  std::uint64_t made_ = 0;
  int depth_ = 0;
  Step open_;
  std::uint32_t serial_ = 0;             // numbers the open gesture
  std::vector<std::uint32_t> planMark_;  // serial of the gesture that last recorded an entry
};

}  // namespace velmora::editing
