#pragma once

#include <string>

#include "common/questions.h"
#include "db/connection.h"
#include "plandata/plan_data.h"

namespace velmora {

// The latest first-shift start the program accepts; a later one means a broken calendar.
inline constexpr DateTime kLatestFirstShiftStart = DateTime::FromTime(10, 0, 0);

// Reads the calendar of machine `machineCode` (as read, blanks kept) into row r for every
// day index 0..DayCount: working minutes summed over the day's rows, up to four shift windows
// in slots 1..8. A first shift later than 10:00:00 shows the machine's message and ends the
// program.
void ReadMachineCalendar(PlanData& data, db::Connection& connection, int r,
                         const std::string& machineCode, Questions& questions);

}  // namespace velmora
