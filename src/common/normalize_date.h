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

// A typed day of the period [first, last]: what the text leaves out comes from the period, not
// from today, so "5/20" falls in the period's year, or in the next one when the period crosses a
// year end and the day lies there. A day outside the period is returned as read with the
// period's first day; nothing for a text that is no date.
std::optional<DateTime> TypedDayOfPeriod(std::string_view input, DateTime first, DateTime last);

}  // namespace velmora
