#pragma once

#include <string>
#include <string_view>

namespace velmora {

// The plan table's codes for "none": the machine code of the unplanned row and the destination
// code of no destination.
inline const std::string kNoMachine(8, ' ');
inline const std::string kNoDestination(12, ' ');

// Empty or only blanks: the unplanned row's code, a point below the rows.
inline bool IsBlank(std::string_view code) {
  return code.find_first_not_of(' ') == std::string_view::npos;
}

}  // namespace velmora
