#pragma once

#include <vector>

#include "chart/chart_model.h"

namespace velmora::chart {

// One line of the chart's legend: how a thing is drawn and what it means.
struct LegendEntry {
  enum class Sample {
    Bar,      // a bar of the colour
    Text,     // a caption in the colour
    Bold,     // a bold caption
    Frame,    // a frame round a bar in the colour
    Line,     // a vertical line of the colour
    Shade,    // a shaded stretch of a row
    Progress  // the darker share at a bar's foot
  };
  Sample sample;
  Color color;
  const char* meaning;
};

// Every colour, mark and shade the chart draws, in the order the legend lists them.
const std::vector<LegendEntry>& Legend();

}  // namespace velmora::chart
