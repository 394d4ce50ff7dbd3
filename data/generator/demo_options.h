#pragma once

#include <cstdint>

#include "common/datetime.h"

namespace velmora::demo {

// What the demo plant looks like. The same options always give the same database.
struct DemoOptions {
  std::uint64_t seed = 20240401;
  DateTime baseDate = DateTime::FromDate(2024, 4, 1);  // first day of the arrangements
  int days = 90;                                       // days the arrangements cover
  int machines = 30;                                   // live machines of the plant
  int arrangements = 3000;                             // rows of 手配情報, all plants
  int plantCode = 3;                                   // 部コード of the plant
};

// Limits that keep the generated codes in their fixed widths and the data believable.
inline constexpr int kMinDays = 7;
inline constexpr int kMaxDays = 730;
inline constexpr int kMinMachines = 4;  // one per live process category
inline constexpr int kMaxMachines = 800;
inline constexpr int kMaxArrangements = 500000;
inline constexpr int kMinPlantCode = 2;  // 1 is the head office
inline constexpr int kMaxPlantCode = 99;

// Throws std::invalid_argument naming the first option out of range.
void ValidateOptions(const DemoOptions& options);

// Days of margin around the arrangements for which machine calendars exist, so that a
// period picked a little before or after the data still has shifts.
inline constexpr int kCalendarMarginDays = 21;

}  // namespace velmora::demo
