#include "chart/row_finder.h"

#include <algorithm>

#include "plandata/blank_codes.h"

namespace velmora::chart {

RowFinder::RowFinder(const PlanData& data) {
  const int last = std::min<int>(data.RowCount, static_cast<int>(data.RowCode.size()) - 1);
  for (int r = 1; r <= last; ++r) {
    const std::string& code = data.RowCode[static_cast<std::size_t>(r)];
    if (!code.empty()) bottomRowOf_[code] = static_cast<std::int16_t>(r);
  }
}

std::optional<std::int16_t> RowFinder::Find(std::string_view first, std::string_view second) const {
  auto rowOf = [this](std::string_view code) -> std::optional<std::int16_t> {
    auto it = bottomRowOf_.find(code);
    if (it == bottomRowOf_.end()) return std::nullopt;
    return it->second;
  };
  const std::optional<std::int16_t> byFirst = rowOf(first);
  if (!(IsBlank(second) || IsBlank(first) || first == second)) return byFirst;
  const std::optional<std::int16_t> bySecond = rowOf(second);
  if (!byFirst) return bySecond;
  if (!bySecond) return byFirst;
  return std::max(*byFirst, *bySecond);
}

}  // namespace velmora::chart
