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
  DateTime start;                  // 開始日 + GNT開始時刻; zero when 開始日 holds no date
  DateTime end;                    // 納期 + GNT終了時刻; zero when 納期 holds no date
};

// The stored steps directly above and below the loaded plans that are not loaded themselves.
// Above: the arrangements the plans in use name in 上位手配番号; below: those that name a plan in
// use. A number the plan table holds (an entry's or a member's) counts as loaded. Deleted rows are
// left out; the steps come by arrangement number. Numbers are asked for in batches.
std::vector<OutsideStep> ReadOutsideSteps(db::Connection& connection, const PlanData& data);

}  // namespace velmora
