#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/date_text.h"
#include "common/datetime.h"
#include "plandata/plan_data.h"

namespace velmora::test {

// A small plant for the load: period 2024/04/10 (a Wednesday) to 04/12, so the calendar runs
// from 04/08 (day 0) to 04/13 (day 5). Rows: 1 unplanned, 2 and 3 the machines "M01" and
// "M02", 4 the department "5", 5 the subcontractor "S001".
class LoadWorld {
 public:
  LoadWorld() {
    data.SetPeriod("2024/04/10", "2024/04/12");
    data.DayCount = 5;
    data.RowCount = 5;
    data.MachineRowCount = 3;
    data.DepartmentRowEnd = 4;
    data.RowCode = {"", "        ", "M01     ", "M02     ", "5", "S001        "};
    data.SizeCalendars(5);
    data.ResetPlanTable();
  }

  // Shift windows as "hh:nn" start/end pairs on every day of `row`.
  void Windows(int row, const std::vector<std::string>& times) {
    for (int d = 0; d <= data.DayCount; ++d) SetDay(row, d, times);
  }
  // The same on one date only ("2024/04/11"); no times make it a holiday.
  void WindowsOn(int row, std::string_view date, const std::vector<std::string>& times) {
    SetDay(row, DayOf(date), times);
  }
  int DayOf(std::string_view date) const {
    return static_cast<int>((*ParseSlashDate(date) - data.PeriodStartDate()).Days() + 2);
  }

  // A plan on `machine` (or, with a destination, where the codes place it) of `minutes` from
  // "yyyy/mm/dd hh:nn".
  PlanIdx Plan(const std::string& machine, std::string_view start, int minutes, int quantity = 100,
               const std::string& destination = "            ") {
    data.PlanTable.emplace_back();
    PlanEntry& p = data.PlanTable.back();
    p.InUse = 1;
    p.MachineCode = machine;
    p.DestinationCode = destination;
    const DateTime at = At(start);
    p.StartDate = at.DatePart();
    p.StartTime = at.TimePart();
    p.DurationMinutes = minutes;
    p.OrderQty = quantity;
    return PlanIdx{data.PlanCount()};
  }

  static DateTime At(std::string_view text) {
    return *ParseSlashDate(text.substr(0, 10)) +
           *ParseColonTime(std::string(text.substr(11)) + ":00");
  }

  PlanData data;

 private:
  void SetDay(int row, int d, const std::vector<std::string>& times) {
    for (int s = 1; s <= 8; ++s) {
      const std::size_t i = static_cast<std::size_t>(s - 1);
      data.ShiftTimes(row, s, d) =
          i < times.size() ? *ParseColonTime(times[i] + ":00") : DateTime{};
    }
  }
};

}  // namespace velmora::test
