#include "plandata/row_loader.h"

#include <limits>
#include <string>

#include "common/date_text.h"
#include "common/errors.h"
#include "common/numeric.h"
#include "common/text.h"
#include "plandata/calendar_reader.h"
#include "plandata/db_names.h"

namespace velmora {
namespace {

int AppendRow(PlanData& data, std::string code, std::string caption) {
  const int r = data.RowCount + 1;
  if (r > std::numeric_limits<std::int16_t>::max()) {
    throw ConversionError("作業区(機械・部課・外注先)が多すぎます。1つの工程分類で表示できるのは " +
                          std::to_string(std::numeric_limits<std::int16_t>::max()) +
                          " 行までです。");
  }
  data.RowCount = static_cast<std::int16_t>(r);
  data.RowTop.resize(static_cast<std::size_t>(r + 1));
  data.RowCode.resize(static_cast<std::size_t>(r + 1));
  data.RowCaption.resize(static_cast<std::size_t>(r + 1));
  data.RowTop[static_cast<std::size_t>(r)] = RowTopFor(r);
  data.RowCode[static_cast<std::size_t>(r)] = std::move(code);
  data.RowCaption[static_cast<std::size_t>(r)] = std::move(caption);
  data.SizeCalendars(r);
  return r;
}

// A carriage return before the first occurrence of `mark`, so a company form goes on its own line.
void BreakBefore(std::string& caption, std::string_view mark) {
  const std::size_t at = caption.find(mark);
  if (at != std::string::npos) caption.insert(at, "\r");
}

}  // namespace

void InputTopPosition(PlanData& data, db::Connection& connection, db::Recordset& lKikaiSet,
                      Questions& questions) {
  data.RowCount = 1;
  data.RowTop.assign(2, 0);
  data.RowCode.assign(2, "");
  data.RowCaption.assign(2, "");
  data.RowTop[1] = kFirstRowTop;
  data.RowCode[1] = "        ";
  data.RowCaption[1] = "";

  const std::int64_t days = (data.PeriodEndDate() - data.PeriodStartDate()).Days();
  // The calendars hold a day index in 16 bits.
  if (days + 3 > std::numeric_limits<std::int16_t>::max()) {
    throw ConversionError("期間が長すぎます。期間は約89年(32764日)以内にしてください。");
  }
  data.DayCount = static_cast<std::int16_t>(days + 3);
  data.SizeCalendars(1);
  data.Stored.ClearDays();

  for (; !lKikaiSet.Eof(); lKikaiSet.MoveNext()) {
    const std::string code = lKikaiSet.Fields(dbname::kMachineCode).Text();
    const int r =
        AppendRow(data, code, Trim(code) + " " + lKikaiSet.Fields(dbname::kMachineName).Text());
    ReadMachineCalendar(data, connection, r, code, questions);
  }
}

void InputTopPosition3(PlanData& data, db::Recordset& lKikaiSet) {
  for (; !lKikaiSet.Eof(); lKikaiSet.MoveNext()) {
    const std::string code = lKikaiSet.Fields(dbname::kDepartmentCode).Text();
    AppendRow(data, code, code + " " + lKikaiSet.Fields(dbname::kDepartmentName).Text());
  }
}

void InputTopPosition2(PlanData& data, db::Recordset& lKikaiSet) {
  for (; !lKikaiSet.Eof(); lKikaiSet.MoveNext()) {
    const std::string code = lKikaiSet.Fields(dbname::kSupplierCode).Text();
    std::string caption = code + "\r" + lKikaiSet.Fields(dbname::kSupplierShortName).Text();
    BreakBefore(caption, "(");
    BreakBefore(caption, "（");
    AppendRow(data, code, std::move(caption));
  }
  if (data.RowCount < kVisibleRows) {
    // Filler rows: empty code and caption, top 0.
    data.RowCount = kVisibleRows;
    data.RowTop.resize(kVisibleRows + 1, 0);
    data.RowCode.resize(kVisibleRows + 1);
    data.RowCaption.resize(kVisibleRows + 1);
    data.SizeCalendars(kVisibleRows);
  }
}

void ComputeWorkCenterLimit(PlanData& data, double barHeight) {
  data.WorkCenterLimit.assign(static_cast<std::size_t>(data.RowCount) + 1, 0);
  const double gap = data.RowTop[2] - (data.RowTop[1] + barHeight);
  for (int r = 1; r <= data.RowCount; ++r) {
    data.WorkCenterLimit[static_cast<std::size_t>(r)] =
        data.RowTop[static_cast<std::size_t>(r)] + barHeight + gap / 2;
  }
}

}  // namespace velmora
