#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace velmora {

// The number a text starts with (leading blanks skipped; sign, digits, decimal point,
// exponent); 0 when it starts with no number.
double Val(std::string_view text);

// Whether the whole text (blanks around it allowed) is one decimal number.
bool IsNumeric(std::string_view text);

// Conversions to 16- and 32-bit integers: round to nearest, ties to even.
// Overflow or a value that is not a number throws ConversionError instead of wrapping.
std::int16_t ToInt16(double value);
std::int32_t ToInt32(double value);

// The shortest text that reads back as the same number ("26.5", "1e-05"), in the "C" form
// whatever the locale.
std::string ShortestText(double value);
std::string ShortestText(float value);

// Round half to even, to a 64-bit integer (ConversionError outside its range).
std::int64_t RoundHalfEven(double value);

}  // namespace velmora
