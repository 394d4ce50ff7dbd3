#include <gtest/gtest.h>

#include <array>
#include <tuple>

#include "plandata/calendar_reader.h"
#include "save_world.h"

namespace velmora::test {
namespace {

using saving::SaveResult;

TEST(Save, ExistingRowsTakeTheEntrysPlace) {
  SaveWorld w;
  ScriptedMessages messages;
  const int p = w.Entry(101, "M01     ", "2024/12/03 09:00:00", "2024/12/04 10:30:00");
  w.Plan(p).DurationMinutes = 570;
  w.Plan(p).SetupMinutes = 25;
  w.Plan(p).Workers = 3;
  w.Plan(p).InitialDueDate = {};  // no initial due date
  w.Plan(p).A.Slot(1).ItemCode = "ITEM-B";
  const int untouched = w.Entry(102, "M02     ", "2024/12/05 09:00:00", "2024/12/05 10:00:00");
  w.Plan(untouched).Changed = 0;

  EXPECT_EQ(w.Save(), SaveResult::Complete);
  EXPECT_TRUE(messages.shown().empty());
  const std::pair<const char*, const char*> expected[] = {
      {"機械コード", "M01     "},  {"指示先コード", "0301        "},
      {"手配数", "100"},           {"品名コード", "ITEM-B"},
      {"開始日", "20241203"},      {"GNT開始時刻", "090000"},
      {"納期", "20241204"},        {"GNT終了時刻", "103000"},
      {"GNT初期納期", "00000000"}, {"GNT所要時間（分）", "570"},
      {"段取時間", "25"},          {"削除フラグ", "0"},
      {"必要人員", "3"},           {"手配区分", "3"},
      {"社内社外区分", "1"},       {"手配確定区分", "2"},
      {"生産工場コード", "3"},     {"完納区分", "0"},
  };
  for (const auto& [column, value] : expected) EXPECT_EQ(w.Column(101, column), value) << column;
  EXPECT_EQ(w.Plan(p).Changed, 0);
  EXPECT_EQ(w.Column(102, "開始日"), "00000000");  // not changed: not written
}

// Where the work goes: the machine's destination, the plant's first section for an unknown
// machine, a department's first section for its one digit; then the destination's class.
TEST(Save, DestinationAndClassification) {
  struct Case {
    const char* name;
    const char* machine;
    const char* destination;
    const char* writtenMachine;
    const char* writtenDestination;
    const char* kind;  // 手配区分
    const char* confirm;
    const char* plant;
  } cases[] = {
      {"machine with a destination", "M01     ", "", "M01     ", "0301        ", "3", "2", "3"},
      {"machine without one keeps the entry's", "M02     ", "0302        ", "M02     ",
       "0302        ", "3", "2", "3"},
      {"unknown machine: the plant's first section", "M09     ", "S001", "M09     ", "0302        ",
       "3", "2", "3"},
      {"one digit: the department's first section, no machine", "        ", "3", "        ",
       "0302        ", "3", "1", "3"},
      {"one-character machine is written blank", "X", "0301        ", "        ", "0302        ",
       "3", "1", "3"},
      {"subcontractor", "        ", "S001", "        ", "S001", "2", "2", "3"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SaveWorld w;
    ScriptedMessages messages;
    const int p = w.Entry(101, c.machine, "2024/12/03 09:00:00", "2024/12/03 10:00:00");
    w.Plan(p).DestinationCode = c.destination;
    ASSERT_EQ(w.Save(), SaveResult::Complete);
    EXPECT_EQ(w.Column(101, "機械コード"), c.writtenMachine);
    EXPECT_EQ(w.Column(101, "指示先コード"), c.writtenDestination);
    EXPECT_EQ(w.Column(101, "手配区分"), c.kind);
    EXPECT_EQ(w.Column(101, "手配確定区分"), c.confirm);
    EXPECT_EQ(w.Column(101, "生産工場コード"), c.plant);
    EXPECT_EQ(w.Plan(p).DestinationCode, c.writtenDestination);
  }
}

TEST(Save, OutsideWorkTakesTheLatestPrice) {
  struct Case {
    const char* name;
    bool priceRows;
    double storedPrice;
    const char* price;
    const char* amount;
    const char* priceClass;
  } cases[] = {
      {"the latest start date wins, with its class", true, 0, "12.5", "1250", "2"},
      {"no price row: zero", false, 0, "0", "0", "0"},
      {"a price already on the row stays", true, 9, "9", "0", "0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SaveWorld w;
    ScriptedMessages messages;
    if (c.priceRows) {
      w.db.Insert("仕入単価マスタ", {{"取引先コード", "S001"},
                                     {"品名コード", "ITEM-A"},
                                     {"順序", 1},
                                     {"開始日", "20240101"},
                                     {"単価", 10.0},
                                     {"単価区分", "3"}});
      w.db.Insert("仕入単価マスタ", {{"取引先コード", "S001"},
                                     {"品名コード", "ITEM-A"},
                                     {"順序", 1},
                                     {"開始日", "20240601"},
                                     {"単価", 12.5},
                                     {"単価区分", "2"}});
    }
    const int p = w.Entry(101, "        ", "2024/12/03 09:00:00", "2024/12/03 10:00:00");
    w.db.connection().ExecuteScript("UPDATE 手配情報 SET 単価=" + std::to_string(c.storedPrice));
    w.Plan(p).DestinationCode = "S001";
    ASSERT_EQ(w.Save(), SaveResult::Complete);
    EXPECT_EQ(w.Column(101, "単価"), c.price);
    EXPECT_EQ(w.Column(101, "金額"), c.amount);
    EXPECT_EQ(w.Column(101, "単価区分"), c.priceClass);
    EXPECT_EQ(w.Column(101, "社内社外区分"), "2");
    EXPECT_EQ(w.Column(101, "仕入区分"), "2");
  }
}

TEST(Save, RequirementQuantitiesFollowTheSlotQuantity) {
  struct Case {
    const char* name;
    std::int32_t qty;
    double numerator, denominator;
    const char* needed;
    const char* deleted;
  } cases[] = {
      {"no denominator: 3 x 0.3334 rounds to 1", 3, 0.3334, 0, "1", "0"},
      {"a third of ten", 10, 1, 3, "3.333", "0"},
      {"quantity 0 deletes", 0, 1, 1, "0", "1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SaveWorld w;
    ScriptedMessages messages;
    const int p = w.Entry(101, "M01     ", "2024/12/03 09:00:00", "2024/12/03 10:00:00", c.qty);
    (void)p;
    w.db.Insert("所要量情報", {{"上位手配番号", 101},
                               {"手配番号", 900},
                               {"原単位分子", c.numerator},
                               {"原単位分母", c.denominator}});
    ASSERT_EQ(w.Save(), SaveResult::Complete);
    EXPECT_EQ(w.Sql("SELECT 必要数 FROM 所要量情報"), c.needed);
    EXPECT_EQ(w.Sql("SELECT 削除フラグ FROM 所要量情報"), c.deleted);
    EXPECT_EQ(w.Sql("SELECT 確定区分 FROM 所要量情報"), "2");
    EXPECT_EQ(w.Column(101, "削除フラグ"), c.deleted);
  }
}

TEST(Save, CycleMasterAndCompletion) {
  SaveWorld w;
  ScriptedMessages messages;
  const int added = w.Entry(101, "M01     ", "2024/12/03 09:00:00", "2024/12/03 10:00:00");
  w.Plan(added).CycleSeconds = 12.5;
  w.Plan(added).Cavities = 2;  // the master holds seconds per shot
  w.db.Insert("手配情報", {{"手配番号", 102}, {"品名コード", "ITEM-C"}, {"順序", 2}});
  const int kept = w.Entry(103, "M02     ", "2024/12/04 09:00:00", "2024/12/04 10:00:00");
  w.db.connection().ExecuteScript(
      "UPDATE 手配情報 SET 品名コード='ITEM-C', 順序=2 WHERE 手配番号=103");
  w.db.Insert("品目別機械別ｻｲｸﾙﾏｽﾀ", {{"品名コード", "ITEM-C"},
                                      {"順序", 2},
                                      {"機械コード", "M02     "},
                                      {"サイクル", 1.0},
                                      {"削除フラグ", "1"}});
  w.Plan(kept).CycleSeconds = 7.5;
  w.Plan(kept).Cavities = 4;
  w.Plan(kept).Hidden = 1;
  w.Plan(kept).A.Slot(1).ItemCode = "";
  ASSERT_EQ(w.Save("sato7"), SaveResult::Complete);

  EXPECT_EQ(w.Sql("SELECT サイクル || '/' || 削除フラグ FROM 品目別機械別ｻｲｸﾙﾏｽﾀ WHERE "
                  "品名コード='ITEM-A'"),
            "25.0/0");
  EXPECT_EQ(w.Sql("SELECT サイクル || '/' || 削除フラグ FROM 品目別機械別ｻｲｸﾙﾏｽﾀ WHERE "
                  "品名コード='ITEM-C'"),
            "30.0/0");
  // Hidden: completed and stamped with the account's last three characters.
  EXPECT_EQ(w.Column(103, "完納区分"), "2");
  EXPECT_EQ(w.Column(103, "更新日"), "20241210");
  EXPECT_EQ(w.Column(103, "更新時刻"), "134530");
  EXPECT_EQ(w.Column(103, "更新プログラム"), "to7");
  EXPECT_EQ(w.Column(103, "更新端末番号"), "0");  // "to7" has no leading number
  EXPECT_EQ(w.Column(101, "完納区分"), "0");
}

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
    ReadMachineCalendar(w.data, w.db.connection(), 2, "M01     ");
    for (int s = 1; s <= 8; ++s) {
      EXPECT_EQ(FormatColonTime(w.data.ShiftTimes(2, s, day)),
                FormatColonTime(saved.ShiftTimes(2, s, day)))
          << "slot " << s;
    }
    EXPECT_EQ(w.data.WorkMinutes(2, day), c.minutes);
    EXPECT_EQ(w.Sql("SELECT COUNT(*) FROM 機械別勤務体系マスタ"), std::to_string(c.rows));
  }
}

// New members are numbered in slot order, copied with their requirement rows and chained to
// each other as their sources were; a second save writes them as the rows they now are.
TEST(Save, NewMembersAreNumberedAndChained) {
  struct Case {
    const char* name;
    int parentOf201, parentOf202, parentOf203;  // the sources' chain
    std::vector<std::int32_t> parents;          // of the new rows 5001..5003
  } cases[] = {
      {"each source's next step is the next source", 202, 203, 0, {5002, 5003, 0}},
      {"each source names the one before", 0, 201, 202, {0, 5001, 5002}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SaveWorld w;
    ScriptedMessages messages;
    const int p = w.Entry(101, "M01     ", "2024/12/03 09:00:00", "2024/12/03 10:00:00");
    const int parents[] = {c.parentOf201, c.parentOf202, c.parentOf203};
    for (int k = 0; k < 3; ++k) {
      w.db.Insert("手配情報", {{"手配番号", 201 + k},
                               {"上位手配番号", parents[k]},
                               {"品名コード", "PART-" + std::to_string(k)},
                               {"受入実績数", 5},
                               {"指示書発行日", "20241101"}});
      w.db.Insert("所要量情報",
                  {{"上位手配番号", 201 + k}, {"手配番号", 700 + k}, {"必要数", 2.0}});
      Member& m = w.Plan(p).A.Slot(2 + k);
      m.OrderNo = -(k + 1);
      m.SourceOrderNo = 201 + k;
      m.OrderQty = 40;
    }
    ASSERT_EQ(w.Save(), SaveResult::Complete);
    for (int k = 0; k < 3; ++k) {
      const int number = 5001 + k;
      EXPECT_EQ(w.Plan(p).A[2 + k].OrderNo, number);
      EXPECT_EQ(w.Plan(p).A[2 + k].SourceOrderNo, 0);
      EXPECT_EQ(w.Column(number, "上位手配番号"),
                std::to_string(c.parents[static_cast<std::size_t>(k)]));
      EXPECT_EQ(w.Column(number, "品名コード"), "PART-" + std::to_string(k));
      EXPECT_EQ(w.Column(number, "受入実績数"), "0");
      EXPECT_EQ(w.Column(number, "指示書発行日"), "00000000");
      EXPECT_EQ(w.Column(number, "手配数"), "40");
      EXPECT_EQ(
          w.Sql("SELECT COUNT(*) FROM 所要量情報 WHERE 上位手配番号=" + std::to_string(number)),
          "1");
    }
    EXPECT_EQ(w.Sql("SELECT 現在番号 FROM 番号管理マスタ"), "5003");

    // The same edits saved again: the three rows are existing ones now, nothing new is made.
    w.Plan(p).Changed = 1;
    const std::string rows = w.Sql("SELECT COUNT(*) FROM 手配情報");
    ASSERT_EQ(w.Save(), SaveResult::Complete);
    EXPECT_EQ(w.Sql("SELECT COUNT(*) FROM 手配情報"), rows);
    EXPECT_EQ(w.Sql("SELECT 現在番号 FROM 番号管理マスタ"), "5003");
  }
}

TEST(Save, AnEntryKnownByItsNewMemberTakesItsNumber) {
  SaveWorld w;
  ScriptedMessages messages;
  const int p = w.Entry(101, "M01     ", "2024/12/03 09:00:00", "2024/12/03 10:00:00");
  w.db.Insert("手配情報", {{"手配番号", 201}, {"品名コード", "PART-0"}});
  Member& m = w.Plan(p).A.Slot(1);
  m.OrderNo = -1;
  m.SourceOrderNo = 201;
  m.OrderQty = 40;
  w.Plan(p).OrderNo = -1;
  ASSERT_EQ(w.Save(), SaveResult::Complete);
  EXPECT_EQ(w.Plan(p).OrderNo, 5001);
  EXPECT_EQ(w.Plan(p).A[1].OrderNo, 5001);
}

// Two plans on one mold at overlapping times: the user decides.
TEST(Save, MoldConflict) {
  struct Case {
    const char* name;
    const char* otherStart;
    const char* otherFixed;
    std::vector<ui::Answer> answers;
    SaveResult result;
    bool asked;
    const char* machineAfter;  // of the first entry
    const char* otherAfter;
  } cases[] = {
      {"accepted",
       "2024/12/03 09:30:00",
       "0",
       {ui::Answer::Yes},
       SaveResult::Complete,
       true,
       "M01     ",
       "M02     "},
      {"declined: both leave their machines",
       "2024/12/03 09:30:00",
       "0",
       {ui::Answer::No},
       SaveResult::Interrupted,
       true,
       "        ",
       "        "},
      {"declined, the other fixed: it stays",
       "2024/12/03 09:30:00",
       "2",
       {ui::Answer::No},
       SaveResult::Interrupted,
       true,
       "        ",
       "M02     "},
      {"touching intervals do not conflict",
       "2024/12/03 10:00:00",
       "0",
       {},
       SaveResult::Complete,
       false,
       "M01     ",
       "M02     "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SaveWorld w;
    ScriptedMessages messages;
    for (ui::Answer a : c.answers) messages.Answer(a);
    const int first = w.Entry(101, "M01     ", "2024/12/03 09:00:00", "2024/12/03 10:00:00");
    const int other = w.Entry(102, "M02     ", c.otherStart, "2024/12/03 12:00:00");
    const int later = w.Entry(103, "M03     ", "2024/12/05 09:00:00", "2024/12/05 10:00:00");
    w.Plan(first).MoldNo = w.Plan(other).MoldNo = "K-1";
    w.Plan(other).Changed = 0;  // only changed entries start the check
    w.Plan(other).FixedFlag = c.otherFixed;
    w.data.CalendarChanged(2, 3) = 1;
    w.db.Insert("機械別勤務体系マスタ", {{"機械コード", "M01     "}, {"年月日", "20241203"}});
    w.data.WorkMinutes(2, 3) = 333;

    EXPECT_EQ(w.Save(), c.result);
    std::vector<std::string> shown;
    if (c.asked) shown.push_back(saving::kMoldConflictQuestion);
    if (c.result == SaveResult::Interrupted) shown.push_back(saving::kSaveInterrupted);
    EXPECT_EQ(messages.texts(), shown);
    if (c.asked) {
      EXPECT_EQ(messages.shown()[0].title, saving::kMoldConflictTitle);
      EXPECT_EQ(messages.shown()[0].style, ui::kYesNo | ui::kDefaultButton2);
    }
    EXPECT_EQ(w.Plan(first).MachineCode, c.machineAfter);
    EXPECT_EQ(w.Plan(other).MachineCode, c.otherAfter);
    // A plan taken off its machine is changed, so the next save writes where it now stands.
    EXPECT_EQ(w.Plan(other).Changed, std::string(c.otherAfter) != "M02     " ? 1 : 0);
    // Declined: the walk stops before the first entry; what follows stays to be saved; the
    // calendars are still written.
    const bool stopped = c.result == SaveResult::Interrupted;
    EXPECT_EQ(w.Plan(first).Changed, stopped ? 1 : 0);
    EXPECT_EQ(w.Plan(later).Changed, stopped ? 1 : 0);
    EXPECT_EQ(w.Sql("SELECT 勤務時間 FROM 機械別勤務体系マスタ"), "333");
    saving::AfterSave(w.data, c.result);
    EXPECT_EQ(w.data.Edits.CanSave(), stopped);  // nothing left unsaved without a question
  }
}

// Numbering that cannot go on stores nothing of the save (not the entries before it, not the
// shortened lot without its new one, not the calendars) and names the numbering row.
TEST(Save, NumberingThatCannotGoOnStoresNothing) {
  struct Case {
    const char* name;
    const char* setup;  // SQL run on the world before the save
    const char* says;   // part of the message
  } cases[] = {
      {"no numbering row", "DELETE FROM 番号管理マスタ", saving::kNoNumbering},
      {"the last 32-bit number",
       "UPDATE 番号管理マスタ SET 現在番号=2147483647,終了番号=3000000000", "2147483648"},
      {"past the end number", "UPDATE 番号管理マスタ SET 現在番号=9999999", "10000000"},
      {"below the start number", "UPDATE 番号管理マスタ SET 開始番号=6000", "5001"},
      {"a number already taken", "INSERT INTO 手配情報 (手配番号) VALUES (5001)", "既に"},
      {"a current number that is no whole number", "UPDATE 番号管理マスタ SET 現在番号=12.5",
       "整数"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SaveWorld w;
    ScriptedMessages messages;
    w.db.Insert("手配情報", {{"手配番号", 201}});
    const int plain = w.Entry(101, "M01     ", "2024/12/03 09:00:00", "2024/12/03 10:00:00");
    const int split = w.Entry(102, "M02     ", "2024/12/04 09:00:00", "2024/12/04 10:00:00");
    Member& fresh = w.Plan(split).A.Slot(2);
    fresh.OrderNo = -1;
    fresh.SourceOrderNo = 201;
    fresh.OrderQty = 10;
    w.data.CalendarChanged(2, 3) = 1;
    w.data.WorkMinutes(2, 3) = 333;
    w.db.connection().ExecuteScript(c.setup);
    const std::string numbers = w.Sql("SELECT 現在番号 FROM 番号管理マスタ");
    const std::string rows = w.Sql("SELECT COUNT(*) FROM 手配情報");

    EXPECT_EQ(w.Save(), SaveResult::Failed);
    ASSERT_EQ(messages.texts().size(), 1u);
    EXPECT_EQ(messages.texts()[0].rfind(saving::kSaveFailed, 0), 0u);
    EXPECT_NE(messages.texts()[0].find(saving::kNoNumbering), std::string::npos);
    EXPECT_NE(messages.texts()[0].find(c.says), std::string::npos) << messages.texts()[0];
    EXPECT_EQ(w.Column(101, "開始日"), "00000000");
    EXPECT_EQ(w.Sql("SELECT COUNT(*) FROM 手配情報"), rows);
    EXPECT_EQ(w.Sql("SELECT 現在番号 FROM 番号管理マスタ"), numbers);
    EXPECT_EQ(w.Sql("SELECT COUNT(*) FROM 機械別勤務体系マスタ"), "0");
    EXPECT_EQ(w.Plan(plain).Changed, 1);
    EXPECT_EQ(w.Plan(split).A[2].OrderNo, -1);
    EXPECT_EQ(w.Plan(split).A[2].SourceOrderNo, 201);
  }
}

// A database failure in the middle writes nothing and leaves the table as before the save.
TEST(Save, ADatabaseFailureWritesNothing) {
  SaveWorld w;
  ScriptedMessages messages;
  const int a = w.Entry(101, "M01     ", "2024/12/03 09:00:00", "2024/12/03 10:00:00");
  const int b = w.Entry(102, "M02     ", "2024/12/04 09:00:00", "2024/12/04 10:00:00");
  Member& fresh = w.Plan(a).A.Slot(2);
  fresh.OrderNo = -1;
  fresh.SourceOrderNo = 102;
  fresh.OrderQty = 10;
  w.db.connection().ExecuteScript(
      "CREATE TRIGGER refuse BEFORE UPDATE ON 手配情報 WHEN NEW.手配番号=102 "
      "BEGIN SELECT RAISE(ABORT, 'refused'); END;");
  const std::vector<PlanEntry> before(w.data.PlanTable);
  w.data.Edits.MarkEdited();

  EXPECT_EQ(w.Save(), SaveResult::Failed);
  ASSERT_EQ(messages.shown().size(), 1u);
  EXPECT_EQ(messages.texts()[0].rfind(saving::kSaveFailed, 0), 0u);
  EXPECT_TRUE(w.data.PlanTable == before);
  EXPECT_EQ(w.Column(101, "開始日"), "00000000");
  EXPECT_EQ(w.Sql("SELECT COUNT(*) FROM 手配情報"), "2");
  EXPECT_EQ(w.Sql("SELECT 現在番号 FROM 番号管理マスタ"), "5000");
  saving::AfterSave(w.data, SaveResult::Failed);
  EXPECT_TRUE(w.data.Edits.CanSave());
  (void)b;
}

// The two retried writes give up with their message and the save goes on; a failed attempt
// leaves nothing behind.
TEST(Save, RetriedWritesGiveUpAndTheSaveGoesOn) {
  SaveWorld w;
  ScriptedMessages messages;
  const int p = w.Entry(101, "M01     ", "2024/12/03 09:00:00", "2024/12/03 10:00:00");
  w.Plan(p).CycleSeconds = 3;
  w.db.Insert("手配情報", {{"手配番号", 201}});
  w.db.Insert("所要量情報", {{"上位手配番号", 201}, {"手配番号", 1}});
  w.db.Insert("所要量情報", {{"上位手配番号", 201}, {"手配番号", 2}});
  Member& fresh = w.Plan(p).A.Slot(2);
  fresh.OrderNo = -1;
  fresh.SourceOrderNo = 201;
  fresh.OrderQty = 10;
  w.db.connection().ExecuteScript(
      "CREATE TRIGGER no_cycle BEFORE INSERT ON 品目別機械別ｻｲｸﾙﾏｽﾀ BEGIN SELECT RAISE(ABORT, "
      "'x'); END;"
      "CREATE TRIGGER no_copy BEFORE INSERT ON 所要量情報 BEGIN SELECT RAISE(ABORT, 'x'); END;");
  EXPECT_EQ(w.Save(), SaveResult::Complete);
  // Each slot's cycle row fails on its own; the copy of the new member's rows gives up once.
  EXPECT_EQ(messages.texts(),
            (std::vector<std::string>{saving::kCycleRowFailed, saving::kRequirementCopyFailed,
                                      saving::kCycleRowFailed}));
  EXPECT_EQ(w.Column(101, "開始日"), "20241203");
  EXPECT_EQ(w.Column(5001, "開始日"), "20241203");
  EXPECT_EQ(w.Sql("SELECT COUNT(*) FROM 所要量情報"), "2");
  EXPECT_EQ(w.Sql("SELECT COUNT(*) FROM 品目別機械別ｻｲｸﾙﾏｽﾀ"), "0");
}

}  // namespace
}  // namespace velmora::test
