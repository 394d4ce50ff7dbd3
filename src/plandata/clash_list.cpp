#include "plandata/clash_list.h"

#include <algorithm>
#include <tuple>

#include "common/text.h"
#include "plandata/blank_codes.h"

namespace velmora {
namespace {

// A plan's time, read once per search of its group.
struct Span {
  DateTime start;
  DateTime end;
  PlanIdx plan;
  bool onMachine = false;
};

// One group in start order: each pair that overlaps, found by keeping only the plans still
// running when the next one starts. Pairs come out ordered by the later start.
template <typename Pair>
void Sweep(std::vector<Span>& group, Pair&& pair) {
  std::sort(group.begin(), group.end(), [](const Span& a, const Span& b) {
    return std::tie(a.start, a.plan.value) < std::tie(b.start, b.plan.value);
  });
  std::vector<const Span*> running;
  for (const Span& next : group) {
    std::erase_if(running, [&](const Span* r) { return r->end <= next.start; });
    for (const Span* r : running) {
      if (r->end > next.start && next.end > r->start) pair(*r, next);
    }
    running.push_back(&next);
  }
}

Clash Between(Clash::Kind kind, const Span& a, const Span& b, const std::string& where) {
  return Clash{kind, a.plan, b.plan, where, std::max(a.start, b.start), std::min(a.end, b.end)};
}

}  // namespace

bool ClashList::SameRows(const PlanData& data) const {
  std::size_t n = 0;
  for (int r = 2; r <= data.MachineRowCount; ++r) {
    const std::string& code = data.RowCode[static_cast<std::size_t>(r)];
    if (IsBlank(code)) continue;
    if (n >= machineRows_.size() || machineRows_[n] != code) return false;
    ++n;
  }
  return n == machineRows_.size();
}

// Another set of machine rows (a new load): every group starts empty.
void ClashList::Reset(const PlanData& data) {
  seen_.clear();
  rows_.clear();
  molds_.clear();
  byNumber_.clear();
  byUpper_.clear();
  stepClashes_.clear();
  dirtySteps_.clear();
  machineRows_.clear();
  for (int r = 2; r <= data.MachineRowCount; ++r) {
    const std::string& code = data.RowCode[static_cast<std::size_t>(r)];
    if (IsBlank(code)) continue;
    machineRows_.push_back(code);
    rows_[code];
  }
  allValid_ = false;
}

bool ClashList::SameAs(const Seen& seen, const PlanEntry& plan) {
  const bool onChart = plan.IsOnChart();
  if (seen.onChart != onChart) return false;
  return !onChart || (seen.start == plan.Start() && seen.end == plan.End() &&
                      seen.machine == plan.MachineCode && seen.mold == plan.MoldNo &&
                      seen.orderNo == plan.OrderNo && seen.parentOrderNo == plan.ParentOrderNo);
}

void ClashList::ListStep(ByNumber& plans, std::int32_t number, PlanIdx plan) {
  if (number == 0) return;
  plans.emplace(number, plan);
  dirtySteps_.push_back(number);
}

void ClashList::UnlistStep(ByNumber& plans, std::int32_t number, PlanIdx plan) {
  if (number == 0) return;
  auto [at, end] = plans.equal_range(number);
  for (; at != end; ++at) {
    if (at->second == plan) {
      plans.erase(at);
      break;
    }
  }
  dirtySteps_.push_back(number);
}

void ClashList::Leave(PlanIdx plan) {
  Seen& seen = seen_[plan.Slot()];
  if (!seen.onChart) return;
  if (auto row = rows_.find(seen.machine); row != rows_.end()) {
    std::erase(row->second.plans, plan);
    dirtyRows_.insert(seen.machine);
  }
  if (!IsBlank(seen.mold)) {
    std::erase(molds_[seen.mold].plans, plan);
    dirtyMolds_.insert(seen.mold);
  }
  UnlistStep(byNumber_, seen.orderNo, plan);
  UnlistStep(byUpper_, seen.parentOrderNo, plan);
  seen = Seen{};
}

void ClashList::Enter(PlanIdx plan, const PlanEntry& entry) {
  if (!entry.IsOnChart()) return;
  seen_[plan.Slot()] = Seen{.onChart = true,
                            .machine = entry.MachineCode,
                            .mold = entry.MoldNo,
                            .start = entry.Start(),
                            .end = entry.End(),
                            .orderNo = entry.OrderNo,
                            .parentOrderNo = entry.ParentOrderNo};
  if (auto row = rows_.find(entry.MachineCode); row != rows_.end()) {
    row->second.plans.push_back(plan);
    dirtyRows_.insert(entry.MachineCode);
  }
  if (!IsBlank(entry.MoldNo)) {
    molds_[entry.MoldNo].plans.push_back(plan);
    dirtyMolds_.insert(entry.MoldNo);
  }
  ListStep(byNumber_, entry.OrderNo, plan);
  ListStep(byUpper_, entry.ParentOrderNo, plan);
}

void ClashList::Update(const PlanData& data) {
  if (!SameRows(data)) Reset(data);
  const std::size_t count = static_cast<std::size_t>(std::max(1, data.PlanCount())) + 1;
  for (std::size_t i = count; i < seen_.size(); ++i) Leave(PlanIdx{static_cast<std::int32_t>(i)});
  seen_.resize(std::max(count, seen_.size()));
  // A load enters every plan under both numbers: no rehash on the way.
  if (byNumber_.empty()) byNumber_.reserve(count);
  if (byUpper_.empty()) byUpper_.reserve(count);
  for (std::int32_t i = 2; i <= data.PlanCount(); ++i) {
    const PlanEntry& plan = data.Plan(PlanIdx{i});
    if (SameAs(seen_[static_cast<std::size_t>(i)], plan)) continue;
    Leave(PlanIdx{i});
    Enter(PlanIdx{i}, plan);
  }
  seen_.resize(count);
  Search();
}

// The changed groups searched again.
void ClashList::Search() {
  for (const std::string& code : dirtyRows_) SearchRow(code, rows_[code]);
  for (const std::string& mold : dirtyMolds_) SearchMold(mold, molds_[mold]);
  std::sort(dirtySteps_.begin(), dirtySteps_.end());
  dirtySteps_.erase(std::unique(dirtySteps_.begin(), dirtySteps_.end()), dirtySteps_.end());
  for (const std::int32_t number : dirtySteps_) SearchSteps(number);
  allValid_ = allValid_ && dirtyRows_.empty() && dirtyMolds_.empty() && dirtySteps_.empty();
  dirtyRows_.clear();
  dirtyMolds_.clear();
  dirtySteps_.clear();
}

void ClashList::SearchRow(const std::string& code, Group& group) {
  std::vector<Span> spans;
  for (PlanIdx p : group.plans) {
    const Seen& seen = seen_[p.Slot()];
    spans.push_back(Span{seen.start, seen.end, p, true});
  }
  group.clashes.clear();
  const std::string where = Trim(code);
  Sweep(spans, [&](const Span& a, const Span& b) {
    group.clashes.push_back(Between(Clash::Kind::Overlap, a, b, where));
  });
}

void ClashList::SearchMold(const std::string& mold, Group& group) {
  std::vector<Span> spans;
  for (PlanIdx p : group.plans) {
    const Seen& seen = seen_[p.Slot()];
    spans.push_back(Span{seen.start, seen.end, p, !IsBlank(seen.machine)});
  }
  group.clashes.clear();
  const std::string where = Trim(mold);
  Sweep(spans, [&](const Span& a, const Span& b) {
    // The save asks when either of the two is on a machine.
    if (a.onMachine || b.onMachine)
      group.clashes.push_back(Between(Clash::Kind::Mold, a, b, where));
  });
}

// Each plan naming `number` as its upper step against each plan of that number.
void ClashList::SearchSteps(std::int32_t number) {
  stepClashes_.erase(number);
  const auto [firstBelow, endBelow] = byUpper_.equal_range(number);
  const auto [firstAbove, endAbove] = byNumber_.equal_range(number);
  if (firstBelow == endBelow || firstAbove == endAbove) return;
  std::vector<Clash> found;
  for (auto lower = firstBelow; lower != endBelow; ++lower) {
    const PlanIdx b = lower->second;
    const Seen& below = seen_[b.Slot()];
    for (auto upper = firstAbove; upper != endAbove; ++upper) {
      const PlanIdx a = upper->second;
      const Seen& above = seen_[a.Slot()];
      if (a == b || !OutOfStepOrder(below.end, above.start)) continue;
      found.push_back(Clash{Clash::Kind::Order, b, a, Trim(below.machine), above.start, below.end});
    }
  }
  if (!found.empty()) stepClashes_.emplace(number, std::move(found));
}

const std::vector<Clash>& ClashList::All() {
  if (allValid_) return all_;
  all_.clear();
  for (const auto* groups : {&rows_, &molds_}) {
    for (const auto& [key, group] : *groups) {
      all_.insert(all_.end(), group.clashes.begin(), group.clashes.end());
    }
  }
  const auto steps = static_cast<std::ptrdiff_t>(all_.size());
  for (const auto& [number, clashes] : stepClashes_) {
    all_.insert(all_.end(), clashes.begin(), clashes.end());
  }
  // By time, as a reader follows them; the indexes only settle ties.
  std::sort(all_.begin() + steps, all_.end(), [](const Clash& a, const Clash& b) {
    return std::tie(a.start, a.end, a.second.value, a.first.value) <
           std::tie(b.start, b.end, b.second.value, b.first.value);
  });
  allValid_ = true;
  return all_;
}

}  // namespace velmora
