#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "chart/row_finder.h"
#include "load/bucket_load.h"
#include "load/load_grid.h"
#include "load/row_cells.h"
#include "load/work_timeline.h"
#include "plandata/plan_data.h"

namespace velmora::load {

// Machines have calendars and so a capacity; departments and subcontractors only count their
// arrangements. Other rows (the unplanned row, fillers) carry no load.
enum class RowKind { None, Machine, Department, Subcontractor };

// One bar's minutes in a bucket.
struct PlanMinutes {
  PlanIdx plan;
  std::int64_t minutes = 0;
  bool operator==(const PlanMinutes&) const = default;
};

// A dragged bar where a drop would put it: the codes it would take, its start and the minutes
// the target row's cycle gives it (0 counts as 480, as for any bar).
struct DraggedPlacement {
  PlanIdx plan;
  std::string machineCode;
  std::string destinationCode;
  DateTime start;
  std::int32_t minutes = 0;
};

struct RowBuckets {
  int row = 0;
  std::vector<BucketLoad> buckets;
};

// The machine load of every row of a loaded plan per shift, day and week, kept up to date: an
// update compares each plan with what it saw last and each machine's calendar with the copy it
// took, and moves only the minutes of the plans that changed (all of a row's plans when its
// calendar changed). A bar's minutes lie where the shift walk lays them from its start, so the
// minutes of a bar's buckets add up to its duration; a day's available minutes are those the
// walk lays there running on without a break.
class LoadModel {
 public:
  // Brings the load up to the plans and calendars as they are now.
  void Update(const PlanData& data);

  const LoadGrid& Grid() const { return grid_; }
  RowKind KindOf(int row) const;
  // The buckets of `kind` of one row, or of every machine row together, that overlap
  // [from, to); buckets outside the calendar's days are left out.
  std::vector<BucketLoad> Buckets(int row, DateTime from, DateTime to, BucketKind kind) const;
  std::vector<BucketLoad> TotalBuckets(DateTime from, DateTime to, BucketKind kind) const;
  // The bucket of `kind` holding moment `at`; nothing outside the calendar or the load's rows.
  std::optional<BucketLoad> BucketAt(int row, DateTime at, BucketKind kind) const;
  // The most loaded bucket of a machine row within [from, to) (the earliest of equals).
  std::optional<BucketLoad> Worst(int row, DateTime from, DateTime to, BucketKind kind) const;
  // The bars with minutes in the bucket holding `at`, and their minutes there, by start.
  std::vector<PlanMinutes> PlansIn(int row, DateTime at, BucketKind kind) const;
  // The buckets of the dragged bar's row and of the row it would land on, as they would be
  // after the drop (other bars as they are), without changing anything.
  std::vector<RowBuckets> Preview(const DraggedPlacement& dragged, DateTime from, DateTime to,
                                  BucketKind kind) const;

  // Bytes held for the buckets (of every kind) and for the bars' pieces.
  std::size_t BucketBytes() const;
  std::size_t PieceBytes() const;

  // The same load in every bucket of every row.
  bool SameLoad(const LoadModel& other) const;

 private:
  struct Seen {
    bool valid = false;
    bool onChart = false;
    std::int64_t start = 0;
    std::int32_t minutes = 0;
    std::int32_t quantity = 0;
    std::string machine;
    std::string destination;
  };
  struct Placed {
    int row = 0;
    std::vector<Piece> pieces;
  };
  struct Row {
    RowKind kind = RowKind::None;
    WorkTimeline timeline;
    std::vector<DateTime> calendar;  // the shift times the timeline was read from
    RowCells cells;
    std::vector<std::int32_t> plans;  // plan slots laid on it
  };

  static bool Unchanged(const Seen& seen, const PlanEntry& plan);
  bool SameLayout(const PlanData& data) const;
  void Reset(const PlanData& data);
  std::vector<bool> FollowCalendars(const PlanData& data);
  void FillAvailable(int row, int sign);
  std::vector<Piece> Lay(int row, DateTime start, std::int64_t minutes) const;
  int RowOf(const std::string& machine, const std::string& destination) const;
  void Place(std::int32_t slot, const PlanEntry& plan);
  void Remove(std::int32_t slot);
  void Apply(int row, const std::vector<Piece>& pieces, std::int64_t quantity, int sign);
  BucketLoad Read(const RowCells& cells, bool capacity, BucketKind kind, std::int64_t i) const;
  std::vector<BucketLoad> Range(const RowCells& cells, bool capacity, DateTime from, DateTime to,
                                BucketKind kind) const;

  LoadGrid grid_;
  DateTime periodStart_;
  int days_ = 0;
  int machineRowCount_ = 0;
  int departmentRowEnd_ = 0;
  std::vector<std::string> codes_;
  std::vector<Row> rows_;
  RowCells total_;  // every machine row
  std::optional<chart::RowFinder> finder_;
  std::vector<Seen> seen_;  // by plan slot
  std::vector<Placed> placed_;
};

// The minutes a bar is laid for: 0 counts as 480, as the end time does; none below 0.
std::int64_t BarMinutes(std::int32_t durationMinutes);

}  // namespace velmora::load
