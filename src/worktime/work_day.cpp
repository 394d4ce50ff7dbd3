#include "worktime/work_day.h"

#include <algorithm>
#include <array>

namespace velmora {
namespace {

constexpr std::int64_t kMinutesPerDay = 1440;

// Whole minutes of a span of seconds, rounded down.
std::int64_t WholeMinutes(std::int64_t seconds) {
  return seconds >= 0 ? seconds / 60 : -((-seconds + 59) / 60);
}

// The four shift windows of one row and day, in seconds of the day.
struct DayWindows {
  std::array<std::int64_t, 9> slot{};  // slot 0 unused

  std::int64_t Start(int k) const { return slot[2 * k - 1]; }
  std::int64_t End(int k) const { return slot[2 * k]; }
  // An empty slot pair and a window starting at 00:00:00 both hold 00:00:00 at the start. A
  // pair counts as a window only when its ends differ (the loader records no other), so with a
  // first window at 00:00:00 the empty pairs are not taken for windows running past midnight.
  bool IsWindow(int k) const { return Start(k) != End(k); }
  std::int64_t FirstStart() const { return IsWindow(1) ? Start(1) : 0; }
  // A window ending no later than the first start runs past midnight into the next date.
  bool EndsNextDate(int k) const { return End(k) <= FirstStart(); }

  // Latest end of the windows that reach into the next date (0 when none).
  std::int64_t LatestEndNextDate() const {
    std::int64_t latest = 0;
    for (int k = 1; k <= 4; ++k) {
      if (IsWindow(k) && EndsNextDate(k)) latest = std::max(latest, End(k));
    }
    return latest;
  }

