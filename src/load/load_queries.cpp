#include <algorithm>

#include "load/load_model.h"

// What the chart, the exports and the scripts read of the load.
namespace velmora::load {

BucketLoad LoadModel::Read(const RowCells& cells, bool capacity, BucketKind kind,
                           std::int64_t i) const {
  const Cell& cell = cells.Of(kind)[static_cast<std::size_t>(i)];
  BucketLoad b;
  b.kind = kind;
  b.start = grid_.Start(kind, i);
  b.end = grid_.End(kind, i);
  b.capacity = capacity;
  b.available = capacity ? cell.available : 0;
  b.used = cell.used;
  b.plans = cell.plans;
  b.quantity = cell.quantity;
  return b;
}

std::vector<BucketLoad> LoadModel::Range(const RowCells& cells, bool capacity, DateTime from,
                                         DateTime to, BucketKind kind) const {
  const std::int64_t count = grid_.Count(kind);
  const std::int64_t first = std::clamp<std::int64_t>(grid_.IndexAt(kind, from), 0, count);
  const std::int64_t last =
      std::clamp<std::int64_t>(grid_.IndexAt(kind, to.AddSeconds(-1)) + 1, 0, count);
  std::vector<BucketLoad> buckets;
  if (!(from < to)) return buckets;
  buckets.reserve(static_cast<std::size_t>(std::max<std::int64_t>(0, last - first)));
  for (std::int64_t i = first; i < last; ++i) buckets.push_back(Read(cells, capacity, kind, i));
  return buckets;
}

std::vector<BucketLoad> LoadModel::Buckets(int row, DateTime from, DateTime to,
                                           BucketKind kind) const {
  const RowKind rowKind = KindOf(row);
  if (rowKind == RowKind::None) return {};
  return Range(rows_[static_cast<std::size_t>(row)].cells, rowKind == RowKind::Machine, from, to,
               kind);
}

std::vector<BucketLoad> LoadModel::TotalBuckets(DateTime from, DateTime to, BucketKind kind) const {
  return Range(total_, true, from, to, kind);
}

std::optional<BucketLoad> LoadModel::BucketAt(int row, DateTime at, BucketKind kind) const {
  const std::vector<BucketLoad> one = Buckets(row, at, at.AddSeconds(1), kind);
  if (one.empty()) return std::nullopt;
  return one.front();
}

std::optional<BucketLoad> LoadModel::Worst(int row, DateTime from, DateTime to,
                                           BucketKind kind) const {
  if (KindOf(row) != RowKind::Machine) return std::nullopt;
  std::optional<BucketLoad> worst;
  for (const BucketLoad& b : Buckets(row, from, to, kind)) {
    if (!worst || MoreLoaded(b, *worst)) worst = b;
  }
  return worst;
}

std::vector<PlanMinutes> LoadModel::PlansIn(int row, DateTime at, BucketKind kind) const {
  std::vector<PlanMinutes> found;
  if (KindOf(row) == RowKind::None) return found;
  const std::int64_t bucket = grid_.IndexAt(kind, at);
  std::vector<std::pair<std::int64_t, PlanMinutes>> byStart;
  for (std::int32_t slot : rows_[static_cast<std::size_t>(row)].plans) {
    std::int64_t minutes = 0;
    for (const Piece& piece : placed_[static_cast<std::size_t>(slot)].pieces) {
      if (grid_.Of(kind, piece.shift) == bucket) minutes += piece.minutes;
    }
    if (minutes > 0) {
      byStart.push_back({seen_[static_cast<std::size_t>(slot)].start, {PlanIdx{slot}, minutes}});
    }
  }
  std::sort(byStart.begin(), byStart.end(), [](const auto& a, const auto& b) {
    return std::pair(a.first, a.second.plan.value) < std::pair(b.first, b.second.plan.value);
  });
  for (const auto& [shift, plan] : byStart) found.push_back(plan);
  return found;
}

}  // namespace velmora::load
