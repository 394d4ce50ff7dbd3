#include "common/date_text.h"

#include <cstdio>
#include <vector>

#include "common/format.h"
#include "common/text.h"

namespace velmora {
namespace {

bool AllDigits(std::string_view s) {
  if (s.empty()) return false;
  for (char c : s) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

int Number(std::string_view s) {
  int n = 0;
  for (char c : s) n = n * 10 + (c - '0');
  return n;
}

// Splits "a<sep>b<sep>c" into exactly three digit fields of 1..max_len[i] digits.
bool SplitThree(std::string_view text, char sep, const int (&max_len)[3], int (&out)[3]) {
  for (int i = 0; i < 3; ++i) {
    const std::size_t end = i < 2 ? text.find(sep) : text.size();
    if (end == std::string_view::npos) return false;
    const std::string_view field = text.substr(0, end);
    if (!AllDigits(field) || field.size() > static_cast<std::size_t>(max_len[i])) return false;
    out[i] = Number(field);
    text.remove_prefix(i < 2 ? end + 1 : end);
  }
  return true;
}

std::string Printf3(const char* format, int a, int b, int c) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, format, a, b, c);
  return buffer;
}

}  // namespace

std::optional<DateTime> ParseYmd(std::string_view text) {
  if (text.size() != 8 || !AllDigits(text)) return std::nullopt;
  return DateTime::MakeDate(Number(text.substr(0, 4)), Number(text.substr(4, 2)),
                            Number(text.substr(6, 2)));
}

std::string FormatYmd(DateTime date) {
  const CivilDate c = ToCivil(date);
  return Printf3("%04d%02d%02d", c.year, c.month, c.day);
}

std::optional<DateTime> ParseHms(std::string_view text) {
  if (text.size() != 6 || !AllDigits(text)) return std::nullopt;
  return DateTime::MakeTime(Number(text.substr(0, 2)), Number(text.substr(2, 2)),
                            Number(text.substr(4, 2)));
}

std::string FormatHms(DateTime time) {
  return Printf3("%02d%02d%02d", time.Hour(), time.Minute(), time.Second());
}

std::optional<DateTime> ParseSlashDate(std::string_view text) {
  int f[3];
  if (!SplitThree(text, '/', {4, 2, 2}, f)) return std::nullopt;
  return DateTime::MakeDate(f[0], f[1], f[2]);
}

bool IsStorableDate(DateTime date) {
  const int year = ToCivil(date).year;
  return year >= 1 && year <= 9999;
}

std::optional<DateTime> ParseDateText(std::string_view text) {
  std::string t = Trim(text);
  // 2024年4月10日: the kanji stand for the separators.
  constexpr std::string_view kYear = "年", kMonth = "月", kDay = "日";
  if (t.size() > kDay.size() && t.ends_with(kDay)) {
    const std::size_t y = t.find(kYear);
    const std::size_t m = t.find(kMonth);
    if (y == std::string::npos || m == std::string::npos || m < y) return std::nullopt;
    t = t.substr(0, y) + "/" + t.substr(y + kYear.size(), m - y - kYear.size()) + "/" +
        t.substr(m + kMonth.size(), t.size() - kDay.size() - m - kMonth.size());
  }
  const std::size_t first = t.find_first_not_of("0123456789");
  if (first == std::string::npos) return std::nullopt;
  const char sep = t[first];
  if (sep != '/' && sep != '-' && sep != '.') return std::nullopt;
  int f[3];
  if (!SplitThree(t, sep, {4, 2, 2}, f)) return std::nullopt;
  return DateTime::MakeDate(f[0], f[1], f[2]);
}

std::string FormatSlashDate(DateTime date) {
  const CivilDate c = ToCivil(date);
  return Printf3("%04d/%02d/%02d", c.year, c.month, c.day);
}

std::optional<DateTime> ParseColonTime(std::string_view text) {
  int f[3];
  if (!SplitThree(text, ':', {2, 2, 2}, f)) return std::nullopt;
  return DateTime::MakeTime(f[0], f[1], f[2]);
}

std::string FormatColonTime(DateTime time) {
  return Printf3("%02d:%02d:%02d", time.Hour(), time.Minute(), time.Second());
}

std::optional<DateTime> ParseStoredDate(std::string_view text) {
  // The stored form itself reads directly; it gives what its formatted form gives.
  if (text.size() == 8) {
    if (auto date = ParseYmd(text)) return date;
  }
  return ParseSlashDate(FormatDigits(text, "0000/00/00"));
}

std::optional<DateTime> ParseStoredTime(std::string_view text) {
  if (text.size() == 6) {
    if (auto time = ParseHms(text)) return time;
  }
  return ParseColonTime(FormatDigits(text, "00:00:00"));
}

std::string FormatLongDate(DateTime date) {
  const CivilDate c = ToCivil(date);
  return Printf3("%d年%d月%d日", c.year, c.month, c.day);
}

std::string FormatOptionalSlashDate(DateTime date) {
  return date.IsZero() ? "" : FormatSlashDate(date);
}

std::string StoredMonthDay(std::string_view stored) {
  return FormatDigits(Right(stored, 4), "00/00");
}

}  // namespace velmora
