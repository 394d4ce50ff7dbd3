#include "saving/calendar_writer.h"

#include <string>
#include <variant>

#include "common/date_text.h"
#include "common/text.h"
#include "db/recordset.h"
#include "plandata/calendar_rows.h"
#include "saving/save_refused.h"
#include "worktime/calendar_day.h"

namespace velmora::saving {
namespace {

constexpr const char* kShiftColumns[] = {"開始時刻１", "終了時刻１", "開始時刻２", "終了時刻２"};

void Fill(db::Recordset& rs, const CalendarRow& row) {
  rs.Fields("勤務時間") = static_cast<int>(row.minutes);
  for (std::size_t s = 0; s < 4; ++s) rs.Fields(kShiftColumns[s]) = FormatHms(row.shifts[s]);
}

}  // namespace

std::vector<DayOf> ChangedDays(const PlanData& data) {
  std::vector<DayOf> days;
  for (int d = 0; d <= data.DayCount && d < data.Calendars.Days(); ++d) {
    for (int r = 1; r <= data.MachineRowCount; ++r) {
      if (data.CalendarChanged(r, d) == 1) days.emplace_back(r, d);
    }
  }
  return days;
}

void WriteCalendarDay(db::Connection& connection, const PlanData& data, const DayOf& day,
                      const OthersChanges& accepted, bool check) {
  const auto [r, d] = day;
  const std::string& machine = data.RowCode[static_cast<std::size_t>(r)];
  const DateTime date = DateOfCalendarDay(data.PeriodStartDate(), d);
  DayShifts shifts;
  for (int s = 1; s <= 8; ++s) shifts[static_cast<std::size_t>(s - 1)] = data.ShiftTimes(r, s, d);
  const auto laid = CalendarRowsOf(shifts, data.WorkMinutes(r, d));
  if (const auto* problem = std::get_if<std::string>(&laid)) {
    throw SaveRefused("機械 " + Trim(machine) + " の " + FormatSlashDate(date) +
                      " の稼働時間は保存できません。" + *problem);
  }
  const std::vector<CalendarRow>& rows = std::get<std::vector<CalendarRow>>(laid);

  db::Recordset stored;
  stored.Open("SELECT * FROM 機械別勤務体系マスタ WHERE 機械コード=? AND 年月日=?",
              {machine, FormatYmd(date)}, connection, db::CursorType::Keyset,
              db::LockType::Optimistic);
  if (check) {
    if (const auto expected = ExpectedDay(data, accepted, day)) {
      std::uint64_t now = 0;
      for (; !stored.Eof(); stored.MoveNext()) now += stored.RowFingerprint(0, stored.FieldCount());
      if (now != *expected) throw OthersChangedDuringSave{};
      stored.Open("SELECT * FROM 機械別勤務体系マスタ WHERE 機械コード=? AND 年月日=?",
                  {machine, FormatYmd(date)}, connection, db::CursorType::Keyset,
                  db::LockType::Optimistic);
    }
  }
  std::size_t k = 0;
  for (; !stored.Eof(); stored.MoveNext(), ++k) {
    Fill(stored, k < rows.size() ? rows[k] : CalendarRow{});
    stored.Update();
  }
  for (; k < rows.size(); ++k) {
    stored.AddNew();
    stored.Fields("機械コード") = machine;
    stored.Fields("年月日") = FormatYmd(date);
    Fill(stored, rows[k]);
    stored.Update();
  }
}

}  // namespace velmora::saving
