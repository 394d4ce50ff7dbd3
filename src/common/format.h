#pragma once

#include <string>
#include <string_view>

#include "common/datetime.h"

namespace velmora {

// Formats a moment with a date pattern: yyyy year, mm month, dd day, m and d without leading
// zeros, hh hours, nn minutes (mm directly after hh also means minutes), ss seconds; any other
// character is copied. Example: FormatDateTime(t, "m/d") == "12/6".
std::string FormatDateTime(DateTime moment, std::string_view pattern);

// Formats a number or a digit text with a pattern of 0 digits and separators ("00",
// "0000/00/00", "00:00:00"): the value, rounded to an integer, fills the 0 places from the
// right, padded with zeros; surplus digits go in front. A text that is not a number comes back
// unchanged. Example: FormatDigits("20240410", "0000/00/00") == "2024/04/10".
std::string FormatDigits(std::string_view text, std::string_view pattern);
std::string FormatNumber(long long value, std::string_view pattern);

}  // namespace velmora
