#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "common/datetime.h"

namespace velmora {

// Turns a typed date ("45", "1231", "240401", "24.4.1", "４/１", ...) into "yyyy/mm/dd".
// Missing parts come from `today`; two-digit years fall into the window of 49 years before
// and 50 years after today's year. Anything that is not a valid date gives today.
std::string NormalizeDateText(std::string_view input, DateTime today);

// As above, but nothing for a text whose parts make no valid date (2024/02/30, 0000/00/00):
// a field that must not silently become today refuses it instead.
std::optional<std::string> NormalizeTypedDate(std::string_view input, DateTime today);

}  // namespace velmora
