#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "common/datetime.h"
#include "levelling/level_request.h"
#include "levelling/timeline.h"
#include "plandata/plan_data.h"

namespace velmora::levelling {

// A machine row a plan may run on, with the minutes it takes there.
struct RowChoice {
  int row = 0;
  std::int32_t minutes = 0;
  std::optional<CycleOn> cycle;  // set for a row other than the plan's own
};

// A plan the leveller may move.
struct Task {
  PlanIdx plan;
  int row = 0;  // the machine row it stands on
  DateTime start;
  DateTime end;
  DateTime due;  // zero: never late
  std::string mold;
  std::vector<RowChoice> choices;  // its own row first
  std::vector<int> below;          // tasks that must end before it starts
  std::vector<int> above;          // tasks that must start after it ends
  DateTime belowStayingEnd;        // the latest end of the staying steps below it
  DateTime aboveStayingStart;      // the earliest start of the staying steps above; zero: none
  DateTime chainDue;               // the end its whole chain of steps allows: the placing order
};

// The plans of a request, sorted into those that move and the busy spans of those that stay.
struct Problem {
  std::vector<Task> tasks;
  std::vector<int> chosenRows;            // machine rows, ascending
  std::map<int, Timeline> rows;           // staying spans by machine row
  std::map<std::string, Timeline> molds;  // staying spans by mold number
  DateTime firstDay;  // nothing starts before it: the first day's production day
  DateTime lastEnd;   // nor on a date after the last day
};

// The window from firstDay to lastDay as moments: from the first day's production day (08:00),
// so nothing lands in the night shift of the day before, to the end of the last date, so that
// every start stays inside the period a fresh load reads.
std::pair<DateTime, DateTime> LevelWindow(DateTime firstDay, DateTime lastDay);

// Whether plan p may move: on the chart, not fixed, a party to a drop's overlap questions,
// nothing received, starting inside the window of [firstDay, lastDay].
bool MayMove(const PlanEntry& p, DateTime firstDay, DateTime lastDay);

Problem BuildProblem(const PlanData& data, const LevelRequest& request);

}  // namespace velmora::levelling
