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
    Order,    // a step that starts before the step below it (上位手配番号 names it) ends
  };
  Kind kind = Kind::Overlap;
  // Overlap and Mold: the one that starts first (on a tie, the lower index), then the other.
  // Order: the step below, then the step above it.
  PlanIdx first;
  PlanIdx second;
  // The machine row's code, or the mold number; for Order the lower step's machine code ("" on
  // the unplanned row).
  std::string where;
  // The time both take; for Order from the upper step's start to the lower step's end.
  DateTime start;
  DateTime end;
};

// A step ending at `belowEnd` and the step above it starting at `aboveStart` are out of order:
// the upper one starts before the lower one ends. A time not set (zero) keeps no order.
bool OutOfStepOrder(DateTime belowEnd, DateTime aboveStart);

// Two plans use one mold at overlapping times, and the second is on a machine: the save's
// question about molds.
bool SharesMoldWith(const PlanEntry& plan, const PlanEntry& other);

// Every clash of the plans on the chart: the overlaps, then the shared molds, each by row or mold
// and then by the start of the later plan, then the broken step orders (see ClashList::All).
std::vector<Clash> FindClashes(const PlanData& data);

}  // namespace velmora
