#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/datetime.h"
#include "plandata/plan_entry.h"

namespace velmora {

// The program-wide tables: selection and display values, work center rows with their
// calendars, and the plan table. One instance is passed by reference to every operation.
struct PlanData {
  // --- Selection values ---
  std::int16_t PlantCode = 0;
  std::string CategoryCode;     // decimal digits; SQL uses it formatted "00"
  std::string CategoryCaption;  // code, a blank and the name
  std::string PeriodStart;      // "yyyy/mm/dd" as accepted by the selection dialog
  std::string PeriodEnd;
  std::int16_t DayCount = 0;  // days from PeriodStart to PeriodEnd, plus 3
  DateTime DayStartTime;      // 00:00:00
  std::string CommandLine;

  // --- Display values ---
  std::int16_t DisplayMode = 0;  // 1 day, 2 three days, 3 week, 4 four weeks
  float DayWidthBase = 0;
  float DayWidth = 0;
  float HourWidth = 0;
  float FixedHourWidth = 0;

  // --- Work center rows, indexed 0..RowCount (entry 0 unused) ---
  std::int16_t RowCount = 0;
  std::int16_t MachineRowCount = 0;
  std::int16_t DepartmentRowEnd = 0;
  std::vector<std::string> RowCode;
  std::vector<std::string> RowCaption;
  std::vector<double> RowTop;
  std::vector<double> WorkCenterLimit;

  // --- Calendars, day index 0..DayCount standing for PeriodStart - 2 + d ---
  // Sized for every row (not only machines), so a lookup on another row reads an empty day.
  std::int16_t& WorkMinutes(int r, int d);
  std::int16_t WorkMinutes(int r, int d) const;
  DateTime& ShiftTimes(int r, int slot, int d);
  DateTime ShiftTimes(int r, int slot, int d) const;
  std::int16_t& CalendarChanged(int r, int d);
  std::int16_t CalendarChanged(int r, int d) const;
  // Makes room for calendar rows 0..rows at the current DayCount, keeping stored values.
  void SizeCalendars(int rows);
  int CalendarRows() const { return calendarRows_; }

  // --- Plan table, indexed 0..PlanCount ---
  std::vector<PlanEntry> PlanTable;
  int PlanCount() const { return static_cast<int>(PlanTable.size()) - 1; }

  // The command line "1": nothing can be saved.
  bool InquiryMode() const { return CommandLine == "1"; }
  // PeriodStart and PeriodEnd as dates; ConversionError naming the text when they are not.
  DateTime PeriodStartDate() const;
  DateTime PeriodEndDate() const;

  // Resets the plan table to entries 0..1, entry 1 being the placeholder of bar 0.
  void ResetPlanTable();

 private:
  std::size_t DayCell(int r, int d) const;
  int calendarRows_ = 0;  // highest row with calendar storage
  int calendarDays_ = 0;  // DayCount + 1 at the time of sizing
  std::vector<std::int16_t> workMinutes_;
  std::vector<std::int16_t> calendarChanged_;
  std::vector<DateTime> shiftTimes_;  // 9 slots per day, slot 0 unused
};

}  // namespace velmora
