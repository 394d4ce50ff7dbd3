#pragma once

#include <vector>

#include "levelling/level_request.h"
#include "levelling/proposal.h"
#include "plandata/plan_data.h"

namespace velmora::levelling {

// The leveller's first day: the period start, or `today` when today lies inside the period.
DateTime FirstLevelDay(const PlanData& data, DateTime today);

// Writes a move's times, and its cycle and minutes when it changes machine, into plan p. The
// machine code is the caller's: applying assigns it as a drop onto that row does.
void TakeTimesOf(const Move& move, PlanEntry& p);
// The plans as the proposal would leave them, each on its machine after the move.
PlanData WithMoves(const PlanData& data, const std::vector<Move>& moves);

// A proposal for the plans of the requested rows: no plan it may move clashes (overlap, shared
// mold, step order), as few plans are late as it can find, and as few plans move as that
// allows. Nothing in `data` changes; the proposal is applied by the caller.
Proposal Level(const PlanData& data, const LevelRequest& request);

}  // namespace velmora::levelling
