#pragma once

#include <map>
#include <string>
#include <tuple>

#include "editing/edit_context.h"

namespace velmora::editing {

inline constexpr const char* kNoCycleOnLine =
    "このラインでは、この商品の実績がありませんのでご注意ください。";

// The cycle a plan's item has on a row, as the database gives it.
struct RowCycle {
  enum class Kind {
    NotLooked,  // a blank row code: the unplanned row keeps the plan's cycle
    NoRow,      // a machine without a cycle row for the item
    Zero,       // a cycle row without a cycle
    Found,
  };
  Kind kind = Kind::NotLooked;
  bool machineRow = false;
  double seconds = 0;  // seconds per shot on a machine, per piece elsewhere
};

// Looks up the cycle of plan p's item and process step for row code `workNo`: a machine row (or
// an unknown code) reads the item's cycle on that machine, a department or subcontractor row the
// process step's productivity.
RowCycle LookUpCycle(const PlanData& data, db::Connection& connection, const PlanEntry& p,
                     const std::string& workNo);

// Applies a looked-up cycle to p: the cycle per piece and per shot, and the duration derived
// again. False when p keeps its values.
bool ApplyCycle(PlanEntry& p, const RowCycle& cycle);

// The plan of `bar` moved to row `workNo`: takes the cycle of that row and derives its duration
// again. A machine without a cycle row for the item is only warned about.
void StretchBar(EditContext& ctx, BarIdx bar, const std::string& workNo);

// Cycle look-ups remembered per item, step and row, so the drop preview asks the database once
// per row while the pointer moves.
class CycleCache {
 public:
  const RowCycle& Get(const PlanData& data, db::Connection& connection, const PlanEntry& p,
                      const std::string& workNo);
  void Clear() { cache_.clear(); }

 private:
  std::map<std::tuple<std::string, std::int16_t, std::string>, RowCycle> cache_;
};

}  // namespace velmora::editing
