#pragma once

#include <string>

#include "../chart/chart_world.h"
#include "common/questions.h"
#include "db/recordset.h"
#include "saving/plan_save.h"
#include "support/scripted_messages.h"
#include "support/test_db.h"

namespace velmora::test {

// A database with the full schema and the miniature chart of ChartWorld (plant 3): entries are
// added with their arrangement rows, and the save runs against the real file.
class SaveWorld : public ChartWorld {
 public:
  explicit SaveWorld(Engine engine = Engine::File) : db(engine) {
    data.PlantCode = 3;
    db.Insert("番号管理マスタ", {{"番号管理キー", "手配番号            "},
                                 {"現在番号", 5000},
                                 {"開始番号", 1},
                                 {"終了番号", 9999999}});
    db.Insert("機械マスタ", {{"機械コード", "M01     "}, {"指示先コード", "0301        "}});
    db.Insert("機械マスタ", {{"機械コード", "M02     "}, {"指示先コード", ""}});
    db.Insert("部課マスタ", {{"部コード", 3}, {"課コード", 0}});
    db.Insert("部課マスタ", {{"部コード", 3}, {"課コード", 2}});
    db.Insert("部課マスタ", {{"部コード", 3}, {"課コード", 5}});
    db.Insert("仕入先マスタ", {{"仕入先コード", "0301        "}, {"仕入先分類", "1"}});
    db.Insert("仕入先マスタ", {{"仕入先コード", "0302        "}, {"仕入先分類", "1"}});
    db.Insert("仕入先マスタ", {{"仕入先コード", "S001"}, {"仕入先分類", "2"}});
  }

  // An arrangement row and a changed entry carrying it as its one member.
  int Entry(int orderNo, const std::string& machine, std::string_view start, std::string_view end,
            std::int32_t qty = 100) {
    db.Insert("手配情報", {{"手配番号", orderNo},
                           {"品名コード", "ITEM-A"},
                           {"順序", 1},
                           {"手配数", qty},
                           {"指示先コード", "0301        "}});
    const int i = AddPlan(machine, start, end);
    PlanEntry& p = Plan(i);
    p.OrderNo = orderNo;
    p.ItemCode = "ITEM-A";
    p.Seq = 1;
    p.OrderQty = qty;
    p.DestinationCode = "0301        ";
    p.FixedFlag = "0";
    p.Changed = 1;
    Member& m = p.A.Slot(1);
    m.OrderNo = orderNo;
    m.ItemCode = "ITEM-A";
    m.Seq = 1;
    m.OrderQty = qty;
    return i;
  }

  saving::SaveResult Save(std::string user = "tanaka042") { return SaveOn(db.connection(), user); }
  // The save through another connection to the same database.
  saving::SaveResult SaveOn(db::Connection& connection, std::string user = "tanaka042") {
    saving::SaveContext context{
        data, model, connection, test::TestQuestions(), std::move(user), At("2024/12/10 13:45:30")};
    return saving::SavePlan(context);
  }

  std::string Column(int orderNo, const std::string& column) {
    return db
        .Scalar("SELECT \"" + column + "\" FROM 手配情報 WHERE 手配番号=" + std::to_string(orderNo))
        .Text();
  }
  std::string Sql(const std::string& sql) { return db.Scalar(sql).Text(); }

  // The arrangement row as this copy reads it now: the save compares with that.
  void ReadRow(int orderNo) {
    db::Recordset rs;
    rs.Open("SELECT * FROM 手配情報 WHERE 手配番号=" + std::to_string(orderNo), db.connection());
    data.Stored.SetArrangement(orderNo, rs.RowFingerprint(0, rs.FieldCount()));
  }

  TestDb db;
};

}  // namespace velmora::test
