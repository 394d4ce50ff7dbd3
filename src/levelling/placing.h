#pragma once

#include <chrono>
#include <cstdint>
#include <set>
#include <utility>
#include <vector>

#include "levelling/schedule.h"

namespace velmora::levelling {

// The leveller's method over one schedule. Plans that are fine where they stand may keep their
// place; the others are placed again in order of their chain's due dates, steps below before
// steps above, each where it is least late and, at that, closest to where it stood (or where it
// ends first). Late plans then trade places with plans ahead of them on their row while the
// budget lasts, and moved plans settle back as near to where they stood as is free.
class Placing {
 public:
  // Each plan goes where it is least late and closest to where it stood, or, `leftJustified`,
  // where it ends first.
  Placing(Schedule& schedule, bool leftJustified);

  // Keeps, in order of their starts, the plans that clash with nothing kept or staying, are
  // not late and keep the step order with what is kept.
  void KeepWhatIsFine();
  // Places every plan not kept.
  void PlaceTheRest();
  // Orders the plans by their due dates moved forward by a random share of their length.
  void Shuffle(std::uint32_t seed);
  // Swaps late plans forward while that lowers the lateness; false when the deadline cut it.
  bool Improve(std::chrono::steady_clock::time_point deadline);
  // Takes each moved plan back to where it stood, or nearer to it, where that is free and
  // makes nothing later.
  void Settle();

 private:
  using Key = std::pair<DateTime, int>;  // due (zero last), then task

  Key KeyOf(int task) const;
  void Ready(int task);
  void PlaceNext(int task);
  void Release(int task);
  // Places the task and then `others` again; keeps that when it scores better, else undoes it.
  // `byDueDate`: all of them in order of their due dates, each where it ends first.
  bool TryMoving(int task, const std::vector<int>& others, bool byDueDate = false);
  // Tries to bring a late task forward: alone, trading places with one earlier plan of its
  // row, or going before a run of them.
  bool TryForward(int task);
  bool StepOrderHolds(int task) const;

  Schedule& schedule_;
  bool leftJustified_;
  std::vector<std::int64_t> priority_;  // seconds added to each due date, when shuffled
  std::vector<int> unplacedBelow_;
  std::set<Key> ready_;
  std::vector<bool> waiting_;
  int releases_ = 0;
};

}  // namespace velmora::levelling
