#pragma once

#include <memory>
#include <string>
#include <vector>

#include "chart/bar_layout.h"
#include "editing/chart_editor.h"
#include "editing/plan_order.h"
#include "loaded_plant.h"
#include "plandata/plan_end_time.h"

namespace velmora::bench {

constexpr int kRowPlans = 300;
constexpr int kPushed = 50;

// The large plant loaded as the window loads it. The busiest machine row is topped up to 300
// plans and laid back to back, with a gap after the 150th so that a drop at the 100th pushes
// exactly 50.
struct BusyRow : LoadedPlant {
  // `planMinutes` caps the row's plans' length, so that 300 of them fit in the period.
  explicit BusyRow(Questions& boxes, const PlantSize& size = PlantSize::Large(),
                   int planMinutes = 600)
      : LoadedPlant(boxes, size) {
    BuildRow(planMinutes);
    editor = std::make_unique<editing::ChartEditor>(data, model, &connection, boxes);
  }

  void BuildRow(int planMinutes) {
    row = 2;
    machine = data.RowCode[static_cast<std::size_t>(row)];
    std::vector<PlanIdx> plans;
    // The row's own plans first, then others taken over until it has 300; fixed ones are freed.
    for (const bool own : {true, false}) {
      for (std::int32_t i = 2; i <= data.PlanCount() && plans.size() < kRowPlans; ++i) {
        PlanEntry& p = data.PlanTable[static_cast<std::size_t>(i)];
        if (p.InUse <= 0 || (p.MachineCode == machine) != own) continue;
        p.MachineCode = machine;
        p.ConfirmFlag = "2";
        p.FixedFlag = "0";
        if (p.DurationMinutes <= 0 || p.DurationMinutes > planMinutes)
          p.DurationMinutes = planMinutes / 2;
        plans.push_back(PlanIdx{i});
      }
    }
    editing::SortPlans(data, plans);
    DateTime cursor = data.PeriodStartDate() + DateTime::FromTime(8, 0, 0);
    for (std::size_t j = 0; j < plans.size(); ++j) {
      if (j == 150) cursor = cursor.AddDays(5);  // the push stops before this plan
      PlanEntry& p = data.Plan(plans[j]);
      p.StartDate = cursor.DatePart();
      p.StartTime = cursor.TimePart();
      cursor = ComputeEndTime(data, cursor, p.DurationMinutes, plans[j]);
      p.EndDate = cursor.DatePart();
      p.EndTime = cursor.TimePart();
      chart::LayoutBar(data, model, plans[j], 0);
    }
    dropAt = data.Plan(plans[kPushed * 2]).Start();
    // The dropped plan comes from another machine.
    for (std::int32_t i = data.PlanCount(); i >= 2; --i) {
      const PlanEntry& p = data.PlanTable[static_cast<std::size_t>(i)];
      if (p.InUse > 0 && p.FixedFlag == "0" && p.MachineCode != machine &&
          p.MachineCode.find_first_not_of(' ') != std::string::npos) {
        moved = PlanIdx{i};
        break;
      }
    }
  }

  double DropX() const {
    return model.Scale.TimeToX(dropAt.DatePart(), dropAt.TimePart(), chart::TimeKind::Rows);
  }
  double RowY() const { return data.RowTop[static_cast<std::size_t>(row)] + 240; }

  void Drop() {
    const BarIdx bar = data.Plan(moved).Bar();
    editor->PlanBar_MouseDown(bar, editing::kLeftButton, 0, 0, 180);
    editor->PlatForm_DragDrop(bar, DropX(), RowY());
  }

  // Drops, or undoes the last drop: a benchmark alternates them, timing what follows each.
  void DropOrUndo() {
    if (dropped) {
      editor->Undo();
    } else {
      Drop();
    }
    dropped = !dropped;
  }

  std::unique_ptr<editing::ChartEditor> editor;
  int row = 0;
  std::string machine;
  DateTime dropAt;
  PlanIdx moved;
  bool dropped = false;  // by DropOrUndo
};

}  // namespace velmora::bench
