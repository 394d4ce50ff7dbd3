#pragma once

#include <algorithm>
#include <cstdint>

#include "common/datetime.h"

namespace velmora::load {

// How finely the load is counted: the day view shows shifts, the others days or weeks.
enum class BucketKind { Shift, Day, Week };

// The buckets of the chart's days. A day runs from 08:00 to 08:00 of the next date, between the
// chart's day lines (the production day change); its shifts are the eight hours the day view's
// axis marks (08:00, 16:00, 00:00); a week runs from Monday 08:00. Day index 0 is the
// calendar's first day (two days before the period).
class LoadGrid {
 public:
  static constexpr std::int64_t kShiftSeconds = 8 * 3600;
  static constexpr int kShiftsPerDay = 3;

  LoadGrid() = default;
  LoadGrid(DateTime firstDate, int days);

  int Days() const { return days_; }
  int Count(BucketKind kind) const;
  // The bucket of `kind` holding moment `at`; outside 0..Count-1 beyond the grid.
  std::int64_t IndexAt(BucketKind kind, DateTime at) const;
  DateTime Start(BucketKind kind, std::int64_t index) const;
  DateTime End(BucketKind kind, std::int64_t index) const { return Start(kind, index + 1); }
  // The bucket of `kind` that shift `shift` lies in.
  int Of(BucketKind kind, int shift) const;

  // Calls f(shift, count) for the minutes of `minutes` consecutive minutes from `from` that lie
  // within the grid, each minute counted in the shift its start falls in.
  template <typename F>
  void Split(DateTime from, std::int64_t minutes, F&& f) const;

  bool operator==(const LoadGrid&) const = default;

 private:
  std::int64_t origin_ = 0;  // seconds of day 0's 08:00
  int days_ = 0;
  int weekLead_ = 0;  // days from the Monday on or before day 0 to day 0
};

template <typename F>
void LoadGrid::Split(DateTime from, std::int64_t minutes, F&& f) const {
  std::int64_t at = from.Seconds();
  std::int64_t left = minutes;
  const std::int64_t shifts = static_cast<std::int64_t>(days_) * kShiftsPerDay;
  if (at < origin_) {
    const std::int64_t skipped = (origin_ - at + 59) / 60;
    at += skipped * 60;
    left -= skipped;
  }
  while (left > 0) {
    const std::int64_t shift = (at - origin_) / kShiftSeconds;
    if (shift >= shifts) return;
    const std::int64_t boundary = origin_ + (shift + 1) * kShiftSeconds;
    const std::int64_t count = std::min(left, (boundary - at + 59) / 60);
    f(static_cast<int>(shift), count);
    at += count * 60;
    left -= count;
  }
}

}  // namespace velmora::load
