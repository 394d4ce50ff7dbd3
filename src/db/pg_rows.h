#pragma once

#include <memory>
#include <vector>

#include "db/engine.h"

struct pg_result;

namespace velmora::db {

struct PgResultDeleter {
  void operator()(pg_result* result) const;
};
using PgResult = std::unique_ptr<pg_result, PgResultDeleter>;

// The rows of one result, which the server sent whole. Numbers (including a numeric sum of whole
// numbers) read as integers or reals, everything else as text. With `forUpdate` the first column
// is the row id.
std::unique_ptr<Rows> MakePgRows(PgResult result, std::shared_ptr<const ResultColumns> columns,
                                 bool forUpdate);

}  // namespace velmora::db
