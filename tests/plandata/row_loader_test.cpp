#include "plandata/row_loader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "common/date_text.h"
#include "common/errors.h"
#include "db/command.h"
#include "plandata/work_center_rows.h"
#include "plant_tables.h"
#include "support/scripted_messages.h"
#include "support/test_db.h"

namespace velmora {
namespace {

DateTime T(int h, int m, int s = 0) {
  return DateTime::FromTime(h, m, s);
}

class RowLoader : public ::testing::Test {
 protected:
  RowLoader() {
    data.PlantCode = 3;
    data.CategoryCode = "3";
    data.SetPeriod("2024/04/10", "2024/04/12");
    command.ActiveConnection = &db.connection();
  }

  void Machine(const char* code, const char* name, const char* category = "03") {
    db.Insert("機械マスタ", {{"機械コード", code},
                             {"機械名", name},
                             {"生産工場コード", 3},
                             {"工程分類コード", category}});
  }
  void Shift(const char* machine, const char* day, int minutes, const char* s1, const char* e1,
             const char* s2 = "000000", const char* e2 = "000000") {
    db.Insert("機械別勤務体系マスタ", {{"機械コード", machine},
                                       {"年月日", day},
                                       {"勤務時間", minutes},
                                       {"開始時刻１", s1},
                                       {"終了時刻１", e1},
                                       {"開始時刻２", s2},
                                       {"終了時刻２", e2}});
  }
  void Department(int code, const char* name) {
    db.Insert("部課マスタ", {{"部コード", code}, {"課コード", 0}, {"部名", name}});
  }
  void Subcontractor(const char* code, const char* name) {
    db.Insert("仕入先マスタ",
              {{"仕入先コード", code}, {"仕入先名略名", name}, {"仕入先分類", "2"}});
    db.Insert("指示先別工程分類", {{"指示先コード", code}, {"工程分類コード", "03"}});
  }
  void Load() { LoadWorkCenterRows(data, command, 300, test::TestQuestions()); }

