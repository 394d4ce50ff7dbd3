#pragma once

#include <string>
#include <string_view>

namespace velmora::db {

// Every text value that goes into an SQL text passes here: single quotes are doubled, so the
// value stays data inside the quotes that the SQL text puts around it.
std::string SqlText(std::string_view value);

// A table or column name as a statement writes it, quoted, so that any name the database gave
// reads back as itself.
std::string QuoteIdentifier(std::string_view name);

}  // namespace velmora::db
