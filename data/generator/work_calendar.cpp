#include "generator/work_calendar.h"

#include <algorithm>

#include "common/date_text.h"

namespace velmora::demo {
namespace {

// The n-th (1-based) Monday of a month.
int NthMonday(int year, int month, int n) {
  const int firstWeekday = DateTime::FromDate(year, month, 1).Weekday();  // 1 = Sunday
  const int firstMonday = 1 + (9 - firstWeekday) % 7;
  return firstMonday + 7 * (n - 1);
}

struct Shift {
  const char* start;
  const char* end;
};

int SecondsOf(const char* hhnnss) {
  return static_cast<int>(ParseHms(hhnnss)->Seconds());
}

// Minutes of a window; a window ending at or before its start runs past midnight.
int WindowMinutes(const char* start, const char* end) {
  int seconds = SecondsOf(end) - SecondsOf(start);
  if (seconds <= 0) seconds += 86400;
  return seconds / 60;
}

CalendarRow MakeRow(const Machine& machine, const std::string& day, Shift first,
                    Shift second = {"000000", "000000"}) {
  CalendarRow row{machine.code, day, 0, first.start, first.end, second.start, second.end};
  row.minutes = WindowMinutes(first.start, first.end);
  if (row.start2 != row.end2) row.minutes += WindowMinutes(second.start, second.end);
  return row;
}

std::vector<CalendarRow> WorkingDayRows(const Machine& machine, const std::string& day,
                                        Random& random) {
  // A few mornings start late (maintenance, meetings); the editor accepts up to 10:00.
  static const std::vector<const char*> kLateStarts = {"090000", "093000", "100000"};
  const bool lateStart = random.Percent(3);
  const auto first = [&](const char* normal) {
    return lateStart ? random.Pick(kLateStarts) : normal;
  };

  std::vector<CalendarRow> rows;
  switch (machine.pattern) {
    case ShiftPattern::kDay:
      rows.push_back(MakeRow(machine, day, {first("080000"), "170000"}));
      if (random.Percent(25))
        rows.push_back(MakeRow(machine, day, {"173000", "193000"}));  // overtime
      break;
    case ShiftPattern::kLateDay:
      rows.push_back(MakeRow(machine, day, {first("083000"), "173000"}));
      if (random.Percent(25)) rows.push_back(MakeRow(machine, day, {"180000", "200000"}));
      break;
    case ShiftPattern::kDayAndEvening:
      rows.push_back(MakeRow(machine, day, {first("080000"), "170000"}, {"170000", "010000"}));
      break;
    case ShiftPattern::kDayAndNight:
      rows.push_back(MakeRow(machine, day, {first("080000"), "170000"}, {"200000", "050000"}));
      break;
    case ShiftPattern::kDayAndNightTwoRows:
      rows.push_back(MakeRow(machine, day, {first("080000"), "170000"}));
      rows.push_back(MakeRow(machine, day, {"200000", "050000"}));
      break;
  }
  return rows;
}

void AddWindow(std::vector<Window>& windows, DateTime date, const std::string& start,
               const std::string& end) {
  if (start == end) return;
  const DateTime s = date + *ParseHms(start);
  DateTime e = date + *ParseHms(end);
  if (e <= s) e = e.AddDays(1);
  windows.push_back({s, e});
}

bool HasShiftsOn(const std::vector<Window>& windows, DateTime date) {
  const auto it = std::lower_bound(windows.begin(), windows.end(), date,
                                   [](const Window& w, DateTime d) { return w.start < d; });
  return it != windows.end() && it->start < date.AddDays(1);
}

}  // namespace

bool IsCompanyHoliday(DateTime date) {
  const int y = date.Year();
  const int m = date.Month();
  const int d = date.Day();
  struct MonthDay {
    int month, day;
  };
  static const MonthDay kFixed[] = {
      {1, 1},  {1, 2},  {1, 3},  {2, 11}, {2, 23}, {3, 20}, {4, 29},  {5, 3},   {5, 4},   {5, 5},
      {8, 13}, {8, 14}, {8, 15}, {8, 16}, {9, 23}, {11, 3}, {11, 23}, {12, 29}, {12, 30}, {12, 31}};
  for (const MonthDay& h : kFixed) {
    if (h.month == m && h.day == d) return true;
  }
  return (m == 1 && d == NthMonday(y, 1, 2)) || (m == 7 && d == NthMonday(y, 7, 3)) ||
         (m == 9 && d == NthMonday(y, 9, 3)) || (m == 10 && d == NthMonday(y, 10, 2));
}

void BuildCalendars(DemoWorld& world, Random& random) {
  const DemoOptions& o = world.options;
  const DateTime first = o.baseDate.AddDays(-kCalendarMarginDays);
  const int dayCount = o.days + 2 * kCalendarMarginDays;
  world.windows.assign(world.plant.machines.size(), {});
  for (std::size_t mi = 0; mi < world.plant.machines.size(); ++mi) {
    const Machine& machine = world.plant.machines[mi];
    if (machine.deleted) continue;  // a scrapped machine keeps no calendar
    for (int i = 0; i < dayCount; ++i) {
      const DateTime date = first.AddDays(i);
      const std::string day = FormatYmd(date);
      const int weekday = date.Weekday();
      const bool holiday = IsCompanyHoliday(date);
      std::vector<CalendarRow> rows;
      if (!holiday && weekday >= 2 && weekday <= 6) {
        rows = WorkingDayRows(machine, day, random);
      } else if (!holiday && weekday == 7 && machine.saturdayShifts &&
                 (date.Day() <= 7 || (date.Day() >= 15 && date.Day() <= 21))) {
        // The 1st and 3rd Saturday mornings.
        rows.push_back(MakeRow(machine, day, {"080000", "120000"}));
      } else if (machine.category == "30") {
        // Assembly keeps a row for every day, with 0 minutes when it is off.
        rows.push_back({machine.code, day, 0});
      } else if (machine.category == "10") {
        // Coating copies its template onto days off and only zeroes the minutes.
        rows.push_back({machine.code, day, 0, "080000", "170000", "000000", "000000"});
      }
      for (CalendarRow& row : rows) {
        if (row.minutes != 0) {
          AddWindow(world.windows[mi], date, row.start1, row.end1);
          AddWindow(world.windows[mi], date, row.start2, row.end2);
        }
        world.calendar.push_back(std::move(row));
      }
    }
    std::sort(world.windows[mi].begin(), world.windows[mi].end(),
              [](const Window& a, const Window& b) { return a.start < b.start; });
  }
}

DateTime NextWorkingMoment(const std::vector<Window>& windows, DateTime at) {
  const auto notEnded = [](DateTime t, const Window& w) { return t < w.end; };
  for (auto it = std::upper_bound(windows.begin(), windows.end(), at, notEnded);
       it != windows.end(); it = std::upper_bound(windows.begin(), windows.end(), at, notEnded)) {
    const DateTime t = std::max(at, it->start);
    // The editor counts the hours after midnight of a night shift towards the previous day only
    // when their date has shifts of its own; a job started there would be laid out elsewhere.
    if (t.DatePart() == it->start.DatePart() || HasShiftsOn(windows, t.DatePart())) return t;
    at = it->end;
  }
  return at;
}

DateTime AddWorkingMinutes(const std::vector<Window>& windows, DateTime start, int minutes) {
  auto it = std::upper_bound(windows.begin(), windows.end(), start,
                             [](DateTime t, const Window& w) { return t < w.end; });
  DateTime at = start;
  std::int64_t left = static_cast<std::int64_t>(minutes) * 60;
  for (; it != windows.end() && left > 0; ++it) {
    at = std::max(at, it->start);
    const std::int64_t available = (it->end - at).Seconds();
    if (available >= left) return at.AddSeconds(left);
    left -= available;
    at = it->end;
  }
  return at.AddSeconds(left);
}

}  // namespace velmora::demo
