#include "load/work_timeline.h"

#include <array>

namespace velmora::load {
namespace {

constexpr std::int64_t kDay = DateTime::kSecondsPerDay;

// One date's slot pairs, seconds of the day (slot 0 unused).
std::array<std::int64_t, 9> ReadSlots(const RowCalendar& calendar, int d) {
  std::array<std::int64_t, 9> slot{};
  if (calendar.row < 1 || calendar.row > calendar.calendars.Rows()) return slot;
  for (int s = 1; s <= 8; ++s) {
    slot[static_cast<std::size_t>(s)] =
        calendar.calendars.ShiftTimes(calendar.row, s, d).SecondsOfDay();
  }
  return slot;
}

}  // namespace

WorkTimeline::WorkTimeline(const RowCalendar& calendar)
    : dayZero_(calendar.DateOfDay(0).Seconds()) {
  const int days = calendar.calendars.Days();
  days_.resize(static_cast<std::size_t>(days));
  for (int d = 0; d < days; ++d) {
    const auto slot = ReadSlots(calendar, d);
    auto start = [&](int k) { return slot[static_cast<std::size_t>(2 * k - 1)]; };
    auto end = [&](int k) { return slot[static_cast<std::size_t>(2 * k)]; };
    auto isWindow = [&](int k) { return start(k) != end(k); };
    Day& day = days_[static_cast<std::size_t>(d)];
    day.hasShift = isWindow(1);
    const std::int64_t first = day.hasShift ? start(1) : 0;
    day.first = static_cast<std::int32_t>(first);
    day.begin = static_cast<std::uint32_t>(windows_.size());
    const std::int64_t date = DateOf(d);
    for (int k = 1; k <= 4; ++k) {
      if (!isWindow(k)) continue;
      const std::int64_t s = start(k), e = end(k);
      // A window ending no later than the first start runs past midnight into the next date.
      if (e <= first)
        day.lateEnd = std::max<std::int32_t>(day.lateEnd, static_cast<std::int32_t>(e));
      if (!day.hasShift) continue;  // a day without a first window has no shift
      if (e > first) {
        if (std::max(s, first) < e) windows_.push_back({date + std::max(s, first), date + e});
      } else if (s >= first) {
        windows_.push_back({date + s, date + kDay + e});  // crosses midnight
      } else if (s < e) {
        windows_.push_back({date + kDay + s, date + kDay + e});  // wholly after midnight
      }
    }
    day.end = static_cast<std::uint32_t>(windows_.size());
  }
}

std::int64_t WorkTimeline::DayIndex(std::int64_t at) const {
  const std::int64_t since = at - dayZero_;
  return since >= 0 ? since / kDay : -((-since + kDay - 1) / kDay);
}

// Where the walk resumes after a production day whose windows run into the next date until
// `lateEnd`: the first window of day `nextIndex` (08:00 when it has none or lies outside the
// calendar), but not before those windows have ended.
std::int64_t WorkTimeline::NextDayStart(std::int32_t lateEnd, std::int64_t nextIndex) const {
  std::int64_t start = kProductionDayChange;
  if (nextIndex >= 0 && nextIndex < static_cast<std::int64_t>(days_.size())) {
    const Day& next = days_[static_cast<std::size_t>(nextIndex)];
    if (next.hasShift) start = next.first;
  }
  return DateOf(nextIndex) + std::max<std::int64_t>(start, lateEnd);
}

// Moments before a date's first window belong to the previous date's production day; the first
// date of the calendar has none before it.
WorkTimeline::Step WorkTimeline::Locate(std::int64_t at) const {
  const std::int64_t d = DayIndex(at);
  if (d < 0) return {-1, NextDayStart(0, 0)};
  const Day& own = days_[static_cast<std::size_t>(d)];
  if (at - DateOf(d) < own.first) {
    if (d == 0) return {-1, NextDayStart(0, 0)};
    const Day& previous = days_[static_cast<std::size_t>(d - 1)];
    return {previous.hasShift ? static_cast<int>(d - 1) : -1, NextDayStart(previous.lateEnd, d)};
  }
  return {own.hasShift ? static_cast<int>(d) : -1, NextDayStart(own.lateEnd, d + 1)};
}

}  // namespace velmora::load
