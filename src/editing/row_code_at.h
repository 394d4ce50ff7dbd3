#pragma once

#include <string>
#include <string_view>

#include "plandata/plan_data.h"

namespace velmora::editing {

// The row code at y on the rows' surface: "0" above the surface (negative y), the code of the
// first row whose band ends below y, or the empty text below every row.
std::string RowCodeAt(const PlanData& data, double y);

// Empty or only blanks: the unplanned row's code, a point below the rows.
bool IsBlank(std::string_view code);

// Machine codes of the unplanned row; destination codes of "no destination".
inline const std::string kNoMachine(8, ' ');
inline const std::string kNoDestination(12, ' ');

}  // namespace velmora::editing
