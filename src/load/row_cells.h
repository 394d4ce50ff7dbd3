#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "load/load_grid.h"

namespace velmora::load {

// The minutes one bar lays in one shift.
struct Piece {
  std::int32_t shift = 0;
  std::int32_t minutes = 0;
  bool operator==(const Piece&) const = default;
};

// A bar's pieces in shift order, one per shift, without empty ones.
void Normalize(std::vector<Piece>& pieces);

// What one bucket holds.
struct Cell {
  std::int32_t available = 0;
  std::int32_t used = 0;
  std::int32_t plans = 0;
  std::int64_t quantity = 0;
  bool operator==(const Cell&) const = default;
};

// One row's cells at each bucket kind. A bar counts once in every bucket it has minutes in.
struct RowCells {
  std::array<std::vector<Cell>, 3> cells;  // by BucketKind

  void Size(const LoadGrid& grid);
  std::vector<Cell>& Of(BucketKind kind) { return cells[static_cast<std::size_t>(kind)]; }
  const std::vector<Cell>& Of(BucketKind kind) const {
    return cells[static_cast<std::size_t>(kind)];
  }
  // Adds (sign 1) or takes away (sign -1) a bar of `quantity` with normalized `pieces`.
  void Apply(const LoadGrid& grid, const std::vector<Piece>& pieces, std::int64_t quantity,
             int sign);
  void AddAvailable(const LoadGrid& grid, int shift, std::int32_t minutes);

  bool operator==(const RowCells&) const = default;
};

// Calls f(bucket, minutes, first) for each piece at `kind`: the bucket it lies in, its minutes,
// and whether it is the bar's first piece in that bucket.
template <typename F>
void ForEachBucket(const LoadGrid& grid, BucketKind kind, const std::vector<Piece>& pieces, F&& f) {
  int previous = -1;
  for (const Piece& piece : pieces) {
    const int bucket = grid.Of(kind, piece.shift);
    f(bucket, piece.minutes, bucket != previous);
    previous = bucket;
  }
}

}  // namespace velmora::load
