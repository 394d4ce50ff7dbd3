#pragma once

#include <string>

#include "plandata/plan_data.h"

namespace velmora::editing {

// The machine and destination codes a plan takes on the row it is dropped on.
struct DropTarget {
  std::string machine;
  std::string destination;
};

// With no destination given, the row of `machine` decides: a machine, department or the
// unplanned row keeps it as the machine with a blank destination; a subcontractor row, a filler
// row or an unknown code becomes the destination, with no machine.
DropTarget NormalizeDropTarget(const PlanData& data, std::string machine, std::string destination);

// Gives plan p the target's codes: machine rows (and a given destination) set the machine, and
// the destination where the old one named a department or subcontractor; a department row sets
// the destination and clears the machine.
void AssignToRow(const PlanData& data, PlanEntry& p, const DropTarget& target);

// Whether plan j takes part in the overlap questions on the target's row.
bool IsParty(const PlanEntry& j, const DropTarget& target);

}  // namespace velmora::editing
