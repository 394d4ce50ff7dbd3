#pragma once

#include <cmath>

#include "chart/chart_model.h"

namespace velmora::ui {

// Twips to whole device pixels, rounded to the nearest.
inline int Px(double twips) {
  return static_cast<int>(std::floor(twips / chart::kTwipsPerPixel + 0.5));
}

}  // namespace velmora::ui
