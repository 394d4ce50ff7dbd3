#include "db/command.h"

#include "common/errors.h"

namespace velmora::db {

Recordset Command::Execute() {
  if (ActiveConnection == nullptr) throw DatabaseError("the command has no active connection");
  Recordset rs;
  rs.Open(CommandText, *ActiveConnection, CursorType::ForwardOnly, LockType::ReadOnly);
  return rs;
}

}  // namespace velmora::db
