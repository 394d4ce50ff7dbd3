#include "editing/drop_target.h"

#include "editing/row_code_at.h"
#include "plandata/row_lookup.h"

namespace velmora::editing {

DropTarget NormalizeDropTarget(const PlanData& data, std::string machine, std::string destination) {
  if (destination.empty()) {
    int row = 0;
    for (int r = 1; r <= data.RowCount; ++r) {
      if (data.RowCode[static_cast<std::size_t>(r)] == machine) {
        row = r;
        break;
      }
    }
    if (row == 0 || row > data.DepartmentRowEnd) {
      destination = machine;
      machine = kNoMachine;
    } else {
      destination = kNoDestination;
    }
  }
  return {std::move(machine), std::move(destination)};
}

void AssignToRow(const PlanData& data, PlanEntry& p, const DropTarget& target) {
  if (!IsBlank(target.destination) || RowOfCode(data, target.machine) <= data.MachineRowCount) {
    p.MachineCode = target.machine;
    if (RowOfCode(data, p.DestinationCode) > data.MachineRowCount || !IsBlank(target.destination)) {
      p.DestinationCode = target.destination;
    }
  } else {
    p.DestinationCode = target.machine;
    p.MachineCode.clear();
  }
}

bool IsParty(const PlanEntry& j, const DropTarget& target) {
  if (j.InUse <= 0) return false;
  if (!j.IsConfirmed() && j.Changed != 1) return false;
  if (!IsBlank(j.MachineCode)) return j.MachineCode == target.machine;
  return !IsBlank(j.DestinationCode) && j.DestinationCode == target.destination;
}

}  // namespace velmora::editing
