#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>

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

}  // namespace
}  // namespace velmora::test
