#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "common/datetime.h"

namespace velmora {

inline constexpr const char* kShiftEndsEqual =
    "開始と終了が同じ時間帯があります。使わない時間帯は開始と終了の両方を空にしてください";
inline constexpr const char* kShiftGap = "時間帯は1番目から順に、間を空けずに入力してください";
inline constexpr const char* kFirstShiftLate = "1番目の時間帯は10:00までに始めてください";
inline constexpr const char* kShiftOrder =
    "この時間帯の並びは保存できません。時間帯は開始の早い順に入力してください";
inline constexpr const char* kTooFewMinutes = "時間帯のある日の稼働時間（分）は、";
inline constexpr const char* kTooFewMinutesEnd = "以上にしてください";

// One stored row of a machine's calendar day: its working minutes and two shift windows
// (start, end, start, end; 00:00:00 where a window is unused).
struct CalendarRow {
  std::int16_t minutes = 0;
  std::array<DateTime, 4> shifts{};
  bool operator==(const CalendarRow&) const = default;
};

// A day's shift windows as the calendar holds them, slots 1..8 in array positions 0..7.
using DayShifts = std::array<DateTime, 8>;

// The rows that store a day so that reading the calendar gives back exactly these windows and
// minutes: the reader sums the minutes of the rows that have any, and fills the windows of such
// rows into the slots in the order of their first start. So every row holding windows gets a
// share of the minutes (by the length of its windows), and the windows go into rows whose first
// starts rise. A day without windows is one row of minutes, or no row at all for 0 minutes.
// A day that cannot be stored so gives the reason, in Japanese, instead of rows.
std::variant<std::vector<CalendarRow>, std::string> CalendarRowsOf(const DayShifts& shifts,
                                                                   int minutes);

}  // namespace velmora
