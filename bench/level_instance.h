#pragma once

#include <cstdint>
#include <vector>

#include "common/datetime.h"
#include "levelling/level_request.h"
#include "plandata/plan_data.h"

namespace velmora::bench {

// The working minutes of machines that all work two shifts, 06:00-14:00 and 14:00-22:00, on
// weekdays and not at weekends. Minute m is the m-th working minute from the first day (a
// Monday), so an exact model can treat starts and ends as plain numbers.
struct WorkAxis {
  static constexpr int kDayMinutes = 960;
  static constexpr int kFirstShift = 6 * 60;  // minutes after midnight

  DateTime firstDay;

  // Working day k (0 the first day) as a date.
  DateTime DateOfDay(int day) const { return firstDay.AddDays(7 * (day / 5) + day % 5).DatePart(); }
  // The moment working minute m begins.
  DateTime StartAt(int minute) const {
    return DateOfDay(minute / kDayMinutes).AddMinutes(kFirstShift + minute % kDayMinutes);
  }
  // The moment working minute m - 1 ends: a plan that fills a day ends at 22:00, not at the next
  // day's 06:00, as the shifts lay it.
  DateTime EndAt(int minute) const {
    const int day = (minute - 1) / kDayMinutes;
    return DateOfDay(day).AddMinutes(kFirstShift + minute - day * kDayMinutes);
  }
  // Wall-clock minutes from the first day's midnight.
  std::int64_t WallMinutes(DateTime t) const { return (t - firstDay).Seconds() / 60; }
};

// One plan of an instance as the axis sees it.
struct AxisPlan {
  int machine = 0;  // 0-based
  int start = 0;    // working minute, as the scheduler roughly put it
  int minutes = 0;
  int mold = -1;   // 0-based mold, -1 none
  int above = -1;  // the plan of the step above it, -1 none
  bool fixed = false;
  DateTime due;
};

// A seeded plant in miniature: machines with one calendar shape, plans laid roughly (some
// overlapping, as a scheduler's first plan would), molds shared across machines, step chains
// across machines, a few fixed plans and due dates of which some cannot all be met.
struct Instance {
  std::uint32_t seed = 0;
  WorkAxis axis;
  int machines = 0;
  int molds = 0;
  int release = 0;              // the first working minute the leveller may place a plan at
  int horizon = 0;              // working minutes the calendar holds from the first day
  std::vector<AxisPlan> plans;  // plans[k] is the plan table's entry k + 2
  PlanData data;
  levelling::LevelRequest request;  // every machine row, whole period, staying on its machine
};

Instance MakeInstance(std::uint32_t seed, int plans);

// The instance's plans with plan k starting at working minute starts[k] (fixed plans keep theirs).
PlanData WithStarts(const Instance& instance, const std::vector<int>& starts);

// The plan table index of the instance's plan k.
inline PlanIdx PlanOf(int k) {
  return PlanIdx{k + 2};
}

}  // namespace velmora::bench
