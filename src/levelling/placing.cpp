#include "levelling/placing.h"

#include <algorithm>
#include <functional>
#include <numeric>
#include <random>
#include <tuple>

namespace velmora::levelling {
namespace {

// Trades tried for one late plan: the nearest earlier plans of its row.
constexpr std::size_t kTradeCandidates = 12;

}  // namespace

Placing::Placing(Schedule& schedule, bool leftJustified)
    : schedule_(schedule),
      leftJustified_(leftJustified),
      unplacedBelow_(static_cast<std::size_t>(schedule.Count()), 0),
      waiting_(static_cast<std::size_t>(schedule.Count()), false) {}

Placing::Key Placing::KeyOf(int task) const {
  const DateTime key = schedule_.TaskOf(task).chainDue;
  return {priority_.empty() ? key : key.AddSeconds(priority_[static_cast<std::size_t>(task)]),
          task};
}

void Placing::Shuffle(std::uint32_t seed) {
  // A plan that takes long is brought forward by up to twice its length: the due date alone
  // lets short plans that are due first hold back a long one that is then late.
  std::mt19937 random(seed);
  std::uniform_real_distribution<double> share(0.0, 2.0);
  priority_.assign(static_cast<std::size_t>(schedule_.Count()), 0);
  for (int t = 0; t < schedule_.Count(); ++t) {
    const Task& task = schedule_.TaskOf(t);
    priority_[static_cast<std::size_t>(t)] = -static_cast<std::int64_t>(
        share(random) * static_cast<double>((task.end - task.start).Seconds()));
  }
}

void Placing::KeepWhatIsFine() {
  std::vector<int> order(static_cast<std::size_t>(schedule_.Count()));
  std::iota(order.begin(), order.end(), 0);
  std::ranges::sort(order, [&](int a, int b) {
    return std::tie(schedule_.TaskOf(a).start, a) < std::tie(schedule_.TaskOf(b).start, b);
  });
  for (int t : order) {
    const auto original = schedule_.Original(t);
    if (!original) continue;
    const PlaceCost cost = schedule_.Cost(t, *original);
    if (cost.breaksOrder || cost.late) continue;
    schedule_.Take(t, *original);
  }
}

void Placing::PlaceTheRest() {
  for (int t = 0; t < schedule_.Count(); ++t) {
    for (int b : schedule_.TaskOf(t).below) {
      if (!schedule_.At(b).placed) ++unplacedBelow_[static_cast<std::size_t>(t)];
    }
  }
  for (int t = 0; t < schedule_.Count(); ++t) {
    if (!schedule_.At(t).placed) Ready(t);
  }
  while (true) {
    while (!ready_.empty()) {
      const int t = ready_.begin()->second;
      ready_.erase(ready_.begin());
      PlaceNext(t);
    }
    // Steps whose order runs in a circle never become ready: placed without the order.
    auto stuck = std::ranges::find(waiting_, true);
    if (stuck == waiting_.end()) break;
    const int t = static_cast<int>(stuck - waiting_.begin());
    waiting_[static_cast<std::size_t>(t)] = false;
    unplacedBelow_[static_cast<std::size_t>(t)] = 0;
    ready_.insert(KeyOf(t));
  }
}

void Placing::Ready(int task) {
  if (unplacedBelow_[static_cast<std::size_t>(task)] == 0) {
    ready_.insert(KeyOf(task));
  } else {
    waiting_[static_cast<std::size_t>(task)] = true;
  }
}

void Placing::PlaceNext(int task) {
  const Place best = leftJustified_ ? schedule_.Earliest(task) : schedule_.Best(task);
  if (schedule_.Cost(task, best).beyondWindow) {
    // Nowhere inside the window: it stays where the scheduler put it, and the clash is listed.
    // Plans placed on its old place since go again.
    const std::vector<int> occupying = schedule_.Occupying(task);
    for (int o : occupying) schedule_.GiveBack(o);
    schedule_.Stay(task);
    for (int o : occupying) {
      for (int a : schedule_.TaskOf(o).above) {
        if (!schedule_.At(a).placed) ++unplacedBelow_[static_cast<std::size_t>(a)];
      }
      Ready(o);
    }
  } else {
    schedule_.Take(task, best);
  }
  const Place& place = schedule_.At(task);
  for (int a : schedule_.TaskOf(task).above) {
    int& count = unplacedBelow_[static_cast<std::size_t>(a)];
    if (count > 0) --count;
    if (count == 0 && waiting_[static_cast<std::size_t>(a)]) {
      waiting_[static_cast<std::size_t>(a)] = false;
      ready_.insert(KeyOf(a));
    }
  }
  // A step above that was kept or placed before this one now starts too early: it goes again.
  // The count bounds a chain of such returns where the steps' order runs in a circle.
  for (int a : schedule_.TaskOf(task).above) {
    if (schedule_.At(a).placed && schedule_.At(a).start < place.end &&
        releases_ < 4 * schedule_.Count() + 16) {
      Release(a);
    }
  }
}

void Placing::Release(int task) {
  ++releases_;
  schedule_.GiveBack(task);
  for (int a : schedule_.TaskOf(task).above) {
    if (!schedule_.At(a).placed) ++unplacedBelow_[static_cast<std::size_t>(a)];
  }
  Ready(task);
}

bool Placing::StepOrderHolds(int task) const {
  const Place& place = schedule_.At(task);
  for (int a : schedule_.TaskOf(task).above) {
    if (schedule_.At(a).placed && schedule_.At(a).start < place.end) return false;
  }
  for (int b : schedule_.TaskOf(task).below) {
    if (schedule_.At(b).placed && schedule_.At(b).end > place.start) return false;
  }
  return true;
}

bool Placing::TryMoving(int task, const std::vector<int>& others, bool byDueDate) {
  if (schedule_.At(task).stays) return false;
  for (int o : others) {
    if (schedule_.At(o).stays) return false;
  }
  std::vector<std::pair<int, Place>> was{{task, schedule_.At(task)}};
  for (int o : others) was.emplace_back(o, schedule_.At(o));
  Score before;
  for (const auto& [t, place] : was) before.Add(schedule_.Cost(t, place));
  for (const auto& [t, place] : was) schedule_.GiveBack(t);
  if (byDueDate) {
    std::vector<std::pair<Key, int>> order;
    for (const auto& [t, place] : was) order.emplace_back(KeyOf(t), t);
    std::ranges::sort(order);
    for (const auto& [key, t] : order) {
      const int choice = schedule_.At(t).choice;
      schedule_.Take(t, schedule_.EarliestFrom(t, choice, schedule_.LowerBound(t)));
    }
  } else {
    // The late plan first, then the others in the order they stood.
    for (const auto& [t, place] : was) schedule_.Take(t, schedule_.Best(t));
  }
  Score after;
  bool orderHolds = true;
  for (const auto& [t, place] : was) {
    after.Add(schedule_.Cost(t, schedule_.At(t)));
    orderHolds = orderHolds && StepOrderHolds(t);
  }
  if (orderHolds && after < before) return true;
  for (const auto& [t, place] : was) schedule_.GiveBack(t);
  for (const auto& [t, place] : was) schedule_.Take(t, place);
  return false;
}

bool Placing::TryForward(int task) {
  if (TryMoving(task, {})) return true;
  const Place& at = schedule_.At(task);
  const Task& t = schedule_.TaskOf(task);
  const int row = t.choices[static_cast<std::size_t>(at.choice)].row;
  std::vector<int> others = schedule_.PlacedBefore(row, DateTime{}, at.start, kTradeCandidates);
  // One plan with a later due date trades places...
  for (int other : others) {
    const Task& o = schedule_.TaskOf(other);
    if (!o.due.IsZero() && !t.due.IsZero() && o.due <= t.due) continue;
    if (TryMoving(task, {other})) return true;
  }
  // ...or the plans ahead of it on its row run again by due date, closing every gap...
  if (!others.empty() && TryMoving(task, others, true)) return true;
  // ...or the steps below it go earlier on their own rows, the plans ahead of them there and on
  // the late plan's row placed again by due date with them...
  std::vector<int> together = others;
  for (int b : t.below) {
    const Place& below = schedule_.At(b);
    if (!below.placed || below.stays) continue;
    const Task& step = schedule_.TaskOf(b);
    std::vector<int> ahead =
        schedule_.PlacedBefore(step.choices[static_cast<std::size_t>(below.choice)].row, DateTime{},
                               below.start, kTradeCandidates);
    ahead.push_back(b);
    for (int a : ahead) {
      if (a != task && std::ranges::find(together, a) == together.end()) together.push_back(a);
    }
  }
  if (together.size() > others.size() && TryMoving(task, together, true)) return true;
  // ...or the late plan goes before a run of the plans ahead of it, which close up behind it.
  std::ranges::sort(others,
                    [&](int a, int b) { return schedule_.At(a).start < schedule_.At(b).start; });
  for (std::size_t k = 2; k <= others.size(); ++k) {
    if (TryMoving(task,
                  std::vector<int>(others.end() - static_cast<std::ptrdiff_t>(k), others.end()))) {
      return true;
    }
  }
  return false;
}

void Placing::Settle() {
  std::vector<std::pair<DateTime, int>> moved;
  for (int t = 0; t < schedule_.Count(); ++t) {
    const Place& at = schedule_.At(t);
    const Task& task = schedule_.TaskOf(t);
    if (at.placed && !at.stays && (at.choice != 0 || at.start != task.start)) {
      moved.emplace_back(at.start, t);
    }
  }
  // The latest first: a plan going back later leaves room for none of the others here.
  std::ranges::sort(moved, std::greater<>());
  for (const auto& [start, t] : moved) {
    const Place was = schedule_.At(t);
    const PlaceCost cost = schedule_.Cost(t, was);
    schedule_.GiveBack(t);
    const Place nearer = schedule_.Best(t);
    schedule_.Take(t, nearer);
    if (schedule_.Cost(t, nearer) < cost && StepOrderHolds(t)) continue;
    schedule_.GiveBack(t);
    schedule_.Take(t, was);
  }
}

bool Placing::Improve(std::chrono::steady_clock::time_point deadline) {
  bool improved = true;
  while (improved) {
    improved = false;
    std::vector<std::pair<std::int64_t, int>> late;
    for (int t = 0; t < schedule_.Count(); ++t) {
      const PlaceCost cost = schedule_.Cost(t, schedule_.At(t));
      if (cost.late) late.emplace_back(-cost.lateMinutes, t);
    }
    std::ranges::sort(late);
    for (const auto& [minutes, t] : late) {
      if (std::chrono::steady_clock::now() >= deadline) return false;
      if (TryForward(t)) improved = true;
    }
  }
  return true;
}

}  // namespace velmora::levelling
