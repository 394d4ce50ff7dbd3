#pragma once

#include <filesystem>

#include "chart/chart_model.h"
#include "plandata/plan_data.h"

namespace velmora {

// Writes the loaded state to `dir` (created when missing) as plans.csv, rows.csv,
// calendar.csv, bars.csv, members.csv and conflicts.csv: UTF-8 with a byte order mark, CRLF line
// ends. The six describe one load, so they replace the earlier ones together or not at all; a
// failure throws with the earlier files in place.
void WriteStateCsv(const PlanData& data, const chart::ChartModel& model,
                   const std::filesystem::path& dir);

}  // namespace velmora
