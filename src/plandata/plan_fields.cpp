#include "plandata/plan_fields.h"

#include <algorithm>
#include <array>
#include <vector>

#include "common/date_text.h"
#include "common/numeric.h"
#include "common/text.h"
#include "plandata/blank_codes.h"
#include "plandata/db_names.h"
#include "plandata/plan_row_reader.h"

namespace velmora {
namespace {

namespace n = dbname;

// Reading a column straight into a member of the entry.
template <auto Member>
void ReadInt32(PlanEntry& e, const PlanRowReader& row, int position) {
  e.*Member = row.Int32(position);
}
template <auto Member>
void ReadText(PlanEntry& e, const PlanRowReader& row, int position) {
  e.*Member = row.Text(position);  // Null reads as ""
}
template <auto Member>
void ReadTime(PlanEntry& e, const PlanRowReader& row, int position) {
  e.*Member = row.Time(position);
}

// A member's text in plans.csv.
template <auto Member>
std::string Number(const PlanEntry& e) {
  return std::to_string(static_cast<long long>(e.*Member));
}
template <auto Member>
std::string Verbatim(const PlanEntry& e) {
  return e.*Member;
}
template <auto Member>
std::string Single(const PlanEntry& e) {
  return ShortestText(e.*Member);
}
template <auto Member>
std::string Day(const PlanEntry& e) {
  return FormatSlashDate(e.*Member);
}
template <auto Member>
std::string DayOrEmpty(const PlanEntry& e) {
  return FormatOptionalSlashDate(e.*Member);
}
template <auto Member>
std::string Clock(const PlanEntry& e) {
  return FormatColonTime(e.*Member);
}
// The member arrangements' numbers, "300632|300645".
template <auto Group>
std::string Members(const PlanEntry& e) {
  const MemberGroup& group = e.*Group;
  std::string out;
  for (int k = 1; k <= group.Stored(); ++k) {
    if (group[k].OrderNo == 0) continue;
    if (!out.empty()) out += "|";
    out += std::to_string(group[k].OrderNo);
  }
  return out;
}

// The row's caption as the chart shows it, on one line.
std::string RowCaptionOf(const PlanData& data, const PlanEntry& plan) {
  for (int r = 1; r <= data.RowCount && !IsBlank(plan.MachineCode); ++r) {
    if (data.RowCode[static_cast<std::size_t>(r)] != plan.MachineCode) continue;
    std::string caption = data.RowCaption[static_cast<std::size_t>(r)];
    for (char& c : caption) {
      if (c == '\r' || c == '\n') c = ' ';
    }
    return caption;
  }
  return RowNameOf(plan);
}

std::string StateOf(const PlanEntry& plan) {
  std::string text = plan.IsConfirmed() ? "確定" : "仮";
  if (plan.IsLocked()) text += "・固定";
  if (plan.IsEndFixed()) text += "・終了固定";
  if (plan.Changed == 1) text += "・未保存";
  return text;
}

using E = PlanEntry;
using D = const PlanData&;

// clang-format off
const PlanField kFields[] = {
  {.header = "BarIndex", .text = Number<&E::BarIndex>},
  {.column = {n::kOrderNo}, .header = "OrderNo", .text = Number<&E::OrderNo>,
   .tipLabel = "手配番号", .tipLine = 1, .tip = [](D, const E& e) { return std::to_string(e.OrderNo); }},
  {.column = {n::kMachineCode}, .header = "MachineCode", .text = Verbatim<&E::MachineCode>,
   .tipLabel = "機械", .tipLine = 4, .tip = RowCaptionOf},
  {.column = {n::kDestinationCode}, .read = ReadText<&E::DestinationCode>,
   .header = "DestinationCode", .text = Verbatim<&E::DestinationCode>},
  {.column = {n::kStartDay}, .header = "StartDate", .text = Day<&E::StartDate>,
   .tipLabel = "開始", .tipLine = 5, .tip = [](D, const E& e) { return MomentText(e.Start()); }},
  {.column = {n::kGanttStartTime}, .read = ReadTime<&E::StartTime>,
   .header = "StartTime", .text = Clock<&E::StartTime>},
  {.column = {n::kDueDay}, .header = "EndDate", .text = Day<&E::EndDate>,
   .tipLabel = "終了", .tipLine = 6, .tip = [](D, const E& e) { return MomentText(e.End()); }},
  {.column = {n::kGanttEndTime}, .read = ReadTime<&E::EndTime>,
   .header = "EndTime", .text = Clock<&E::EndTime>},
  {.column = {n::kGanttMinutes}, .header = "DurationMinutes", .text = Number<&E::DurationMinutes>},
  {.column = {n::kProductivity, Home::Routing, n::kStoredProductivity},
   .header = "CycleSeconds", .text = Single<&E::CycleSeconds>},
  {.column = {n::kSetupTime}, .header = "SetupMinutes", .text = Number<&E::SetupMinutes>},
  {.column = {n::kConfirmClass}, .header = "ConfirmFlag", .text = Verbatim<&E::ConfirmFlag>,
   .tipLabel = "状態", .tipLine = 9, .tip = [](D, const E& e) { return StateOf(e); }},
  {.column = {n::kSchedulerFixedClass}, .header = "FixedFlag", .text = Verbatim<&E::FixedFlag>},
  {.column = {n::kOrderQty}, .header = "OrderQty", .text = Number<&E::OrderQty>,
   .tipLabel = "数量", .tipLine = 8, .tip = [](D, const E& e) { return std::to_string(e.OrderQty); }},
  {.column = {n::kReceivedQty}, .header = "ReceivedQty", .text = Number<&E::ReceivedQty>},
  {.column = {n::kPlanQty, Home::ProductionPlan}, .read = ReadInt32<&E::PlanQty>,
   .header = "PlanQty", .text = Number<&E::PlanQty>},
  {.header = "PlanNoText", .text = Verbatim<&E::PlanNoText>},
  {.column = {n::kPlanItemCode, Home::ProductionPlan, n::kItemCode},
   .header = "PlanItemCode", .text = Verbatim<&E::PlanItemCode>},
  {.column = {n::kItemCode}, .header = "ItemCode", .text = Verbatim<&E::ItemCode>,
   .tipLabel = "品名", .tipLine = 2,
   .tip = [](D, const E& e) { return Trim(e.ItemCode) + " " + Trim(e.ModelName); }},
  {.column = {n::kSeq}, .header = "Seq", .text = Number<&E::Seq>},
  {.column = {n::kModelName, Home::Item, n::kStoredModelName},
   .header = "ModelName", .text = Verbatim<&E::ModelName>},
  {.column = {n::kProcessName, Home::ProcessContent},
   .header = "ProcessName", .text = Verbatim<&E::ProcessName>,
   .tipLabel = "工程", .tipLine = 3, .tip = [](D, const E& e) { return Trim(e.ProcessName); }},
  {.column = {n::kGanttInitialDue}, .header = "InitialDueDate", .text = DayOrEmpty<&E::InitialDueDate>,
   .tipLabel = "納期", .tipLine = 7,
   .tip = [](D, const E& e) {
     return e.InitialDueDate.IsZero() ? std::string("なし") : FormatSlashDate(e.InitialDueDate);
   }},
  {.column = {n::kLastResultDay}, .header = "LastResultDate", .text = DayOrEmpty<&E::LastResultDate>},
  {.column = {n::kSheetIssueDay}, .read = ReadText<&E::SheetIssueDate>,
   .header = "SheetIssueDate", .text = Verbatim<&E::SheetIssueDate>},
  {.column = {n::kMoldNo}, .read = ReadText<&E::MoldNo>, .header = "MoldNo", .text = Verbatim<&E::MoldNo>},
  {.column = {n::kMoldCycle, Home::MoldedProduct}, .header = "MoldCycle", .text = Single<&E::MoldCycle>},
  {.column = {n::kCavities, Home::MoldedProduct}, .header = "Cavities", .text = Number<&E::Cavities>},
  {.column = {n::kShotWeight, Home::MoldedProduct}, .header = "PieceWeight", .text = Number<&E::PieceWeight>},
  {.column = {n::kPackQty, Home::Item}, .read = ReadInt32<&E::PackQty>,
   .header = "PackQty", .text = Number<&E::PackQty>},
  {.column = {n::kWorkers}, .read = ReadInt32<&E::Workers>, .header = "Workers", .text = Number<&E::Workers>},
  {.column = {n::kResultTime}, .read = ReadInt32<&E::ResultMinutes>,
   .header = "ResultMinutes", .text = Number<&E::ResultMinutes>},
  {.header = "ItemKind", .text = Verbatim<&E::ItemKind>},
  {.header = "InUse", .text = Number<&E::InUse>},
  {.header = "Hidden", .text = Number<&E::Hidden>},
  {.header = "Changed", .text = Number<&E::Changed>},
  {.header = "OrderNoA", .text = Members<&E::A>},
  {.header = "OrderNoB", .text = Members<&E::B>},
  // Kept for the step order between arrangements; neither exported nor on the tip.
  {.column = {n::kParentOrderNo}, .read = ReadInt32<&E::ParentOrderNo>},
  // Read only to compute or place the fields above.
  {.column = {n::kPlanNo}},
  {.column = {n::kPlantCode}},
  {.column = {n::kCompletionClass}},
  {.column = {n::kDeleteFlag}},
  {.column = {n::kCategoryCode, Home::ProcessContent}},
  {.column = {n::kPreferredCycle, Home::MachineCycle, n::kStoredCycle}},
  {.column = {n::kSetupBefore, Home::MoldedProduct}},
  {.column = {n::kSetupAfter, Home::MoldedProduct}},
};
// clang-format on

}  // namespace

const char* TableOf(Home home) {
  switch (home) {
    case Home::Item:
      return n::kItems;
    case Home::ProcessContent:
      return n::kProcessContents;
    case Home::ProductionPlan:
      return n::kProductionPlans;
    case Home::MachineCycle:
      return n::kMachineCycles;
    case Home::Routing:
      return n::kRoutings;
    case Home::MoldedProduct:
      return n::kMoldedProducts;
    case Home::Arrangement:
      break;
  }
  return n::kArrangements;
}

std::span<const PlanField> PlanFields() {
  return kFields;
}

std::span<const PlanField* const> TipFields() {
  static const std::vector<const PlanField*> tip = [] {
    std::vector<const PlanField*> fields;
    for (const PlanField& field : kFields) {
      if (field.tipLabel) fields.push_back(&field);
    }
    std::stable_sort(fields.begin(), fields.end(), [](const PlanField* a, const PlanField* b) {
      return a->tipLine < b->tipLine;
    });
    return fields;
  }();
  return tip;
}

int JoinedColumnCount() {
  return static_cast<int>(std::count_if(std::begin(kFields), std::end(kFields),
                                        [](const PlanField& f) { return f.column.IsJoined(); }));
}

std::string MomentText(DateTime at) {
  return FormatSlashDate(at.DatePart()) + " " + FormatColonTime(at.TimePart()).substr(0, 5);
}

std::string RowNameOf(const PlanEntry& plan) {
  if (IsBlank(plan.MachineCode)) return "未計画";
  return Trim(plan.MachineCode);
}

}  // namespace velmora
