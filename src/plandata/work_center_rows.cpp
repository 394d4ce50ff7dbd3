#include "plandata/work_center_rows.h"

#include "plandata/queries.h"
#include "plandata/row_loader.h"

namespace velmora {

void LoadWorkCenterRows(PlanData& data, db::Command& command, double barHeight,
                        Questions& questions) {
  db::Connection& connection = *command.ActiveConnection;
  command.CommandText = MachineQueryText(data);
  db::Recordset lKikaiSet = command.Execute();
  InputTopPosition(data, connection, lKikaiSet, questions);
  data.MachineRowCount = data.RowCount;

  lKikaiSet.Open(DepartmentQueryText(data), connection);
  InputTopPosition3(data, lKikaiSet);
  data.DepartmentRowEnd = data.RowCount;

  lKikaiSet.Open(SubcontractorQueryText(data), connection);
  InputTopPosition2(data, lKikaiSet);
  lKikaiSet.Close();

  ComputeWorkCenterLimit(data, barHeight);
}

}  // namespace velmora
