#pragma once

#include <string>
#include <string_view>

#include "chart/chart_model.h"
#include "chart/chart_setup.h"
#include "common/date_text.h"
#include "plandata/plan_data.h"

namespace velmora::test {

// A loaded chart in miniature. Period 2024/12/02 (Monday) to 12/20, so DayCount is 21 and day
// index 0 is Saturday 11/30. Rows: 1 unplanned, 2-4 machines M01-M03, 5 department "30",
// 6 subcontractor "S001", 7-16 fillers. The viewport is 20160 twips wide: in week mode a day
// is 2880 twips and an hour 120; the unplanned band's hour is 30.
class ChartWorld {
 public:
  // `viewportPixels` wide, the period ending on `periodEnd`.
  explicit ChartWorld(int extraSubcontractors = 0, int viewportPixels = 1344,
                      std::string_view periodEnd = "2024/12/20") {
    data.SetPeriod("2024/12/02", periodEnd);
    data.DayCount =
        static_cast<std::int16_t>((data.PeriodEndDate() - data.PeriodStartDate()).Days() + 3);
    model.Picture1.Width = viewportPixels * chart::kTwipsPerPixel;
    AddRow("        ", "");
    AddRow("M01     ", "M01 成形機1");
    AddRow("M02     ", "M02 成形機2");
    AddRow("M03     ", "M03 成形機3");
    data.MachineRowCount = data.RowCount;
    AddRow("30", "30 組立課");
    data.DepartmentRowEnd = data.RowCount;
    AddRow("S001", "S001\r外注先");
    for (int i = 0; i < extraSubcontractors; ++i)
      AddRow("S1" + std::to_string(i), "S1" + std::to_string(i));
    while (data.RowCount < 16) AddRow("", "", 0);
    for (int r = 0; r <= data.RowCount; ++r) {
      data.WorkCenterLimit.push_back(r == 0 ? 0 : data.RowTop[static_cast<std::size_t>(r)] + 480);
    }
    data.SizeCalendars(data.RowCount);
    data.ResetPlanTable();

    chart::TakeViewportScale(data, model);
    chart::SetUpRowScroll(data, model);
    chart::ShowPeriodStart(data, model);
    chart::SetUpSurfaces(data, model);
    chart::SetUpTimeScroll(model);
  }

  // A live plan on `machine` from start to end ("yyyy/mm/dd hh:nn:ss"), with its bar pair.
  int AddPlan(const std::string& machine, std::string_view start, std::string_view end) {
    PlanEntry& p = data.PlanTable.emplace_back();
    const int i = data.PlanCount();
    p.BarIndex = static_cast<std::int16_t>(i);
    p.InUse = 1;
    p.MachineCode = machine;
    p.ConfirmFlag = "2";
    p.SheetIssueDate = "00000000";
    p.StartDate = At(start).DatePart();
    p.StartTime = At(start).TimePart();
    p.EndDate = At(end).DatePart();
    p.EndTime = At(end).TimePart();
    p.InitialDueDate = p.EndDate;
    p.OrderQty = 100;
    model.CreateBarPair(p.Bar());
    return i;
  }

  PlanEntry& Plan(int i) { return data.PlanTable[static_cast<std::size_t>(i)]; }
  chart::BarLabel& Bar(int i) { return model.PlanBar[static_cast<std::size_t>(Plan(i).BarIndex)]; }
  chart::BarLabel& JBar(int i) {
    return model.PlanJBar[static_cast<std::size_t>(Plan(i).BarIndex)];
  }

  static DateTime At(std::string_view text) {
    return *ParseSlashDate(text.substr(0, 10)) + *ParseColonTime(text.substr(11));
  }
  static DateTime Date(std::string_view text) { return *ParseSlashDate(text); }

  PlanData data;
  chart::ChartModel model;

 private:
  void AddRow(const std::string& code, const std::string& caption, double top = -1) {
    const int r = ++data.RowCount;
    data.RowCode.resize(static_cast<std::size_t>(r) + 1);
    data.RowCaption.resize(static_cast<std::size_t>(r) + 1);
    data.RowTop.resize(static_cast<std::size_t>(r) + 1);
    data.RowCode[static_cast<std::size_t>(r)] = code;
    data.RowCaption[static_cast<std::size_t>(r)] = caption;
    data.RowTop[static_cast<std::size_t>(r)] = top < 0 ? (r - 1) * 600.0 + 240 : top;
  }
};

}  // namespace velmora::test
