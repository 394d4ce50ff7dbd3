#pragma once

#include <string>
#include <string_view>

#include "plandata/plan_data.h"

namespace velmora {

// The SQL texts of the loaders, assembled piece by piece from the selection values.
// Every text value passes SqlText; numbers are written without quotes.

// Arrangements of the period joined with their masters (due day from PeriodStart - 2 days,
// start day up to PeriodEnd), those without either day too; not those flagged deleted. All of
// 手配情報's columns come first, then the joined columns of the field table (plan_fields.h).
std::string PlanQueryText(const PlanData& data);
// ",品目マスタ.品名＿品名仕様 AS 型番名,...": the field table's joined columns as the plan query
// selects them, master by master in the order of Home.
std::string JoinedColumnList();
// Machines of the plant and category, by code.
std::string MachineQueryText(const PlanData& data);
// The plant's other departments.
std::string DepartmentQueryText(const PlanData& data);
// Subcontractors working in the category.
std::string SubcontractorQueryText(const PlanData& data);
// Calendar rows of one machine for day index 0..DayCount.
std::string CalendarQueryText(const PlanData& data, std::string_view machineCode);

// CategoryCode formatted "00".
std::string CategoryCode00(const PlanData& data);

}  // namespace velmora
