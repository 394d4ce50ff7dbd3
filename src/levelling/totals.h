#pragma once

#include <vector>

#include "levelling/proposal.h"
#include "plandata/outside_steps.h"
#include "plandata/plan_data.h"

namespace velmora::levelling {

// Clashes (as ClashesOn found them), late plans and minutes late of the plans on `rows`; moved
// plans are left to the caller.
Totals Measure(const PlanData& data, const std::vector<int>& rows,
               const std::vector<StuckClash>& clashes);

// The clashes left among the plans of `rows`: after a proposal, those every plan of which had
// to stay.
std::vector<StuckClash> ClashesOn(const PlanData& data, const std::vector<int>& rows,
                                  const std::vector<OutsideStep>& outside);

}  // namespace velmora::levelling
