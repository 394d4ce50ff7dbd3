#pragma once

#include <filesystem>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "chart/chart_model.h"
#include "load/load_model.h"
#include "plandata/plan_data.h"

namespace velmora {

// A further file written with the state: its name in the folder and what writes its lines.
struct ExtraCsv {
  std::string name;
  std::function<void(std::ostream&)> write;
};

// Writes the loaded state to `dir` (created when missing) as plans.csv, rows.csv,
// calendar.csv, bars.csv, members.csv, conflicts.csv and load.csv, and the `extra` files:
// UTF-8 with a byte order mark, CRLF line ends. They describe one load, so they replace the
// earlier ones together or not at all; a failure throws with the earlier files in place.
void WriteStateCsv(const PlanData& data, const chart::ChartModel& model,
                   const load::LoadModel& load, const std::filesystem::path& dir,
                   const std::vector<ExtraCsv>& extra = {});
// The same with the load computed for the occasion.
void WriteStateCsv(const PlanData& data, const chart::ChartModel& model,
                   const std::filesystem::path& dir);

}  // namespace velmora
