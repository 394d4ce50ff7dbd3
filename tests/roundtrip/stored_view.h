#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "db/connection.h"
#include "plandata/plan_data.h"

namespace velmora::test {

// One arrangement as the chart shows it: the values of its bar the save writes for it, and its
// own quantity, item and step. What the load derives anew (which bar carries it, names and
// cycles from the masters, the bar's totals) is left out.
struct ShownArrangement {
  std::string machine, destination, start, end, initialDue, fixed;
  std::int32_t duration = 0, setup = 0, quantity = 0, workers = 0;
  std::string item;
  int seq = 0;
  bool operator==(const ShownArrangement&) const = default;
};
std::string Describe(const ShownArrangement& a);

using ShownPlan = std::map<std::int32_t, ShownArrangement>;

// Every arrangement on the chart (live bars, hidden ones included). Problems that already break
// the promise (one arrangement on two bars, a new one left without its number) go to `problems`.
ShownPlan ShownOnChart(const PlanData& data, std::vector<std::string>& problems);

// What a fresh load of the same selection must show after the save that wrote `shown`: each
// arrangement as it is, but for what the load decides anew from the stored row: no quantity
// (deleted), another plant's or another period's work (not loaded), an unconfirmed plan (no
// machine, not fixed, not before the period), no duration (timed back from its end), no
// initial due date (the due day), no stored duration (timed from its end by the cycle master).
// Where the stored row contradicts the chart (a plan on a machine that would load unplanned) the
// reason goes to `problems`.
ShownPlan ExpectedAfterLoad(const PlanData& data, const ShownPlan& shown, db::Connection& file,
                            std::vector<std::string>& problems);

// Differences between two views and between two loads' calendars, one line each.
std::vector<std::string> Differences(const ShownPlan& expected, const ShownPlan& loaded);
std::vector<std::string> CalendarDifferences(const PlanData& shown, const PlanData& loaded);

}  // namespace velmora::test
