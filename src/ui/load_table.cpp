#include "ui/load_table.h"

#include <algorithm>

#include "common/text.h"
#include "load/load_text.h"

namespace velmora::ui {

LoadTable MakeLoadTable(const PlanData& data, const load::LoadModel& load) {
  LoadTable table;
  const DateTime first = data.PeriodStartDate();
  const std::int64_t days = (data.PeriodEndDate() - first).Days() + 1;
  // A day's bucket runs from its 08:00, as the chart's day lines do.
  const DateTime from = first.AddSeconds(8 * 3600);
  const DateTime to = from.AddDays(days);
  for (std::int64_t d = 0; d < days; ++d) table.days.push_back(load::DayLabel(first.AddDays(d)));
  table.total.caption = "全機械";
  table.total.cells.resize(static_cast<std::size_t>(days));
  for (int r = 1; r <= data.MachineRowCount; ++r) {
    if (load.KindOf(r) != load::RowKind::Machine) continue;
    LoadTable::Line line;
    line.caption = Trim(data.RowCaption[static_cast<std::size_t>(r)]);
    std::replace(line.caption.begin(), line.caption.end(), '\n', ' ');
    line.cells.resize(static_cast<std::size_t>(days));
    for (const load::BucketLoad& b : load.Buckets(r, from, to, load::BucketKind::Day)) {
      const std::int64_t d = (b.start - from).Seconds() / DateTime::kSecondsPerDay;
      if (d < 0 || d >= days) continue;
      line.cells[static_cast<std::size_t>(d)] = {b.available, b.used};
      table.total.cells[static_cast<std::size_t>(d)].available += b.available;
      table.total.cells[static_cast<std::size_t>(d)].used += b.used;
    }
    table.lines.push_back(std::move(line));
  }
  return table;
}

std::string LoadTable::Text(const Cell& cell) {
  load::BucketLoad bucket;
  bucket.capacity = true;
  bucket.available = cell.available;
  bucket.used = cell.used;
  return load::Figure(bucket);
}

}  // namespace velmora::ui
