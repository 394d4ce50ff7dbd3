#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "../chart/chart_world.h"
#include "chart/bar_layout.h"
#include "chart/display_mode.h"
#include "common/format.h"
#include "editing/chart_editor.h"
#include "plandata/plan_end_time.h"
#include "support/scripted_messages.h"

namespace velmora::test {

// The miniature chart of ChartWorld in week mode, machines working 08:00-16:00 every day, with
// the editor on it. Week mode: one hour is 120 twips, so a minute is 2.
class EditingWorld : public ChartWorld {
 public:
  explicit EditingWorld(db::Connection* connection = nullptr)
      : editor(data, model, connection, test::TestQuestions()) {
    model.FaultsTo = &test::TestQuestions();
    for (int r = 2; r <= data.MachineRowCount; ++r) {
      for (int d = 0; d <= data.DayCount; ++d) {
        data.ShiftTimes(r, 1, d) = DateTime::FromTime(8, 0, 0);
        data.ShiftTimes(r, 2, d) = DateTime::FromTime(16, 0, 0);
        data.WorkMinutes(r, d) = 480;
      }
    }
    chart::DispWeek(data, model);
    editor.ShowLinePlanWindow = [this](std::shared_ptr<editing::LinePlanWindow> w) {
      dialog = std::move(w);
    };
  }

  // A plan of `minutes` on `machine` (a destination when `destination` is set) from `start`,
  // its end laid across the shifts, its bar laid out.
  int Add(const std::string& machine, std::string_view start, int minutes,
          const std::string& destination = "            ") {
    const int i = AddPlan(machine, start, start);
    PlanEntry& p = Plan(i);
    p.DestinationCode = destination;
    p.DurationMinutes = minutes;
    p.FixedFlag = "0";
    const DateTime end = ComputeEndTime(data, p.Start(), minutes, PlanIdx{i});
    p.EndDate = end.DatePart();
    p.EndTime = end.TimePart();
    chart::LayoutBar(data, model, PlanIdx{i}, 0);
    return i;
  }

  // x on the rows' surface where `at` ("yyyy/mm/dd hh:nn") lies.
  double X(std::string_view at) const {
    const DateTime t = At(std::string(at) + ":00");
    return model.Scale.TimeToX(t.DatePart(), t.TimePart(), chart::TimeKind::Rows);
  }
  double RowY(int row) const { return data.RowTop[static_cast<std::size_t>(row)] + 240; }

  // Presses bar i at its left edge and drops it on the rows' surface at `at` in `row`.
  void Drag(int i, int row, std::string_view at) {
    editor.PlanBar_MouseDown(Plan(i).Bar(), editing::kLeftButton, 0, 0, 180);
    if (editor.Pointer().Dragged) editor.PlatForm_DragDrop(Plan(i).Bar(), X(at), RowY(row));
  }

  std::string Start(int i) { return FormatDateTime(Plan(i).Start(), "mm/dd hh:nn"); }
  std::string End(int i) { return FormatDateTime(Plan(i).End(), "mm/dd hh:nn"); }

  editing::ChartEditor editor;
  std::shared_ptr<editing::LinePlanWindow> dialog;
};

}  // namespace velmora::test
