#pragma once

#include <cstdint>
#include <vector>

#include "common/datetime.h"
#include "db/connection.h"
#include "plandata/plan_data.h"

namespace velmora {

// An arrangement that is not among the loaded plans (another category, or outside the period)
// but is the step directly above or below one of them: its stored times hold as fixed.
struct OutsideStep {
  std::int32_t orderNo = 0;
  std::int32_t parentOrderNo = 0;  // the arrangement above it; 0 when none
  DateTime start;
  DateTime end;
};

// The stored steps directly above and below the loaded plans that are not loaded themselves.
std::vector<OutsideStep> ReadOutsideSteps(db::Connection& connection, const PlanData& data);

}  // namespace velmora
