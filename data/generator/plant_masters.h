#pragma once

#include "generator/demo_world.h"
#include "generator/random.h"

namespace velmora::demo {

// Departments and sections, process categories and contents, machines, suppliers and
// customers of the demo plant.
Plant BuildPlant(const DemoOptions& options, Random& random);

}  // namespace velmora::demo
