#pragma once

#include <string>
#include <vector>

#include "common/datetime.h"
#include "plandata/plan_data.h"

namespace velmora {

// Two plans that cannot both run as planned.
struct Clash {
  enum class Kind {
    Overlap,  // on one machine row at the same time
    Mold,     // sharing a mold at the same time, one of them on a machine (the save asks)
  };
  Kind kind = Kind::Overlap;
  PlanIdx first;  // the one that starts first (on a tie, the lower index)
  PlanIdx second;
  std::string where;  // the machine row's code, or the mold number
  DateTime start;     // the time both take
  DateTime end;
};

// Two plans use one mold at overlapping times, and the second is on a machine: the save's
// question about molds.
bool SharesMoldWith(const PlanEntry& plan, const PlanEntry& other);

// Every clash of the plans on the chart: the overlaps, then the shared molds, each by row or mold
// and then by the start of the later plan.
std::vector<Clash> FindClashes(const PlanData& data);

}  // namespace velmora
