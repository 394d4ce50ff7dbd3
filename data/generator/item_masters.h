#pragma once

#include "generator/demo_world.h"
#include "generator/random.h"

namespace velmora::demo {

// Items in families of colour variants that share a mold and a molded component, with their
// routing, molding master, per-machine cycles, bill of materials, stock and outside prices.
Catalog BuildCatalog(const DemoOptions& options, const Plant& plant, Random& random);

}  // namespace velmora::demo
