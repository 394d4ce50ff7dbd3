#pragma once

#include <cstdint>
#include <optional>
#include <tuple>
#include <vector>

#include "levelling/level_problem.h"
#include "plandata/plan_data.h"

namespace velmora::levelling {

// Where a task stands in a schedule.
struct Place {
  bool placed = false;
  bool stays = false;  // no place inside the window: it keeps its own, as if fixed
  int choice = 0;      // index into the task's choices
  DateTime start;
  DateTime end;
};

// How good a place is for one task, compared in this order: starting after the window, an order
// bound broken (only where a staying step leaves no room), late, minutes late, moved to another
// machine, distance moved.
struct PlaceCost {
  bool beyondWindow = false;
  bool breaksOrder = false;
  bool late = false;
  std::int64_t lateMinutes = 0;
  bool otherRow = false;
  std::int64_t movedSeconds = 0;

  auto operator<=>(const PlaceCost&) const = default;
};

// What tasks' places add up to, compared in the order the proposal aims for.
struct Score {
  int beyondWindow = 0;
  int brokenOrder = 0;
  int late = 0;
  std::int64_t lateMinutes = 0;
  int moved = 0;
  std::int64_t movedSeconds = 0;

  void Add(const PlaceCost& c) {
    beyondWindow += c.beyondWindow ? 1 : 0;
    brokenOrder += c.breaksOrder ? 1 : 0;
    late += c.late ? 1 : 0;
    lateMinutes += c.lateMinutes;
    moved += c.movedSeconds != 0 || c.otherRow ? 1 : 0;
    movedSeconds += c.movedSeconds;
  }
  auto Tuple() const {
    return std::tie(beyondWindow, brokenOrder, late, lateMinutes, moved, movedSeconds);
  }
  bool operator<(const Score& o) const { return Tuple() < o.Tuple(); }
};

// The tasks' places over the busy spans of what stays: places are taken and given back, and a
// task's earliest free place is searched on its row's shifts and its mold.
class Schedule {
 public:
  Schedule(const PlanData& data, Problem& problem);

  const Place& At(int task) const { return places_[static_cast<std::size_t>(task)]; }
  void Take(int task, const Place& place);
  void GiveBack(int task);
  // The task keeps its own place for good and counts as staying from now on. Its place must be
  // free: see Occupying.
  void Stay(int task);
  // The placed tasks standing where the task stood, on its row or its mold.
  std::vector<int> Occupying(int task) const;

  // The earliest place of task on its choice, starting no earlier than `from`, free on its row
  // and mold. Laid on the row's shifts as a drop lays it.
  Place EarliestFrom(int task, int choice, DateTime from) const;
  // The best place for the task given the places taken so far.
  Place Best(int task) const;
  // The place on any of its rows that ends first, of those least late.
  Place Earliest(int task) const;
  PlaceCost Cost(int task, const Place& place) const;
  // Every task's place, added up.
  Score Total() const;
  // The earliest start the steps below allow, and the latest end the steps above allow (zero:
  // none), from what stays and the tasks placed.
  DateTime LowerBound(int task) const;
  DateTime UpperBound(int task) const;
  // A place that stands where the task stood, if it is still free.
  std::optional<Place> Original(int task) const;

  // Tasks placed on `row` starting in [from, to), the latest first, at most `limit`.
  std::vector<int> PlacedBefore(int row, DateTime from, DateTime to, std::size_t limit) const;

  const Task& TaskOf(int task) const { return problem_.tasks[static_cast<std::size_t>(task)]; }
  int Count() const { return static_cast<int>(places_.size()); }

 private:
  DateTime EndOn(int row, DateTime start, std::int32_t minutes) const;
  DateTime FirstWork(int row, DateTime at) const;
  bool Free(const Task& t, int row, DateTime start, DateTime end) const;

  const PlanData& data_;
  Problem& problem_;
  std::vector<Place> places_;
};

}  // namespace velmora::levelling
