// Opening the plan change: the parent items that share the plan's component, their existing
// arrangements and the machines.
#include <optional>
#include <unordered_map>

#include "common/date_text.h"
#include "common/numeric.h"
#include "common/questions.h"
#include "common/text.h"
#include "db/recordset.h"
#include "db/sql_text.h"
#include "lotdetail/plan_change.h"
#include "lotdetail/plan_window.h"
#include "lotdetail/process_dialogs.h"

namespace velmora::lotdetail {
namespace {

constexpr std::size_t kParentCodeWidth = 25;

// Loaded entries by their members' numbers.
std::unordered_map<std::int32_t, const PlanEntry*> LoadedMembers(const PlanData& data) {
  std::unordered_map<std::int32_t, const PlanEntry*> loaded;
  for (int i = 2; i <= data.PlanCount(); ++i) {
    const PlanEntry& p = data.PlanTable[static_cast<std::size_t>(i)];
    if (p.InUse <= 0) continue;
    for (const MemberGroup* group : {&p.A, &p.B}) {
      for (int k = 1; k <= group->Stored(); ++k) {
        if ((*group)[k].OrderNo != 0) loaded.emplace((*group)[k].OrderNo, &p);
      }
    }
  }
  return loaded;
}

// MList and KList: every arrangement of the parent items at the plan's step, as the plan table
// holds it when it is loaded.
void FillArrangements(PlanChange& dialog, db::Connection& connection, const PlanData& data,
                      const std::string& component, const PlanEntry& e) {
  const auto loaded = LoadedMembers(data);
  const std::int32_t own = static_cast<std::int32_t>(Val(dialog.memberNo));
  db::Recordset rs;
  rs.Open(std::string("SELECT 手配情報.*,品目マスタ.型番名 ") +
              " FROM (手配情報 INNER JOIN 構成マスタ ON "
              "構成マスタ.上位品名コード=手配情報.品名コード AND "
              "構成マスタ.生産工場コード=手配情報.生産工場コード) " +
              " LEFT JOIN 品目マスタ ON 手配情報.品名コード=品目マスタ.品名コード " +
              " WHERE 下位品名コード='" + db::SqlText(component) +
              "' AND 手配情報.生産工場コード=" + std::to_string(data.PlantCode) +
              " AND 手配情報.順序=" + std::to_string(e.Seq) + " AND 手配情報.削除フラグ='0' " +
              " ORDER BY 納期 ",
          connection);
  for (; !rs.Eof(); rs.MoveNext()) {
    const auto number = static_cast<std::int32_t>(rs.Fields("手配番号").Number());
    std::string model = Trim(rs.Fields("型番名").Text());
    std::string quantity = rs.Fields("手配数").Text();
    std::string place = rs.Fields("ラインコード").Text();
    if (const auto it = loaded.find(number); it != loaded.end()) {
      model = Trim(it->second->ModelName);
      quantity = std::to_string(it->second->OrderQty);
      place = it->second->MachineCode;
    }
    const std::string head =
        StoredMonthDay(rs.Fields("納期").Text()) + " " + std::to_string(number);
    const bool free = Trim(place).empty();
    std::vector<std::string>& list = free ? dialog.MList : dialog.KList;
    list.push_back(head + (free ? "" : " " + Trim(place)) + " " + model + " " + quantity);
    if (number == own)
      (free ? dialog.MListIndex : dialog.KListIndex) = static_cast<int>(list.size()) - 1;
  }
  rs.Close();
}

// The component of parent item `item` by the bill of materials, or nothing (after telling the
// user) when it has none.
std::optional<std::string> ComponentOf(db::Connection& connection, const std::string& item,
                                       Questions& questions) {
  db::Recordset rs;
  rs.Open("SELECT * FROM 構成マスタ WHERE 上位品名コード='" + db::SqlText(item) + "'", connection);
  if (rs.Eof()) {
    rs.Close();
    questions.Tell({kNoBillOfMaterials});
    return std::nullopt;
  }
  std::string component = rs.Fields("下位品名コード").Text();
  rs.Close();
  return component;
}

}  // namespace

// The parent items of `component` with their model names and stock: one row for each of the
// steps s1 and s2 they have a routing row for.
std::string ParentItemsSql(const std::string& component, std::int16_t plant, std::int16_t s1,
                           std::int16_t s2) {
  return std::string("SELECT 構成マスタ.上位品名コード,品目マスタ.型番名,在庫情報.現在庫数 ") +
         " FROM (((構成マスタ INNER JOIN 品目マスタ ON "
         "構成マスタ.上位品名コード=品目マスタ.品名コード) " +
         " INNER JOIN 工程手順マスタ ON 構成マスタ.上位品名コード=工程手順マスタ.品名コード "
         "AND 構成マスタ.生産工場コード=工程手順マスタ.生産工場コード) " +
         " LEFT JOIN 在庫情報 ON 在庫情報.品名コード=工程手順マスタ.品名コード AND "
         "在庫情報.順序=工程手順マスタ.順序 AND "
         "在庫情報.生産工場ｺｰﾄﾞ=工程手順マスタ.生産工場コード) " +
         " WHERE 下位品名コード='" + db::SqlText(component) +
         "' AND 工程手順マスタ.生産工場コード=" + std::to_string(plant) +
         " AND (工程手順マスタ.順序=" + std::to_string(s1) +
         " OR 工程手順マスタ.順序=" + std::to_string(s2) + ") AND 工程手順マスタ.削除フラグ='0' ";
}

std::shared_ptr<PlanChange> OpenPlanChange(editing::EditContext& ctx, PlanWindow& window) {
  const auto found = window.LastEntry();
  if (!found || ctx.connection == nullptr) return nullptr;
  db::Connection& connection = *ctx.connection;
  const PlanData& data = ctx.data;
  const PlanEntry& e = data.Plan(*found);
  const bool inner = e.A[1].Seq != 0;
  const std::int16_t s1 = inner ? e.A[1].Seq : e.B[1].Seq;
  const std::int16_t s2 = inner ? e.A[2].Seq : e.B[2].Seq;
  const int processes = s2 != 0 ? 2 : 1;

  std::string item = e.ItemCode;
  if (CharCount(item) < kParentCodeWidth) item = PadRight(item, kParentCodeWidth);
  const std::optional<std::string> component = ComponentOf(connection, item, ctx.questions);
  if (!component) return nullptr;

  db::Recordset rs;
  rs.Open(ParentItemsSql(*component, data.PlantCode, s1, s2), connection);
  if (rs.Eof()) {
    rs.Close();
    ctx.questions.Tell({kSequenceMismatch});
    return nullptr;
  }
  auto dialog = std::make_shared<PlanChange>(ctx, window);
  // A parent qualifies when it has a routing row for each of the plan's steps.
  std::string group;
  int rows = 0;
  for (; !rs.Eof(); rs.MoveNext()) {
    const std::string parent = rs.Fields("上位品名コード").Text();
    rows = parent == group ? rows + 1 : 1;
    group = parent;
    if (rows != processes) continue;
    const db::Field stock = rs.Fields("現在庫数");
    dialog->AddParent(rs.Fields("型番名").Text(), stock.IsNull() ? "0" : stock.Text(), parent);
  }
  rs.Close();

  dialog->memberNo = StartingMemberWord(window);
  FillArrangements(*dialog, connection, data, *component, e);
  dialog->machineChoices = window.machineChoices;
  dialog->machine.clear();
  return dialog;
}

}  // namespace velmora::lotdetail
