#pragma once

#include <compare>
#include <cstdint>
#include <optional>

namespace velmora {

// A moment in whole seconds counted from 1899-12-30 00:00:00, the zero of the stored date
// forms. A date is a moment at midnight; a time of day is a moment on day zero, so that
// date + time is plain addition, and zero means "no date" as well as 00:00:00.
class DateTime {
 public:
  static constexpr std::int64_t kSecondsPerDay = 86400;

  constexpr DateTime() = default;
  static constexpr DateTime FromSeconds(std::int64_t seconds) { return DateTime(seconds); }
  static constexpr DateTime FromDays(std::int64_t days) { return DateTime(days * kSecondsPerDay); }
  // The caller guarantees a valid calendar date (see MakeDate for checked input).
  static DateTime FromDate(int year, int month, int day);
  static constexpr DateTime FromTime(int hour, int minute, int second) {
    return DateTime(hour * 3600LL + minute * 60LL + second);
  }
  // Checked constructors: nothing for an impossible date (year 1..9999) or time of day.
  static std::optional<DateTime> MakeDate(int year, int month, int day);
  static std::optional<DateTime> MakeTime(int hour, int minute, int second);

  constexpr std::int64_t Seconds() const { return seconds_; }
  // Whole days, rounded towards minus infinity.
  constexpr std::int64_t Days() const {
    return seconds_ >= 0 ? seconds_ / kSecondsPerDay
                         : -((-seconds_ + kSecondsPerDay - 1) / kSecondsPerDay);
  }
  constexpr int SecondsOfDay() const {
    return static_cast<int>(seconds_ - Days() * kSecondsPerDay);
  }
  constexpr DateTime DatePart() const { return FromDays(Days()); }
  constexpr DateTime TimePart() const { return DateTime(SecondsOfDay()); }
  constexpr bool IsZero() const { return seconds_ == 0; }

  int Year() const;
  int Month() const;
  int Day() const;
  constexpr int Hour() const { return SecondsOfDay() / 3600; }
  constexpr int Minute() const { return SecondsOfDay() / 60 % 60; }
  constexpr int Second() const { return SecondsOfDay() % 60; }
  // 1 = Sunday .. 7 = Saturday.
  int Weekday() const;

  constexpr DateTime AddSeconds(std::int64_t n) const { return DateTime(seconds_ + n); }
  constexpr DateTime AddMinutes(std::int64_t n) const { return DateTime(seconds_ + n * 60); }
  constexpr DateTime AddHours(std::int64_t n) const { return DateTime(seconds_ + n * 3600); }
  constexpr DateTime AddDays(std::int64_t n) const {
    return DateTime(seconds_ + n * kSecondsPerDay);
  }
  // Calendar months; a day past the end of the target month becomes its last day.
  // ConversionError when the result would fall before year 1.
  DateTime AddMonths(int n) const;

  constexpr auto operator<=>(const DateTime&) const = default;
  constexpr DateTime operator+(DateTime other) const { return DateTime(seconds_ + other.seconds_); }
  constexpr DateTime operator-(DateTime other) const { return DateTime(seconds_ - other.seconds_); }

 private:
  constexpr explicit DateTime(std::int64_t seconds) : seconds_(seconds) {}
  std::int64_t seconds_ = 0;
};

struct CivilDate {
  int year;
  int month;
  int day;
};
CivilDate ToCivil(DateTime moment);
bool IsValidDate(int year, int month, int day);
int DaysInMonth(int year, int month);

// Number of minute boundaries crossed from a to b (negative when b is earlier).
std::int64_t MinutesBetween(DateTime a, DateTime b);

}  // namespace velmora
