#pragma once

#include <string>

#include "generator/demo_options.h"
#include "generator/demo_world.h"

namespace velmora::demo {

// The whole demo plant in memory, exactly as GenerateDemoDatabase writes it.
DemoWorld BuildDemoWorld(const DemoOptions& options);

// Creates every table in `target` and, unless `empty`, fills them. A file path must not exist
// (DatabaseError otherwise, and the existing file is left alone); a file left half written by a
// failure is removed. A server address must name an existing database without tables; a failure
// leaves it as it was.
void GenerateDemoDatabase(const std::string& target, const DemoOptions& options,
                          bool empty = false);

// The day the data treats as today: work before it is done, after it is planned.
DateTime AsOfDate(const DemoOptions& options);

}  // namespace velmora::demo
