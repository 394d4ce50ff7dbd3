#include "plandata/plan_data.h"

#include "common/date_text.h"
#include "common/errors.h"

namespace velmora {
namespace {

constexpr const char* kDateFormHint = "「2024/04/10」のように年・月・日を入力してください。";

}  // namespace

std::optional<std::string> PeriodProblem(std::string_view start, std::string_view end) {
  const std::optional<DateTime> from = ParseDateText(start);
  if (!from) {
    return "期間の開始日「" + std::string(start) + "」は日付ではありません。" + kDateFormHint;
  }
  const std::optional<DateTime> to = ParseDateText(end);
  if (!to) return "期間の終了日「" + std::string(end) + "」は日付ではありません。" + kDateFormHint;
  if (*to < *from) {
    return std::string(
        "期間の終了日が開始日より前です。終了日には開始日以降の日付を入力してください。");
  }
  return std::nullopt;
}

void PlanData::SetPeriod(std::string_view start, std::string_view end) {
  if (std::optional<std::string> problem = PeriodProblem(start, end))
    throw ConversionError(*problem);
  const DateTime from = *ParseDateText(start);
  const DateTime to = *ParseDateText(end);
  periodStart_ = start;
  periodEnd_ = end;
  periodStartDate_ = from;
  periodEndDate_ = to;
}

void PlanData::ResetPlanTable() {
  PlanTable.assign(2, PlanEntry{});
  PlanTable[1].BarIndex = 0;
  PlanTable[1].MachineCode = "0";
}

}  // namespace velmora
