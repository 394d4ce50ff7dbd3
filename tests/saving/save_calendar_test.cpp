#include <gtest/gtest.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

#include "plandata/calendar_reader.h"
#include "save_world.h"

namespace velmora::test {
namespace {

using saving::SaveResult;

// A day's shifts and minutes read back as they were saved, however many rows hold them: the
// save lays the day out over the day's rows, adds the rows it needs and empties the rest.
TEST(Save, CalendarDaysReloadAsSaved) {
  using Row = std::tuple<int, const char*, const char*, const char*, const char*>;
  struct Case {
    const char* name;
    std::vector<Row> stored;            // the day's rows before the save
    std::array<const char*, 8> shifts;  // the day as edited ("" for none)
    int minutes;
    std::size_t rows;  // the day's rows afterwards
  } cases[] = {
      {"one row, its second window moved",
       {{480, "080000", "120000", "130000", "170000"}},
       {"08:00", "12:00", "13:00", "17:30", "", "", "", ""},
       510,
       1},
      {"a day of two rows keeps its windows and takes new minutes",
       {{480, "080000", "120000", "130000", "170000"},
        {240, "180000", "220000", "000000", "000000"}},
       {"08:00", "12:00", "13:00", "17:00", "18:00", "22:00", "", ""},
       660,
       2},
      {"shifts 3 and 4 typed into a day of one row",
       {{480, "080000", "120000", "130000", "170000"}},
       {"08:00", "10:00", "10:30", "12:00", "13:00", "15:00", "15:30", "17:00"},
       420,
       2},
      {"a night window after midnight goes with the window before it",
       {{480, "080000", "170000", "000000", "000000"}},
       {"08:00", "17:00", "18:00", "23:30", "00:30", "05:00", "", ""},
       900,
       2},
      {"a holiday made a working day gets its row",
       {},
       {"08:00", "17:00", "", "", "", "", "", ""},
       480,
       1},
      {"minutes without windows",
       {{480, "080000", "170000", "000000", "000000"}},
       {"", "", "", "", "", "", "", ""},
       120,
       1},
      {"a day cleared keeps its rows, empty",
       {{480, "080000", "120000", "130000", "170000"},
        {240, "180000", "220000", "000000", "000000"}},
       {"", "", "", "", "", "", "", ""},
       0,
       2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SaveWorld w;
    ScriptedMessages messages;
    for (const auto& [minutes, s1, e1, s2, e2] : c.stored) {
      w.db.Insert("機械別勤務体系マスタ", {{"機械コード", "M01     "},
                                           {"年月日", "20241203"},
                                           {"勤務時間", minutes},
                                           {"開始時刻１", s1},
                                           {"終了時刻１", e1},
                                           {"開始時刻２", s2},
                                           {"終了時刻２", e2}});
    }
    const int day = 3;  // 2024/12/03: the period starts 12/02, index 0 is two days before
    for (int s = 0; s < 8; ++s) {
      w.data.ShiftTimes(2, s + 1, day) =
          *c.shifts[static_cast<std::size_t>(s)]
              ? *ParseColonTime(std::string(c.shifts[static_cast<std::size_t>(s)]) + ":00")
              : DateTime();
    }
    w.data.WorkMinutes(2, day) = static_cast<std::int16_t>(c.minutes);
    w.data.CalendarChanged(2, day) = 1;
    ASSERT_EQ(w.Save(), SaveResult::Complete);
    EXPECT_EQ(w.data.CalendarChanged(2, day), 0) << "written: the day counts as read";

    const PlanData saved = w.data;
    ReadMachineCalendar(w.data, w.db.connection(), 2, "M01     ", test::TestQuestions());
    for (int s = 1; s <= 8; ++s) {
      EXPECT_EQ(FormatColonTime(w.data.ShiftTimes(2, s, day)),
                FormatColonTime(saved.ShiftTimes(2, s, day)))
          << "slot " << s;
    }
    EXPECT_EQ(w.data.WorkMinutes(2, day), c.minutes);
    EXPECT_EQ(w.Sql("SELECT COUNT(*) FROM 機械別勤務体系マスタ"), std::to_string(c.rows));
  }
}

}  // namespace
}  // namespace velmora::test
