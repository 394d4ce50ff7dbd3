#include "levelling/schedule.h"

#include <algorithm>

#include "plandata/lateness.h"
#include "plandata/plan_end_time.h"
#include "worktime/work_day.h"

namespace velmora::levelling {
namespace {

// Enough steps over busy spans for any real row; a search that runs out leaves the plan where
// the last step put it rather than looping on a calendar without work.
constexpr int kMaxSearchSteps = 100000;

}  // namespace

Schedule::Schedule(const PlanData& data, Problem& problem)
    : data_(data), problem_(problem), places_(problem.tasks.size()) {}

DateTime Schedule::EndOn(int row, DateTime start, std::int32_t minutes) const {
  return ComputeEndTimeOnRow(data_, start, minutes, row);
}

// The first moment at or after `at` at which the row works: a plan put there starts with its
// work, not at the end of a shift.
DateTime Schedule::FirstWork(int row, DateTime at) const {
  return std::max(at, EndOn(row, at, 1).AddMinutes(-1));
}

std::vector<int> Schedule::PlacedBefore(int row, DateTime from, DateTime to,
                                        std::size_t limit) const {
  auto it = problem_.rows.find(row);
  if (it == problem_.rows.end()) return {};
  return it->second.OwnersBefore(from, to, limit);
}

bool Schedule::Free(const Task& t, int row, DateTime start, DateTime end) const {
  if (auto it = problem_.rows.find(row); it != problem_.rows.end()) {
    if (it->second.FirstOverlap(start, end)) return false;
  }
  if (t.mold.empty()) return true;
  auto it = problem_.molds.find(t.mold);
  return it == problem_.molds.end() || !it->second.FirstOverlap(start, end);
}

void Schedule::Take(int task, const Place& place) {
  const Task& t = TaskOf(task);
  const int row = t.choices[static_cast<std::size_t>(place.choice)].row;
  problem_.rows[row].Add(place.start, place.end, task);
  if (!t.mold.empty()) problem_.molds[t.mold].Add(place.start, place.end, task);
  places_[static_cast<std::size_t>(task)] = place;
  places_[static_cast<std::size_t>(task)].placed = true;
}

void Schedule::Stay(int task) {
  const Task& t = TaskOf(task);
  problem_.rows[t.row].AddStaying(t.start, t.end);
  if (!t.mold.empty()) problem_.molds[t.mold].AddStaying(t.start, t.end);
  places_[static_cast<std::size_t>(task)] = Place{true, true, 0, t.start, t.end};
}

std::vector<int> Schedule::Occupying(int task) const {
  const Task& t = TaskOf(task);
  std::vector<int> found;
  if (auto it = problem_.rows.find(t.row); it != problem_.rows.end()) {
    found = it->second.PlacedOverlapping(t.start, t.end);
  }
  if (auto it = problem_.molds.find(t.mold); !t.mold.empty() && it != problem_.molds.end()) {
    for (int o : it->second.PlacedOverlapping(t.start, t.end)) {
      if (std::ranges::find(found, o) == found.end()) found.push_back(o);
    }
  }
  return found;
}

void Schedule::GiveBack(int task) {
  Place& place = places_[static_cast<std::size_t>(task)];
  if (!place.placed || place.stays) return;
  const Task& t = TaskOf(task);
  problem_.rows[t.choices[static_cast<std::size_t>(place.choice)].row].Remove(place.start, task);
  if (!t.mold.empty()) problem_.molds[t.mold].Remove(place.start, task);
  place.placed = false;
}

Place Schedule::EarliestFrom(int task, int choice, DateTime from) const {
  const Task& t = TaskOf(task);
  const RowChoice& c = t.choices[static_cast<std::size_t>(choice)];
  const Timeline* row = nullptr;
  const Timeline* mold = nullptr;
  if (auto it = problem_.rows.find(c.row); it != problem_.rows.end()) row = &it->second;
  if (auto it = problem_.molds.find(t.mold); !t.mold.empty() && it != problem_.molds.end()) {
    mold = &it->second;
  }
  auto busyIn = [&](DateTime start, DateTime end) {
    const Timeline::Busy* busy = row ? row->FirstOverlap(start, end) : nullptr;
    return busy != nullptr || mold == nullptr ? busy : mold->FirstOverlap(start, end);
  };
  // A job takes at least its minutes of clock time: a gap shorter than that is passed over
  // without laying the job on the shifts.
  const std::int64_t leastMinutes =
      c.minutes == 0 ? kDefaultDurationMinutes : std::max(0, c.minutes);
  DateTime start = from;
  for (int step = 0; step < kMaxSearchSteps; ++step) {
    if (row != nullptr) start = row->FirstGap(start, leastMinutes * 60);
    if (const auto* busy = busyIn(start, start.AddMinutes(leastMinutes))) {
      start = busy->end;
      continue;
    }
    const DateTime working = FirstWork(c.row, start);
    if (working != start) {
      start = working;
      continue;
    }
    const DateTime end = EndOn(c.row, start, c.minutes);
    if (const auto* busy = busyIn(start, end)) {
      start = busy->end;
      continue;
    }
    return Place{false, false, choice, start, end};
  }
  return Place{false, false, choice, start, EndOn(c.row, start, c.minutes)};
}

DateTime Schedule::LowerBound(int task) const {
  const Task& t = TaskOf(task);
  DateTime bound = std::max(problem_.firstDay, t.belowStayingEnd);
  for (int b : t.below) {
    if (At(b).placed) bound = std::max(bound, At(b).end);
  }
  return bound;
}

DateTime Schedule::UpperBound(int task) const {
  const Task& t = TaskOf(task);
  DateTime bound = t.aboveStayingStart;
  for (int a : t.above) {
    if (At(a).placed && (bound.IsZero() || At(a).start < bound)) bound = At(a).start;
  }
  return bound;
}

PlaceCost Schedule::Cost(int task, const Place& place) const {
  const Task& t = TaskOf(task);
  const PlanEntry& p = data_.Plan(t.plan);
  const DateTime upper = UpperBound(task);
  PlaceCost cost;
  cost.beyondWindow = place.start >= problem_.lastEnd && place.start != t.start;
  cost.breaksOrder = !upper.IsZero() && place.end > upper;
  cost.late = EndsLate(p, place.end);
  cost.lateMinutes = LateMinutes(p, place.end);
  cost.otherRow = place.choice != 0;
  cost.movedSeconds = std::abs((place.start - t.start).Seconds());
  return cost;
}

Score Schedule::Total() const {
  Score total;
  for (int t = 0; t < Count(); ++t) total.Add(Cost(t, At(t)));
  return total;
}

std::optional<Place> Schedule::Original(int task) const {
  const Task& t = TaskOf(task);
  if (t.start < LowerBound(task) || !Free(t, t.row, t.start, t.end)) return std::nullopt;
  return Place{false, false, 0, t.start, t.end};
}

Place Schedule::Earliest(int task) const {
  const Task& t = TaskOf(task);
  const DateTime lower = LowerBound(task);
  Place best = EarliestFrom(task, 0, lower);
  auto key = [&](const Place& p) {
    const PlaceCost c = Cost(task, p);
    return std::tuple(c.beyondWindow, c.breaksOrder, c.late, c.lateMinutes, p.end, c.otherRow);
  };
  for (int c = 1; c < static_cast<int>(t.choices.size()); ++c) {
    const Place place = EarliestFrom(task, c, lower);
    if (key(place) < key(best)) best = place;
  }
  return best;
}

Place Schedule::Best(int task) const {
  const Task& t = TaskOf(task);
  const DateTime lower = LowerBound(task);
  Place best = EarliestFrom(task, 0, lower);
  PlaceCost bestCost = Cost(task, best);
  auto consider = [&](const Place& place) {
    const PlaceCost cost = Cost(task, place);
    if (cost < bestCost) {
      best = place;
      bestCost = cost;
    }
  };
  if (auto original = Original(task)) consider(*original);
  // Closest to where the scheduler put it: the first free place from its old start.
  if (t.start > lower) consider(EarliestFrom(task, 0, t.start));
  for (int c = 1; c < static_cast<int>(t.choices.size()); ++c) {
    consider(EarliestFrom(task, c, lower));
  }
  return best;
}

}  // namespace velmora::levelling
