#include "plandata/calendar_reader.h"

#include "db/recordset.h"
#include "common/date_text.h"
#include "common/errors.h"
#include "common/format.h"
#include "common/numeric.h"
#include "plandata/db_names.h"
#include "plandata/queries.h"
#include "common/msgbox.h"

namespace velmora {
namespace {

// A stored shift time read through its "00:00:00" form.
DateTime ShiftTime(db::Recordset& rs, const char* column, const std::string& machineCode) {
  const std::string text = rs.Fields(column).Text();
  if (auto time = ParseColonTime(FormatDigits(text, "00:00:00"))) return *time;
  throw ConversionError("機械 " + machineCode + " の勤務体系 " +
                        rs.Fields(dbname::kCalendarDay).Text() + " の" + column + " \"" + text +
                        "\" は時刻ではありません");
}

}  // namespace

void ReadMachineCalendar(PlanData& data, db::Connection& connection, int r,
                         const std::string& machineCode) {
  db::Recordset calendar;
  calendar.Open(CalendarQueryText(data, machineCode), connection, db::CursorType::ForwardOnly,
                db::LockType::ReadOnly);
  const DateTime firstDay = data.PeriodStartDate().AddDays(-2);

  for (int d = 0; d <= data.DayCount; ++d) {
    data.WorkMinutes(r, d) = 0;
    data.CalendarChanged(r, d) = 0;
    for (int s = 1; s <= 8; ++s) data.ShiftTimes(r, s, d) = DateTime();
    const std::string dayText = FormatYmd(firstDay.AddDays(d));
    int slot = 1;

    for (; !calendar.Eof(); calendar.MoveNext()) {
      const std::string day = calendar.Fields(dbname::kCalendarDay).Text();
      if (day > dayText) break;  // a later day's row: looked at again for that day
      const double minutes = calendar.Fields(dbname::kWorkTime).Number();
      if (day != dayText || minutes == 0) continue;

      data.WorkMinutes(r, d) = ToInt16(data.WorkMinutes(r, d) + minutes);
      if (calendar.Fields(dbname::kShift1Start).Text() ==
              calendar.Fields(dbname::kShift1End).Text() ||
          slot == 9) {
        continue;
      }
      data.ShiftTimes(r, slot, d) = ShiftTime(calendar, dbname::kShift1Start, machineCode);
      if (slot == 1 && data.ShiftTimes(r, slot, d) > kLatestFirstShiftStart) {
        ui::MsgBox(machineCode + "の計画におかしい情報が存在します。日付:" + day, ui::kOkOnly);
        throw ProgramEnd{1};
      }
      data.ShiftTimes(r, slot + 1, d) = ShiftTime(calendar, dbname::kShift1End, machineCode);
      if (calendar.Fields(dbname::kShift2Start).Text() !=
              calendar.Fields(dbname::kShift2End).Text() &&
          slot != 7) {
        data.ShiftTimes(r, slot + 2, d) = ShiftTime(calendar, dbname::kShift2Start, machineCode);
        data.ShiftTimes(r, slot + 3, d) = ShiftTime(calendar, dbname::kShift2End, machineCode);
        slot += 4;
      } else {
        slot += 2;
      }
    }
  }
}

}  // namespace velmora
