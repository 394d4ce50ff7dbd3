#include "plandata/calendar_reader.h"

#include <string_view>

#include "common/date_text.h"
#include "common/errors.h"
#include "common/numeric.h"
#include "common/questions.h"
#include "common/text.h"
#include "db/recordset.h"
#include "plandata/db_names.h"
#include "plandata/queries.h"
#include "plandata/unreadable_value.h"
#include "worktime/calendar_day.h"

namespace velmora {
namespace {

// Positions of the calendar columns, looked up once per machine rather than per row.
struct CalendarColumns {
  explicit CalendarColumns(const db::Recordset& rs)
      : day(Find(rs, dbname::kCalendarDay)),
        workTime(Find(rs, dbname::kWorkTime)),
        shift1Start(Find(rs, dbname::kShift1Start)),
        shift1End(Find(rs, dbname::kShift1End)),
        shift2Start(Find(rs, dbname::kShift2Start)),
        shift2End(Find(rs, dbname::kShift2End)) {}
  static int Find(const db::Recordset& rs, const char* name) {
    const int index = rs.FieldIndex(name);
    if (index < 0) throw DatabaseError(std::string("calendar query has no column ") + name);
    return index;
  }
  int day, workTime, shift1Start, shift1End, shift2Start, shift2End;
};

// A calendar value the load cannot take, named by the row's machine and day.
[[noreturn]] void Refuse(db::Recordset& rs, int column, const CalendarColumns& col,
                         const std::string& machineCode, std::string_view problem) {
  RefuseStoredValue(std::string(dbname::kMachineCalendars) + "の" + dbname::kMachineCode + " " +
                        Trim(machineCode) + "、" + dbname::kCalendarDay + " " + rs.TextAt(col.day),
                    rs.NameAt(column), problem);
}

// A stored shift time.
DateTime ShiftTime(db::Recordset& rs, int column, const CalendarColumns& col,
                   const std::string& machineCode) {
  if (rs.IsNullAt(column)) Refuse(rs, column, col, machineCode, kEmptyValue);
  const std::string text = rs.TextAt(column);
  if (auto time = ParseStoredTime(text)) return *time;
  Refuse(rs, column, col, machineCode, NotATime(text));
}

// A row's working minutes: they decide whether its windows count, so a Null is not taken as 0.
double WorkMinutes(db::Recordset& rs, const CalendarColumns& col, const std::string& machineCode) {
  const db::Value minutes = rs.ValueAt(col.workTime);
  if (minutes.IsNull()) Refuse(rs, col.workTime, col, machineCode, kEmptyValue);
  if (const std::string problem = NumberProblem(minutes); !problem.empty()) {
    Refuse(rs, col.workTime, col, machineCode, problem);
  }
  return minutes.Number();
}

}  // namespace

void ReadMachineCalendar(PlanData& data, db::Connection& connection, int r,
                         const std::string& machineCode, Questions& questions) {
  db::Recordset calendar;
  calendar.Open(CalendarQueryText(data, machineCode), connection, db::CursorType::ForwardOnly,
                db::LockType::ReadOnly);
  const CalendarColumns col(calendar);
  const DateTime firstDay = DateOfCalendarDay(data.PeriodStartDate(), 0);

  for (int d = 0; d <= data.DayCount; ++d) {
    data.WorkMinutes(r, d) = 0;
    data.CalendarChanged(r, d) = 0;
    for (int s = 1; s <= 8; ++s) data.ShiftTimes(r, s, d) = DateTime();
    const std::string dayText = FormatYmd(firstDay.AddDays(d));
    int slot = 1;
    std::uint64_t version = 0;  // every row of the day, those the calendar skips included

    for (; !calendar.Eof(); calendar.MoveNext()) {
      const std::string day = calendar.TextAt(col.day);
      if (day > dayText) break;  // a later day's row: looked at again for that day
      if (day != dayText) continue;
      version += calendar.RowFingerprint(0, calendar.FieldCount());
      const double minutes = WorkMinutes(calendar, col, machineCode);
      if (minutes == 0) continue;

      try {
        data.WorkMinutes(r, d) = ToInt16(data.WorkMinutes(r, d) + minutes);
      } catch (const ConversionError&) {
        throw ConversionError("機械 " + machineCode + " の勤務体系 " + day +
                              " の稼働時間の合計が範囲(32767分)を超えています");
      }
      if (calendar.TextAt(col.shift1Start) == calendar.TextAt(col.shift1End) || slot == 9) {
        continue;
      }
      data.ShiftTimes(r, slot, d) = ShiftTime(calendar, col.shift1Start, col, machineCode);
      if (slot == 1 && data.ShiftTimes(r, slot, d) > kLatestFirstShiftStart) {
        questions.Tell({machineCode + "の計画におかしい情報が存在します。日付:" + day});
        throw ProgramEnd{1};
      }
      data.ShiftTimes(r, slot + 1, d) = ShiftTime(calendar, col.shift1End, col, machineCode);
      if (calendar.TextAt(col.shift2Start) != calendar.TextAt(col.shift2End) && slot != 7) {
        data.ShiftTimes(r, slot + 2, d) = ShiftTime(calendar, col.shift2Start, col, machineCode);
        data.ShiftTimes(r, slot + 3, d) = ShiftTime(calendar, col.shift2End, col, machineCode);
        slot += 4;
      } else {
        slot += 2;
      }
    }
    data.Stored.SetDay(r, d, version);
  }
}

}  // namespace velmora
