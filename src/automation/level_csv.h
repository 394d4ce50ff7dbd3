#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "levelling/proposal.h"
#include "plandata/plan_data.h"

namespace velmora {

// level.csv: the moves of a levelling proposal, one line each, and a last line of its totals.
// The texts are taken when the proposal is made: a reload before the export may number the
// plans differently.
class LevelCsv {
 public:
  LevelCsv(const PlanData& data, const levelling::Proposal& proposal);
  void Write(std::ostream& out) const;

 private:
  std::vector<std::vector<std::string>> records_;
};

}  // namespace velmora
