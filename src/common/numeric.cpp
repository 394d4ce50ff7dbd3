#include "common/numeric.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <system_error>

#include "common/errors.h"

namespace velmora {
namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Length of the longest prefix of `s` that reads as a number; 0 when none.
std::size_t NumberPrefix(std::string_view s) {
  std::size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  std::size_t digits = 0;
  while (i < s.size() && IsDigit(s[i])) ++i, ++digits;
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && IsDigit(s[i])) ++i, ++digits;
  }
  if (digits == 0) return 0;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
    if (j < s.size() && IsDigit(s[j])) {
      while (j < s.size() && IsDigit(s[j])) ++j;
      i = j;
    }
  }
  return i;
}

std::string_view SkipBlanks(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  return s;
}

// Decimal exponent of the leading digit of a number prefix `s` (sign already removed), to
// tell an overflow from an underflow when the value does not fit a double.
long long LeadingDigitExponent(std::string_view s) {
  long long magnitude = 0;
  std::size_t i = 0;
  bool seen = false;  // a non-zero digit
  for (; i < s.size() && IsDigit(s[i]); ++i) {
    if (seen) ++magnitude;
    seen = seen || s[i] != '0';
  }
  if (i < s.size() && s[i] == '.') {
    for (++i; !seen && i < s.size() && IsDigit(s[i]); ++i) {
      --magnitude;
      seen = s[i] != '0';
    }
    while (i < s.size() && IsDigit(s[i])) ++i;
  }
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    const bool negative = i < s.size() && s[i] == '-';
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    long long exponent = 0;
    for (; i < s.size() && IsDigit(s[i]); ++i) {
      if (exponent < 100000) exponent = exponent * 10 + (s[i] - '0');  // far past any double
    }
    magnitude += negative ? -exponent : exponent;
  }
  return magnitude;
}

// The value's shortest text that reads back to it, whatever the process locale.
std::string NumberText(double value) {
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

}  // namespace

double Val(std::string_view text) {
  text = SkipBlanks(text);
  const std::size_t n = NumberPrefix(text);
  if (n == 0) return 0.0;
  // from_chars, unlike strtod, ignores the process locale (the window sets it from the
  // environment, and a German one would read "61199.6" as 61199). It takes no '+'.
  std::string_view number = text.substr(0, n);
  const bool negative = number.front() == '-';
  if (number.front() == '+' || negative) number.remove_prefix(1);
  double value = 0.0;
  const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
  if (result.ec == std::errc::result_out_of_range) {
    // Beyond a double: infinity for a huge number, zero for a tiny one, as strtod gave.
    value = LeadingDigitExponent(number) > 0 ? std::numeric_limits<double>::infinity() : 0.0;
  }
  return negative ? -value : value;
}

bool IsNumeric(std::string_view text) {
  text = SkipBlanks(text);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return !text.empty() && NumberPrefix(text) == text.size();
}

std::int64_t RoundHalfEven(double value) {
  if (!std::isfinite(value) || value >= 9.2233720368547758e18 || value < -9.2233720368547758e18) {
    throw ConversionError("overflow: value out of integer range");
  }
  return static_cast<std::int64_t>(std::nearbyint(value));  // default mode: ties to even
}

std::int16_t ToInt16(double value) {
  const std::int64_t r = RoundHalfEven(value);
  if (r < std::numeric_limits<std::int16_t>::min() ||
      r > std::numeric_limits<std::int16_t>::max()) {
    throw ConversionError("overflow: " + NumberText(value) + " does not fit a 16-bit integer");
  }
  return static_cast<std::int16_t>(r);
}

std::int32_t ToInt32(double value) {
  const std::int64_t r = RoundHalfEven(value);
  if (r < std::numeric_limits<std::int32_t>::min() ||
      r > std::numeric_limits<std::int32_t>::max()) {
    throw ConversionError("overflow: " + NumberText(value) + " does not fit a 32-bit integer");
  }
  return static_cast<std::int32_t>(r);
}

}  // namespace velmora
