#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "load/load_model.h"
#include "plandata/plan_data.h"

namespace velmora::ui {

// The machine load of a period as the printed load pages show it: one line per machine row and
// a total line, one cell per day.
struct LoadTable {
  struct Cell {
    std::int64_t available = 0;  // working minutes
    std::int64_t used = 0;       // minutes of plans laid in them
  };
  struct Line {
    std::string caption;
    std::vector<Cell> cells;  // one per day
  };
  std::vector<std::string> days;  // the day labels, "05/14 (火)"
  std::vector<Line> lines;        // machine rows
  Line total;                     // all machine rows together

  // A cell as text: the whole percent, "休 n分" for minutes on a day without working time, and
  // nothing for a day with neither.
  static std::string Text(const Cell& cell);
  static bool Overloaded(const Cell& cell) { return cell.used > cell.available; }
};

// The machine rows' load over every day of the period.
LoadTable MakeLoadTable(const PlanData& data, const load::LoadModel& load);

}  // namespace velmora::ui
