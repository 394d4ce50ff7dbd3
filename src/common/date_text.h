#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "common/datetime.h"

namespace velmora {

// The stored and displayed text forms of dates and times. Each form has one parser and one
// formatter; a parser returns nothing for a text that is not a valid value of its form.

// "yyyymmdd": exactly eight digits. "00000000" (no date) does not parse.
std::optional<DateTime> ParseYmd(std::string_view text);
std::string FormatYmd(DateTime date);

// Whether a date has a stored form: years 1..9999 fill the eight digits exactly.
bool IsStorableDate(DateTime date);

// "hhnnss": exactly six digits, a valid time of day.
std::optional<DateTime> ParseHms(std::string_view text);
std::string FormatHms(DateTime time);

// "yyyy/mm/dd": also accepts one-digit months and days ("2024/4/1"), as typed dates have them.
std::optional<DateTime> ParseSlashDate(std::string_view text);
std::string FormatSlashDate(DateTime date);
// "yyyy/mm/dd", or "" for the zero date that stands for none.
std::string FormatOptionalSlashDate(DateTime date);
// "mm/dd" of a stored "yyyymmdd" text (its last four characters; other text as it is).
std::string StoredMonthDay(std::string_view stored);

// A date as users type and read it: year, month and day separated by "/", "-" or "." or
// written "2024年4月10日", with or without leading zeros, blanks around it ignored.
std::optional<DateTime> ParseDateText(std::string_view text);

// "hh:nn:ss": also accepts one-digit fields ("8:30:00").
std::optional<DateTime> ParseColonTime(std::string_view text);
std::string FormatColonTime(DateTime time);

// The stored forms as the loaders read them: "yyyymmdd" / "hhnnss", or any other text whose
// "0000/00/00" / "00:00:00" form (the digits filled in from the right) is a date / a time.
std::optional<DateTime> ParseStoredDate(std::string_view text);
std::optional<DateTime> ParseStoredTime(std::string_view text);

// The long date shown to the user, e.g. "2024年4月10日".
std::string FormatLongDate(DateTime date);

}  // namespace velmora
