#pragma once

namespace velmora::chart {

// Height of a plan bar (PlanBar) in twips: two caption lines of the bar font fit in it.
// The row limits (ComputeWorkCenterLimit) and the bar layout both use it.
inline constexpr double kPlanBarHeight = 360;

}  // namespace velmora::chart
