#include "plandata/clashes.h"

#include <algorithm>
#include <string_view>
#include <tuple>
#include <unordered_map>
#include <utility>

#include "common/text.h"
#include "plandata/blank_codes.h"

namespace velmora {
namespace {

// A plan's time on the chart, read once per search.
struct Span {
  DateTime start;
  DateTime end;
  PlanIdx plan;
};

// The plans of one machine row or one mold, found by key, kept in key order for the list.
class Groups {
 public:
  void Open(std::string_view key) { ids_.try_emplace(key, ids_.size()); }
  void Add(std::string_view key, const Span& span, bool open) {
    auto it = ids_.find(key);
    if (it == ids_.end()) {
      if (!open) return;
      it = ids_.emplace(key, ids_.size()).first;
    }
    if (it->second >= spans_.size()) spans_.resize(it->second + 1);
    spans_[it->second].push_back(span);
  }
  // Each group's key and plans, by key.
  std::vector<std::pair<std::string_view, std::vector<Span>*>> ByKey() {
    spans_.resize(ids_.size());
    std::vector<std::pair<std::string_view, std::vector<Span>*>> groups;
    for (const auto& [key, id] : ids_) groups.emplace_back(key, &spans_[id]);
    std::sort(groups.begin(), groups.end());
    return groups;
  }

 private:
  std::unordered_map<std::string_view, std::size_t> ids_;
  std::vector<std::vector<Span>> spans_;
};

bool Overlapping(DateTime aStart, DateTime aEnd, DateTime bStart, DateTime bEnd) {
  return aEnd > bStart && bEnd > aStart;
}

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
      if (Overlapping(r->start, r->end, next.start, next.end)) pair(*r, next);
    }
    running.push_back(&next);
  }
}

Clash Between(Clash::Kind kind, const Span& a, const Span& b, const std::string& where) {
  return Clash{kind, a.plan, b.plan, where, std::max(a.start, b.start), std::min(a.end, b.end)};
}

bool OnChart(const PlanEntry& p) {
  return p.InUse > 0 && p.Hidden != 1;
}

void FindOverlaps(const PlanData& data, std::vector<Clash>& clashes) {
  Groups rows;
  for (int r = 2; r <= data.MachineRowCount; ++r) {
    const std::string& code = data.RowCode[static_cast<std::size_t>(r)];
    if (!IsBlank(code)) rows.Open(code);
  }
  for (std::int32_t i = 2; i <= data.PlanCount(); ++i) {
    const PlanEntry& p = data.Plan(PlanIdx{i});
    if (OnChart(p) && !IsBlank(p.MachineCode)) {
      rows.Add(p.MachineCode, Span{p.Start(), p.End(), PlanIdx{i}}, false);
    }
  }
  for (auto& [code, plans] : rows.ByKey()) {
    const std::string where = Trim(code);
    Sweep(*plans, [&](const Span& a, const Span& b) {
      clashes.push_back(Between(Clash::Kind::Overlap, a, b, where));
    });
  }
}

void FindMoldSharing(const PlanData& data, std::vector<Clash>& clashes) {
  Groups molds;
  for (std::int32_t i = 2; i <= data.PlanCount(); ++i) {
    const PlanEntry& p = data.Plan(PlanIdx{i});
    if (OnChart(p) && !IsBlank(p.MoldNo)) {
      molds.Add(p.MoldNo, Span{p.Start(), p.End(), PlanIdx{i}}, true);
    }
  }
  for (auto& [mold, plans] : molds.ByKey()) {
    const std::string where = Trim(mold);
    Sweep(*plans, [&](const Span& a, const Span& b) {
      // The save asks when either of the two is on a machine.
      if (!IsBlank(data.Plan(a.plan).MachineCode) || !IsBlank(data.Plan(b.plan).MachineCode)) {
        clashes.push_back(Between(Clash::Kind::Mold, a, b, where));
      }
    });
  }
}

}  // namespace

bool SharesMoldWith(const PlanEntry& plan, const PlanEntry& other) {
  return plan.MoldNo == other.MoldNo &&
         Overlapping(plan.Start(), plan.End(), other.Start(), other.End()) &&
         !IsBlank(other.MachineCode);
}

std::vector<Clash> FindClashes(const PlanData& data) {
  std::vector<Clash> clashes;
  FindOverlaps(data, clashes);
  FindMoldSharing(data, clashes);
  return clashes;
}

}  // namespace velmora
