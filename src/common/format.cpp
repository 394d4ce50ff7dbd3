#include "common/format.h"

#include <cmath>
#include <cstdio>

#include "common/numeric.h"
#include "common/text.h"

namespace velmora {
namespace {

std::string Padded(int value, int width) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%0*d", width, value);
  return buffer;
}

bool StartsWith(std::string_view s, std::size_t at, std::string_view token) {
  return s.substr(at, token.size()) == token;
}

}  // namespace

std::string FormatDateTime(DateTime moment, std::string_view pattern) {
  const CivilDate c = ToCivil(moment);
  std::string out;
  bool afterHour = false;  // "mm" right after an hour field means minutes
  for (std::size_t i = 0; i < pattern.size();) {
    if (StartsWith(pattern, i, "yyyy")) {
      out += Padded(c.year, 4), i += 4, afterHour = false;
    } else if (StartsWith(pattern, i, "hh")) {
      out += Padded(moment.Hour(), 2), i += 2, afterHour = true;
    } else if (StartsWith(pattern, i, "nn")) {
      out += Padded(moment.Minute(), 2), i += 2, afterHour = false;
    } else if (StartsWith(pattern, i, "mm")) {
      out += afterHour ? Padded(moment.Minute(), 2) : Padded(c.month, 2);
      i += 2, afterHour = false;
    } else if (StartsWith(pattern, i, "ss")) {
      out += Padded(moment.Second(), 2), i += 2, afterHour = false;
    } else if (StartsWith(pattern, i, "dd")) {
      out += Padded(c.day, 2), i += 2, afterHour = false;
    } else if (pattern[i] == 'm') {
      out += std::to_string(c.month), ++i, afterHour = false;
    } else if (pattern[i] == 'd') {
      out += std::to_string(c.day), ++i, afterHour = false;
    } else {
      // Separators keep the hour context, so "hh:mm" reads minutes.
      out += pattern[i++];
    }
  }
  return out;
}

std::string FormatNumber(long long value, std::string_view pattern) {
  const unsigned long long magnitude = value < 0 ? 0ULL - static_cast<unsigned long long>(value)
                                                 : static_cast<unsigned long long>(value);
  std::string digits = std::to_string(magnitude);
  std::size_t places = 0;
  for (char c : pattern) places += c == '0';
  if (digits.size() < places) digits.insert(0, places - digits.size(), '0');

  // Fill the 0 places from the right; surplus digits stay in front of the first place.
  std::string out;
  std::size_t next = digits.size();
  for (std::size_t i = pattern.size(); i-- > 0;) {
    if (pattern[i] == '0') {
      out.insert(out.begin(), digits[--next]);
    } else {
      out.insert(out.begin(), pattern[i]);
    }
  }
  out.insert(0, digits.substr(0, next));
  if (value < 0) out.insert(out.begin(), '-');
  return out;
}

std::string FormatDigits(std::string_view text, std::string_view pattern) {
  if (!IsNumeric(text)) return std::string(text);
  const double value = Val(Trim(text));
  if (!(std::fabs(value) < 9e18)) return std::string(text);
  // Format patterns round halves away from zero.
  return FormatNumber(static_cast<long long>(std::round(value)), pattern);
}

}  // namespace velmora
