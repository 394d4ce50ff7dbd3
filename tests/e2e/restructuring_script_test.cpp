// Restructuring lots by script on the demo plant, saved: the exported members and the rows the
// save wrote for the new arrangements.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "db/connection.h"
#include "db/recordset.h"
#include "e2e/csv_file.h"
#include "e2e/script_fixture.h"

namespace velmora::test {
namespace {

using Record = std::map<std::string, std::string>;

// The members of the entry that holds arrangement `no`, slot by slot.
std::vector<Record> EntryOf(const Csv& members, const std::string& no) {
  const std::string entry = members.Find("OrderNo", no)["Entry"];
  std::vector<Record> out;
  for (auto& m : members.All()) {
    if (m["Entry"] == entry) out.push_back(m);
  }
  return out;
}

std::string Summary(const std::vector<Record>& members) {
  std::string out;
  for (auto m : members) {
    out += m["OrderNo"] + (m["SourceOrderNo"] != "0" ? "<" + m["SourceOrderNo"] : "") + ":" +
           m["OrderQty"] + " ";
  }
  return out;
}

// One column of one arrangement as the database holds it.
class Rows {
 public:
  explicit Rows(const std::string& target) { connection_.OpenTarget(target); }
  std::string Of(const std::string& no, const char* column) {
    return Sql(std::string("SELECT ") + column + " FROM 手配情報 WHERE 手配番号=" + no);
  }
  std::string Requirements(const std::string& no) {
    return Sql("SELECT COUNT(*) FROM 所要量情報 WHERE 上位手配番号=" + no);
  }
  std::string Sql(const std::string& sql) {
    db::Recordset rs;
    rs.Open(sql, connection_);
    return rs.Eof() ? "(none)" : rs.Fields(0).Text();
  }

 private:
  db::Connection connection_;
};

const char* const kSplitQuestion = "question\t分割の確認\tこの内容で分割を実施しますか？\tYes\n";

TEST_P(Scripts, LotSplitsAndAProcessSplitAreSavedAsNewChainedArrangements) {
  const ProgramRun run = Script(ScriptPath("restructure_lots.txt"), "10");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out,
            std::string(kSplitQuestion) + kSplitQuestion +
                "message\t\t分割する数の合計がロットの数量を上回るため、分割できません\tOK\n" +
                kSplitQuestion +
                "question\t\t移動したよりも前の計画と重複している期間があります。その計画"
                "の終了日時をこの計画の開始に設定しますか？\tNo\n");

  const Csv split(Out("split/members.csv"));
  const Csv plans(Out("split/plans.csv"));
  // Both steps split in part: the new lot's members arrive last line first.
  EXPECT_EQ(Summary(EntryOf(split, "1001171")), "1001171:1800 1001172:1800 ");
  EXPECT_EQ(Summary(EntryOf(split, "-1")), "-1<1001172:700 -2<1001171:700 ");
  // The second step on a bar of its own, a day later.
  EXPECT_EQ(Summary(EntryOf(split, "1001767")), "1001767:3050 ");
  EXPECT_EQ(Summary(EntryOf(split, "1001768")), "1001768:3050 ");
  EXPECT_EQ(plans.Find("OrderNo", "1001767")["StartDate"], "2024/05/26");
  Record moved = plans.Find("OrderNo", "1001768");
  EXPECT_EQ(moved["StartDate"] + " " + moved["StartTime"], "2024/05/27 15:20:00");
  // The first step whole keeps its number on the new lot; the second stays whole.
  EXPECT_EQ(Summary(EntryOf(split, "1001832")), "1001832:1500 ");
  EXPECT_EQ(Summary(EntryOf(split, "1001831")), "1001831:1500 ");

  // Saved: the new members are numbered one after another, in the order of the plan table.
  const Csv saved(Out("saved/members.csv"));
  const auto numbers = [&saved](const std::string& entry) {
    std::string out;
    for (auto m : saved.All()) {
      if (m["Entry"] == entry) out += m["OrderNo"] + (m["SourceOrderNo"] != "0" ? "<" : "") + " ";
    }
    return out;
  };
  const std::string lotEntry = split.Find("OrderNo", "-1")["Entry"];
  const int n = std::stoi(saved.Find("Entry", lotEntry)["OrderNo"]);
  const std::string n0 = std::to_string(n), n1 = std::to_string(n + 1);
  EXPECT_EQ(numbers(lotEntry), n0 + " " + n1 + " ");

