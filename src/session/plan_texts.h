#pragma once

#include <string>
#include <vector>

#include "chart/chart_model.h"
#include "plandata/clashes.h"
#include "plandata/plan_data.h"

namespace velmora {

// A line of the side panel's lists and the plans it names, to be shown on the chart.
struct PlanLine {
  std::string text;
  std::vector<PlanIdx> plans;
};

// "重複 C101  300632 ⇔ 300645  05/14 10:00～05/14 12:00" (a mold: "金型 K-7 ...").
PlanLine ClashLine(const PlanData& data, const Clash& clash);

// One line per lot with unsaved changes, by arrangement number: number, item, process, row,
// start and end ("削除" for a lot taken off the chart).
std::vector<PlanLine> UnsavedLines(const PlanData& data);

// "機械から外れました: 1001150, 1001191": the arrangement numbers of plans a push took off their
// machine.
std::string TakenOffText(const PlanData& data, const std::vector<PlanIdx>& plans);

// The tip over a bar: arrangement number, item, process, machine, start, end, due date,
// quantity and state, a line each.
std::string PlanTip(const PlanData& data, PlanIdx plan);

// Beside the pointer while dragging: the start and end the drop would give.
std::string DropTip(const chart::DropPreview& preview);

}  // namespace velmora
