#pragma once

#include <vector>

#include "chart/chart_model.h"

namespace velmora::chart {

// One line of the chart's legend: how a thing is drawn and what it means.
struct LegendEntry {
  enum class Sample {
    Bar,       // a bar of the colour
    Text,      // a caption in the colour
    Bold,      // a bold caption
    Frame,     // a frame round a bar in the colour
    Dashed,    // a dashed frame, not filled: a place a bar left
    Line,      // a vertical line of the colour
    Shade,     // a shaded stretch of a row
    Progress,  // the darker share at a bar's foot
    Corner,    // a triangle in a row caption's corner
    Sheet,     // a caption led by the instruction sheet's mark
    EndFixed,  // the mark of a bar whose end is fixed
    Locked     // the mark of a bar that is fixed whole
  };
  Sample sample;
  Color color;
  const char* meaning;
};

// The load strip's and the overload mark's colours (0x00BBGGRR).
inline constexpr Color kLoadUsedColor = 12487790;       // 110, 140, 190
inline constexpr Color kOverloadColor = 3289820;        // 220, 50, 50
inline constexpr Color kLoadAfterDropColor = 15126216;  // 200, 210, 230
inline constexpr Color kFixedMarkColor = 3158064;       // 48, 48, 48: fixed bars' marks
inline constexpr Color kOldPlaceColor = 3308800;        // 0, 125, 50: a proposal's old places

// Every colour, mark and shade the chart draws, in the order the legend lists them.
const std::vector<LegendEntry>& Legend();

}  // namespace velmora::chart
