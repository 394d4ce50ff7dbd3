#pragma once

#include <libpq-fe.h>

#include <cstddef>

#include "plandata/plan_data.h"

namespace velmora::bench::pg {

// The save's reads and writes for the changed entries of `data` on a server, with plain libpq:
// each statement prepared once and run with its parameters, in one transaction. What the save
// on a server is measured against. It mirrors only entries moved to another machine and
// throws on any other path. Returns the requests it sent and waited for.
std::size_t SaveWithPreparedStatements(PGconn* connection, PlanData& data);

}  // namespace velmora::bench::pg
