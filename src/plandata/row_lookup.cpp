#include "plandata/row_lookup.h"

#include "common/text.h"

namespace velmora {

std::int16_t RowOfCode(const PlanData& data, std::string_view code) {
  for (std::size_t r = 1; r < data.RowCode.size(); ++r) {
    if (data.RowCode[r] == code) return static_cast<std::int16_t>(r);
  }
  return 1;
}

std::optional<std::int16_t> FindRow(const PlanData& data, std::string_view first,
                                    std::string_view second) {
  const bool eitherCode = Trim(second).empty() || Trim(first).empty() || first == second;
  for (int r = data.RowCount; r >= 1; --r) {
    const std::string& code = data.RowCode[static_cast<std::size_t>(r)];
    if (code.empty()) continue;
    if (code == first || (eitherCode && code == second)) return static_cast<std::int16_t>(r);
  }
  return std::nullopt;
}

}  // namespace velmora
