#pragma once

#include <string>

namespace velmora::ui {

// What a paint shows of the chart and where, in twips. The caption column is on the left, then
// the chart area: header band (PlatForm3), unplanned band (PlatForm2), rows area (PlatForm).
struct ChartFrame {
  double width = 0;         // chart area
  double rowsHeight = 0;    // rows area
  double platFormLeft = 0;  // each surface's left edge, from the chart area's left edge
  double platForm2Left = 0;
  double platForm3Left = 0;
  double platFormTop = 0;                 // PlatForm's top edge, from the rows area's top edge
  const std::string* captions = nullptr;  // the caption of row slot k (0 = top) is captions[k]
  int captionCount = 0;
  // The caption of row slot k carries a mark (an overloaded machine) when marks[k] is not empty.
  const std::string* marks = nullptr;
  int markCount = 0;
};

}  // namespace velmora::ui
