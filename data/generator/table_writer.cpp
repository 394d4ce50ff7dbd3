#include "generator/table_writer.h"

#include "common/date_text.h"
#include "common/errors.h"
#include "common/format.h"

namespace velmora::demo {
namespace {

using db::Value;

Value Int(std::int64_t v) {
  return Value(v);
}
Value Flag(bool set) {
  return Value(set ? "1" : "0");
}
Value Text(const std::optional<std::string>& v) {
  return v ? Value(*v) : Value();
}

void WriteMasters(db::Connection& c, const DemoWorld& world) {
  const Plant& plant = world.plant;
  RowInserter departments(c, "部課マスタ", {"部コード", "課コード", "部名", "削除フラグ"});
  for (const Department& d : plant.departments)
    departments.Insert({Int(d.code), Int(d.section), d.name, Flag(d.deleted)});

  RowInserter categories(c, "工程分類マスタ", {"工程分類コード", "工程分類名", "削除フラグ"});
  for (const Category& k : plant.categories) categories.Insert({k.code, k.name, Flag(k.deleted)});

  RowInserter contents(c, "工程内容マスタ", {"工程内容コード", "工程内容名", "工程分類コード"});
  for (const ProcessContent& p : plant.contents) contents.Insert({p.code, p.name, p.category});

  RowInserter machines(
      c, "機械マスタ",
      {"機械コード", "機械名", "生産工場コード", "工程分類コード", "指示先コード", "削除フラグ"});
  for (const Machine& m : plant.machines) {
    machines.Insert({m.code, m.name, Int(m.plant), m.category, m.destination, Flag(m.deleted)});
  }

  RowInserter suppliers(c, "仕入先マスタ",
                        {"仕入先コード", "仕入先名略名", "仕入先分類", "削除フラグ"});
  RowInserter destinations(c, "指示先別工程分類", {"指示先コード", "工程分類コード"});
  for (const Supplier& s : plant.suppliers) {
    suppliers.Insert({s.code, s.shortName, s.supplierClass, Flag(s.deleted)});
    for (const std::string& category : s.categories) destinations.Insert({s.code, category});
  }

  RowInserter customers(c, "得意先マスタ", {"得意先コード", "得意先略名"});
  for (const Customer& k : plant.customers) customers.Insert({k.code, k.shortName});

  RowInserter calendar(
      c, "機械別勤務体系マスタ",
      {"機械コード", "年月日", "勤務時間", "開始時刻１", "終了時刻１", "開始時刻２", "終了時刻２"});
  for (const CalendarRow& r : world.calendar) {
    calendar.Insert({r.machine, r.day, Int(r.minutes), r.start1, r.end1, r.start2, r.end2});
  }
}

void WriteCatalog(db::Connection& c, const DemoWorld& world) {
  const Catalog& catalog = world.catalog;
  RowInserter items(
      c, "品目マスタ",
      {"品名コード", "品名＿品名仕様", "型番名", "型番名仕様ＡＮＫ", "包装単位数量", "品名略称"});
  RowInserter routing(
      c, "工程手順マスタ",
      {"品名コード", "順序", "生産工場コード", "工程内容コード", "標準生産性＿機械", "削除フラグ"});
  RowInserter molding(c, "成形品マスタ",
                      {"品名コード", "順序", "部コード", "リサイクル", "取数", "ショット重量",
                       "前段取時間", "後段取時間"});
  RowInserter cycles(c, "品目別機械別ｻｲｸﾙﾏｽﾀ",
                     {"品名コード", "順序", "機械コード", "サイクル", "削除フラグ"});
  for (const Item& item : catalog.items) {
    items.Insert(
        {item.code, item.name, item.model, item.modelAnk, Int(item.packQty), item.shortName});
    for (const RoutingStep& step : item.steps) {
      const bool otherPlant = item.otherPlantRouting && step.seq == 1;
      for (int plantCode : {world.plant.code, otherPlant ? world.plant.otherPlant : 0}) {
        if (plantCode == 0) continue;
        routing.Insert(
            {item.code, Int(step.seq), Int(plantCode), step.processCode, step.productivity, "0"});
        if (step.molded) {
          molding.Insert({item.code, Int(step.seq), Int(plantCode), step.moldCycle,
                          Int(step.cavities), step.shotWeight, Int(step.setupBefore),
                          Int(step.setupAfter)});
        }
      }
      for (const MachineCycle& cycle : step.cycles) {
        cycles.Insert({item.code, Int(step.seq),
                       world.plant.machines[static_cast<std::size_t>(cycle.machine)].code,
                       cycle.seconds, "0"});
      }
    }
  }
  RowInserter bom(c, "構成マスタ", {"上位品名コード", "下位品名コード", "生産工場コード"});
  for (const BomRow& b : catalog.bom) bom.Insert({b.parent, b.child, Int(b.plant)});
  RowInserter stock(c, "在庫情報", {"品名コード", "順序", "生産工場ｺｰﾄﾞ", "現在庫数"});
  for (const Stock& s : catalog.stock)
    stock.Insert({s.item, Int(s.seq), Int(s.plant), Int(s.quantity)});
  RowInserter prices(c, "仕入単価マスタ",
                     {"取引先コード", "品名コード", "順序", "開始日", "単価", "単価区分"});
  for (const PurchasePrice& p : catalog.prices)
    prices.Insert({p.supplier, p.item, Int(p.seq), p.startDay, p.price, p.priceClass});
}

void WriteArrangements(db::Connection& c, const DemoWorld& world) {
  RowInserter rows(c, "手配情報",
                   {"手配番号",
                    "上位手配番号",
                    "生産計画番号",
                    "品名コード",
                    "順序",
                    "生産工場コード",
                    "工程内容コード",
                    "機械コード",
                    "指示先コード",
                    "ラインコード",
                    "開始日",
                    "納期",
                    "GNT開始時刻",
                    "GNT終了時刻",
                    "GNT初期納期",
                    "GNT所要時間（分）",
                    "段取時間",
                    "手配数",
                    "受入実績数",
                    "最終実績日",
                    "指示書発行日",
                    "必要人員",
                    "実績時間",
                    "金型番号",
                    "手配確定区分",
                    "完納区分",
                    "スケジューラ固定区分",
                    "手配区分",
                    "社内社外区分",
                    "仕入区分",
                    "単価",
                    "金額",
                    "消費税額",
                    "合計金額",
                    "削除フラグ",
                    "ロット番号",
                    "登録日",
                    "登録担当者"});
  for (const Arrangement& a : world.orders.arrangements) {
    rows.Insert({Int(a.orderNo),
                 Int(a.parentOrderNo),
                 Int(a.planNo),
                 a.itemCode,
                 Int(a.seq),
                 Int(a.plant),
                 a.processCode,
                 a.machineCode,
                 a.destination,
                 a.lineCode,
                 a.startDay,
                 a.dueDay,
                 a.startTime,
                 a.endTime,
                 a.initialDue,
                 Int(a.minutes),
                 Int(a.setup),
                 Int(a.quantity),
                 Int(a.received),
                 a.lastResultDay,
                 a.sheetIssueDay,
                 Int(a.workers),
                 Int(a.resultMinutes),
                 Text(a.moldNo),
                 a.confirm,
                 a.completion,
                 a.fixed,
                 a.kind,
                 a.inOut,
                 a.purchase,
                 a.unitPrice,
                 a.amount,
                 a.tax,
                 a.total,
                 Flag(a.deleted),
                 a.lotNo,
                 a.registeredDay,
                 a.registeredBy});
  }
}

void WriteDemand(db::Connection& c, const DemoWorld& world) {
  const Orders& orders = world.orders;
  RowInserter plans(c, "生産計画情報", {"生産計画番号", "計画数", "品名コード"});
  for (const ProductionPlan& p : orders.plans)
    plans.Insert({Int(p.planNo), Int(p.quantity), p.item});
  RowInserter requirements(c, "所要量情報",
                           {"上位手配番号", "手配番号", "支給制御区分", "原単位分母", "原単位分子",
                            "必要数", "確定区分", "生産工場コード", "削除フラグ"});
  for (const Requirement& r : orders.requirements) {
    requirements.Insert({Int(r.parentOrderNo), Int(r.orderNo), r.supplyControl, r.denominator,
                         r.numerator, r.required, r.confirm, Int(r.plant), Flag(r.deleted)});
  }
  RowInserter sales(c, "納期別受注情報",
                    {"受注番号", "得意先コード", "品名コード", "納期", "受注数量", "出荷数量"});
  for (const SalesOrder& s : orders.salesOrders) {
    sales.Insert({Int(s.orderNo), s.customer, s.item, s.dueDay, Int(s.quantity), Int(s.shipped)});
  }
  RowInserter plansByDue(c, "納期別所要計画情報",
                         {"所要計画No", "得意先コード", "品名コード", "納期", "所要計画数量"});
  for (const RequirementPlan& p : orders.requirementPlans) {
    plansByDue.Insert({Int(p.planNo), p.customer, p.item, p.dueDay, Int(p.quantity)});
  }
  RowInserter relations(c, "手配受注関係情報", {"手配番号", "番号", "受注データ区分"});
  for (const OrderRelation& r : orders.relations)
    relations.Insert({Int(r.orderNo), Int(r.number), r.kind});

  // Number ranges: keys are 16 characters wide, blanks after the name.
  RowInserter ranges(c, "番号管理マスタ", {"番号管理キー", "現在番号", "開始番号", "終了番号"});
  ranges.Insert({std::string("手配番号") + std::string(12, ' '), Int(orders.lastOrderNo),
                 Int(orders.firstOrderNo), Int(9999999)});
  std::int64_t lastPlan = 0, lastOrder = 0;
  for (const ProductionPlan& p : orders.plans) lastPlan = std::max(lastPlan, p.planNo);
  for (const SalesOrder& s : orders.salesOrders) lastOrder = std::max(lastOrder, s.orderNo);
  ranges.Insert({std::string("生産計画番号") + std::string(10, ' '), Int(lastPlan), Int(300001),
                 Int(399999)});
  ranges.Insert(
      {std::string("受注番号") + std::string(12, ' '), Int(lastOrder), Int(500001), Int(799999)});
}

}  // namespace

RowInserter::RowInserter(db::Connection& connection, const std::string& table,
                         const std::vector<std::string>& columns)
    : connection_(connection), table_(table), columnCount_(columns.size()) {
  // Names stay unquoted, as every query of the program writes them, so that a server that folds
  // unquoted names finds the same columns.
  std::string names, marks;
  for (const std::string& column : columns) {
    if (!names.empty()) names += ",", marks += ",";
    names += column;
    marks += "?";
  }
  sql_ = "INSERT INTO " + table + " (" + names + ") VALUES (" + marks + ")";
}

void RowInserter::Insert(std::initializer_list<db::Value> values) {
  if (values.size() != columnCount_) {
    throw DatabaseError("inserting into " + table_ + ": " + std::to_string(values.size()) +
                        " values for " + std::to_string(columnCount_) + " columns");
  }
  connection_.Run(sql_, values);
}

void WriteWorld(db::Connection& connection, const DemoWorld& world) {
  WriteMasters(connection, world);
  WriteCatalog(connection, world);
  WriteArrangements(connection, world);
  WriteDemand(connection, world);
}

}  // namespace velmora::demo
