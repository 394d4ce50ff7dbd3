#pragma once

#include <string>
#include <string_view>

namespace velmora::db {

// Every text value that goes into an SQL text passes here: single quotes are doubled, so the
// value stays data inside the quotes that the SQL text puts around it.
std::string SqlText(std::string_view value);

}  // namespace velmora::db
