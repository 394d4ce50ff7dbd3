#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/date_text.h"
#include "common/datetime.h"
#include "plandata/plan_data.h"

namespace velmora::test {

// A small planning world: period 2024/04/10 to 04/12, so the calendar runs from 04/08 (day 0)
// to 04/13 (day 5). Row 1 is the unplanned row, rows 2 and 3 the machines "M01" and "M02".
class CalendarWorld {
 public:
  CalendarWorld() {
    data.SetPeriod("2024/04/10", "2024/04/10");
    data.DayCount = 5;
    data.RowCount = 3;
    data.RowCode = {"", "        ", "M01     ", "M02     "};
    data.SizeCalendars(3);
    data.ResetPlanTable();
  }

  // Shift windows as "hh:nn:ss" start/end pairs on every day of `row`.
  void Windows(int row, const std::vector<std::string>& times) {
    for (int d = 0; d <= data.DayCount; ++d) SetDay(row, d, times);
  }
  // The same on one date only ("2024/04/11").
  void WindowsOn(int row, std::string_view date, const std::vector<std::string>& times) {
    const auto d = (*ParseSlashDate(date) - data.PeriodStartDate()).Days() + 2;
    SetDay(row, static_cast<int>(d), times);
  }

  // A plan on the given machine code; returns its index.
  PlanIdx Plan(const std::string& machineCode) {
    data.PlanTable.emplace_back();
    data.PlanTable.back().MachineCode = machineCode;
    return PlanIdx{data.PlanCount()};
  }

  // "yyyy/mm/dd hh:nn:ss" both ways.
  static DateTime At(std::string_view text) {
    return *ParseSlashDate(text.substr(0, 10)) + *ParseColonTime(text.substr(11));
  }
  static std::string Text(DateTime moment) {
    return FormatSlashDate(moment.DatePart()) + " " + FormatColonTime(moment.TimePart());
  }

  PlanData data;

 private:
  void SetDay(int row, int d, const std::vector<std::string>& times) {
    for (int s = 1; s <= 8; ++s) {
      const std::size_t i = static_cast<std::size_t>(s - 1);
      data.ShiftTimes(row, s, d) = i < times.size() ? *ParseColonTime(times[i]) : DateTime{};
    }
  }
};

}  // namespace velmora::test
