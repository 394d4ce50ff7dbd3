#include "load/load_preview.h"

// The load a drop would leave, for the drag preview: the dragged bar's pieces taken out of its
// row and laid on the target row, in copies of the buckets in view.
namespace velmora::load {
namespace {

// Adds (sign 1) or takes away (sign -1) a bar's pieces in buckets that start at `first`.
void Shift(const LoadGrid& grid, std::vector<BucketLoad>& buckets, std::int64_t first,
           const std::vector<Piece>& pieces, std::int64_t quantity, int sign) {
  if (buckets.empty()) return;
  const BucketKind kind = buckets.front().kind;
  ForEachBucket(grid, kind, pieces, [&](int bucket, std::int32_t minutes, bool firstPiece) {
    const std::int64_t i = bucket - first;
    if (i < 0 || i >= static_cast<std::int64_t>(buckets.size())) return;
    BucketLoad& b = buckets[static_cast<std::size_t>(i)];
    b.used += sign * minutes;
    if (!firstPiece) return;
    b.plans += sign;
    b.quantity += sign * quantity;
  });
}

}  // namespace

std::vector<RowBuckets> LoadModel::Preview(const DraggedPlacement& dragged, DateTime from,
                                           DateTime to, BucketKind kind) const {
  const auto slot = static_cast<std::size_t>(dragged.plan.value);
  const bool known = dragged.plan.value > 0 && slot < placed_.size();
  const int source = known ? placed_[slot].row : 0;
  const std::int64_t quantity = known ? seen_[slot].quantity : 0;
  const int target = RowOf(dragged.machineCode, dragged.destinationCode);
  const std::int64_t first = std::max<std::int64_t>(0, grid_.IndexAt(kind, from));

  std::vector<RowBuckets> rows;
  for (int row : {source, target}) {
    if (row == 0 || (!rows.empty() && rows.front().row == row)) continue;
    rows.push_back({row, Buckets(row, from, to, kind)});
  }
  for (RowBuckets& row : rows) {
    if (row.row == source) Shift(grid_, row.buckets, first, placed_[slot].pieces, quantity, -1);
    if (row.row == target) {
      const std::vector<Piece> pieces = Lay(target, dragged.start, BarMinutes(dragged.minutes));
      Shift(grid_, row.buckets, first, pieces, quantity, 1);
    }
  }
  return rows;
}

DraggedPlacement PlacementOfDrop(const chart::DropPreview& preview, PlanIdx plan) {
  return {plan, preview.MachineCode, preview.DestinationCode, preview.Start, preview.Minutes};
}

}  // namespace velmora::load
