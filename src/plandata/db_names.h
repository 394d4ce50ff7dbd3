#pragma once

// Table and column names of the production-planning database, in one place.
// The SQL texts spell them inline; field reads use these constants.

namespace velmora::dbname {

// Tables
inline constexpr const char* kArrangements = "手配情報";
inline constexpr const char* kProductionPlans = "生産計画情報";
inline constexpr const char* kItems = "品目マスタ";
inline constexpr const char* kRoutings = "工程手順マスタ";
inline constexpr const char* kProcessContents = "工程内容マスタ";
inline constexpr const char* kMoldedProducts = "成形品マスタ";
inline constexpr const char* kMachineCycles = "品目別機械別ｻｲｸﾙﾏｽﾀ";
inline constexpr const char* kMachines = "機械マスタ";
inline constexpr const char* kMachineCalendars = "機械別勤務体系マスタ";
inline constexpr const char* kDepartments = "部課マスタ";
inline constexpr const char* kSuppliers = "仕入先マスタ";
inline constexpr const char* kDestinationCategories = "指示先別工程分類";
inline constexpr const char* kCategories = "工程分類マスタ";
inline constexpr const char* kNumberRanges = "番号管理マスタ";
inline constexpr const char* kRequirements = "所要量情報";
inline constexpr const char* kPurchasePrices = "仕入単価マスタ";
inline constexpr const char* kOrderRelations = "手配受注関係情報";
inline constexpr const char* kSalesOrders = "納期別受注情報";
inline constexpr const char* kRequirementPlans = "納期別所要計画情報";
inline constexpr const char* kCustomers = "得意先マスタ";
inline constexpr const char* kBillOfMaterials = "構成マスタ";
inline constexpr const char* kStock = "在庫情報";

// 手配情報 and the columns the plan load reads (with its aliases)
inline constexpr const char* kOrderNo = "手配番号";
inline constexpr const char* kParentOrderNo = "上位手配番号";
inline constexpr const char* kPlanNo = "生産計画番号";
inline constexpr const char* kItemCode = "品名コード";
inline constexpr const char* kSeq = "順序";
inline constexpr const char* kPlantCode = "生産工場コード";
inline constexpr const char* kMachineCode = "機械コード";
inline constexpr const char* kDestinationCode = "指示先コード";
inline constexpr const char* kStartDay = "開始日";
inline constexpr const char* kDueDay = "納期";
inline constexpr const char* kGanttStartTime = "GNT開始時刻";
inline constexpr const char* kGanttEndTime = "GNT終了時刻";
inline constexpr const char* kGanttInitialDue = "GNT初期納期";
inline constexpr const char* kGanttMinutes = "GNT所要時間（分）";
inline constexpr const char* kSetupTime = "段取時間";
inline constexpr const char* kOrderQty = "手配数";
inline constexpr const char* kReceivedQty = "受入実績数";
inline constexpr const char* kLastResultDay = "最終実績日";
inline constexpr const char* kSheetIssueDay = "指示書発行日";
inline constexpr const char* kWorkers = "必要人員";
inline constexpr const char* kResultTime = "実績時間";
inline constexpr const char* kMoldNo = "金型番号";
inline constexpr const char* kConfirmClass = "手配確定区分";
inline constexpr const char* kCompletionClass = "完納区分";
inline constexpr const char* kSchedulerFixedClass = "スケジューラ固定区分";
inline constexpr const char* kDeleteFlag = "削除フラグ";

inline constexpr const char* kModelName = "型番名";
inline constexpr const char* kPackQty = "包装単位数量";
inline constexpr const char* kProcessName = "工程内容名";
inline constexpr const char* kCategoryCode = "工程分類コード";
inline constexpr const char* kPlanQty = "計画数";
inline constexpr const char* kPlanItemCode = "品名コード2";
inline constexpr const char* kPreferredCycle = "優先サイクル";
inline constexpr const char* kProductivity = "生産性";
inline constexpr const char* kMoldCycle = "リサイクル";
inline constexpr const char* kCavities = "取数";
inline constexpr const char* kShotWeight = "ショット重量";
inline constexpr const char* kSetupBefore = "前段取時間";
inline constexpr const char* kSetupAfter = "後段取時間";
// The masters' own names of the values the query renames
inline constexpr const char* kStoredCycle = "サイクル";  // 品目別機械別ｻｲｸﾙﾏｽﾀ
inline constexpr const char* kStoredModelName = "品名＿品名仕様";       // 品目マスタ
inline constexpr const char* kStoredProductivity = "標準生産性＿機械";  // 工程手順マスタ

// Rows and calendars
inline constexpr const char* kMachineName = "機械名";
inline constexpr const char* kDepartmentCode = "部コード";
inline constexpr const char* kDepartmentName = "部名";
inline constexpr const char* kSupplierCode = "仕入先コード";
inline constexpr const char* kSupplierShortName = "仕入先名略名";
inline constexpr const char* kCalendarDay = "年月日";
inline constexpr const char* kWorkTime = "勤務時間";
inline constexpr const char* kShift1Start = "開始時刻１";
inline constexpr const char* kShift1End = "終了時刻１";
inline constexpr const char* kShift2Start = "開始時刻２";
inline constexpr const char* kShift2End = "終了時刻２";

// Categories
inline constexpr const char* kCategoryName = "工程分類名";

}  // namespace velmora::dbname
