#pragma once

#include <span>
#include <string>
#include <string_view>

#include "db/value.h"

namespace velmora {

// Stored values the load cannot take stop it: another program may have written anything, and a
// value guessed at (a Null quantity read as 0, "1000abc" read as 1000) would be shown as the plan
// and written back by the next save. The message names where the value is, so it can be found
// and corrected:
//   手配情報の手配番号 41 の「手配数」が読み取れません（空）。…
// `where` is the table and the row's key, `column` the column as it is stored there.
[[noreturn]] void RefuseStoredValue(std::string_view where, std::string_view column,
                                    std::string_view problem);

// The problems a message gives in its brackets.
inline constexpr std::string_view kEmptyValue = "空";
std::string NotANumber(std::string_view text);
std::string NotADate(std::string_view text);
std::string NotATime(std::string_view text);
std::string OutOfRange(std::string_view text);
// A flag that is none of the values the program knows.
std::string UnknownFlag(std::string_view text, std::span<const std::string_view> known);

// What keeps a stored value from being read as a number; empty when nothing does. Integers,
// finite reals and Null pass; a text passes only when all of it is one number (blanks around it
// allowed), so trailing junk is refused rather than cut off; Infinity and NaN are refused.
std::string NumberProblem(const db::Value& value);

}  // namespace velmora
