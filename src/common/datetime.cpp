#include "common/datetime.h"

#include <string>

#include "common/errors.h"

namespace velmora {
namespace {

// Days from 1970-01-01 to a civil date (proleptic Gregorian), after H. Hinnant.
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

CivilDate CivilFromDays(std::int64_t z) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t y = static_cast<std::int64_t>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  const unsigned d = doy - (153 * mp + 2) / 5 + 1;
  const unsigned m = mp < 10 ? mp + 3 : mp - 9;
  return {static_cast<int>(y + (m <= 2)), static_cast<int>(m), static_cast<int>(d)};
}

// 1899-12-30 counted from 1970-01-01.
constexpr std::int64_t kEpochOffsetDays = -25569;

}  // namespace

bool IsValidDate(int year, int month, int day) {
  return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
         day <= DaysInMonth(year, month);
}

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month == 2) {
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return leap ? 29 : 28;
  }
  return kDays[month - 1];
}

DateTime DateTime::FromDate(int year, int month, int day) {
  return FromDays(DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) -
                  kEpochOffsetDays);
}

std::optional<DateTime> DateTime::MakeDate(int year, int month, int day) {
  if (!IsValidDate(year, month, day)) return std::nullopt;
  return FromDate(year, month, day);
}

std::optional<DateTime> DateTime::MakeTime(int hour, int minute, int second) {
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59) {
    return std::nullopt;
  }
  return FromTime(hour, minute, second);
}

CivilDate ToCivil(DateTime moment) {
  return CivilFromDays(moment.Days() + kEpochOffsetDays);
}

int DateTime::Year() const {
  return ToCivil(*this).year;
}
int DateTime::Month() const {
  return ToCivil(*this).month;
}
int DateTime::Day() const {
  return ToCivil(*this).day;
}

int DateTime::Weekday() const {
  // Day zero (1899-12-30) was a Saturday.
  const std::int64_t w = (Days() + 6) % 7;
  return static_cast<int>(w < 0 ? w + 7 : w) + 1;
}

DateTime DateTime::AddMonths(int n) const {
  const CivilDate c = ToCivil(*this);
  const std::int64_t total = std::int64_t{c.year} * 12 + (c.month - 1) + n;
  if (total < 12) {
    // Before year 1 there is no calendar date to give; clamping would quietly move a date.
    throw ConversionError("日付が範囲外です (" + std::to_string(c.year) + "年" +
                          std::to_string(c.month) + "月に" + std::to_string(n) + "か月)");
  }
  const int year = static_cast<int>(total / 12);
  const int month = static_cast<int>(total % 12) + 1;
  const int day = c.day > DaysInMonth(year, month) ? DaysInMonth(year, month) : c.day;
  return FromDate(year, month, day) + TimePart();
}

std::int64_t MinutesBetween(DateTime a, DateTime b) {
  auto floorMinutes = [](std::int64_t s) { return s >= 0 ? s / 60 : -((-s + 59) / 60); };
  return floorMinutes(b.Seconds()) - floorMinutes(a.Seconds());
}

}  // namespace velmora
