#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "plandata/plan_data.h"

namespace velmora::chart {

// FindRow's answer by two hash lookups instead of a walk over every row: a full redraw looks up
// the row of thousands of bars while the row list stays as it is.
class RowFinder {
 public:
  explicit RowFinder(const PlanData& data);
  std::optional<std::int16_t> Find(std::string_view first, std::string_view second) const;

 private:
  struct Hash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
  };
  // The highest row carrying each non-empty code: FindRow walks from the bottom up.
  std::unordered_map<std::string, std::int16_t, Hash, std::equal_to<>> bottomRowOf_;
};

}  // namespace velmora::chart
