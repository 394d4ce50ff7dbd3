#pragma once

#include <string>

#include "generator/demo_options.h"
#include "generator/demo_world.h"

namespace velmora::demo {

// The whole demo plant in memory, exactly as GenerateDemoDatabase writes it.
DemoWorld BuildDemoWorld(const DemoOptions& options);

// Creates the database file `path` (it must not exist: DatabaseError otherwise, and the
// existing file is left alone), creates every table and fills it. A file left half written
// by a failure is removed.
void GenerateDemoDatabase(const std::string& path, const DemoOptions& options);

// The day the data treats as today: work before it is done, after it is planned.
DateTime AsOfDate(const DemoOptions& options);

}  // namespace velmora::demo
