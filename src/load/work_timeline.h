#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>
#include <stdexcept>
#include <vector>

#include "common/datetime.h"
#include "worktime/work_day.h"

namespace velmora::load {

// One machine row's working time as the shift walk counts it, read once from its calendar so
// that laying a bar costs a few steps instead of a walk that reads the calendar at every step.
// Each production day keeps its windows in slot order, as absolute stretches: a window past
// midnight runs into the next date. Laying minutes follows the walk (`EndOnShifts`) step by
// step, so a bar's minutes lie where the bar's end was computed.
class WorkTimeline {
 public:
  WorkTimeline() = default;
  explicit WorkTimeline(const RowCalendar& calendar);

  // Lays `minutes` working minutes from `start` as the walk does, calling run(from, count) for
  // each stretch of `count` consecutive working minutes starting at `from`, and returns the end
  // the walk gives. Stops early, returning `stopAt`, once the laying reaches `stopAt`.
  template <typename Run>
  DateTime Lay(DateTime start, std::int64_t minutes, Run&& run,
               DateTime stopAt = DateTime::FromSeconds(kNever)) const;

 private:
  static constexpr std::int64_t kNever = std::numeric_limits<std::int64_t>::max() / 2;
  struct Window {
    std::int64_t from;  // absolute seconds
    std::int64_t to;
  };
  struct Day {
    bool hasShift = false;     // its first slot pair is a window
    std::int32_t first = 0;    // the first window's start, seconds of the day (0 without)
    std::int32_t lateEnd = 0;  // latest end of the windows running into the next date
    std::uint32_t begin = 0;   // its windows in windows_
    std::uint32_t end = 0;
  };
  // Where the walk stands at a moment: the production day counting it, and where it goes next.
  struct Step {
    int day = -1;  // -1: nothing to count
    std::int64_t next = 0;
  };

  std::int64_t DateOf(std::int64_t d) const { return dayZero_ + d * DateTime::kSecondsPerDay; }
  std::int64_t DayIndex(std::int64_t at) const;
  std::int64_t NextDayStart(std::int32_t lateEnd, std::int64_t nextIndex) const;
  Step Locate(std::int64_t at) const;
  template <typename Run>
  static DateTime LayOpenDays(std::int64_t at, std::int64_t remaining, Run& run, DateTime stop);

  std::int64_t dayZero_ = 0;  // seconds of day index 0's date
  std::vector<Day> days_;
  std::vector<Window> windows_;
};

template <typename Run>
DateTime WorkTimeline::Lay(DateTime start, std::int64_t minutes, Run&& run, DateTime stop) const {
  std::int64_t cur = start.Seconds();
  std::int64_t remaining = minutes;
  const std::int64_t last = static_cast<std::int64_t>(days_.size()) - 1;
  while (remaining > 0) {
    if (cur >= stop.Seconds()) return stop;
    const std::int64_t d = DayIndex(cur);
    if (d < -1) {
      cur = DateOf(-1);  // days before the calendar hold nothing
      continue;
    }
    if (d > last) return LayOpenDays(cur, remaining, run, stop);
    const Step step = Locate(cur);
    if (step.day >= 0) {
      const Day& day = days_[static_cast<std::size_t>(step.day)];
      // Every window of the production day counts from the moment the step began, in slot
      // order, as the walk counts them.
      for (std::uint32_t w = day.begin; w < day.end; ++w) {
        const std::int64_t from = std::max(cur, windows_[w].from);
        if (from >= windows_[w].to) continue;
        if (from >= stop.Seconds()) return stop;
        const std::int64_t count = (windows_[w].to - from) / 60;
        if (count >= remaining) {
          run(DateTime::FromSeconds(from), remaining);
          return DateTime::FromSeconds(from + remaining * 60);
        }
        if (count > 0) run(DateTime::FromSeconds(from), count);
        remaining -= count;
      }
    }
    if (step.next <= cur) throw std::logic_error("the working-time timeline does not advance");
    cur = step.next;
  }
  return DateTime::FromSeconds(cur);
}

// Beyond the calendar a day offers kOpenDayMinutes, the first counted from the moment itself,
// the others from the day change (as the walk's closed form has it).
template <typename Run>
DateTime WorkTimeline::LayOpenDays(std::int64_t at, std::int64_t remaining, Run& run,
                                   DateTime stop) {
  const std::int64_t fullDays = (remaining - 1) / kOpenDayMinutes;
  const std::int64_t date = at - DateTime::FromSeconds(at).SecondsOfDay();
  const std::int64_t lastCount = remaining - fullDays * kOpenDayMinutes;
  for (std::int64_t k = 0; k <= fullDays; ++k) {
    const std::int64_t from =
        k == 0 ? at : date + k * DateTime::kSecondsPerDay + kProductionDayChange;
    if (from >= stop.Seconds()) return stop;
    run(DateTime::FromSeconds(from), k < fullDays ? kOpenDayMinutes : lastCount);
  }
  if (fullDays == 0) return DateTime::FromSeconds(at + remaining * 60);
  return DateTime::FromSeconds(date + fullDays * DateTime::kSecondsPerDay + kProductionDayChange +
                               lastCount * 60);
}

}  // namespace velmora::load
