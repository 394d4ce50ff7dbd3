#include <cstdint>
#include <stdexcept>

#include "common/date_text.h"
#include "worktime/work_day.h"

namespace velmora {
namespace {

// Beyond the calendar every production day offers kOpenDayMinutes, the first counted from the
// moment itself, the others from 08:00; reached in one step, so an absurd duration costs nothing.
DateTime OpenDaysEnd(DateTime at, std::int64_t remaining) {
  const std::int64_t fullDays = (remaining - 1) / kOpenDayMinutes;
  if (fullDays == 0) return at.AddMinutes(remaining);
  return at.DatePart()
      .AddDays(fullDays)
      .AddSeconds(kProductionDayChange)
      .AddMinutes(remaining - fullDays * kOpenDayMinutes);
}

}  // namespace

DateTime EndOnShifts(const RowCalendar& calendar, DateTime start, std::int64_t minutes) {
  DateTime cur = start;
  std::int64_t remaining = minutes;  // a negative duration ends at the start
  while (remaining > 0) {
    const std::int64_t d = calendar.DayIndex(cur);
    if (d < -1) {
      // Days before the calendar hold no working minutes: go on from the day before it at once
      // (a plan without a start date would otherwise walk from 1899).
      cur = calendar.DateOfDay(-1);
      continue;
    }
    if (d > calendar.LastDay()) return OpenDaysEnd(cur, remaining);
    DateTime next;
    const std::int64_t available = MinutesLeftInWorkDay(calendar, cur, next);
    // A job that exactly fills the rest of a production day ends at its last window's end.
    if (remaining <= available) return EndWithinWorkDay(calendar, cur, remaining);
    if (next <= cur) {
      throw std::logic_error("working-time walk does not advance at " + FormatSlashDate(cur) + " " +
                             FormatColonTime(cur));
    }
    remaining -= available;
    cur = next;
  }
  return cur;
}

}  // namespace velmora
