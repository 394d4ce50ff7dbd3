#include "plandata/calendar_rows.h"

#include <algorithm>
#include <numeric>

#include "plandata/calendar_reader.h"

namespace velmora {
namespace {

struct Window {
  DateTime start;
  DateTime end;
};

// Clock seconds of a window; one ending at or before its start runs past midnight.
std::int64_t Length(const Window& w) {
  const std::int64_t s = (w.end - w.start).Seconds();
  return s > 0 ? s : s + DateTime::kSecondsPerDay;
}

// The ways to put `count` windows, in order, into rows of one or two, fewest rows first.
std::vector<std::vector<int>> Groupings(int count) {
  std::vector<std::vector<int>> all;
  std::vector<int> sizes;
  auto build = [&](auto& self, int left) -> void {
    if (left == 0) {
      all.push_back(sizes);
      return;
    }
    for (int size = 2; size >= 1; --size) {
      if (size > left) continue;
      sizes.push_back(size);
      self(self, left - size);
      sizes.pop_back();
    }
  };
  build(build, count);
  std::stable_sort(all.begin(), all.end(),
                   [](const auto& a, const auto& b) { return a.size() < b.size(); });
  return all;
}

// Minutes shared out by the windows' lengths, every row at least one.
std::vector<std::int16_t> ShareMinutes(int minutes, const std::vector<std::int64_t>& lengths) {
  const std::int64_t total = std::accumulate(lengths.begin(), lengths.end(), std::int64_t{0});
  std::vector<int> share(lengths.size());
  int sum = 0;
  for (std::size_t g = 0; g < lengths.size(); ++g) {
    share[g] = std::max<int>(1, static_cast<int>(minutes * lengths[g] / total));
    sum += share[g];
  }
  while (sum > minutes) {
    auto largest = std::max_element(share.begin(), share.end());
    --*largest;
    --sum;
  }
  share[static_cast<std::size_t>(std::max_element(lengths.begin(), lengths.end()) -
                                 lengths.begin())] += minutes - sum;
  return {share.begin(), share.end()};
}

}  // namespace

std::variant<std::vector<CalendarRow>, std::string> CalendarRowsOf(const DayShifts& shifts,
                                                                   int minutes) {
  std::vector<Window> windows;
  bool emptyPairSeen = false;
  for (int w = 0; w < 4; ++w) {
    const Window pair{shifts[static_cast<std::size_t>(2 * w)],
                      shifts[static_cast<std::size_t>(2 * w + 1)]};
    if (pair.start == pair.end) {
      if (!pair.start.IsZero()) return std::string(kShiftEndsEqual);
      emptyPairSeen = true;
      continue;
    }
    if (emptyPairSeen) return std::string(kShiftGap);
    windows.push_back(pair);
  }
  if (windows.empty()) {
    if (minutes == 0) return std::vector<CalendarRow>{};
    return std::vector<CalendarRow>{CalendarRow{static_cast<std::int16_t>(minutes), {}}};
  }
  if (windows.front().start > kLatestFirstShiftStart) return std::string(kFirstShiftLate);

  for (const std::vector<int>& sizes : Groupings(static_cast<int>(windows.size()))) {
    // The reader takes rows by their first start: those must rise strictly.
    bool rising = true;
    std::size_t at = 0;
    DateTime previous;
    for (std::size_t g = 0; g < sizes.size(); ++g) {
      if (g > 0 && !(windows[at].start > previous)) rising = false;
      previous = windows[at].start;
      at += static_cast<std::size_t>(sizes[g]);
    }
    if (!rising) continue;
    if (minutes < static_cast<int>(sizes.size())) {
      return kTooFewMinutes + std::to_string(sizes.size()) + kTooFewMinutesEnd;
    }
    std::vector<CalendarRow> rows(sizes.size());
    std::vector<std::int64_t> lengths(sizes.size(), 0);
    at = 0;
    for (std::size_t g = 0; g < sizes.size(); ++g) {
      for (int k = 0; k < sizes[g]; ++k, ++at) {
        rows[g].shifts[static_cast<std::size_t>(2 * k)] = windows[at].start;
        rows[g].shifts[static_cast<std::size_t>(2 * k + 1)] = windows[at].end;
        lengths[g] += Length(windows[at]);
      }
    }
    const std::vector<std::int16_t> shares = ShareMinutes(minutes, lengths);
    for (std::size_t g = 0; g < rows.size(); ++g) rows[g].minutes = shares[g];
    return rows;
  }
  return std::string(kShiftOrder);
}

}  // namespace velmora
