#include "editing/plan_order.h"

#include <utility>

namespace velmora::editing {

bool ComesFirst(const PlanEntry& a, const PlanEntry& b) {
  if (a.StartDate != b.StartDate) return a.StartDate < b.StartDate;
  if (a.StartTime != b.StartTime) return a.StartTime < b.StartTime;
  if (a.DurationMinutes != 0 && b.DurationMinutes != 0 && a.DurationMinutes != b.DurationMinutes) {
    return a.DurationMinutes < b.DurationMinutes;
  }
  return a.OrderQty < b.OrderQty;
}

void SortPlans(const PlanData& data, std::vector<PlanIdx>& plans) {
  const std::size_t n = plans.size();
  for (std::size_t i = 1; i < n; ++i) {
    bool swapped = false;
    for (std::size_t h = n - 1; h >= i; --h) {
      if (ComesFirst(data.Plan(plans[h]), data.Plan(plans[h - 1]))) {
        std::swap(plans[h - 1], plans[h]);
        swapped = true;
      }
    }
    // A pass without a swap leaves the rest as it is: the order is the bubble sort's.
    if (!swapped) break;
  }
}

}  // namespace velmora::editing
