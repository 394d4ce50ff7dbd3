#pragma once

#include <map>

#include "chart/bar_layout.h"
#include "plandata/plan_data.h"

namespace velmora::saving {

// Entries as they were before the save wrote into them, so that a save that stores nothing can
// put every flag, code and new member's number back and the user can save again.
class EntriesBefore {
 public:
  void Keep(const PlanData& data, int i) {
    if (!kept_.count(i)) kept_.emplace(i, data.PlanTable[static_cast<std::size_t>(i)]);
  }
  void Restore(PlanData& data, chart::ChartModel& model) {
    for (auto& [i, entry] : kept_) {
      data.PlanTable[static_cast<std::size_t>(i)] = entry;
      if (entry.InUse > 0) chart::LayoutBar(data, model, PlanIdx{i}, 0);
    }
    kept_.clear();
  }

 private:
  std::map<int, PlanEntry> kept_;
};

}  // namespace velmora::saving
