#pragma once

#include "levelling/level_request.h"
#include "levelling/proposal.h"
#include "plandata/plan_data.h"

namespace velmora::levelling {

// The leveller's first day: the period start, or `today` when today lies inside the period.
DateTime FirstLevelDay(const PlanData& data, DateTime today);

// A proposal for the plans of the requested rows: no plan it may move clashes (overlap, shared
// mold, step order), as few plans are late as it can find, and as few plans move as that
// allows. Nothing in `data` changes; the proposal is applied by the caller.
Proposal Level(const PlanData& data, const LevelRequest& request);

}  // namespace velmora::levelling
