#pragma once

#include <string>
#include <string_view>

#include "plandata/blank_codes.h"
#include "plandata/plan_data.h"

namespace velmora::editing {

// The row code at y on the rows' surface: "0" above the surface (negative y), the code of the
// first row whose band ends below y, or the empty text below every row.
std::string RowCodeAt(const PlanData& data, double y);

}  // namespace velmora::editing
