#pragma once

#include "automation/export_options.h"
#include "startup/app_state.h"

namespace velmora {

// Opens what a headless run needs, from the same settings file the window uses: reads the
// settings file beside the executable, opens the database and publishes the selection taken
// from the command line (category caption from the category list; an unknown category is an
// error). No single-instance check: an export may run beside the window.
void OpenExportSession(AppState& state, const ExportOptions& options);

}  // namespace velmora
