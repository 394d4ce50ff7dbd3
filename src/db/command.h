#pragma once

#include <string>

#include "db/connection.h"
#include "db/recordset.h"

namespace velmora::db {

// The shared command: its text is run on the active connection as a forward-only,
// read-only result positioned on its first row.
class Command {
 public:
  Connection* ActiveConnection = nullptr;
  std::string CommandText;

  Recordset Execute();
};

}  // namespace velmora::db
