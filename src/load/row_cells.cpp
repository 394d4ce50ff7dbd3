#include "load/row_cells.h"

#include <algorithm>

namespace velmora::load {

namespace {
constexpr BucketKind kKinds[] = {BucketKind::Shift, BucketKind::Day, BucketKind::Week};
}

void Normalize(std::vector<Piece>& pieces) {
  std::sort(pieces.begin(), pieces.end(),
            [](const Piece& a, const Piece& b) { return a.shift < b.shift; });
  std::size_t kept = 0;
  for (const Piece& piece : pieces) {
    if (piece.minutes <= 0) continue;
    if (kept > 0 && pieces[kept - 1].shift == piece.shift) {
      pieces[kept - 1].minutes += piece.minutes;
    } else {
      pieces[kept++] = piece;
    }
  }
  pieces.resize(kept);
}

void RowCells::Size(const LoadGrid& grid) {
  for (BucketKind kind : kKinds)
    Of(kind).assign(static_cast<std::size_t>(grid.Count(kind)), Cell{});
}

void RowCells::Apply(const LoadGrid& grid, const std::vector<Piece>& pieces, std::int64_t quantity,
                     int sign) {
  for (BucketKind kind : kKinds) {
    std::vector<Cell>& of = Of(kind);
    ForEachBucket(grid, kind, pieces, [&](int bucket, std::int32_t minutes, bool first) {
      Cell& cell = of[static_cast<std::size_t>(bucket)];
      cell.used += sign * minutes;
      if (!first) return;
      cell.plans += sign;
      cell.quantity += sign * quantity;
    });
  }
}

void RowCells::AddAvailable(const LoadGrid& grid, int shift, std::int32_t minutes) {
  for (BucketKind kind : kKinds) {
    Of(kind)[static_cast<std::size_t>(grid.Of(kind, shift))].available += minutes;
  }
}

}  // namespace velmora::load
