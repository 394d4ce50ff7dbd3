#pragma once

#include <vector>

#include "db/connection.h"
#include "plandata/plan_data.h"
#include "saving/others_changes.h"

namespace velmora::saving {

// The calendar days edited since they were read or saved: (row, day index) of machine rows.
std::vector<DayOf> ChangedDays(const PlanData& data);

// Writes one machine's day into its rows of 機械別勤務体系マスタ as CalendarRowsOf lays it out:
// the day's rows take the new rows' values, missing rows are added and rows left over keep no
// minutes and no windows (the calendar passes over them). A day that cannot be stored so is
// refused (SaveRefused naming the machine and the day). With `check`, a day whose rows are not
// as this copy read them (or as the user agreed to write over them) throws
// OthersChangedDuringSave before anything is written.
void WriteCalendarDay(db::Connection& connection, const PlanData& data, const DayOf& day,
                      const OthersChanges& accepted, bool check);

}  // namespace velmora::saving
