#include "common/numeric.h"

#include <locale.h>
#include <stdlib.h>

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

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

// The "C" locale, made once: numbers are read the same whatever locale the process runs in
// (the window sets it from the environment, and a German one would read "61199.6" as 61199).
locale_t CLocale() {
  static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  return c;
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
  // strtod_l needs a terminated text; numbers of a usual length are copied on the stack.
  char buffer[64];
  if (n < sizeof buffer) {
    text.copy(buffer, n);
    buffer[n] = '\0';
    return strtod_l(buffer, nullptr, CLocale());
  }
  return strtod_l(std::string(text.substr(0, n)).c_str(), nullptr, CLocale());
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

std::string ShortestText(double value) {
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

std::string ShortestText(float value) {
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

}  // namespace velmora