  // Each new row is a copy of its source with its own quantity and requirement rows; the copy
  // of the first step names the copy of the second as its next step.
  Rows db(plant.target());
  const std::pair<std::string, std::string> copies[] = {{n0, "1001172"}, {n1, "1001171"}};
  for (const auto& [copy, source] : copies) {
    SCOPED_TRACE(copy + " from " + source);
    EXPECT_EQ(db.Of(copy, "品名コード"), db.Of(source, "品名コード"));
    EXPECT_EQ(db.Requirements(copy), db.Requirements(source));
    EXPECT_EQ(db.Requirements(copy), "1");
  }
  EXPECT_EQ(db.Of(n0, "手配数") + " " + db.Of(n1, "手配数"), "700 700");
  EXPECT_EQ(db.Of(n1, "上位手配番号"), n0);
  EXPECT_EQ(db.Of(n0, "上位手配番号"), db.Of("1001172", "上位手配番号"));
  EXPECT_EQ(db.Of("1001171", "手配数") + " " + db.Of("1001172", "手配数"), "1800 1800");
  EXPECT_EQ(db.Of("1001768", "開始日") + " " + db.Of("1001768", "GNT開始時刻"), "20240527 152000");
  EXPECT_EQ(db.Sql("SELECT 現在番号 FROM 番号管理マスタ WHERE 番号管理キー LIKE '手配番号%'"), n1);
}

TEST_P(Scripts, APlanChangeReLabelsTheLotAndMakesANewOneForTheOtherParent) {
  const ProgramRun run = Script(ScriptPath("plan_change.txt"));
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out,
            "question\t\t移動した先の後の計画と重複している期間があります。それらの計画を重複しない"
            "ように調整しますか？\tYes\n");

  const Csv members(Out("changed/members.csv"));
  const Csv plans(Out("changed/plans.csv"));
  Record relabelled = members.Find("OrderNo", "1001567");
  EXPECT_EQ(relabelled["ItemCode"], "FBM1029-6-GY1            ");
  EXPECT_EQ(relabelled["OrderQty"], "200");
  Record added = members.Find("OrderNo", "-1");
  EXPECT_EQ(added["SourceOrderNo"], "1001567");
  EXPECT_EQ(added["ItemCode"], "FBM1029-6-WH1            ");
  EXPECT_EQ(added["OrderQty"], "400");
  Record lot = plans.Find("OrderNo", "1001567");
  Record share = plans.Find("OrderNo", "-1");
  EXPECT_EQ(lot["MachineCode"] + lot["StartDate"], "M104    2024/05/21");
  EXPECT_EQ(share["MachineCode"] + share["StartDate"], "M103    2024/05/20");

  // Saved: the lot's row takes the new parent, the share is a new row copied from it.
  const Csv saved(Out("saved/members.csv"));
  const std::string number = saved.Find("Entry", added["Entry"])["OrderNo"];
  Rows db(plant.target());
  EXPECT_EQ(db.Of("1001567", "品名コード") + db.Of("1001567", "手配数") +
                db.Of("1001567", "機械コード") + db.Of("1001567", "開始日"),
            "FBM1029-6-GY1            200M104    20240521");
  EXPECT_EQ(db.Of(number, "品名コード") + db.Of(number, "手配数") + db.Of(number, "機械コード") +
                db.Of(number, "開始日"),
            "FBM1029-6-WH1            400M103    20240520");
  EXPECT_EQ(db.Of(number, "上位手配番号"), db.Of("1001567", "上位手配番号"));
  EXPECT_EQ(db.Requirements(number), db.Requirements("1001567"));
  EXPECT_EQ(db.Requirements(number), "1");
  // The bar is known by its new number from now on.
  EXPECT_EQ(Csv(Out("saved/plans.csv")).Find("index", added["Entry"])["OrderNo"], number);
}

}  // namespace
}  // namespace velmora::test
