#pragma once

#include <string>
#include <string_view>

#include "../editing/editing_world.h"
#include "levelling/leveller.h"

namespace velmora::test {

// The editing world's three machines (08:00-16:00 every day) with a leveller request over the
// whole period.
class LevelWorld : public EditingWorld {
 public:
  LevelWorld() {
    request.firstDay = data.PeriodStartDate();
    request.lastDay = data.PeriodEndDate();
    request.budgetSeconds = 1;
  }

  // A confirmed plan of `minutes` on `machine` from `start`, due on `due` ("yyyy/mm/dd"); it
  // is the table's last entry.
  PlanEntry& Plan(const std::string& machine, std::string_view start, int minutes,
                  std::string_view due = "2024/12/20") {
    const int i = Add(machine, start, minutes);
    PlanEntry& p = EditingWorld::Plan(i);
    p.InitialDueDate = Date(due);
    p.OrderNo = 1000 + i;
    return p;
  }
  using EditingWorld::Plan;

  levelling::Proposal Level() { return levelling::Level(data, request); }

  // Writes the proposal into the plans, as applying it does.
  void Apply(const levelling::Proposal& proposal) {
    data = levelling::WithMoves(data, proposal.moves);
  }

  levelling::LevelRequest request;
};

}  // namespace velmora::test
