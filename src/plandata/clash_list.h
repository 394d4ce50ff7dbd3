#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "plandata/clashes.h"
#include "plandata/plan_data.h"

namespace velmora {

// The clashes of a plan table, kept up to date: an update compares each plan with what it saw
// last and searches again only the machine rows, molds and arrangement numbers whose plans
// changed, so a drop, an undo or a reload costs a pass over the plans, not a new search of every
// row.
class ClashList {
 public:
  // Brings the list up to the plans as they are now.
  void Update(const PlanData& data);
  // Every clash: the overlaps by row code, then the shared molds by mold number, each group by
  // the later plan's start; then the broken step orders by the upper step's start, the lower
  // step's end and the two plans' indexes (upper, lower).
  const std::vector<Clash>& All();

 private:
  // What a search needs of a plan, as last seen.
  struct Seen {
    bool onChart = false;
    std::string machine;
    std::string mold;
    DateTime start;
    DateTime end;
    std::int32_t orderNo = 0;
    std::int32_t parentOrderNo = 0;
  };
  struct Group {
    std::vector<PlanIdx> plans;
    std::vector<Clash> clashes;
  };
  using ByNumber = std::unordered_multimap<std::int32_t, PlanIdx>;

  bool SameRows(const PlanData& data) const;
  void Reset(const PlanData& data);
  static bool SameAs(const Seen& seen, const PlanEntry& plan);
  void Leave(PlanIdx plan);
  void Enter(PlanIdx plan, const PlanEntry& entry);
  void Search();
  void SearchRow(const std::string& code, Group& group);
  void SearchMold(const std::string& mold, Group& group);
  void ListStep(ByNumber& plans, std::int32_t number, PlanIdx plan);
  void UnlistStep(ByNumber& plans, std::int32_t number, PlanIdx plan);
  void SearchSteps(std::int32_t number);

  std::vector<Seen> seen_;                // by plan slot
  std::vector<std::string> machineRows_;  // codes of the machine rows the groups are for
  std::map<std::string, Group> rows_;     // by machine code, as the plans write it
  std::map<std::string, Group> molds_;    // by mold number
  std::set<std::string> dirtyRows_;
  std::set<std::string> dirtyMolds_;
  // The plans on the chart by their own arrangement number and by the number of the step above
  // them; hashed, as a load's every plan is in both.
  ByNumber byNumber_;
  ByNumber byUpper_;
  std::map<std::int32_t, std::vector<Clash>> stepClashes_;  // the numbers with any clash
  std::vector<std::int32_t> dirtySteps_;
  std::vector<Clash> all_;
  bool allValid_ = false;
};

}  // namespace velmora
