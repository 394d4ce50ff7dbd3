#pragma once

#include <cstdint>
#include <optional>
#include <unordered_map>

namespace velmora {

// What this copy last saw of the stored rows a save may write: a fingerprint of each
// arrangement row by its number, and of each machine's calendar day (all its rows together),
// taken when they were read and again after this copy wrote them. The save compares them with
// the rows as they stand, so it never overwrites another program's change without asking.
class StoredVersions {
 public:
  void SetArrangement(std::int32_t orderNo, std::uint64_t version) {
    arrangements_[orderNo] = version;
  }
  // Nothing for an arrangement this copy has not read.
  std::optional<std::uint64_t> Arrangement(std::int32_t orderNo) const {
    const auto it = arrangements_.find(orderNo);
    if (it == arrangements_.end()) return std::nullopt;
    return it->second;
  }

  // A day's fingerprint is the sum of its rows' fingerprints, so the order the engine returns
  // them in does not matter; a day without rows is 0. Nothing for a day this copy has not read.
  void SetDay(int row, int day, std::uint64_t version) { days_[DayKey(row, day)] = version; }
  std::optional<std::uint64_t> Day(int row, int day) const {
    const auto it = days_.find(DayKey(row, day));
    if (it == days_.end()) return std::nullopt;
    return it->second;
  }

  void ClearArrangements() { arrangements_.clear(); }
  void ClearDays() { days_.clear(); }

 private:
  static std::int64_t DayKey(int row, int day) {
    return (static_cast<std::int64_t>(row) << 32) | static_cast<std::uint32_t>(day);
  }
  std::unordered_map<std::int32_t, std::uint64_t> arrangements_;
  std::unordered_map<std::int64_t, std::uint64_t> days_;
};

}  // namespace velmora
