#include "plandata/queries.h"

#include <algorithm>
#include <vector>

#include "common/date_text.h"
#include "common/format.h"
#include "db/sql_text.h"
#include "plandata/plan_fields.h"
#include "worktime/calendar_day.h"

namespace velmora {

using db::SqlText;

std::string CategoryCode00(const PlanData& data) {
  return FormatDigits(data.CategoryCode, "00");
}

std::string JoinedColumnList() {
  std::vector<const PlanColumn*> joined;
  for (const PlanField& field : PlanFields()) {
    if (field.column.IsJoined()) joined.push_back(&field.column);
  }
  std::stable_sort(joined.begin(), joined.end(),
                   [](const PlanColumn* a, const PlanColumn* b) { return a->home < b->home; });
  std::string list;
  for (const PlanColumn* column : joined) {
    list += std::string(",") + TableOf(column->home) + "." + column->StoredName();
    if (column->stored) list += std::string(" AS ") + column->name;
  }
  return list;
}

std::string PlanQueryText(const PlanData& data) {
  const std::string from = FormatYmd(DateOfCalendarDay(data.PeriodStartDate(), 0));
  const std::string to = FormatYmd(data.PeriodEndDate());
  std::string sql = "SELECT 手配情報.*" + JoinedColumnList() + " ";
  sql += " FROM (((((((";
  sql += "手配情報";
  sql += " LEFT JOIN 品目マスタ ON 手配情報.品名コード=品目マスタ.品名コード) ";
  sql += " LEFT JOIN 生産計画情報 ON 手配情報.生産計画番号=生産計画情報.生産計画番号) ";
  sql +=
      " INNER JOIN 工程手順マスタ ON 手配情報.品名コード=工程手順マスタ.品名コード AND "
      "手配情報.順序=工程手順マスタ.順序 AND "
      "手配情報.生産工場コード=工程手順マスタ.生産工場コード) ";
  sql +=
      " LEFT JOIN 成形品マスタ ON 手配情報.品名コード=成形品マスタ.品名コード AND "
      "手配情報.順序=成形品マスタ.順序 "
      "AND 手配情報.生産工場コード=成形品マスタ.部コード) ";
  sql +=
      " INNER JOIN 工程内容マスタ ON 工程手順マスタ.工程内容コード=工程内容マスタ.工程内容コード) ";
  sql +=
      " LEFT JOIN 品目別機械別ｻｲｸﾙﾏｽﾀ ON 手配情報.品名コード=品目別機械別ｻｲｸﾙﾏｽﾀ.品名コード AND "
      "手配情報.順序=品目別機械別ｻｲｸﾙﾏｽﾀ.順序 AND "
      "手配情報.機械コード=品目別機械別ｻｲｸﾙﾏｽﾀ.機械コード) ";
  sql += " LEFT JOIN 機械マスタ ON 手配情報.機械コード=機械マスタ.機械コード) ";
  // Only the category's arrangements are read, found through the category's routes. Rows
  // without a due or start day, and rows whose deletion flag is neither 0 nor 1, come too: the
  // loader refuses them rather than let them drop from the chart unseen.
  sql += " WHERE 工程内容マスタ.工程分類コード='" + SqlText(CategoryCode00(data)) + "'";
  sql += " AND ((手配情報.";
  sql += "納期";
  sql += " >= '" + from + "' OR 手配情報.納期 IS NULL) AND (手配情報.";
  sql += "開始日";
  sql += " <= '" + to + "' OR 手配情報.開始日 IS NULL)) ";
  sql += " AND (手配情報.削除フラグ<>'1' OR 手配情報.削除フラグ IS NULL) ";
  sql +=
      " ORDER BY "
      "手配情報.スケジューラ固定区分,手配情報.生産計画番号,手配情報.機械コード,手配情報.納期,"
      "手配情報.手配番号 DESC ";
  return sql;
}

std::string MachineQueryText(const PlanData& data) {
  return std::string("SELECT ") + "機械コード" + "," + "機械名" +
         " FROM 機械マスタ WHERE 生産工場コード=" + std::to_string(data.PlantCode) +
         " AND 工程分類コード='" + SqlText(CategoryCode00(data)) +
         "' AND 削除フラグ='0' ORDER BY " + "機械コード";
}

std::string DepartmentQueryText(const PlanData& data) {
  return std::string("SELECT 部コード,部名 FROM 部課マスタ  ") +
         " WHERE 削除フラグ='0' AND 部コード<>" + std::to_string(data.PlantCode) +
         " AND 部コード<>1 AND 課コード=0 ORDER BY 部コード";
}

std::string SubcontractorQueryText(const PlanData& data) {
  return std::string("SELECT ") + "仕入先コード" + "," + "仕入先名略名" +
         " FROM 仕入先マスタ INNER JOIN 指示先別工程分類 ON "
         "仕入先マスタ.仕入先コード=指示先別工程分類.指示先コード " +
         " WHERE 仕入先分類='2' AND 仕入先マスタ.削除フラグ='0' AND 工程分類コード='" +
         SqlText(CategoryCode00(data)) + "' ORDER BY " + "仕入先コード";
}

std::string CalendarQueryText(const PlanData& data, std::string_view machineCode) {
  const DateTime start = data.PeriodStartDate();
  return "SELECT * FROM 機械別勤務体系マスタ WHERE 機械コード='" + SqlText(machineCode) + "'" +
         " AND 年月日 BETWEEN '" + FormatYmd(DateOfCalendarDay(start, 0)) + "' AND '" +
         FormatYmd(DateOfCalendarDay(start, data.DayCount)) + "' ORDER BY 年月日,開始時刻１";
}

}  // namespace velmora
