#include "plandata/clashes.h"

#include "plandata/blank_codes.h"
#include "plandata/clash_list.h"

namespace velmora {

bool SharesMoldWith(const PlanEntry& plan, const PlanEntry& other) {
  return plan.MoldNo == other.MoldNo && plan.End() > other.Start() &&
         other.End() > plan.Start() && !IsBlank(other.MachineCode);
}

bool OutOfStepOrder(DateTime belowEnd, DateTime aboveStart) {
  return !belowEnd.IsZero() && !aboveStart.IsZero() && aboveStart < belowEnd;
}

std::vector<Clash> FindClashes(const PlanData& data) {
  ClashList list;
  list.Update(data);
  return list.All();
}

}  // namespace velmora
