#include "editing/stretch_bar.h"

#include "chart/bar_layout.h"
#include "common/questions.h"
#include "db/recordset.h"
#include "db/sql_text.h"
#include "editing/row_code_at.h"
#include "plandata/row_lookup.h"
#include "worktime/production_minutes.h"

namespace velmora::editing {
namespace {

// The first row's value of `column`, a missing value read as 0; nothing when no row comes back.
std::optional<double> FirstNumber(db::Connection& connection, const std::string& sql,
                                  const char* column) {
  db::Recordset rs;
  rs.Open(sql, connection, db::CursorType::ForwardOnly, db::LockType::ReadOnly);
  if (rs.Eof()) return std::nullopt;
  return rs.Fields(column).Number();
}

}  // namespace

RowCycle LookUpCycle(const PlanData& data, db::Connection& connection, const PlanEntry& p,
                     const std::string& workNo) {
  RowCycle cycle;
  if (IsBlank(workNo)) return cycle;
  const int row = RowOfCode(data, workNo);
  cycle.machineRow = row <= data.MachineRowCount;
  std::optional<double> value;
  if (!cycle.machineRow) {
    value = FirstNumber(connection,
                        "SELECT 工程手順マスタ.* " + std::string(" FROM 工程手順マスタ ") +
                            " WHERE 品名コード='" + db::SqlText(p.ItemCode) +
                            "' AND 順序=" + std::to_string(p.Seq) + " ",
                        "標準生産性＿機械");
  } else {
    value = FirstNumber(connection,
                        "SELECT 品目別機械別ｻｲｸﾙﾏｽﾀ.* " +
                            std::string(" FROM 品目別機械別ｻｲｸﾙﾏｽﾀ ") + " WHERE 品名コード='" +
                            db::SqlText(p.ItemCode) + "' AND 順序=" + std::to_string(p.Seq) +
                            " AND 機械コード='" + db::SqlText(workNo) + "'",
                        "サイクル");
  }
  if (!value) {
    cycle.kind = RowCycle::Kind::NoRow;
  } else if (*value == 0) {
    cycle.kind = RowCycle::Kind::Zero;
  } else {
    cycle.kind = RowCycle::Kind::Found;
    cycle.seconds = *value;
  }
  return cycle;
}

bool ApplyCycle(PlanEntry& p, const RowCycle& cycle) {
  if (cycle.kind != RowCycle::Kind::Found) return false;
  const float shots = p.Cavities != 0 ? static_cast<float>(p.Cavities) : 1.0f;
  if (cycle.machineRow) {
    p.MoldCycle = static_cast<float>(cycle.seconds);
    p.CycleSeconds = static_cast<float>(cycle.seconds) / shots;
  } else {
    p.CycleSeconds = static_cast<float>(cycle.seconds);
    p.MoldCycle = static_cast<float>(cycle.seconds) * shots;
  }
  p.DurationMinutes = ProductionMinutes(p.SetupMinutes, p.CycleSeconds, p.OrderQty);
  return true;
}

void StretchBar(EditContext& ctx, BarIdx bar, const std::string& workNo) {
  if (IsBlank(workNo)) return;
  const PlanIdx k = chart::FindPlanByBar(ctx.data, bar);
  if (k.value == 0 || ctx.connection == nullptr) return;
  const RowCycle cycle = LookUpCycle(ctx.data, *ctx.connection, ctx.data.Plan(k), workNo);
  if (cycle.kind == RowCycle::Kind::NoRow && cycle.machineRow) {
    ctx.questions.Tell({kNoCycleOnLine});
    return;
  }
  if (cycle.kind != RowCycle::Kind::Found) return;
  ApplyCycle(ctx.Edit(k), cycle);
}

const RowCycle& CycleCache::Get(const PlanData& data, db::Connection& connection,
                                const PlanEntry& p, const std::string& workNo) {
  const auto key = std::make_tuple(p.ItemCode, p.Seq, workNo);
  auto found = cache_.find(key);
  if (found == cache_.end()) {
    found = cache_.emplace(key, LookUpCycle(data, connection, p, workNo)).first;
  }
  return found->second;
}

}  // namespace velmora::editing