  // The first window that runs past midnight; 0 when none.
  int FirstPastMidnight() const {
    for (int k = 1; k <= 4; ++k) {
      if (IsWindow(k) && End(k) != 0 && EndsNextDate(k)) return k;
    }
    return 0;
  }
};

DayWindows ReadDay(const RowCalendar& calendar, std::int64_t d) {
  DayWindows day;
  // Rows without calendar storage (not machines) have no windows.
  if (calendar.row < 1 || calendar.row > calendar.calendars.Rows()) return day;
  for (int s = 1; s <= 8; ++s) {
    day.slot[s] =
        calendar.calendars.ShiftTimes(calendar.row, s, static_cast<int>(d)).SecondsOfDay();
  }
  return day;
}

// Where a moment falls: the production day it belongs to and how its minutes are counted.
struct Place {
  enum class Kind { BeforeCalendar, BeyondCalendar, NoShift, EarlyMorning, SameDay };
  Kind kind = Kind::BeforeCalendar;
  DateTime date;     // date of the moment
  std::int64_t t{};  // its time of day, seconds
  DayWindows day;    // windows of the production day it belongs to
  DateTime nextDayStart;
};

// Where the walk resumes after the production day with windows `day`: the first window of day
// `nextIndex` (08:00 when that day has none or lies outside the calendar), so that neither a
// first window after 08:00 stalls the walk nor one before 08:00 is skipped; and not before the
// windows of `day` that run into that date have ended, so that no minute counts twice.
DateTime NextDayStart(const RowCalendar& calendar, const DayWindows& day, std::int64_t nextIndex) {
  std::int64_t start = kProductionDayChange;
  if (nextIndex >= 0 && nextIndex <= calendar.LastDay()) {
    const DayWindows next = ReadDay(calendar, nextIndex);
    if (next.IsWindow(1)) start = next.FirstStart();
  }
  return calendar.DateOfDay(nextIndex).AddSeconds(std::max(start, day.LatestEndNextDate()));
}

Place Locate(const RowCalendar& calendar, DateTime at) {
  Place p;
  p.date = at.DatePart();
  p.t = at.SecondsOfDay();
  const std::int64_t d = calendar.DayIndex(at);
  if (d < 0 || d > calendar.LastDay()) {
    p.kind = d < 0 ? Place::Kind::BeforeCalendar : Place::Kind::BeyondCalendar;
    p.nextDayStart = NextDayStart(calendar, p.day, d + 1);
    return p;
  }
  const DayWindows own = ReadDay(calendar, d);
  if (p.t < own.FirstStart()) {
    // Before the date's first window: the moment belongs to the previous production day.
    if (d >= 1) p.day = ReadDay(calendar, d - 1);
    p.nextDayStart = NextDayStart(calendar, p.day, d);
    if (d == 0) return p;
    p.kind = Place::Kind::EarlyMorning;
  } else {
    // The early-morning rules apply only to a moment on the following date: a moment of this
    // date before the next date's (later) first window is still in its own production day.
    p.day = own;
    p.kind = Place::Kind::SameDay;
    p.nextDayStart = NextDayStart(calendar, own, d + 1);
  }
  if (!p.day.IsWindow(1)) p.kind = Place::Kind::NoShift;
  return p;
}

std::int64_t EarlyMorningMinutes(const Place& p) {
  const DayWindows& w = p.day;
  const int first = w.FirstPastMidnight();
  if (first == 0) return 0;
  std::int64_t total = 0;
  for (int j = first; j <= 4; ++j) {
    const std::int64_t s = w.Start(j), e = w.End(j);
    if (!w.IsWindow(j) || p.t >= e) continue;
    const std::int64_t from = (s >= w.FirstStart() || p.t >= s) ? p.t : s;
    total += WholeMinutes(e - from);
  }
  return total;
}

std::int64_t SameDayMinutes(const Place& p) {
  const DayWindows& w = p.day;
  std::int64_t total = 0;
  for (int j = 1; j <= 4; ++j) {
    const std::int64_t s = w.Start(j), e = w.End(j);
    if (!w.IsWindow(j)) continue;
    if (p.t < e) {
      total += WholeMinutes(e - std::max(p.t, s));
    } else if (w.EndsNextDate(j)) {
      if (s >= w.FirstStart()) {  // starts on this date, crosses midnight
        total += e / 60 + kMinutesPerDay - std::max(p.t, s) / 60;
      } else {  // lies wholly after midnight
        total += WholeMinutes(e - s);
      }
    }  // else the window is over
  }
  return total;
}

DateTime EarlyMorningEnd(const Place& p, std::int64_t remaining) {
  const DayWindows& w = p.day;
  const DateTime dayChange = p.date.AddSeconds(kProductionDayChange);
  const int first = w.FirstPastMidnight();
  if (first == 0) return dayChange;
  for (int j = first; j <= 4; ++j) {
    const std::int64_t s = w.Start(j), e = w.End(j);
    if (!w.IsWindow(j) || p.t >= e) continue;
    const std::int64_t from = (s >= w.FirstStart() || p.t >= s) ? p.t : s;
    const std::int64_t m = WholeMinutes(e - from);
    if (m >= remaining) return p.date.AddSeconds(from).AddMinutes(remaining);
    remaining -= m;
  }
  return dayChange;
}

DateTime SameDayEnd(const Place& p, std::int64_t remaining) {
  const DayWindows& w = p.day;
  const DateTime nextDate = p.date.AddDays(1);
  DateTime day = p.date;  // date the current window's minutes fall on
  for (int j = 1; j <= 4; ++j) {
    const std::int64_t s = w.Start(j), e = w.End(j);
    if (!w.IsWindow(j)) continue;
    if (p.t < e) {
      const std::int64_t from = std::max(p.t, s);
      const std::int64_t m = WholeMinutes(e - from);
      if (m >= remaining) return day.AddSeconds(from).AddMinutes(remaining);
      remaining -= m;
    } else if (w.EndsNextDate(j) && s >= w.FirstStart()) {  // crosses midnight
      const std::int64_t from = std::max(p.t, s);
      const std::int64_t beforeMidnight = kMinutesPerDay - from / 60;
      if (beforeMidnight >= remaining) return day.AddSeconds(from).AddMinutes(remaining);
      remaining -= beforeMidnight;
      day = nextDate;
      const std::int64_t afterMidnight = e / 60;
      if (afterMidnight >= remaining) return day.AddMinutes(remaining);
      remaining -= afterMidnight;
    } else if (w.EndsNextDate(j)) {  // lies wholly after midnight
      day = nextDate;
      const std::int64_t m = WholeMinutes(e - s);
      if (m >= remaining) return day.AddSeconds(s).AddMinutes(remaining);
      remaining -= m;
    }  // else the window is over
  }
  return nextDate.AddSeconds(kProductionDayChange);
}

}  // namespace

std::int32_t MinutesLeftInWorkDay(const RowCalendar& calendar, DateTime at,
                                  DateTime& nextDayStart) {
  const Place p = Locate(calendar, at);
  nextDayStart = p.nextDayStart;
  switch (p.kind) {
    case Place::Kind::BeforeCalendar:
    case Place::Kind::NoShift:
      return 0;
    case Place::Kind::BeyondCalendar:
      return kOpenDayMinutes;
    case Place::Kind::EarlyMorning:
      return static_cast<std::int32_t>(EarlyMorningMinutes(p));
    case Place::Kind::SameDay:
      return static_cast<std::int32_t>(SameDayMinutes(p));
  }
  return 0;
}

DateTime EndWithinWorkDay(const RowCalendar& calendar, DateTime at, std::int64_t minutes) {
  const Place p = Locate(calendar, at);
  switch (p.kind) {
    case Place::Kind::BeforeCalendar:
    case Place::Kind::NoShift:
      return at;
    case Place::Kind::BeyondCalendar:
      return at.AddMinutes(minutes);
    case Place::Kind::EarlyMorning:
      return EarlyMorningEnd(p, minutes);
    case Place::Kind::SameDay:
      return SameDayEnd(p, minutes);
  }
  return at;
}

}  // namespace velmora
