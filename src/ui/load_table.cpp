#include "ui/load_table.h"

namespace velmora::ui {

std::string LoadTable::Text(const Cell& cell) {
  if (cell.available <= 0) {
    return cell.used > 0 ? "休 " + std::to_string(cell.used) + "分" : std::string();
  }
  // Whole percent, halves rounded up: 100.5 % is an overload of 101 %.
  const std::int64_t percent = (cell.used * 200 + cell.available) / (cell.available * 2);
  return std::to_string(percent) + "%";
}

}  // namespace velmora::ui
