#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

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

// What the slot writers change in an entry (its codes, its number, its flag and the numbers of
// its new members), kept before they write so that a save that keeps nothing can put it back.
// Lighter than a whole copy: the save keeps one for every entry it writes.
class WrittenBefore {
 public:
  void Keep(const PlanEntry& e, int i) {
    Kept kept{i, e.OrderNo, e.MachineCode, e.DestinationCode, e.Changed, {}};
    for (const MemberGroup* group : {&e.A, &e.B}) {
      for (int k = 1; k <= group->Stored(); ++k)
        kept.numbers.emplace_back((*group)[k].OrderNo, (*group)[k].SourceOrderNo);
    }
    kept_.push_back(std::move(kept));
  }
  void Restore(PlanData& data, chart::ChartModel& model) {
    for (Kept& kept : kept_) {
      PlanEntry& e = data.PlanTable[static_cast<std::size_t>(kept.index)];
      e.OrderNo = kept.orderNo;
      e.MachineCode = std::move(kept.machine);
      e.DestinationCode = std::move(kept.destination);
      e.Changed = kept.changed;
      std::size_t n = 0;
      for (MemberGroup* group : {&e.A, &e.B}) {
        for (int k = 1; k <= group->Stored() && n < kept.numbers.size(); ++k, ++n) {
          group->Slot(k).OrderNo = kept.numbers[n].first;
          group->Slot(k).SourceOrderNo = kept.numbers[n].second;
        }
      }
      if (e.InUse > 0) chart::LayoutBar(data, model, PlanIdx{kept.index}, 0);
    }
    kept_.clear();
  }

 private:
  struct Kept {
    int index;
    std::int32_t orderNo;
    std::string machine, destination;
    std::uint8_t changed;
    std::vector<std::pair<std::int32_t, std::int32_t>> numbers;  // each stored slot's
  };
  std::vector<Kept> kept_;
};

}  // namespace velmora::saving
