#pragma once

#include <string>

#include "db/recordset.h"
#include "plandata/blank_codes.h"
#include "plandata/plan_entry.h"

// What the slot writer's files share: the statements a slot reads with, and two helpers.
namespace velmora::saving::slot_statements {

inline constexpr const char* kArrangement = "SELECT * FROM 手配情報 WHERE 手配番号=?";
inline constexpr const char* kRequirements = "SELECT * FROM 所要量情報 WHERE 上位手配番号=?";
inline constexpr const char* kFirstSupplyControl =
    "SELECT 支給制御区分 FROM 所要量情報 WHERE 上位手配番号=?";
inline constexpr const char* kKindOf = "SELECT 手配区分 FROM 手配情報 WHERE 手配番号=?";
inline constexpr const char* kChildKind = "SELECT 手配区分 FROM 手配情報 WHERE 上位手配番号=?";
inline constexpr const char* kCycle =
    "SELECT 品目別機械別ｻｲｸﾙﾏｽﾀ.* FROM 品目別機械別ｻｲｸﾙﾏｽﾀ WHERE 品名コード=? AND 順序=? AND "
    "機械コード=?";
inline constexpr const char* kPrice =
    "SELECT 単価,単価区分 FROM 仕入単価マスタ WHERE 取引先コード=? AND 品名コード=? AND 順序=? "
    "ORDER BY 開始日 DESC ";

// Whether the cycle master takes the entry's cycle on `machine`.
inline bool KeepsCycle(const PlanEntry& entry, const std::string& machine) {
  return entry.CycleSeconds != 0 && !IsBlank(machine);
}

inline void CopyFields(db::Recordset& from, db::Recordset& to) {
  for (int k = 0; k < from.FieldCount() && k < to.FieldCount(); ++k)
    to.Fields(k) = from.Fields(k).Get();
}

}  // namespace velmora::saving::slot_statements
