#include <charconv>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <limits>
#include <string>

#include "common/errors.h"
#include "worktime/production_minutes.h"

namespace velmora {
namespace {

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
  std::int64_t q = a / b;
  if (a % b != 0 && (a < 0) != (b < 0)) --q;
  return q;
}

[[noreturn]] void ThrowOutOfRange(float cycleSeconds, std::int32_t quantity) {
  throw ConversionError("production minutes out of range: cycle " + std::to_string(cycleSeconds) +
                        " s x quantity " + std::to_string(quantity));
}

// A cycle as the decimal that was entered: digits x 10^exponent. The single only approximates
// it (0.7 is held as 0.699999988...), and rounding that down would lose a minute whenever
// cycle x quantity is a whole number of minutes; the shortest text that reads back as the same
// single is the entered value.
struct Decimal {
  std::int64_t digits = 0;  // at most 9 significant digits, with the sign
  int exponent = 0;
};

Decimal EnteredDecimal(float value) {
  char text[32];
  const auto written =
      std::to_chars(std::begin(text), std::end(text), value, std::chars_format::scientific);
  const char* p = text;  // "-1.25e+01"
  const bool negative = *p == '-';
  if (negative) ++p;
  Decimal result;
  int fractionDigits = 0;
  bool inFraction = false;
  for (; p < written.ptr && *p != 'e'; ++p) {
    if (*p == '.') {
      inFraction = true;
      continue;
    }
    result.digits = result.digits * 10 + (*p - '0');
    if (inFraction) ++fractionDigits;
  }
  int exponent = 0;
  if (p < written.ptr) ++p;  // 'e'
  if (p < written.ptr && *p == '+') ++p;
  std::from_chars(p, written.ptr, exponent);
  result.exponent = exponent - fractionDigits;
  if (negative) result.digits = -result.digits;
  return result;
}

// round-down(cycle x quantity / 60), exact on the entered cycle.
std::int64_t CycleMinutes(float cycleSeconds, std::int32_t quantity) {
  if (!std::isfinite(cycleSeconds)) ThrowOutOfRange(cycleSeconds, quantity);
  const Decimal cycle = EnteredDecimal(cycleSeconds);
  std::int64_t seconds = cycle.digits * quantity;  // below 10^9 x 2^31 < 2^61 in size
  if (cycle.exponent >= 0) {
    for (int i = 0; i < cycle.exponent; ++i) {
      if (__builtin_mul_overflow(seconds, 10, &seconds)) ThrowOutOfRange(cycleSeconds, quantity);
    }
    return FloorDiv(seconds, 60);
  }
  // 60 x 10^18 no longer fits; any product is then a small fraction of a minute.
  if (cycle.exponent < -17) return seconds < 0 ? -1 : 0;
  std::int64_t divisor = 60;
  for (int i = 0; i < -cycle.exponent; ++i) divisor *= 10;
  return FloorDiv(seconds, divisor);
}

}  // namespace

std::int32_t ProductionMinutes(std::int16_t setupMinutes, float cycleSeconds,
                               std::int32_t quantity) {
  // In 64 bits, so a large lot on the default cycle (quantity x 5) cannot overflow.
  const std::int64_t minutes = cycleSeconds != 0
                                   ? CycleMinutes(cycleSeconds, quantity)
                                   : FloorDiv(std::int64_t{quantity} * kDefaultCycleSeconds, 60);
  const std::int64_t total = minutes + setupMinutes;
  if (total < std::numeric_limits<std::int32_t>::min() ||
      total > std::numeric_limits<std::int32_t>::max()) {
    ThrowOutOfRange(cycleSeconds, quantity);
  }
  return static_cast<std::int32_t>(total);
}

}  // namespace velmora
