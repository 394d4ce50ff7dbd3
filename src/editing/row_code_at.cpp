#include "editing/row_code_at.h"

namespace velmora::editing {

std::string RowCodeAt(const PlanData& data, double y) {
  if (y < 0) return "0";
  for (int r = 1; r <= data.RowCount; ++r) {
    if (data.WorkCenterLimit[static_cast<std::size_t>(r)] > y) {
      return data.RowCode[static_cast<std::size_t>(r)];
    }
  }
  return "";
}

}  // namespace velmora::editing
