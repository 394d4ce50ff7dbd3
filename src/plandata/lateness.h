#pragma once

#include <cstdint>

#include "plandata/plan_entry.h"

namespace velmora {

// A plan is late when it ends on a day after its first due date, as its bar's colour says.
// A plan without a due date is never late.
inline bool EndsLate(const PlanEntry& p, DateTime end) {
  return !p.InitialDueDate.IsZero() && end.DatePart() > p.InitialDueDate;
}
inline bool IsLate(const PlanEntry& p) {
  return EndsLate(p, p.End());
}

// Minutes from the end of the due date to `end`, for a plan that ends late; 0 otherwise.
inline std::int64_t LateMinutes(const PlanEntry& p, DateTime end) {
  if (!EndsLate(p, end)) return 0;
  return (end.Seconds() - p.InitialDueDate.AddDays(1).Seconds() + 59) / 60;
}

}  // namespace velmora
