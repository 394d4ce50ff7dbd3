#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/datetime.h"
#include "plandata/plan_entry.h"
#include "plandata/stored_versions.h"
#include "plandata/unsaved_state.h"
#include "worktime/work_calendars.h"

namespace velmora {

// The program-wide tables: selection and display values, work center rows with their
// calendars, and the plan table. One instance is passed by reference to every operation.
struct PlanData {
  // --- Selection values ---
  std::int16_t PlantCode = 0;
  std::string CategoryCode;     // decimal digits; SQL uses it formatted "00"
  std::string CategoryCaption;  // code, a blank and the name
  std::int16_t DayCount = 0;    // days from PeriodStart to PeriodEnd, plus 3
  DateTime DayStartTime;        // 00:00:00

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
  WorkCalendars Calendars;
  std::int16_t& WorkMinutes(int r, int d) { return Calendars.WorkMinutes(r, d); }
  std::int16_t WorkMinutes(int r, int d) const { return Calendars.WorkMinutes(r, d); }
  DateTime& ShiftTimes(int r, int slot, int d) { return Calendars.ShiftTimes(r, slot, d); }
  DateTime ShiftTimes(int r, int slot, int d) const { return Calendars.ShiftTimes(r, slot, d); }
  std::int16_t& CalendarChanged(int r, int d) { return Calendars.Changed(r, d); }
  std::int16_t CalendarChanged(int r, int d) const { return Calendars.Changed(r, d); }
  // Makes room for calendar rows 0..rows at the current DayCount, keeping stored values.
  void SizeCalendars(int rows) { Calendars.Size(rows, DayCount + 1); }

  // --- Plan table, indexed 0..PlanCount ---
  std::vector<PlanEntry> PlanTable;
  int PlanCount() const { return static_cast<int>(PlanTable.size()) - 1; }
  PlanEntry& Plan(PlanIdx i) { return PlanTable.at(i.Slot()); }
  const PlanEntry& Plan(PlanIdx i) const { return PlanTable.at(i.Slot()); }
  // The last temporary number handed to a member that a split creates; the save numbers them.
  // Counts down from 0 for the whole run of the program, so no two new members share one.
  std::int32_t LastTempOrderNo = 0;

  // The program's command line; "1" is the inquiry mode, in which nothing can be saved.
  void SetCommandLine(std::string commandLine) {
    commandLine_ = std::move(commandLine);
    Edits.SetInquiryMode(commandLine_ == "1");
  }
  const std::string& CommandLine() const { return commandLine_; }
  bool InquiryMode() const { return Edits.InquiryMode(); }
  UnsavedState Edits;
  // The stored rows as this copy last read or wrote them, for the save's check of other
  // programs' changes.
  StoredVersions Stored;
  // Publishes the selected period: the texts as the user gave them, and their dates, parsed
  // once here. ConversionError with a message for the user when either text is not a date or
  // the end lies before the start.
  void SetPeriod(std::string_view start, std::string_view end);
  const std::string& PeriodStart() const { return periodStart_; }
  const std::string& PeriodEnd() const { return periodEnd_; }
  DateTime PeriodStartDate() const { return periodStartDate_; }
  DateTime PeriodEndDate() const { return periodEndDate_; }

  // Resets the plan table to entries 0..1, entry 1 being the placeholder of bar 0.
  void ResetPlanTable();

 private:
  std::string commandLine_;
  std::string periodStart_;  // as accepted by the selection dialog
  std::string periodEnd_;
  DateTime periodStartDate_;
  DateTime periodEndDate_;
};

// Why a period cannot be planned, as a message for the user: a text that is not a date, or an
// end before the start. Nothing when the period is sound.
std::optional<std::string> PeriodProblem(std::string_view start, std::string_view end);

}  // namespace velmora
