#include "editing/drop_place.h"

#include <cmath>

#include "chart/bar_layout.h"

namespace velmora::editing {

DropPlace PlaceOfDrop(const PlanData& data, const chart::TimeScale& scale, double pointerX,
                      double grabOffsetX, const std::string& rowCode) {
  DropPlace place;
  place.left = std::nearbyint(pointerX) - grabOffsetX;
  place.rowTop = chart::RowTopOf(data, rowCode, "").value_or(0);
  place.band = place.rowTop <= chart::kUnplannedBandTest;
  place.start =
      scale.TimeAt(place.left, place.band ? chart::TimeKind::UnplannedBand : chart::TimeKind::Rows);
  return place;
}

}  // namespace velmora::editing
