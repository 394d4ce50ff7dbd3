#pragma once

#include <sqlite3.h>

#include "plandata/plan_data.h"

namespace velmora::bench {

// The save's reads and writes for the changed entries of `data`, with statements prepared once,
// in one transaction: what the save is measured against. It mirrors only the paths the cases
// take and throws on any other.
void SaveWithPreparedStatements(sqlite3* db, PlanData& data);

}  // namespace velmora::bench
