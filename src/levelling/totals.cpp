#include "levelling/totals.h"

#include <unordered_map>

#include "plandata/blank_codes.h"
#include "plandata/clashes.h"
#include "plandata/lateness.h"
#include "plandata/row_lookup.h"

namespace velmora::levelling {
namespace {

// Plans standing on one of `rows`, by slot.
std::vector<bool> OnRows(const PlanData& data, const std::vector<int>& rows) {
  std::unordered_map<std::string, bool> codes;
  for (int r : rows) codes.emplace(data.RowCode[static_cast<std::size_t>(r)], true);
  std::vector<bool> on(static_cast<std::size_t>(data.PlanCount()) + 1, false);
  for (std::int32_t i = 2; i <= data.PlanCount(); ++i) {
    const PlanEntry& p = data.Plan(PlanIdx{i});
    on[static_cast<std::size_t>(i)] =
        p.IsOnChart() && !IsBlank(p.MachineCode) && codes.contains(p.MachineCode);
  }
  return on;
}

const char* KindName(Clash::Kind kind) {
  if (kind == Clash::Kind::Overlap) return "overlap";
  if (kind == Clash::Kind::Mold) return "mold";
  return "order";
}

}  // namespace

std::vector<StuckClash> ClashesOn(const PlanData& data, const std::vector<int>& rows,
                                  const std::vector<OutsideStep>& outside) {
  const std::vector<bool> on = OnRows(data, rows);
  std::vector<StuckClash> found;
  for (const Clash& c : FindClashes(data)) {
    if (on[c.first.Slot()] || on[c.second.Slot()]) {
      found.push_back(StuckClash{KindName(c.kind), c.first, c.second, 0});
    }
  }
  std::unordered_map<std::int32_t, const OutsideStep*> byOrder;
  std::unordered_map<std::int32_t, std::vector<const OutsideStep*>> byParent;
  for (const OutsideStep& o : outside) {
    byOrder.emplace(o.orderNo, &o);
    if (o.parentOrderNo != 0) byParent[o.parentOrderNo].push_back(&o);
  }
  for (std::int32_t i = 2; i <= data.PlanCount(); ++i) {
    if (!on[static_cast<std::size_t>(i)]) continue;
    const PlanEntry& p = data.Plan(PlanIdx{i});
    if (auto up = byOrder.find(p.ParentOrderNo); p.ParentOrderNo != 0 && up != byOrder.end()) {
      if (OutOfStepOrder(p.End(), up->second->start)) {
        found.push_back({"order", PlanIdx{i}, {}, up->first});
      }
    }
    if (auto down = byParent.find(p.OrderNo); p.OrderNo != 0 && down != byParent.end()) {
      for (const OutsideStep* o : down->second) {
        if (OutOfStepOrder(o->end, p.Start())) {
          found.push_back({"order", PlanIdx{i}, {}, o->orderNo});
        }
      }
    }
  }
  return found;
}

Totals Measure(const PlanData& data, const std::vector<int>& rows,
               const std::vector<StuckClash>& clashes) {
  Totals totals;
  for (const StuckClash& clash : clashes) {
    ++totals.clashes;
    if (clash.second.value == 0) ++totals.unloadedSteps;
  }
  const std::vector<bool> on = OnRows(data, rows);
  for (std::int32_t i = 2; i <= data.PlanCount(); ++i) {
    if (!on[static_cast<std::size_t>(i)]) continue;
    const PlanEntry& p = data.Plan(PlanIdx{i});
    if (!IsLate(p)) continue;
    ++totals.latePlans;
    totals.lateMinutes += LateMinutes(p, p.End());
  }
  return totals;
}

}  // namespace velmora::levelling
