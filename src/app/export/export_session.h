#pragma once

#include "app/db/command.h"
#include "app/db/connection.h"
#include "app/export/export_options.h"
#include "plandata/plan_data.h"

namespace velmora {

// What a headless run holds: the program's tables and its connection, opened from the same
// settings file the window uses, with the selection taken from the command line.
struct ExportSession {
  ExportSession() = default;
  ExportSession(const ExportSession&) = delete;
  ExportSession& operator=(const ExportSession&) = delete;

  PlanData Data;
  db::Connection Connection;
  db::Command Command;
};

// Reads the settings file beside the executable, opens the database and publishes the
// selection (category caption from the category list; an unknown category is an error).
void OpenExportSession(ExportSession& session, const ExportOptions& options);

}  // namespace velmora
