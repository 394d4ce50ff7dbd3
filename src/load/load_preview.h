#pragma once

#include "chart/chart_model.h"
#include "load/load_model.h"

namespace velmora::load {

// Where the drop preview says the dragged plan would land, for LoadModel::Preview.
DraggedPlacement PlacementOfDrop(const chart::DropPreview& preview, PlanIdx plan);

}  // namespace velmora::load
