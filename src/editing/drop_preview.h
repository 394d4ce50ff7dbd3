#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "editing/edit_context.h"
#include "editing/stretch_bar.h"

namespace velmora::editing {

struct PointerState;

// Where a dragged bar would land and which plans the overlap questions would concern, computed
// into the chart's preview without changing the table or asking anything. Look-ups are kept for
// the drag: the cycle of each row from the database, and the plans of each row.
class DropPreviewer {
 public:
  // A new drag: the table may have changed since the last one.
  void Reset();
  void Update(EditContext& ctx, const PointerState& pointer, double x, double y);

 private:
  const std::vector<PlanIdx>& PlansOn(const PlanData& data, const std::string& machine,
                                      const std::string& destination);

  CycleCache cycles_;
  std::map<std::pair<std::string, std::string>, std::vector<PlanIdx>> rows_;
};

}  // namespace velmora::editing