  test::TestDb db;
  db::Command command;
  PlanData data;
};

TEST_F(RowLoader, RowsInLoadOrderPaddedToSixteen) {
  Machine("M02     ", "成形機2号");
  Machine("M01     ", "成形機1号");
  Machine("M03     ", "成形機3号");
  Machine("X01     ", "他分類", "10");
  Department(1, "本社");
  Department(3, "第三工場");
  Department(5, "組立");
  Department(7, "検査");
  Subcontractor("S00001", "山田工業(株)");
  Subcontractor("S00002", "ミナト精工（有）");
  Subcontractor("S00003", "北村製作所");
  Subcontractor("S00004", "大和化成");
  Load();

  EXPECT_EQ(16, data.RowCount);
  EXPECT_EQ(4, data.MachineRowCount);
  EXPECT_EQ(6, data.DepartmentRowEnd);
  EXPECT_EQ("        ", data.RowCode[1]);
  EXPECT_EQ("", data.RowCaption[1]);
  EXPECT_EQ("M01     ", data.RowCode[2]);  // as read, blanks kept
  EXPECT_EQ("M01 成形機1号", data.RowCaption[2]);
  EXPECT_EQ("5", data.RowCode[5]);
  EXPECT_EQ("5 組立", data.RowCaption[5]);
  EXPECT_EQ("7", data.RowCode[6]);
  EXPECT_EQ("S00001\r山田工業\r(株)", data.RowCaption[7]);
  EXPECT_EQ("S00002\rミナト精工\r（有）", data.RowCaption[8]);
  EXPECT_EQ("S00003\r北村製作所", data.RowCaption[9]);
  EXPECT_EQ(240, data.RowTop[1]);
  EXPECT_EQ(840, data.RowTop[2]);
  EXPECT_EQ(9 * 600 + 240, data.RowTop[10]);
  for (int r = 11; r <= 16; ++r) {
    EXPECT_EQ("", data.RowCode[static_cast<std::size_t>(r)]);
    EXPECT_EQ("", data.RowCaption[static_cast<std::size_t>(r)]);
    EXPECT_EQ(0, data.RowTop[static_cast<std::size_t>(r)]);
  }
  // Bar height 300: the gap is 300 and each limit lies half a gap below the bar.
  EXPECT_EQ(240 + 450, data.WorkCenterLimit[1]);
  EXPECT_EQ(840 + 450, data.WorkCenterLimit[2]);
}

TEST_F(RowLoader, ManyRowsAreNotPadded) {
  for (int i = 0; i < 20; ++i) {
    const std::string code = "M" + std::to_string(10 + i) + "     ";
    Machine(code.c_str(), "機");
  }
  Load();
  EXPECT_EQ(21, data.RowCount);
  EXPECT_EQ(21, data.MachineRowCount);
}

TEST_F(RowLoader, CalendarCoversTwoDaysBeforeToOneDayAfterThePeriod) {
  Machine("M01     ", "成形機1号");
  Shift("M01     ", "20240407", 480, "080000", "170000");  // before day 0
  Shift("M01     ", "20240408", 480, "080000", "170000");  // day 0
  Shift("M01     ", "20240413", 420, "090000", "170000");  // day 5 = DayCount
  Shift("M01     ", "20240414", 480, "080000", "170000");  // after
  Load();
  EXPECT_EQ(5, data.DayCount);
  EXPECT_EQ(480, data.WorkMinutes(2, 0));
  EXPECT_EQ(T(8, 0), data.ShiftTimes(2, 1, 0));
  EXPECT_EQ(T(17, 0), data.ShiftTimes(2, 2, 0));
  EXPECT_EQ(0, data.WorkMinutes(2, 1));
  EXPECT_EQ(420, data.WorkMinutes(2, 5));
  EXPECT_EQ(T(9, 0), data.ShiftTimes(2, 1, 5));
}

TEST_F(RowLoader, SeveralRowsOfOneDayFillTheSlotsInOrder) {
  Machine("M01     ", "成形機1号");
  Shift("M01     ", "20240410", 240, "080000", "120000");
  Shift("M01     ", "20240410", 240, "130000", "170000", "200000", "050000");
  Shift("M01     ", "20240410", 60, "000000", "000000");  // minutes only
  Shift("M01     ", "20240410", 0, "180000", "190000");   // no work: passed over
  Load();
  const int d = 2;  // 2024/04/10
  EXPECT_EQ(540, data.WorkMinutes(2, d));
  EXPECT_EQ(T(8, 0), data.ShiftTimes(2, 1, d));
  EXPECT_EQ(T(12, 0), data.ShiftTimes(2, 2, d));
  EXPECT_EQ(T(13, 0), data.ShiftTimes(2, 3, d));
  EXPECT_EQ(T(17, 0), data.ShiftTimes(2, 4, d));
  EXPECT_EQ(T(20, 0), data.ShiftTimes(2, 5, d));
  EXPECT_EQ(T(5, 0), data.ShiftTimes(2, 6, d));
  EXPECT_EQ(DateTime(), data.ShiftTimes(2, 7, d));
  EXPECT_EQ(0, data.CalendarChanged(2, d));
}

TEST_F(RowLoader, ExtraWindowsBeyondFourAreDroppedButTheirMinutesCount) {
  Machine("M01     ", "成形機1号");
  Shift("M01     ", "20240410", 100, "060000", "070000", "070000", "080000");
  Shift("M01     ", "20240410", 100, "080000", "090000", "090000", "100000");
  Shift("M01     ", "20240410", 100, "100000", "110000", "110000", "120000");
  Load();
  EXPECT_EQ(300, data.WorkMinutes(2, 2));
  EXPECT_EQ(T(9, 0), data.ShiftTimes(2, 7, 2));
  EXPECT_EQ(T(10, 0), data.ShiftTimes(2, 8, 2));
}

TEST_F(RowLoader, AMachineWithoutCalendarHasNoWorkingTime) {
  Machine("M01     ", "成形機1号");
  Load();
  for (int d = 0; d <= data.DayCount; ++d) {
    EXPECT_EQ(0, data.WorkMinutes(2, d));
    EXPECT_EQ(DateTime(), data.ShiftTimes(2, 1, d));
  }
}

// A calendar value the load cannot take stops it, naming the machine's day and the column: a
// Null or "480分" read as 0 minutes dropped the day's shifts unseen.
TEST_F(RowLoader, ACalendarValueTheLoadCannotTakeStopsItNamingTheDay) {
  const struct {
    const char* column;
    db::Value value;
    const char* says;
  } cases[] = {
      {"勤務時間",
       {},
       "機械別勤務体系マスタの機械コード M01、年月日 20240410 "
       "の「勤務時間」が読み取れません（空）"},
      {"勤務時間", "480分", "「勤務時間」が読み取れません（「480分」は数値ではありません）"},
      {"開始時刻１", "8時", "「開始時刻１」が読み取れません（「8時」は時刻ではありません）"},
      {"終了時刻１", {}, "年月日 20240410 の「終了時刻１」が読み取れません（空）"},
  };
  Machine("M01     ", "成形機1号");
  test::LoosenTable(db, test::Engine::File, "機械別勤務体系マスタ");
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.column) + " " + c.value.Text());
    db.connection().ExecuteScript("DELETE FROM 機械別勤務体系マスタ");
    Shift("M01     ", "20240410", 480, "080000", "170000");
    db.connection().Run(std::string("UPDATE 機械別勤務体系マスタ SET ") + c.column + "=?",
                        {c.value});
    try {
      Load();
      ADD_FAILURE() << "the load took the value";
    } catch (const ConversionError& e) {
      EXPECT_THAT(e.what(), ::testing::HasSubstr(c.says));
    }
  }
}

TEST_F(RowLoader, FirstShiftAtTenIsAcceptedOneSecondLaterEndsTheProgram) {
  Machine("M01     ", "成形機1号");
  Shift("M01     ", "20240410", 420, "100000", "170000");
  {
    test::ScriptedMessages messages;
    Load();
    EXPECT_TRUE(messages.shown().empty());
  }
  Shift("M01     ", "20240411", 420, "100001", "170000");
  test::ScriptedMessages messages;
  try {
    Load();
    FAIL() << "a late first shift must end the program";
  } catch (const ProgramEnd& end) {
    EXPECT_NE(0, end.status);
  }
  ASSERT_EQ(1u, messages.shown().size());
  EXPECT_EQ("M01     の計画におかしい情報が存在します。日付:20240411", messages.shown()[0].text);
  EXPECT_FALSE(messages.shown()[0].question);
  EXPECT_EQ(Tone::Plain, messages.shown()[0].tone);
}

}  // namespace
}  // namespace velmora
