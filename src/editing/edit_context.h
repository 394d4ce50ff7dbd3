#pragma once

#include <vector>

#include "chart/chart_model.h"
#include "common/questions.h"
#include "editing/undo_history.h"
#include "plandata/plan_data.h"

namespace velmora::db {
class Connection;
}

namespace velmora::editing {

// What every editing handler works on: the program's tables, the chart, the database for the
// cycle look-ups (none in tests that need no look-up), the undo history, which must see every
// entry and calendar day before it is written, and the user, whom a handler may tell or ask.
struct EditContext {
  PlanData& data;
  chart::ChartModel& model;
  db::Connection* connection;
  UndoHistory& history;
  Questions& questions;
  // Plans that pushing later plans took off their machine because a fixed plan follows them,
  // for the window to name; whoever reads it clears it.
  std::vector<PlanIdx> TakenOff;

  // Entry i, recorded for undo before the caller writes it.
  PlanEntry& Edit(PlanIdx i) {
    history.TouchPlan(data, i);
    return data.Plan(i);
  }
  // Entry i's moved dates or codes must reach the next save.
  void MarkChanged(PlanEntry& p) {
    p.Changed = 1;
    data.Edits.MarkEdited();
  }
};

// One user gesture = one undo step, however many handlers it runs.
class GestureScope {
 public:
  explicit GestureScope(EditContext& ctx) : ctx_(ctx) { ctx_.history.Begin(ctx_.data); }
  ~GestureScope() { ctx_.history.End(ctx_.data); }
  GestureScope(const GestureScope&) = delete;
  GestureScope& operator=(const GestureScope&) = delete;

 private:
  EditContext& ctx_;
};

}  // namespace velmora::editing
