#pragma once

#include "chart/chart_model.h"
#include "common/questions.h"
#include "db/command.h"
#include "plandata/plan_data.h"

namespace velmora {

// The main window's load up to its showing, without the window: rows and calendars, the plan
// table, the chart surfaces and a first axis, ending in week mode with every bar laid out.
// The window and the headless PNG export both load through it, so they show the same chart.
// `chart.Picture1.Width` must hold the viewport width before the call. A calendar the program
// cannot run with is told through `questions` before the load ends the program.
void LoadMainForm(PlanData& data, chart::ChartModel& chart, db::Command& command,
                  Questions& questions);

}  // namespace velmora
