#include "plandata/plan_data.h"

#include <stdexcept>

#include "common/date_text.h"
#include "common/errors.h"

namespace velmora {
namespace {

DateTime ParsePeriodDate(const std::string& text, const char* what) {
  if (auto date = ParseSlashDate(text)) return *date;
  throw ConversionError(std::string(what) + " is not a date: \"" + text + "\"");
}

}  // namespace

std::size_t PlanData::DayCell(int r, int d) const {
  if (r < 0 || r > calendarRows_ || d < 0 || d >= calendarDays_) {
    throw std::out_of_range("calendar cell (" + std::to_string(r) + ", " + std::to_string(d) + ")");
  }
  return static_cast<std::size_t>(r) * static_cast<std::size_t>(calendarDays_) +
         static_cast<std::size_t>(d);
}

std::int16_t& PlanData::WorkMinutes(int r, int d) {
  return workMinutes_[DayCell(r, d)];
}
std::int16_t PlanData::WorkMinutes(int r, int d) const {
  return workMinutes_[DayCell(r, d)];
}
std::int16_t& PlanData::CalendarChanged(int r, int d) {
  return calendarChanged_[DayCell(r, d)];
}
std::int16_t PlanData::CalendarChanged(int r, int d) const {
  return calendarChanged_[DayCell(r, d)];
}

DateTime& PlanData::ShiftTimes(int r, int slot, int d) {
  if (slot < 0 || slot > 8) throw std::out_of_range("shift slot " + std::to_string(slot));
  return shiftTimes_[DayCell(r, d) * 9 + static_cast<std::size_t>(slot)];
}

DateTime PlanData::ShiftTimes(int r, int slot, int d) const {
  if (slot < 0 || slot > 8) throw std::out_of_range("shift slot " + std::to_string(slot));
  return shiftTimes_[DayCell(r, d) * 9 + static_cast<std::size_t>(slot)];
}

void PlanData::SizeCalendars(int rows) {
  const int days = DayCount + 1;
  if (days != calendarDays_) {
    // A new day count re-lays the storage; the loader sizes once per load, so nothing is kept.
    workMinutes_.clear();
    calendarChanged_.clear();
    shiftTimes_.clear();
    calendarDays_ = days;
  }
  calendarRows_ = rows;
  const std::size_t cells = static_cast<std::size_t>(rows + 1) * static_cast<std::size_t>(days);
  workMinutes_.resize(cells);
  calendarChanged_.resize(cells);
  shiftTimes_.resize(cells * 9);
}

DateTime PlanData::PeriodStartDate() const {
  return ParsePeriodDate(PeriodStart, "period start");
}
DateTime PlanData::PeriodEndDate() const {
  return ParsePeriodDate(PeriodEnd, "period end");
}

void PlanData::ResetPlanTable() {
  PlanTable.assign(2, PlanEntry{});
  PlanTable[1].BarIndex = 0;
  PlanTable[1].MachineCode = "0";
}

}  // namespace velmora
