#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "plandata/plan_data.h"

namespace velmora {

// First row (1 upward) whose RowCode equals `code` exactly; 1 (the unplanned row) when none.
std::int16_t RowOfCode(const PlanData& data, std::string_view code);

// Walks rows from RowCount down to 1 and returns the first row with a non-empty code that
// matches. When either code is blank after trimming, or both are equal, a row matches either
// code; otherwise only the first code counts. Nothing when no row matches.
std::optional<std::int16_t> FindRow(const PlanData& data, std::string_view first,
                                    std::string_view second);

}  // namespace velmora
