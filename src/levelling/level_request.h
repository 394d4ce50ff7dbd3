#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "common/datetime.h"
#include "plandata/outside_steps.h"
#include "plandata/table_index.h"

namespace velmora::levelling {

// The time a plan's item takes on a machine row other than its own, as a drop onto that row
// derives it from the item's cycle record there.
struct CycleOn {
  float cycleSeconds = 0;  // per piece
  float moldCycle = 0;     // per shot
  std::int32_t minutes = 0;
};

// What the scheduler asks the leveller for.
struct LevelRequest {
  // Machine rows whose plans may move; empty: every machine row of the category.
  std::vector<int> rows;
  // Nothing starts before firstDay; plans starting after lastDay (the whole day) stay.
  DateTime firstDay;
  DateTime lastDay;
  // A plan may move to another machine row of the category where its item has a cycle record.
  bool otherMachines = false;
  double budgetSeconds = 2.0;
  // The arrangements above and below the loaded plans that are not loaded themselves.
  std::vector<OutsideStep> outside;
  // The cycle of plan `plan` on machine row `row`; nothing when its item has no record there.
  // Asked only when other machines are allowed, at most once per plan and row.
  std::function<std::optional<CycleOn>(PlanIdx plan, int row)> cycleOn;
};

}  // namespace velmora::levelling
