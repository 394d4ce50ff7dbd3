#include "worktime/work_calendars.h"

#include <stdexcept>
#include <string>

namespace velmora {

void WorkCalendars::Size(int rows, int days) {
  if (rows < 0 || days < 0) {
    throw std::length_error("calendar size " + std::to_string(rows) + " rows, " +
                            std::to_string(days) + " days");
  }
  if (days != days_) {
    workMinutes_.clear();
    changed_.clear();
    shiftTimes_.clear();
    days_ = days;
  }
  rows_ = rows;
  const std::size_t cells = static_cast<std::size_t>(rows + 1) * static_cast<std::size_t>(days);
  workMinutes_.resize(cells);
  changed_.resize(cells);
  shiftTimes_.resize(cells * 9);
}

std::size_t WorkCalendars::Cell(int r, int d) const {
  if (r < 0 || r > rows_ || d < 0 || d >= days_) {
    throw std::out_of_range("calendar cell (" + std::to_string(r) + ", " + std::to_string(d) + ")");
  }
  return static_cast<std::size_t>(r) * static_cast<std::size_t>(days_) +
         static_cast<std::size_t>(d);
}

std::size_t WorkCalendars::SlotCell(int r, int slot, int d) const {
  if (slot < 0 || slot > 8) throw std::out_of_range("shift slot " + std::to_string(slot));
  return Cell(r, d) * 9 + static_cast<std::size_t>(slot);
}

std::span<const DateTime> WorkCalendars::RowShiftTimes(int r) const {
  if (days_ == 0) return {};
  return {shiftTimes_.data() + SlotCell(r, 0, 0), static_cast<std::size_t>(days_) * 9};
}

}  // namespace velmora
