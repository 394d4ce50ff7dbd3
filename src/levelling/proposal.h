#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/datetime.h"
#include "levelling/level_request.h"
#include "plandata/table_index.h"

namespace velmora::levelling {

// One plan the proposal moves.
struct Move {
  PlanIdx plan;
  std::string machineBefore;
  std::string machineAfter;
  DateTime startBefore;
  DateTime startAfter;
  DateTime endBefore;
  DateTime endAfter;
  std::int64_t lateMinutesBefore = 0;  // 0 when on time
  std::int64_t lateMinutesAfter = 0;
  bool lateBefore = false;
  bool lateAfter = false;
  // Set when the plan changes machine: its cycle and minutes there.
  std::optional<CycleOn> cycle;
};

// The measures a proposal is judged by, for the plans as loaded and as proposed.
struct Totals {
  int clashes = 0;  // overlaps, shared molds and step order among the chosen rows' plans
  // Of those, the step orders with arrangements not loaded, which the clash list cannot show.
  int unloadedSteps = 0;
  int latePlans = 0;
  std::int64_t lateMinutes = 0;
  int movedPlans = 0;

  bool operator==(const Totals&) const = default;
};

// A clash the leveller may not remove because every plan in it must stay.
struct StuckClash {
  std::string kind;  // "overlap", "mold" or "order"
  PlanIdx first;
  PlanIdx second;  // none (0) for an arrangement that is not loaded
  std::int32_t outsideOrderNo = 0;
};

struct Proposal {
  std::vector<Move> moves;  // in the order of the new starts
  Totals before;
  Totals after;
  std::vector<StuckClash> stuck;
  // The search was cut by the time budget before it had tried every improvement.
  bool cutByBudget = false;
};

}  // namespace velmora::levelling
