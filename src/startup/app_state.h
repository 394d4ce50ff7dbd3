#pragma once

#include <cstdint>
#include <string>

#include "db/command.h"
#include "db/connection.h"
#include "plandata/plan_data.h"
#include "startup/instance_guard.h"

namespace velmora {

// Everything the program holds for its whole run, created once by the entry point and passed
// by reference. Not copyable or movable: Command points at Connection.
struct AppState {
  AppState() = default;
  AppState(const AppState&) = delete;
  AppState& operator=(const AppState&) = delete;

  PlanData Data;
  std::string ConnectionString;
  db::Connection Connection;
  db::Command Command;  // the shared command of the row queries, on Connection
  // Set by the restart so that unloading the main window neither asks nor ends the program;
  // cleared again once the new main window has loaded.
  std::int16_t ReloadPending = 0;
  InstanceGuard Guard;  // held until the program ends
};

}  // namespace velmora
