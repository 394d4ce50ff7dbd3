#pragma once

namespace velmora {

// The rows' vertical layout, shared by the row loader and the chart.
inline constexpr double kRowPitch = 600;     // twips between the tops of two rows
inline constexpr double kFirstRowTop = 240;  // top of row 1
inline constexpr int kVisibleRows = 16;      // rows shown at a time; the row list is padded to it

// The row tops of rows built from data: (r - 1) x 600 + 240.
inline double RowTopFor(int r) {
  return (r - 1) * kRowPitch + kFirstRowTop;
}

}  // namespace velmora
