#pragma once

namespace velmora {

// The text of data/schema.sql: every table of the production-planning database.
const char* SchemaSql();

}  // namespace velmora
