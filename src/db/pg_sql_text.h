#pragma once

#include <string>
#include <string_view>

namespace velmora::db {

// The program's statement text for the server: each `?` mark outside quotes and comments becomes
// `$1`, `$2`, ... in order. `count` receives the number of marks.
std::string NumberedParameters(std::string_view sql, int* count = nullptr);

}  // namespace velmora::db
