#include "generator/demo_generator.h"

#include <filesystem>
#include <stdexcept>

#include "db/connection.h"
#include "db/recordset.h"
#include "generator/item_masters.h"
#include "generator/lots.h"
#include "generator/plant_masters.h"
#include "generator/table_writer.h"
#include "generator/work_calendar.h"
#include "schema_sql.h"

namespace velmora::demo {
namespace {

void RequireRange(const char* name, long long value, long long low, long long high) {
  if (value < low || value > high) {
    throw std::invalid_argument(std::string(name) + " must be between " + std::to_string(low) +
                                " and " + std::to_string(high) + ", not " + std::to_string(value));
  }
}

// Whether the server database already holds tables of its own (outside the system schemas).
bool HasTables(db::Connection& connection) {
  db::Recordset rs;
  rs.Open(
      "SELECT count(*) FROM information_schema.tables WHERE table_schema NOT IN "
      "('pg_catalog','information_schema')",
      connection);
  return !rs.Eof() && rs.Fields(0).Number() > 0;
}

void RemoveDatabaseFiles(const std::string& path) {
  std::error_code ignored;
  for (const char* suffix : {"", "-wal", "-shm", "-journal"})
    std::filesystem::remove(path + suffix, ignored);
}

}  // namespace

void ValidateOptions(const DemoOptions& options) {
  RequireRange("days", options.days, kMinDays, kMaxDays);
  RequireRange("machines", options.machines, kMinMachines, kMaxMachines);
  RequireRange("arrangements", options.arrangements, 0, kMaxArrangements);
  RequireRange("plant code", options.plantCode, kMinPlantCode, kMaxPlantCode);
  // The calendar margin must stay inside the four-digit years of the date texts.
  RequireRange("start year", options.baseDate.Year(), 1901, 9000);
}

DateTime AsOfDate(const DemoOptions& options) {
  return options.baseDate.AddDays(std::min(30, options.days / 3));
}

DemoWorld BuildDemoWorld(const DemoOptions& options) {
  ValidateOptions(options);
  DemoWorld world;
  world.options = options;
  world.asOf = AsOfDate(options);
  const Random root(options.seed);
  Random plantRandom = root.Fork(1);
  Random calendarRandom = root.Fork(2);
  Random catalogRandom = root.Fork(3);
  Random lotRandom = root.Fork(4);
  Random scheduleRandom = root.Fork(5);
  Random demandRandom = root.Fork(6);

  world.plant = BuildPlant(options, plantRandom);
  BuildCalendars(world, calendarRandom);
  world.catalog = BuildCatalog(options, world.plant, catalogRandom);
  std::vector<Lot> lots = PlanLots(world, lotRandom);
  CalibrateCycles(world, lots);
  ScheduleLots(world, lots, scheduleRandom);
  BuildDemand(world, lots, demandRandom);
  return world;
}

void GenerateDemoDatabase(const std::string& target, const DemoOptions& options, bool empty) {
  const DemoWorld world = BuildDemoWorld(options);  // invalid options create nothing
  const bool server = db::IsServerAddress(target);
  db::Connection connection;
  if (server) {
    connection.OpenServer(target);
    if (HasTables(connection)) {
      throw std::runtime_error(connection.Path() +
                               " already holds tables; velmora-demo fills only an empty database");
    }
  } else {
    connection = db::CreateDatabase(target);
  }
  // The tables and the rows in one transaction: a failure leaves the database as it was.
  try {
    connection.ExecuteScript("BEGIN");
    connection.ExecuteScript(SchemaSql());
    if (!empty) WriteWorld(connection, world);
    connection.ExecuteScript("COMMIT");
  } catch (...) {
    if (server) {
      try {
        connection.ExecuteScript("ROLLBACK");
      } catch (...) {
      }
    } else {
      connection = db::Connection();
      RemoveDatabaseFiles(target);
    }
    throw;
  }
}

}  // namespace velmora::demo
