#include "common/normalize_date.h"

#include <cstdint>
#include <vector>

#include "common/date_text.h"
#include "common/text.h"

namespace velmora {
namespace {

// Runs of digits ("０"-"９" count as digits); every other character ends a run, so two
// separators in a row leave an empty run between them.
std::vector<std::string> NumericParts(std::string_view text) {
  std::vector<std::string> parts(1);
  std::size_t i = 0;
  while (i < text.size()) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c >= '0' && c <= '9') {
      parts.back() += static_cast<char>(c);
      ++i;
      continue;
    }
    // Full-width digits are U+FF10..U+FF19: EF BC 90..99 in UTF-8.
    if (c == 0xEF && i + 2 < text.size() && static_cast<unsigned char>(text[i + 1]) == 0xBC) {
      const auto last = static_cast<unsigned char>(text[i + 2]);
      if (last >= 0x90 && last <= 0x99) {
        parts.back() += static_cast<char>('0' + (last - 0x90));
        i += 3;
        continue;
      }
    }
    // Any other character, however many bytes it takes, is one separator.
    ++i;
    while (i < text.size() && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) ++i;
    parts.emplace_back();
  }
  return parts;
}

// The value of a run of digits, capped far above any valid date field so that long runs
// cannot overflow and still come out invalid.
std::int64_t DigitsValue(const std::string& digits) {
  constexpr std::int64_t kCap = 100000000000LL;
  std::int64_t value = 0;
  for (char c : digits) {
    value = value * 10 + (c - '0');
    if (value >= kCap) return kCap;
  }
  return value;
}

// A two-digit year placed in the window [Y - 49, Y + 50].
std::int64_t WindowYear(std::int64_t yy, int todayYear) {
  const int low = todayYear - 49;
  const int high = todayYear + 50;
  const std::int64_t inLowCentury = (low / 100) * 100 + yy;
  return inLowCentury >= low ? inLowCentury : (high / 100) * 100 + yy;
}

struct YearMonthDay {
  std::int64_t year;
  std::int64_t month;
  std::int64_t day;
};

YearMonthDay FromOneRun(std::string t, DateTime today) {
  const CivilDate now = ToCivil(today);
  if (t.size() > 8) t = FormatYmd(today);
  // "45" is no day of a month: read it as month 4, day 5.
  if (!t.empty() && t.size() <= 2 && DigitsValue(t) > 31) t = t.substr(0, 1) + "0" + t.substr(1);
  const std::int64_t v = DigitsValue(t);
  switch (t.size()) {
    case 0:
      return {now.year, now.month, now.day};
    case 1:
    case 2:
      return {now.year, now.month, v};
    case 3:
    case 4:
      return {now.year, v / 100, v % 100};
    case 5:
    case 6:
      return {WindowYear(v / 10000, now.year), v % 10000 / 100, v % 100};
    default:  // 7 or 8 digits
      return {v / 10000, v % 10000 / 100, v % 100};
  }
}

}  // namespace

std::string NormalizeDateText(std::string_view input, DateTime today) {
  return NormalizeTypedDate(input, today).value_or(FormatSlashDate(today));
}

std::optional<std::string> NormalizeTypedDate(std::string_view input, DateTime today) {
  const CivilDate now = ToCivil(today);
  const std::vector<std::string> parts = NumericParts(Trim(input));
  const std::size_t separators = parts.size() - 1;

  YearMonthDay date{now.year, now.month, now.day};
  if (separators == 0) {
    date = FromOneRun(parts[0], today);
  } else if (separators == 1) {
    date = {now.year, DigitsValue(parts[0]), DigitsValue(parts[1])};
  } else if (separators > 3) {
    return std::nullopt;  // no form of a date: words, or more parts than a date has
  } else {
    const std::int64_t first = DigitsValue(parts[0]);
    date = {parts[0].size() > 2 ? first : WindowYear(first, now.year), DigitsValue(parts[1]),
            DigitsValue(parts[2])};
  }

  const bool valid = date.year >= 1 && date.year <= 9999 && date.month <= 12 && date.day <= 31 &&
                     IsValidDate(static_cast<int>(date.year), static_cast<int>(date.month),
                                 static_cast<int>(date.day));
  if (!valid) return std::nullopt;
  return FormatSlashDate(DateTime::FromDate(
      static_cast<int>(date.year), static_cast<int>(date.month), static_cast<int>(date.day)));
}

std::optional<DateTime> TypedDayOfPeriod(std::string_view input, DateTime first, DateTime last) {
  const auto dayFrom = [input](DateTime reference) -> std::optional<DateTime> {
    const std::optional<std::string> text = NormalizeTypedDate(input, reference);
    return text ? ParseSlashDate(*text) : std::nullopt;
  };
  const auto inPeriod = [&](const std::optional<DateTime>& day) {
    return day && *day >= first && *day <= last;
  };
  const std::optional<DateTime> early = dayFrom(first);
  if (inPeriod(early)) return early;
  const std::optional<DateTime> late = dayFrom(last);
  return inPeriod(late) || !early ? late : early;
}

}  // namespace velmora
