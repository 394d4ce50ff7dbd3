#include "automation/plan_csv.h"

#include <string>
#include <vector>

#include "automation/csv_writer.h"
#include "common/date_text.h"
#include "db/value.h"
#include "plandata/plan_fields.h"
#include "worktime/calendar_day.h"

namespace velmora {
namespace {

std::string Num(long long v) {
  return std::to_string(v);
}

std::string RowKind(const PlanData& data, int r) {
  if (r == 1) return "unplanned";
  if (data.RowCode[static_cast<std::size_t>(r)].empty() &&
      data.RowTop[static_cast<std::size_t>(r)] == 0) {
    return "filler";
  }
  if (r <= data.MachineRowCount) return "machine";
  if (r <= data.DepartmentRowEnd) return "department";
  return "subcontractor";
}

}  // namespace

void WritePlansCsv(const PlanData& data, std::ostream& out) {
  CsvWriter csv(out);
  std::vector<std::string> line = {"index"};
  for (const PlanField& field : PlanFields()) {
    if (field.header) line.emplace_back(field.header);
  }
  csv.Record(line);
  for (int i = 2; i <= data.PlanCount(); ++i) {
    const PlanEntry& e = data.PlanTable[static_cast<std::size_t>(i)];
    line = {Num(i)};
    for (const PlanField& field : PlanFields()) {
      if (field.header) line.push_back(field.text(e));
    }
    csv.Record(line);
  }
}

void WriteRowsCsv(const PlanData& data, std::ostream& out) {
  CsvWriter csv(out);
  csv.Record({"row", "RowCode", "RowCaption", "RowTop", "WorkCenterLimit", "kind"});
  for (int r = 1; r <= data.RowCount; ++r) {
    const auto i = static_cast<std::size_t>(r);
    const double limit = i < data.WorkCenterLimit.size() ? data.WorkCenterLimit[i] : 0;
    csv.Record({Num(r), data.RowCode[i], EscapedBreaks(data.RowCaption[i]),
                db::RealText(data.RowTop[i]), db::RealText(limit), RowKind(data, r)});
  }
}

void WriteMembersCsv(const PlanData& data, std::ostream& out) {
  CsvWriter csv(out);
  csv.Record({"Entry", "Group", "Slot", "OrderNo", "SourceOrderNo", "ItemCode", "Seq",
              "ProcessName", "ModelName", "PlanNo", "OrderQty", "ReceivedQty"});
  for (int i = 2; i <= data.PlanCount(); ++i) {
    const PlanEntry& e = data.PlanTable[static_cast<std::size_t>(i)];
    auto writeGroup = [&](const char* name, const MemberGroup& group) {
      for (int k = 1; k <= group.Stored(); ++k) {
        const Member& m = group[k];
        if (m.OrderNo == 0) continue;  // a free slot
        csv.Record({Num(i), name, Num(k), Num(m.OrderNo), Num(m.SourceOrderNo), m.ItemCode,
                    Num(m.Seq), m.ProcessName, m.ModelName, Num(m.PlanNo), Num(m.OrderQty),
                    Num(m.ReceivedQty)});
      }
    };
    writeGroup("A", e.A);
    writeGroup("B", e.B);
  }
}

void WriteCalendarCsv(const PlanData& data, std::ostream& out) {
  CsvWriter csv(out);
  std::vector<std::string> header = {"row", "date", "WorkMinutes"};
  for (int s = 1; s <= 8; ++s) header.push_back("ShiftTimes" + Num(s));
  csv.Record(header);
  const DateTime firstDay = DateOfCalendarDay(data.PeriodStartDate(), 0);
  for (int r = 2; r <= data.MachineRowCount; ++r) {
    for (int d = 0; d <= data.DayCount; ++d) {
      std::vector<std::string> line = {Num(r), FormatSlashDate(firstDay.AddDays(d)),
                                       Num(data.WorkMinutes(r, d))};
      for (int s = 1; s <= 8; ++s) line.push_back(FormatColonTime(data.ShiftTimes(r, s, d)));
      csv.Record(line);
    }
  }
}

}  // namespace velmora
