#pragma once

#include <cstdint>
#include <optional>

#include "common/datetime.h"
#include "load/load_grid.h"

namespace velmora::load {

// The load of one row (or of all machine rows) in one bucket.
struct BucketLoad {
  BucketKind kind = BucketKind::Day;
  DateTime start;  // the bucket is [start, end)
  DateTime end;
  bool capacity = false;       // a machine row or the machines' total: `available` applies
  std::int64_t available = 0;  // working minutes of the calendar
  std::int64_t used = 0;       // minutes of the bars laid in it
  std::int32_t plans = 0;      // bars with minutes in it
  std::int64_t quantity = 0;   // their quantity

  // used ÷ available as a whole percent, rounded half up; nothing without a capacity or
  // without available minutes.
  std::optional<std::int64_t> Percent() const {
    if (!capacity || available <= 0) return std::nullopt;
    return (used * 200 + available) / (2 * available);
  }
  // Work laid on a day (or shift) with no working minutes: an overload of its own kind.
  bool UsedOffShift() const { return capacity && available <= 0 && used > 0; }
  bool Overloaded() const { return capacity && used > available; }

  bool operator==(const BucketLoad&) const = default;
};

// Whether `a` is loaded more than `b`: work on a day off above every percent, then by
// used ÷ available, compared exactly.
inline bool MoreLoaded(const BucketLoad& a, const BucketLoad& b) {
  if (a.UsedOffShift() != b.UsedOffShift()) return a.UsedOffShift();
  if (a.UsedOffShift()) return a.used > b.used;
  const std::int64_t aAvailable = a.available > 0 ? a.available : 1;
  const std::int64_t bAvailable = b.available > 0 ? b.available : 1;
  return a.used * bAvailable > b.used * aAvailable;
}

}  // namespace velmora::load
