#include "plandata/plan_data.h"

#include "common/date_text.h"
#include "common/errors.h"

namespace velmora {
namespace {

constexpr const char* kDateFormHint = "「2024/04/10」のように年・月・日を入力してください。";

// The period's dates, or why it cannot be planned.
std::optional<std::string> ReadPeriod(std::string_view start, std::string_view end, DateTime& from,
                                      DateTime& to) {
  const std::optional<DateTime> first = ParseDateText(start);
  if (!first) {
    return "期間の開始日「" + std::string(start) + "」は日付ではありません。" + kDateFormHint;
  }
  const std::optional<DateTime> last = ParseDateText(end);
  if (!last)
    return "期間の終了日「" + std::string(end) + "」は日付ではありません。" + kDateFormHint;
  if (*last < *first) {
    return std::string(
        "期間の終了日が開始日より前です。終了日には開始日以降の日付を入力してください。");
  }
  from = *first;
  to = *last;
  return std::nullopt;
}

}  // namespace

std::optional<std::string> PeriodProblem(std::string_view start, std::string_view end) {
  DateTime from, to;
  return ReadPeriod(start, end, from, to);
}

void PlanData::SetPeriod(std::string_view start, std::string_view end) {
  DateTime from, to;
  if (std::optional<std::string> problem = ReadPeriod(start, end, from, to))
    throw ConversionError(*problem);
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
