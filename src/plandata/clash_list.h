#pragma once

#include <cstddef>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "plandata/clashes.h"
#include "plandata/plan_data.h"

namespace velmora {

// The clashes of a plan table, kept up to date: an update compares each plan with what it saw
// last and searches again only the machine rows and molds whose plans changed, so a drop, an
// undo or a reload costs a pass over the plans, not a new search of every row.
class ClashList {
 public:
  // Brings the list up to the plans as they are now.
  void Update(const PlanData& data);
  // Every clash: the overlaps by row code, then the shared molds by mold number, each group by
  // the later plan's start.
  const std::vector<Clash>& All();

 private:
  // What a search needs of a plan, as last seen.
  struct Seen {
    bool onChart = false;
    std::string machine;
    std::string mold;
    DateTime start;
    DateTime end;
  };
  struct Group {
    std::vector<PlanIdx> plans;
    std::vector<Clash> clashes;
  };

  bool SameRows(const PlanData& data) const;
  void Reset(const PlanData& data);
  static bool SameAs(const Seen& seen, const PlanEntry& plan);
  void Leave(PlanIdx plan);
  void Enter(PlanIdx plan, const PlanEntry& entry);
  void Search();
  void SearchRow(const std::string& code, Group& group);
  void SearchMold(const std::string& mold, Group& group);

  std::vector<Seen> seen_;                // by plan slot
  std::vector<std::string> machineRows_;  // codes of the machine rows the groups are for
  std::map<std::string, Group> rows_;     // by machine code, as the plans write it
  std::map<std::string, Group> molds_;    // by mold number
  std::set<std::string> dirtyRows_;
  std::set<std::string> dirtyMolds_;
  std::vector<Clash> all_;
  bool allValid_ = false;
};

}  // namespace velmora
