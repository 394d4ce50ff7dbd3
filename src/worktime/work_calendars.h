#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "common/datetime.h"

namespace velmora {

// The work calendars of every row: per row and day index, the working minutes, a changed mark
// and four shift windows (slots 1..8, start and end in turn; slot 0 unused).
class WorkCalendars {
 public:
  // Room for rows 0..rows and day indexes 0..days-1. Values are kept while the day count stays;
  // a new day count starts empty.
  void Size(int rows, int days);
  int Rows() const { return rows_; }  // highest row with storage
  int Days() const { return days_; }  // number of day indexes

  std::int16_t& WorkMinutes(int r, int d) { return workMinutes_[Cell(r, d)]; }
  std::int16_t WorkMinutes(int r, int d) const { return workMinutes_[Cell(r, d)]; }
  std::int16_t& Changed(int r, int d) { return changed_[Cell(r, d)]; }
  std::int16_t Changed(int r, int d) const { return changed_[Cell(r, d)]; }
  DateTime& ShiftTimes(int r, int slot, int d) { return shiftTimes_[SlotCell(r, slot, d)]; }
  DateTime ShiftTimes(int r, int slot, int d) const { return shiftTimes_[SlotCell(r, slot, d)]; }
  // Every slot of row r, day after day (nine a day), so a whole row can be compared at once.
  std::span<const DateTime> RowShiftTimes(int r) const;

 private:
  std::size_t Cell(int r, int d) const;
  std::size_t SlotCell(int r, int slot, int d) const;

  int rows_ = 0;
  int days_ = 0;
  std::vector<std::int16_t> workMinutes_;
  std::vector<std::int16_t> changed_;
  std::vector<DateTime> shiftTimes_;  // 9 slots per day
};

}  // namespace velmora
