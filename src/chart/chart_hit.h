#pragma once

namespace velmora::chart {

// What lies under a point of the chart: a bar, a surface, a row caption or the caption box,
// with the point in that surface's own twips.
struct ChartHit {
  enum class Target {
    None,
    PlanBar,
    PlanJBar,
    PlatForm,
    PlatForm2,
    PlatForm3,
    MachineName,
    GradeName,  // the floating caption box, in front of everything on its surface
  };
  Target target = Target::None;
  int index = 0;  // bar index, or 1..16 for a row caption
  double x = 0;   // the point in the surface's own twips (bars: their surface's)
  double y = 0;
};

}  // namespace velmora::chart
