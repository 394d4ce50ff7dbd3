#pragma once

#include "plandata/table_index.h"

namespace velmora {

// What the plan loader asks of the chart: the rows' surface is hidden while entries and their
// bars are created, and each loaded entry gets its bar pair (PlanBar, PlanJBar).
class BarControls {
 public:
  virtual ~BarControls() = default;
  virtual void HidePlanSurface() = 0;
  virtual void ShowPlanSurface() = 0;
  virtual void CreateBarPair(BarIdx bar) = 0;
};

// For loads without a chart (tests, the CSV export).
class NoBarControls : public BarControls {
 public:
  void HidePlanSurface() override {}
  void ShowPlanSurface() override {}
  void CreateBarPair(BarIdx) override {}
};

}  // namespace velmora
