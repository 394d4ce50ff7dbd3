#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "load/bucket_load.h"

namespace velmora {

// One lane of the load strip: whose load, its buckets over the part of the period on screen,
// and, while a bar is dragged, each bucket's used minutes as the drop would leave them.
struct LoadLane {
  int row = 0;  // 0: every machine row together
  std::string title;
  std::vector<load::BucketLoad> buckets;
  std::vector<std::optional<std::int64_t>> after;  // empty when nothing is dragged
};

}  // namespace velmora
