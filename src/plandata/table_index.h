#pragma once

#include <compare>
#include <cstddef>
#include <cstdint>

namespace velmora {

// An index into one kind of table. Plan indexes and bar indexes start out equal after a load
// but part ways once plans are split or merged, so the compiler keeps them apart.
template <typename Tag, typename Rep>
struct TableIndex {
  Rep value = 0;

  constexpr TableIndex() = default;
  constexpr explicit TableIndex(Rep v) : value(v) {}
  constexpr std::size_t Slot() const { return static_cast<std::size_t>(value); }
  constexpr auto operator<=>(const TableIndex&) const = default;
};

// A PlanTable entry (0..PlanCount).
using PlanIdx = TableIndex<struct PlanIdxTag, std::int32_t>;
// A bar pair PlanBar/PlanJBar on the chart.
using BarIdx = TableIndex<struct BarIdxTag, std::int32_t>;

}  // namespace velmora
