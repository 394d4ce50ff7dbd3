#include "load/load_model.h"

#include <algorithm>
#include <limits>

#include "plandata/blank_codes.h"
#include "plandata/plan_end_time.h"
#include "worktime/calendar_day.h"

namespace velmora::load {
namespace {

constexpr BucketKind kKinds[] = {BucketKind::Shift, BucketKind::Day, BucketKind::Week};

RowKind KindOfRow(const PlanData& data, int r) {
  if (r < 2 || r > data.RowCount || IsBlank(data.RowCode[static_cast<std::size_t>(r)])) {
    return RowKind::None;
  }
  if (r <= data.MachineRowCount) return RowKind::Machine;
  if (r <= data.DepartmentRowEnd) return RowKind::Department;
  return RowKind::Subcontractor;
}

}  // namespace

std::int64_t BarMinutes(std::int32_t durationMinutes) {
  if (durationMinutes == 0) return kDefaultDurationMinutes;
  return std::max<std::int64_t>(durationMinutes, 0);
}

RowKind LoadModel::KindOf(int row) const {
  if (row < 0 || static_cast<std::size_t>(row) >= rows_.size()) return RowKind::None;
  return rows_[static_cast<std::size_t>(row)].kind;
}

bool LoadModel::Unchanged(const Seen& seen, const PlanEntry& p) {
  if (!seen.valid || p.IsOnChart() != seen.onChart) return false;
  return !seen.onChart || (seen.start == p.Start().Seconds() && seen.minutes == p.DurationMinutes &&
                           seen.quantity == p.OrderQty && seen.machine == p.MachineCode &&
                           seen.destination == p.DestinationCode);
}

bool LoadModel::SameLayout(const PlanData& data) const {
  if (data.PeriodStartDate() != periodStart_ || data.Calendars.Days() != days_ ||
      data.MachineRowCount != machineRowCount_ || data.DepartmentRowEnd != departmentRowEnd_ ||
      static_cast<std::size_t>(data.RowCount) + 1 != rows_.size()) {
    return false;
  }
  for (int r = 1; r <= data.RowCount; ++r) {
    if (data.RowCode[static_cast<std::size_t>(r)] != codes_[static_cast<std::size_t>(r)]) {
      return false;
    }
  }
  return true;
}

// Another load (rows, period or calendar days): everything starts again.
void LoadModel::Reset(const PlanData& data) {
  periodStart_ = data.PeriodStartDate();
  days_ = data.Calendars.Days();
  machineRowCount_ = data.MachineRowCount;
  departmentRowEnd_ = data.DepartmentRowEnd;
  grid_ = LoadGrid(DateOfCalendarDay(periodStart_, 0), days_);
  codes_.assign(data.RowCode.begin(), data.RowCode.begin() + data.RowCount + 1);
  rows_.assign(static_cast<std::size_t>(data.RowCount) + 1, Row{});
  total_.Size(grid_);
  for (int r = 1; r <= data.RowCount; ++r) {
    Row& row = rows_[static_cast<std::size_t>(r)];
    row.kind = KindOfRow(data, r);
    row.cells.Size(grid_);
  }
  finder_.emplace(data);
  seen_.clear();
  placed_.clear();
}

// Machine rows whose calendar differs from the copy taken: their timeline and available
// minutes are read again, and their plans must be laid again.
std::vector<bool> LoadModel::FollowCalendars(const PlanData& data) {
  std::vector<bool> changed(rows_.size(), false);
  for (std::size_t r = 0; r < rows_.size(); ++r) {
    Row& row = rows_[r];
    if (row.kind != RowKind::Machine) continue;
    const auto live = data.Calendars.RowShiftTimes(static_cast<int>(r));
    if (std::equal(live.begin(), live.end(), row.calendar.begin(), row.calendar.end())) continue;
    changed[r] = true;
    if (!row.calendar.empty()) FillAvailable(static_cast<int>(r), -1);
    row.calendar.assign(live.begin(), live.end());
    row.timeline = WorkTimeline(CalendarOfRow(data, static_cast<int>(r)));
    FillAvailable(static_cast<int>(r), 1);
  }
  return changed;
}

// A row's available minutes: those the walk lays in each bucket running on without a break.
void LoadModel::FillAvailable(int r, int sign) {
  Row& row = rows_[static_cast<std::size_t>(r)];
  const DateTime before = grid_.Start(BucketKind::Day, -1);
  const DateTime end = grid_.Start(BucketKind::Day, grid_.Days());
  constexpr std::int64_t kEndless = std::numeric_limits<std::int64_t>::max() / 4;
  row.timeline.Lay(
      before, kEndless,
      [&](DateTime from, std::int64_t count) {
        grid_.Split(from, count, [&](int shift, std::int64_t minutes) {
          const auto m = static_cast<std::int32_t>(sign * minutes);
          row.cells.AddAvailable(grid_, shift, m);
          total_.AddAvailable(grid_, shift, m);
        });
      },
      end);
}

std::vector<Piece> LoadModel::Lay(int r, DateTime start, std::int64_t minutes) const {
  std::vector<Piece> pieces;
  auto add = [&](DateTime from, std::int64_t count) {
    grid_.Split(from, count, [&](int shift, std::int64_t m) {
      pieces.push_back({shift, static_cast<std::int32_t>(m)});
    });
  };
  const Row& row = rows_[static_cast<std::size_t>(r)];
  if (row.kind == RowKind::Machine) {
    row.timeline.Lay(start, minutes, add, grid_.Start(BucketKind::Day, grid_.Days()));
  } else {
    add(start, minutes);  // no calendar: plain minutes, as the bar's end is computed
  }
  Normalize(pieces);
  return pieces;
}

int LoadModel::RowOf(const std::string& machine, const std::string& destination) const {
  const std::optional<std::int16_t> r = finder_->Find(machine, destination);
  return r && KindOf(*r) != RowKind::None ? *r : 0;
}

void LoadModel::Apply(int r, const std::vector<Piece>& pieces, std::int64_t quantity, int sign) {
  Row& row = rows_[static_cast<std::size_t>(r)];
  row.cells.Apply(grid_, pieces, quantity, sign);
  if (row.kind == RowKind::Machine) total_.Apply(grid_, pieces, quantity, sign);
}

void LoadModel::Place(std::int32_t slot, const PlanEntry& plan) {
  Seen& seen = seen_[static_cast<std::size_t>(slot)];
  seen = Seen{true,          plan.IsOnChart(), plan.Start().Seconds(), plan.DurationMinutes,
              plan.OrderQty, plan.MachineCode, plan.DestinationCode};
  if (!seen.onChart) return;
  const int r = RowOf(plan.MachineCode, plan.DestinationCode);
  if (r == 0) return;
  Placed& placed = placed_[static_cast<std::size_t>(slot)];
  placed.row = r;
  placed.pieces = Lay(r, plan.Start(), BarMinutes(plan.DurationMinutes));
  Apply(r, placed.pieces, plan.OrderQty, 1);
  rows_[static_cast<std::size_t>(r)].plans.push_back(slot);
}

void LoadModel::Remove(std::int32_t slot) {
  Placed& placed = placed_[static_cast<std::size_t>(slot)];
  if (placed.row != 0) {
    Apply(placed.row, placed.pieces, seen_[static_cast<std::size_t>(slot)].quantity, -1);
    std::erase(rows_[static_cast<std::size_t>(placed.row)].plans, slot);
  }
  placed = Placed{};
  seen_[static_cast<std::size_t>(slot)] = Seen{};
}

void LoadModel::Update(const PlanData& data) {
  if (!SameLayout(data)) Reset(data);
  const std::vector<bool> recalendared = FollowCalendars(data);
  const bool anyCalendar =
      std::find(recalendared.begin(), recalendared.end(), true) != recalendared.end();
  const std::size_t count = static_cast<std::size_t>(std::max(1, data.PlanCount())) + 1;
  for (std::size_t i = count; i < placed_.size(); ++i) Remove(static_cast<std::int32_t>(i));
  seen_.resize(count);
  placed_.resize(count);
  for (std::int32_t i = 2; i <= data.PlanCount(); ++i) {
    const PlanEntry& plan = data.PlanTable[static_cast<std::size_t>(i)];
    const int row = placed_[static_cast<std::size_t>(i)].row;
    if (!(anyCalendar && recalendared[static_cast<std::size_t>(row)]) &&
        Unchanged(seen_[static_cast<std::size_t>(i)], plan)) {
      continue;
    }
    Remove(i);
    Place(i, plan);
  }
}

bool LoadModel::SameLoad(const LoadModel& other) const {
  if (!(grid_ == other.grid_ && total_ == other.total_ && rows_.size() == other.rows_.size())) {
    return false;
  }
  for (std::size_t r = 0; r < rows_.size(); ++r) {
    if (rows_[r].kind != other.rows_[r].kind || !(rows_[r].cells == other.rows_[r].cells)) {
      return false;
    }
  }
  return true;
}

std::size_t LoadModel::BucketBytes() const {
  std::size_t bytes = 0;
  auto add = [&](const RowCells& cells) {
    for (BucketKind kind : kKinds) bytes += cells.Of(kind).capacity() * sizeof(Cell);
  };
  for (const Row& row : rows_) add(row.cells);
  add(total_);
  return bytes;
}

std::size_t LoadModel::PieceBytes() const {
  std::size_t bytes = placed_.capacity() * sizeof(Placed) + seen_.capacity() * sizeof(Seen);
  for (const Placed& placed : placed_) bytes += placed.pieces.capacity() * sizeof(Piece);
  return bytes;
}

}  // namespace velmora::load
